/*
 * The path walks over the lead-byte tables of code page 936 and of a single-byte page:
 * the results the callers rely on, the trail byte of value 92 that splits only on a
 * single-byte page, and strings that end in a lone lead byte (kept in buffers of their
 * exact size, so AddressSanitizer reports any read past the terminator).
 */
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "support/error_state.h"
#include "support/paths.h"

namespace {

MbcsLeadTable CodePage936()
{
    MbcsLeadTable table = {};
    for (int b = 0x81; b <= 0xFE; ++b)
        table.Lead[b] = 1;
    table.Multibyte = 1;
    return table;
}

MbcsLeadTable SingleByte()
{
    return MbcsLeadTable{};
}

// A copy of the text in a heap block of exactly its size plus extra bytes.
std::unique_ptr<char[]> Exact(const std::string& text, size_t extra = 0)
{
    std::unique_ptr<char[]> block(new char[text.size() + 1 + extra]);
    std::memcpy(block.get(), text.c_str(), text.size() + 1);
    return block;
}

class PathsTest : public ::testing::Test {
protected:
    void SetUp() override { Saved = LeadTable; }
    void TearDown() override { LeadTable = Saved; }
    void Use(const MbcsLeadTable& table) { LeadTable = table; }
    void EachTable(void (*check)(const char* tableName))
    {
        Use(CodePage936());
        check("936");
        Use(SingleByte());
        check("single-byte");
    }

    MbcsLeadTable Saved = {};
};

// ---- NextChar -------------------------------------------------------------------------

TEST_F(PathsTest, NextCharStepsOverLeadBytesOnly)
{
    MbcsLeadTable table = CodePage936();
    const char both[] = "\x95\x5c";
    EXPECT_EQ(both + 2, NextChar(table, both));
    const char ascii[] = "a\x95";
    EXPECT_EQ(ascii + 1, NextChar(table, ascii));
    const char high[] = "\x80x";
    EXPECT_EQ(high + 1, NextChar(table, high));
    const char last[] = "\xfe" "a";
    EXPECT_EQ(last + 2, NextChar(table, last));
    MbcsLeadTable single = SingleByte();
    EXPECT_EQ(both + 1, NextChar(single, both));
}

TEST_F(PathsTest, NextCharTakesATruncatedLeadByteAsOneByte)
{
    std::unique_ptr<char[]> text = Exact("\x95");
    EXPECT_EQ(text.get() + 1, NextChar(CodePage936(), text.get()));
}

// ---- IsPathSeparator, IsDriveColon ---------------------------------------------------

TEST_F(PathsTest, SeparatorsAndColonAreExactlyTheirBytes)
{
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(b == 92 || b == 47, IsPathSeparator(static_cast<unsigned char>(b))) << b;
        EXPECT_EQ(b == 58, IsDriveColon(static_cast<unsigned char>(b))) << b;
    }
}

// ---- FileNamePart --------------------------------------------------------------------

struct NameCase {
    const char* Path;
    size_t Offset;
};

TEST_F(PathsTest, FileNamePartOfPlainPaths)
{
    EachTable([](const char* tableName) {
        static const NameCase cases[] = {
            {"C:\\dir\\file.txt", 7}, {"dir/sub/", 8}, {"C:file", 2}, {"C:", 2},
            {"file", 0},             {"", 0},         {"\\name", 1}, {"a/b\\c", 4},
            {"1:x", 2},               {":", 0},       {"x:\\", 3},   {"\\\\server\\share", 9},
        };
        for (const NameCase& c : cases) {
            std::unique_ptr<char[]> path = Exact(c.Path);
            const char* constPath = path.get();
            EXPECT_EQ(constPath + c.Offset, FileNamePart(constPath)) << tableName << " " << c.Path;
            EXPECT_EQ(path.get() + c.Offset, FileNamePart(path.get())) << tableName << " " << c.Path;
        }
    });
}

TEST_F(PathsTest, FileNamePartKeepsATrailByte92InsideTheName)
{
    const char path[] = "C:\\dir\\\x95\x5c.txt";
    Use(CodePage936());
    EXPECT_STREQ("\x95\x5c.txt", FileNamePart(path));
    Use(SingleByte());
    EXPECT_STREQ(".txt", FileNamePart(path));
}

