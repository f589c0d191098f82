/*
 * lngkey.exe, the Windows build of the key tool, under Wine: its keys equal the
 * program's for the system code page, and its template, loaded by the program's own
 * loader, maps every message of the string table to itself.
 */
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "bed.h"
#include "lang/language_file.h"
#include "lang/translate.h"
#include "lang_support.h"
#include "resource_ids.h"

namespace {

std::string Tool() { return bed::BuildPath("tools/lngkey/lngkey.exe"); }

// Runs the tool with its output sent to a file; returns the exit code (-1: not run).
int RunTool(const std::string& arguments, const std::string& output, std::string* printed)
{
    std::string command = "cmd /c \"\"" + Tool() + "\" " + arguments + " > \"" + output + "\"\"";
    bed::ProcessResult result = bed::RunProcess(command, 30000);
    *printed = bed::ReadFileBytes(output);
    return result.Started && result.Finished ? static_cast<int>(result.ExitCode) : -1;
}

class LngkeyToolTest : public ::testing::Test {
protected:
    void SetUp() override { Folder = bed::ScratchFolder("lang-lngkey"); }
    void TearDown() override
    {
        Language.Release();
        bed::RemoveTree(Folder);
    }
    std::string Folder;
};

TEST_F(LngkeyToolTest, KeysEqualTheProgramsForTheSystemCodePage)
{
    const std::string codePage = "--codepage " + std::to_string(GetACP());
    std::string printed;
    ASSERT_EQ(0, RunTool(codePage + " $ SETUPDLG \"\"", Folder + "\\key.txt", &printed));
    EXPECT_EQ("9b889d24\n", printed);
    ASSERT_EQ(0, RunTool(codePage + " dialog LTR LTR", Folder + "\\key.txt", &printed));
    EXPECT_EQ("50a17ae8\n", printed);
    if (bed::CodePage936()) {
        // The caption, given on the command line as the system's ANSI text.
        std::string caption = langtest::OwnString(IDS_CAPTION);
        ASSERT_EQ(0, RunTool(codePage + " s \"" + caption + "\"", Folder + "\\key.txt", &printed));
        EXPECT_EQ(langtest::Key(MessageKind, nullptr, caption) + "\n", printed);
    }
    EXPECT_EQ(2, RunTool("q text", Folder + "\\key.txt", &printed));
}

TEST_F(LngkeyToolTest, TemplateMapsEveryMessageToItself)
{
    std::string path = Folder + "\\uninstall.lng";
    std::string printed;
    int status = RunTool("template --codepage " + std::to_string(GetACP()) + " --res \"" +
                             bed::SourcePath("res") + "\" -o \"" + path + "\"",
                         Folder + "\\out.txt", &printed);
    if (!bed::CodePage936()) {
        EXPECT_EQ(1, status);   // the Chinese texts have no form in this code page
        return;
    }
    ASSERT_EQ(0, status);
    LoadLanguageFile(Language, path.c_str());
    ASSERT_TRUE(Language.HasText());
    EXPECT_FALSE(Language.RightToLeft);   // the RTL line is there only as a comment
    int found = 0;
    for (int id = IDS_DISPLAY_NAME; id <= IDS_RESTART_NEEDED; ++id) {
        std::string text = langtest::OwnString(id);
        std::string key = langtest::Key(MessageKind, nullptr, text);
        if (SearchLineIndex(key.c_str()))
            ++found;
        char translated[512];
        TranslateString(text.c_str(), translated, sizeof translated, nullptr, MessageKind);
        EXPECT_EQ(text, translated) << id;
    }
    EXPECT_EQ(14, found);
    EXPECT_EQ(nullptr, SearchLineIndex("9b889d24"));   // the scale lines are comments too
}

}  // namespace
