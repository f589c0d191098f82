/*
 * The manual-removal notice of the built program (switch /warning) with a translation
 * file beside it: caption and both lines come from uninstall.lng, the path filled in.
 */
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "bed.h"
#include "driver.h"
#include "lang_support.h"
#include "resource_ids.h"

namespace {

using langtest::MessageEntry;
using langtest::OwnString;

struct NoticeCase {
    const char* name;
    bool translated;
};

class WarningNoticeTest : public ::testing::TestWithParam<NoticeCase> {};

TEST_P(WarningNoticeTest, ShowsTheTextsOfTheTranslationFile)
{
    std::string folder = bed::ScratchFolder("lang-warning");
    std::string program = folder + "\\uninstall.exe";
    ASSERT_TRUE(bed::CopyFileTo(bed::ProgramPath(), program));
    if (GetParam().translated) {
        std::string file = "Translation for the tests\r\n***messages***\r\n" +
                           MessageEntry(IDS_CAPTION, "Uninstall Zelkor") + "\r\n" +
                           MessageEntry(IDS_UNINSTALL_DONE, "Uninstall finished") + "\r\n" +
                           MessageEntry(IDS_DELETE_BY_HAND, "You should delete \\\"%s\\\" by hand") + "\r\n";
        ASSERT_TRUE(bed::WriteFileBytes(folder + "\\uninstall.lng", file));
    }
    std::string caption, lines;
    {
        bed::RunningProcess process("\"" + program + "\" /warning", folder);
        ASSERT_TRUE(process.Started());
        HWND box = driver::WaitForWindow(process.Id(), 20000);
        ASSERT_NE(nullptr, box);
        caption = driver::Text(box);
        for (const std::string& line : driver::MessageLines(box))
            lines += line;
        driver::Answer(box, IDOK);
        DWORD exitCode = 1;
        EXPECT_TRUE(process.Wait(20000, &exitCode));
        EXPECT_EQ(0u, exitCode);
    }
    bed::RemoveTree(folder);
    if (GetParam().translated) {
        EXPECT_EQ("Uninstall Zelkor", caption);
        EXPECT_EQ("Uninstall finished\nYou should delete \"" + program + "\" by hand", lines);
    } else {
        char expected[1024];
        snprintf(expected, sizeof expected, OwnString(IDS_DELETE_BY_HAND).c_str(), program.c_str());
        EXPECT_EQ(OwnString(IDS_CAPTION), caption);
        EXPECT_EQ(OwnString(IDS_UNINSTALL_DONE) + "\n" + expected, lines);
    }
}

INSTANTIATE_TEST_SUITE_P(Notice, WarningNoticeTest,
                         ::testing::Values(NoticeCase{"Translated", true}, NoticeCase{"Builtin", false}),
                         [](const ::testing::TestParamInfo<NoticeCase>& info) { return info.param.name; });

}  // namespace