TEST_F(PathsTest, FileNamePartSeesNoDriveAfterALeadByte)
{
    const char path[] = "\x95:name";
    Use(CodePage936());
    EXPECT_EQ(path, FileNamePart(path));
    Use(SingleByte());
    EXPECT_EQ(path + 2, FileNamePart(path));
}

TEST_F(PathsTest, ClearMultibyteFlagWalksByteByByte)
{
    MbcsLeadTable table = CodePage936();
    table.Multibyte = 0;
    Use(table);
    EXPECT_STREQ(".txt", FileNamePart("C:\\dir\\\x95\x5c.txt"));
    EXPECT_STREQ("\x5c", LastCharacter("ab\x95\x5c"));
}

// ---- LastCharacter -------------------------------------------------------------------

TEST_F(PathsTest, LastCharacterIsTheLeadByteOfAFinalDoubleByteCharacter)
{
    const char text[] = "ab\x95\x5c";
    Use(CodePage936());
    EXPECT_EQ(text + 2, LastCharacter(text));
    Use(SingleByte());
    EXPECT_EQ(text + 3, LastCharacter(text));
    char empty[] = "";
    EXPECT_EQ(empty, LastCharacter(empty));
    char one[] = "x";
    EXPECT_EQ(one, LastCharacter(one));
}

// ---- AppendSeparator -----------------------------------------------------------------

struct TextCase {
    const char* Input;
    const char* Result;
};

TEST_F(PathsTest, AppendSeparatorAddsOnlyAMissingBackslash)
{
    EachTable([](const char* tableName) {
        static const TextCase cases[] = {
            {"", ""}, {"C:\\", "C:\\"}, {"C:\\dir", "C:\\dir\\"}, {"C:/dir/", "C:/dir/\\"},
            {"C:", "C:\\"}, {"a", "a\\"},
        };
        for (const TextCase& c : cases) {
            char buffer[1024];
            std::strcpy(buffer, c.Input);
            AppendSeparator(buffer, sizeof buffer);
            EXPECT_STREQ(c.Result, buffer) << tableName << " " << c.Input;
        }
    });
}

TEST_F(PathsTest, AppendSeparatorAfterATrailByte92DependsOnTheTable)
{
    char buffer[1024];
    Use(CodePage936());
    std::strcpy(buffer, "C:\\\x95\x5c");
    AppendSeparator(buffer, sizeof buffer);
    EXPECT_STREQ("C:\\\x95\x5c\\", buffer);
    Use(SingleByte());
    std::strcpy(buffer, "C:\\\x95\x5c");
    AppendSeparator(buffer, sizeof buffer);
    EXPECT_STREQ("C:\\\x95\x5c", buffer);
}

TEST_F(PathsTest, AppendSeparatorNeverWritesPastTheBuffer)
{
    Use(CodePage936());
    // Exactly full: string and terminator fill the buffer, nothing is appended.
    std::unique_ptr<char[]> full = Exact("C:\\dir");
    AppendSeparator(full.get(), 7);
    EXPECT_STREQ("C:\\dir", full.get());
    // One byte to spare is enough room for the backslash and the terminator.
    std::unique_ptr<char[]> room = Exact("C:\\dir", 1);
    AppendSeparator(room.get(), 8);
    EXPECT_STREQ("C:\\dir\\", room.get());
    // No terminator within the buffer: left alone, and nothing beyond it is read.
    std::unique_ptr<char[]> unterminated(new char[4]);
    std::memcpy(unterminated.get(), "abcd", 4);
    AppendSeparator(unterminated.get(), 4);
    EXPECT_EQ(0, std::memcmp(unterminated.get(), "abcd", 4));
    char zero[1] = {'\0'};
    AppendSeparator(zero, 0);
    EXPECT_EQ('\0', zero[0]);
}

// ---- CutToParentFolder ---------------------------------------------------------------

TEST_F(PathsTest, CutToParentFolderTable)
{
    EachTable([](const char* tableName) {
        static const TextCase cases[] = {
            {"C:\\dir\\name", "C:\\dir"}, {"C:\\dir\\", "C:\\dir"}, {"C:\\name", "C:\\"},
            {"C:\\", "C:\\"},             {"C:name", "C:"},         {"dir\\name", "dir"},
            {"\\name", "\\"},             {"name", ""},             {"", ""},
            {"a/b/c", "a/b"},             {"C:", "C:"},
        };
        for (const TextCase& c : cases) {
            std::unique_ptr<char[]> path = Exact(c.Input);
            CutToParentFolder(path.get());
            EXPECT_STREQ(c.Result, path.get()) << tableName << " " << c.Input;
        }
    });
}

