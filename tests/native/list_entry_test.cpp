// The checks on Uninstall.lst lines: which lines stay inside the installation folder, the
// bounded join, and the reader that skips a line too long for its buffer as a whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "app/list_entry.h"
#include "support/paths.h"

namespace {

class SingleByte : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = LeadTable;
        LeadTable = MbcsLeadTable{};
    }
    void TearDown() override { LeadTable = Saved; }
    MbcsLeadTable Saved;
};

class DoubleByte : public SingleByte {
protected:
    void SetUp() override
    {
        SingleByte::SetUp();
        for (int b = 0x81; b <= 0xFE; ++b)
            LeadTable.Lead[b] = 1;
        LeadTable.Multibyte = 1;
    }
};

// ---- IsListEntryInsideFolder ----

struct LineCase {
    const char* Line;
    bool Inside;
};

const LineCase LineCases[] = {
    {"Zelkor.exe", true},
    {"help\\zelkor.hlp", true},
    {"a/b/c.txt", true},
    {"sub\\", true},
    {"  leading blanks.txt", true},
    {".profile", true},
    {"a.b.c", true},
    {"..name", true},
    {"name..", true},
    {"a\\.\\b", true},
    {".", true},
    {". ", true},
    {"a\\\\b", true},
    {"stream:x", false},
    {"", false},
    {"..", false},
    {"..\\x", false},
    {"../x", false},
    {"a\\..\\..\\x", false},
    {"a\\..", false},
    {"a/../x", false},
    {".. \\x", false},
    {". .\\x", false},
    {"...\\x", false},
    {"....", false},
    {"a\\ ..\\x", false},
    {"a\\.. .\\x", false},
    {"a\\..  \\x", false},
    {"\\x", false},
    {"/x", false},
    {"\\\\server\\share\\x", false},
    {"C:\\x", false},
    {"C:x", false},
    {"c:", false},
};

TEST_F(SingleByte, LinesInsideAndOutside)
{
    for (const LineCase& c : LineCases)
        EXPECT_EQ(IsListEntryInsideFolder(c.Line), c.Inside) << '"' << c.Line << '"';
}

TEST_F(DoubleByte, LinesInsideAndOutside)
{
    for (const LineCase& c : LineCases)
        EXPECT_EQ(IsListEntryInsideFolder(c.Line), c.Inside) << '"' << c.Line << '"';
}

// A trail byte 92 is part of its character, not a separator.
TEST_F(DoubleByte, TrailByteBackslashIsNoSeparator)
{
    EXPECT_TRUE(IsListEntryInsideFolder("\x95\\.."));
    EXPECT_TRUE(IsListEntryInsideFolder("a\\\x95\\..\\b"));
    EXPECT_FALSE(IsListEntryInsideFolder("\x95\\x\\..\\..\\y"));
    EXPECT_FALSE(IsListEntryInsideFolder("\x95\\\\.."));
    // A lead byte as the last byte is taken alone.
    EXPECT_TRUE(IsListEntryInsideFolder("abc\x95"));
}

TEST_F(SingleByte, TrailByteBackslashSplitsOnSingleByteCodePage)
{
    EXPECT_FALSE(IsListEntryInsideFolder("\x95\\.."));
    EXPECT_TRUE(IsListEntryInsideFolder("\x95\\x"));
}

TEST_F(SingleByte, NullLineIsRefused)
{
    EXPECT_FALSE(IsListEntryInsideFolder(nullptr));
}

// ---- JoinListEntry ----

TEST_F(SingleByte, JoinIsBounded)
{
    const std::string folder = "C:\\Programs\\Zelkor\\";
    struct {
        size_t LineLength;
        bool Fits;
    } cases[] = {{1, true}, {1023 - 19, true}, {1024 - 19, false}, {5000, false}};
    for (const auto& c : cases) {
        std::string line(c.LineLength, 'x');
        std::vector<char> out(1024, '#');
        bool fits = JoinListEntry(folder.c_str(), line.c_str(), out.data(), out.size());
        EXPECT_EQ(fits, c.Fits) << c.LineLength;
        if (fits)
            EXPECT_EQ(std::string(out.data()), folder + line);
    }
    char exact[5];
    EXPECT_TRUE(JoinListEntry("C:\\", "a", exact, sizeof exact));
    EXPECT_STREQ(exact, "C:\\a");
    EXPECT_FALSE(JoinListEntry("C:\\", "ab", exact, sizeof exact));
    EXPECT_FALSE(JoinListEntry("", "", exact, 0));
}

