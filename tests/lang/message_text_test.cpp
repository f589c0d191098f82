/*
 * The resource module and the message strings under Wine: the ring of eight buffers,
 * the executable's table without a library, and, in copies of this program placed beside
 * a test kpxlng.dll, the library's strings id by id, their neglect once a translation
 * file is loaded, unloading, and the right-to-left marker resource.
 */
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>

#include "bed.h"
#include "lang/language_file.h"
#include "lang/resource_module.h"
#include "lang/translate.h"
#include "lang_support.h"
#include "resource_ids.h"

namespace {

using langtest::ChildMode;
using langtest::MessageEntry;
using langtest::OwnString;

const char Marker[] = "***messages***\r\n";

// Every test leaves the process-wide state as a fresh start would have it.
class MessageTextTest : public ::testing::Test {
protected:
    void SetUp() override { LoadResourceModule(GetModuleHandleA(nullptr)); }
    void TearDown() override
    {
        Language.Release();
        UnloadResourceModule();
    }
};

// ---- the ring ---------------------------------------------------------------------------

TEST_F(MessageTextTest, NinthCallReusesTheFirstBuffer)
{
    const char* first = GetMessageText(IDS_CAPTION);
    std::string caption = first;
    std::set<const char*> buffers = {first};
    for (int i = 1; i < 8; ++i) {
        const char* text = GetMessageText(IDS_DISPLAY_NAME + i);
        EXPECT_EQ(OwnString(IDS_DISPLAY_NAME + i), text);
        buffers.insert(text);
    }
    EXPECT_EQ(8u, buffers.size());
    EXPECT_EQ(caption, first);   // still intact after seven further calls
    const char* ninth = GetMessageText(IDS_RESTART_NEEDED);
    EXPECT_EQ(first, ninth);
    EXPECT_EQ(OwnString(IDS_RESTART_NEEDED), first);
}

TEST_F(MessageTextTest, TwoTextsInOneExpressionStayDistinct)
{
    std::string joined = std::string(GetMessageText(IDS_CAPTION)) + "|" + GetMessageText(IDS_UNINSTALL_DONE);
    const char* a = GetMessageText(IDS_CAPTION);
    const char* b = GetMessageText(IDS_UNINSTALL_DONE);
    EXPECT_NE(a, b);
    EXPECT_EQ(joined, std::string(a) + "|" + b);
}

// ---- without a library ------------------------------------------------------------------

TEST_F(MessageTextTest, WithoutLibraryTheExecutablesTextsAreUsed)
{
    EXPECT_FALSE(ResourceLibrary.Loaded);
    EXPECT_EQ(OwnInstance, CurrentResourceModule);
    for (int id = IDS_DISPLAY_NAME; id <= IDS_RESTART_NEEDED; ++id) {
        EXPECT_FALSE(OwnString(id).empty()) << id;
        EXPECT_EQ(OwnString(id), GetMessageText(id)) << id;
    }
    if (bed::CodePage936()) {
        EXPECT_STREQ("\xd0\xb6\xd4\xd8 Zelkor", GetMessageText(IDS_CAPTION));
    }
    EXPECT_STREQ("", GetMessageText(4000));   // an id no module holds
}

TEST_F(MessageTextTest, TranslationFileTranslatesByTheTextsKeys)
{
    std::string folder = bed::ScratchFolder("lang-messages");
    std::string path = folder + "\\uninstall.lng";
    ASSERT_TRUE(bed::WriteFileBytes(path, std::string(Marker) + MessageEntry(IDS_CAPTION, "Uninstall Zelkor") +
                                              "\r\n" + MessageEntry(IDS_DELETE_BY_HAND, "Delete %s by hand") +
                                              "\r\n"));
    LoadLanguageFile(Language, path.c_str());
    bed::RemoveTree(folder);
    ASSERT_TRUE(Language.HasText());
    EXPECT_STREQ("Uninstall Zelkor", GetMessageText(IDS_CAPTION));
    EXPECT_STREQ("Delete %s by hand", GetMessageText(IDS_DELETE_BY_HAND));
    EXPECT_EQ(OwnString(IDS_UNINSTALL_DONE), GetMessageText(IDS_UNINSTALL_DONE));
    EXPECT_FALSE(Language.RightToLeft);
}

TEST_F(MessageTextTest, UnloadWithoutLibraryDoesNothing)
{
    UnloadResourceModule();
    UnloadResourceModule();
    EXPECT_EQ(OwnInstance, CurrentResourceModule);
    EXPECT_EQ(GetModuleHandleA(nullptr), OwnInstance);
}

// ---- beside a test kpxlng.dll (run in copies of this program) ---------------------------

class LibraryChild : public MessageTextTest {
protected:
    void SetUp() override
    {
        if (ChildMode().empty())
            GTEST_SKIP() << "runs inside a copy of this program beside a test kpxlng.dll";
        MessageTextTest::SetUp();
    }
};

TEST_F(LibraryChild, StringsComeFromTheLibraryIdById)
{
    ASSERT_EQ("strings", ChildMode());
    ASSERT_TRUE(ResourceLibrary.Loaded);
    EXPECT_NE(OwnInstance, CurrentResourceModule);
    EXPECT_STREQ("Library caption", GetMessageText(IDS_CAPTION));
    EXPECT_STREQ("Library finished", GetMessageText(IDS_UNINSTALL_DONE));
    EXPECT_EQ(OwnString(IDS_DELETE_BY_HAND), GetMessageText(IDS_DELETE_BY_HAND));   // lacking: fallback
    EXPECT_STREQ("", GetMessageText(4000));
    LoadLanguageFile(Language, "uninstall.lng");   // none beside this copy
    EXPECT_FALSE(Language.HasText());
    EXPECT_FALSE(Language.RightToLeft);
    EXPECT_STREQ("Library caption", GetMessageText(IDS_CAPTION));

    UnloadResourceModule();
    EXPECT_FALSE(ResourceLibrary.Loaded);
    EXPECT_EQ(OwnInstance, CurrentResourceModule);
    EXPECT_EQ(OwnString(IDS_CAPTION), GetMessageText(IDS_CAPTION));
    UnloadResourceModule();   // as the destructor does at exit: nothing
    EXPECT_EQ(OwnInstance, CurrentResourceModule);
}

TEST_F(LibraryChild, LibraryStringsAreIgnoredOnceATranslationIsLoaded)
{
    ASSERT_EQ("translated", ChildMode());
    ASSERT_TRUE(ResourceLibrary.Loaded);
    LoadLanguageFile(Language, "uninstall.lng");   // beside this copy
    ASSERT_TRUE(Language.HasText());
    EXPECT_STREQ("Translated finished", GetMessageText(IDS_UNINSTALL_DONE));
    EXPECT_EQ(OwnString(IDS_CAPTION), GetMessageText(IDS_CAPTION));   // the executable's, not the library's
    EXPECT_EQ(OwnString(IDS_CONFIRM_UNINSTALL), GetMessageText(IDS_CONFIRM_UNINSTALL));
    EXPECT_TRUE(Language.RightToLeft);   // the file's RTL line
}

TEST_F(LibraryChild, RtlResourceInTheLibrarySwitchesTheLayout)
{
    ASSERT_EQ("rtl", ChildMode());
    ASSERT_TRUE(ResourceLibrary.Loaded);
    LoadLanguageFile(Language, "uninstall.lng");   // none: the resource alone decides
    EXPECT_FALSE(Language.HasText());
    EXPECT_TRUE(Language.RightToLeft);
    EXPECT_STREQ("Library caption", GetMessageText(IDS_CAPTION));
    UnloadResourceModule();
    DetectRightToLeft();
    EXPECT_FALSE(Language.RightToLeft);   // the executable carries no "RTL" dialog
}

TEST(LibraryBeside, StringsLibrary)
{
    langtest::ChildRun run = langtest::RunCopiedTests("lang-library", langtest::TestLibrary("strings"), "",
                                                      "LibraryChild.StringsComeFromTheLibraryIdById", "strings");
    ASSERT_TRUE(run.Ran);
    EXPECT_EQ(1, run.Tests);
    EXPECT_EQ(0, run.Failures);
}

TEST(LibraryBeside, StringsLibraryWithTranslationFile)
{
    std::string file = std::string(Marker) + MessageEntry(IDS_UNINSTALL_DONE, "Translated finished") +
                       "\r\n50a17ae8=\"RTL\"\r\n";
    langtest::ChildRun run = langtest::RunCopiedTests(
        "lang-library", langtest::TestLibrary("strings"), file,
        "LibraryChild.LibraryStringsAreIgnoredOnceATranslationIsLoaded", "translated");
    ASSERT_TRUE(run.Ran);
    EXPECT_EQ(1, run.Tests);
    EXPECT_EQ(0, run.Failures);
}

TEST(LibraryBeside, RtlLibrary)
{
    langtest::ChildRun run = langtest::RunCopiedTests("lang-library", langtest::TestLibrary("rtl"), "",
                                                      "LibraryChild.RtlResourceInTheLibrarySwitchesTheLayout", "rtl");
    ASSERT_TRUE(run.Ran);
    EXPECT_EQ(1, run.Tests);
    EXPECT_EQ(0, run.Failures);
}

}  // namespace