TEST_F(PathsTest, CutToParentFolderKeepsADoubleByteCharacterWhole)
{
    char buffer[32];
    Use(CodePage936());
    std::strcpy(buffer, "C:\\dir\\\x95\x5c");
    CutToParentFolder(buffer);
    EXPECT_STREQ("C:\\dir", buffer);
    Use(SingleByte());
    std::strcpy(buffer, "C:\\dir\\\x95\x5c");
    CutToParentFolder(buffer);
    EXPECT_STREQ("C:\\dir\\\x95", buffer);
}

// ---- TrimTrailingSpace ---------------------------------------------------------------

TEST_F(PathsTest, TrimTrailingSpaceRemovesOnlyTheTrailingRun)
{
    static const TextCase cases[] = {
        {"abc  \t\r\n", "abc"}, {" \t\r\n ", ""},   {"  abc", "  abc"}, {"a b \n", "a b"},
        {"abc\v", "abc\v"},     {"abc\f", "abc\f"}, {"", ""},           {"\x95\x5c ", "\x95\x5c"},
    };
    for (const TextCase& c : cases) {
        std::unique_ptr<char[]> text = Exact(c.Input);
        EXPECT_EQ(text.get(), TrimTrailingSpace(text.get()));
        EXPECT_STREQ(c.Result, text.get()) << "[" << c.Input << "]";
    }
}

// ---- Truncated lead bytes ------------------------------------------------------------

TEST_F(PathsTest, ALoneLeadByteAtTheEndEndsEveryWalk)
{
    Use(CodePage936());
    std::unique_ptr<char[]> path = Exact("C:\\dir\\a\x95");
    EXPECT_EQ(path.get() + 7, FileNamePart(path.get()));
    EXPECT_EQ(path.get() + 8, LastCharacter(path.get()));

    std::unique_ptr<char[]> lone = Exact("\x95");
    EXPECT_EQ(lone.get(), FileNamePart(lone.get()));
    EXPECT_EQ(lone.get(), LastCharacter(lone.get()));
    CutToParentFolder(lone.get());
    EXPECT_STREQ("", lone.get());

    std::unique_ptr<char[]> cut = Exact("C:\\dir\\a\x95");
    CutToParentFolder(cut.get());
    EXPECT_STREQ("C:\\dir", cut.get());

    std::unique_ptr<char[]> folder = Exact("C:\\dir\\\x95");
    CutToParentFolder(folder.get());
    EXPECT_STREQ("C:\\dir", folder.get());

    std::unique_ptr<char[]> append = Exact("C:\\dir\x95", 1);
    AppendSeparator(append.get(), 9);
    EXPECT_STREQ("C:\\dir\x95\\", append.get());

    std::unique_ptr<char[]> full = Exact("C:\\dir\x95");
    AppendSeparator(full.get(), 8);
    EXPECT_STREQ("C:\\dir\x95", full.get());

    std::unique_ptr<char[]> trim = Exact("ab \x95");
    EXPECT_STREQ("ab \x95", TrimTrailingSpace(trim.get()));
}

// ---- WideCopy ------------------------------------------------------------------------

TEST_F(PathsTest, WideCopyStopsAfterTheTerminator)
{
    const unsigned short source[] = {'C', ':', 0x4E2D, 0x6587, 0};
    unsigned short target[8];
    for (unsigned short& c : target)
        c = 0xAAAA;
    WideCopy(target, source);
    EXPECT_EQ(0, std::memcmp(target, source, sizeof source));
    for (size_t i = 5; i < 8; ++i)
        EXPECT_EQ(0xAAAA, target[i]) << i;

    const unsigned short empty[] = {0};
    WideCopy(target, empty);
    EXPECT_EQ(0, target[0]);
    EXPECT_EQ(':', target[1]);
}

// ---- ErrorState ----------------------------------------------------------------------

TEST(ErrorStateTest, MemoryErrorEndsTheProcessWithCode8)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    ErrorState state;
    EXPECT_EXIT(state.MemoryError(), ::testing::ExitedWithCode(8), "");
    EXPECT_EXIT(Errors.MemoryError(), ::testing::ExitedWithCode(8), "");
}

}  // namespace