// ---- ListReader ----

std::vector<std::string> ReadAll(const std::string& content, size_t size,
                                 std::vector<ListLine>* kinds = nullptr)
{
    FILE* f = tmpfile();
    fwrite(content.data(), 1, content.size(), f);
    fflush(f);
    ListReader reader(f);
    reader.Rewind();
    std::vector<std::string> lines;
    std::vector<char> line(size);
    for (;;) {
        ListLine kind = reader.Next(line.data(), line.size());
        if (kind == ListLine::End)
            break;
        if (kinds)
            kinds->push_back(kind);
        lines.push_back(kind == ListLine::TooLong ? "<too long>" : std::string(line.data()));
    }
    fclose(f);
    return lines;
}

TEST(ListReader, ShortLines)
{
    std::vector<std::string> expected = {"a\n", "\n", "  \r\n", "b c\r\n", "last"};
    EXPECT_EQ(ReadAll("a\n\n  \r\nb c\r\nlast", 2048), expected);
    EXPECT_TRUE(ReadAll("", 2048).empty());
    EXPECT_EQ(ReadAll("only\n", 2048), std::vector<std::string>{"only\n"});
}

TEST(ListReader, LongLinesAreSkippedWhole)
{
    const std::string fill2046(2046, 'x'), fill2047(2047, 'y'), fill3000(3000, 'z');
    struct {
        std::string Content;
        std::vector<std::string> Lines;
    } cases[] = {
        // 2046 bytes and the line feed fill the buffer exactly.
        {fill2046 + "\nnext", {fill2046 + "\n", "next"}},
        // Beyond the buffer only white space follows: the name is whole.
        {fill2047 + "\nnext", {fill2047, "next"}},
        {fill2047 + "\r\nnext", {fill2047, "next"}},
        {fill2047 + "  \t\r\n", {fill2047}},
        {fill2047, {fill2047}},
        // More name beyond the buffer: the whole line goes, never a piece of it.
        {"first\n" + fill2047 + "keep.txt\nnext\n", {"first\n", "<too long>", "next\n"}},
        {fill3000 + "\n" + fill3000 + " x", {"<too long>", "<too long>"}},
        {fill2047 + " ..\\x\nnext", {"<too long>", "next"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadAll(c.Content, 2048), c.Lines) << c.Content.size();
}

TEST(ListReader, SmallBufferAndRewind)
{
    std::vector<ListLine> kinds;
    EXPECT_EQ(ReadAll("abc\nabcd\nab\n", 4, &kinds),
              (std::vector<std::string>{"abc", "<too long>", "ab\n"}));
    ASSERT_EQ(kinds.size(), 3u);
    EXPECT_EQ(kinds[1], ListLine::TooLong);

    FILE* f = tmpfile();
    fputs("one\ntwo\n", f);
    fflush(f);
    ListReader reader(f);
    char line[16];
    for (int round = 0; round < 3; ++round) {
        reader.Rewind();
        ASSERT_EQ(reader.Next(line, sizeof line), ListLine::Entry);
        EXPECT_STREQ(line, "one\n");
        ASSERT_EQ(reader.Next(line, sizeof line), ListLine::Entry);
        EXPECT_STREQ(line, "two\n");
        EXPECT_EQ(reader.Next(line, sizeof line), ListLine::End);
        EXPECT_STREQ(line, "");
        EXPECT_EQ(reader.Next(line, sizeof line), ListLine::End);
    }
    fclose(f);
}

// A list of many blocks reads the same as line by line.
TEST(ListReader, ManyBlocks)
{
    std::string content;
    std::vector<std::string> expected;
    for (int i = 0; i < 3000; ++i) {
        std::string line = "folder" + std::to_string(i % 7) + "\\file" + std::to_string(i) + "\r\n";
        content += line;
        expected.push_back(line);
    }
    EXPECT_EQ(ReadAll(content, 2048), expected);
}

}  // namespace
