/*
 * LoadLanguageFile on real files under Wine: the block-wise marker search and its limits,
 * short files, the 65536-byte section, line breaks, escapes, the value rules of the
 * lookup, a file held open for writing by another handle, and the right-to-left line.
 */
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "bed.h"
#include "lang/language_file.h"
#include "lang/translate.h"
#include "lang_support.h"

namespace {

using langtest::Entry;
using langtest::Key;
using langtest::Marker;

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override { Folder = bed::ScratchFolder("lang-file"); }
    void TearDown() override { bed::RemoveTree(Folder); }

    // Writes the bytes as a file and loads it into Table.
    void LoadBytes(const std::string& bytes)
    {
        std::string path = Folder + "\\test.lng";
        ASSERT_TRUE(bed::WriteFileBytes(path, bytes));
        LoadLanguageFile(Table, path.c_str());
    }

    std::string Translate(const std::string& source, const char* context = nullptr,
                          TranslationKind kind = MessageKind)
    {
        char dest[1024];
        TranslateWith(Table, source.c_str(), dest, sizeof dest, context, kind);
        return dest;
    }

    std::string Folder;
    LanguageResources Table;
};

std::string Plain(const std::string& value) { return Entry(MessageKind, nullptr, "Plain", value); }

// ---- the marker search ------------------------------------------------------------------

TEST_F(LanguageFileTest, MarkerPositionsAroundBlockBoundariesAndTheSearchLimit)
{
    // Block b starts at b * 8176 and is scanned at offsets 0 to 8176, so the search sees
    // markers that begin at up to 64 * 8176 = 523264.
    struct Case {
        size_t offset;
        bool found;
    };
    const Case cases[] = {
        {0, true}, {8176, true}, {8177, true}, {8183, true}, {8191, true},   // split: second block
        {100000, true}, {523264, true}, {523265, false}, {600000, false},
    };
    for (const Case& c : cases) {
        std::string bytes(c.offset, '-');
        bytes += std::string(Marker) + "\r\n" + Plain("found") + "\r\n";
        LoadBytes(bytes);
        EXPECT_EQ(c.found, Table.HasText()) << c.offset;
        EXPECT_EQ(c.found ? "found" : "Plain", Translate("Plain")) << c.offset;
    }
}

TEST_F(LanguageFileTest, ShortFilesAndMissingMarkers)
{
    struct Case {
        std::string bytes;
        bool hasText;
    };
    const Case cases[] = {
        {"***messages**", false},                      // 13 bytes: shorter than 16
        {"***messages**\r\n", false},                  // 15 bytes
        {"***messages**\r\n\r", true},                 // 16 bytes: offset 0 is scanned
        {"**messages**\r\n" + Plain("x") + "\r\n", false},
        {"*** messages **\r\n" + Plain("x") + "\r\n", false},
        {"", false},
    };
    for (const Case& c : cases) {
        LoadBytes(c.bytes);
        EXPECT_EQ(c.hasText, Table.HasText()) << c.bytes;
        EXPECT_EQ("Plain", Translate("Plain"));
    }
}

TEST_F(LanguageFileTest, MissingFileAndOverlongPathLoadNothing)
{
    LoadLanguageFile(Table, (Folder + "\\absent.lng").c_str());
    EXPECT_FALSE(Table.HasText());
    std::string longPath = Folder + "\\" + std::string(1100, 'a') + ".lng";
    LoadLanguageFile(Table, longPath.c_str());
    EXPECT_FALSE(Table.HasText());
    LoadLanguageFile(Table, (std::string(1100, 'b') + ".lng").c_str());   // beside the executable
    EXPECT_FALSE(Table.HasText());
}

TEST_F(LanguageFileTest, ContentBeforeTheMarkerIsIgnored)
{
    LoadBytes(Plain("before") + "\r\n" + std::string(20000, 'z') + "\r\n" + Marker +
              " anything after the marker\r\n" + Entry(MessageKind, nullptr, "Other", "after") + "\r\n");
    EXPECT_TRUE(Table.HasText());
    EXPECT_EQ("Plain", Translate("Plain"));
    EXPECT_EQ("after", Translate("Other"));
    EXPECT_EQ(0, memcmp(Table.Text, "***messages**", 13));   // the text starts at the marker
}

TEST_F(LanguageFileTest, FileOpenForWritingElsewhereStillLoads)
{
    std::string path = Folder + "\\open.lng";
    ASSERT_TRUE(bed::WriteFileBytes(path, std::string(Marker) + "\r\n" + Plain("shared") + "\r\n"));
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    LoadLanguageFile(Table, path.c_str());
    CloseHandle(writer);
    EXPECT_EQ("shared", Translate("Plain"));
}

// ---- the section ------------------------------------------------------------------------

TEST_F(LanguageFileTest, SectionEndsAfter65536BytesFromTheMarker)
{
    std::string head(5000, '-');
    std::string section = std::string(Marker) + "\r\n" + Entry(MessageKind, nullptr, "early", "E") + "\r\n";
    section += std::string(65536 - 200 - section.size(), 'x') + "\r\n";
    section += Entry(MessageKind, nullptr, "inside", "I") + "\r\n";   // ends before 65536
    section.resize(65536 + 10, 'y');
    section += "\r\n" + Entry(MessageKind, nullptr, "beyond", "B") + "\r\n";
    LoadBytes(head + section);
    EXPECT_EQ(65536, Table.TextLength);
    EXPECT_EQ("E", Translate("early"));
    EXPECT_EQ("I", Translate("inside"));
    EXPECT_EQ("beyond", Translate("beyond"));
}

TEST_F(LanguageFileTest, NulByteEndsTheSection)
{
    LoadBytes(std::string(Marker) + "\r\n" + Plain("P") + "\r\n" + std::string(1, '\0') + "\r\n" +
              Entry(MessageKind, nullptr, "after", "A") + "\r\n");
    EXPECT_EQ("P", Translate("Plain"));
    EXPECT_EQ("after", Translate("after"));
}

TEST_F(LanguageFileTest, CrLfAndLfLineBreaksGiveTheSameTranslations)
{
    const std::vector<std::string> lines = {
        Marker, "", Plain("one"), "; comment", "", Entry(MessageKind, nullptr, "Two", "two"),
        Entry(DialogKind, "SETUPDLG", "OK", "Fine"), Entry(DialogKind, "SETUPDLG", "", "120*110")};
    const char* breaks[] = {"\r\n", "\n", "\r"};
    std::vector<std::vector<std::string>> results;
    for (const char* lineBreak : breaks) {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += line + lineBreak;
        LoadBytes(bytes);
        results.push_back({Translate("Plain"), Translate("Two"), Translate("OK", "SETUPDLG", DialogKind),
                           Translate("", "SETUPDLG", DialogKind), std::to_string(Table.LineStarts.Count)});
    }
    EXPECT_EQ((std::vector<std::string>{"one", "two", "Fine", "120*110", "5"}), results[0]);
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);
}

TEST_F(LanguageFileTest, EntryRules)
{
    const std::string lastValue(400, 'L');
    LoadBytes(std::string(Marker) + "\r\n" +
              Entry(MessageKind, nullptr, "escapes", "q\\\"b\\\\n\\nr\\rt\\tx\\y") + "\r\n" +
              Key(MessageKind, nullptr, "unclosed") + "=\"rest of the line\r\n" +
              Entry(MessageKind, nullptr, "empty", "") + "\r\n" +
              Entry(MessageKind, nullptr, "after", "value") + " ignored \"x\r\n" +
              [] {
                  std::string key = Key(MessageKind, nullptr, "upper");
                  for (char& c : key)
                      c = static_cast<char>(toupper(c));
                  return key;
              }() + "=\"UPPER\"\r\n" +
              Key(MessageKind, nullptr, "last") + "=\"" + lastValue);
    EXPECT_EQ("q\"b\\n\nr\rt\tx\\y", Translate("escapes"));
    EXPECT_EQ("rest of the line\f", Translate("unclosed"));
    EXPECT_EQ("", Translate("empty"));
    EXPECT_EQ("value\" ignored ", Translate("after"));   // cut at the last quote of the line
    std::string upperKey = Key(MessageKind, nullptr, "upper");
    ASSERT_NE(std::string::npos, upperKey.find_first_of("abcdef"));   // the case matters for this key
    EXPECT_EQ("upper", Translate("upper"));
    EXPECT_EQ(std::string(255, 'L'), Translate("last"));
}

TEST_F(LanguageFileTest, ShortLastValueWithoutLineBreak)
{
    LoadBytes(std::string(Marker) + "\r\n" + Plain("end"));
    EXPECT_EQ("end", Translate("Plain"));
}

// ---- right to left ----------------------------------------------------------------------

TEST_F(LanguageFileTest, RightToLeftFollowsTheLtrLine)
{
    struct Case {
        std::string value;
        bool rightToLeft;
    };
    const Case cases[] = {{"RTL", true}, {"rtl", false}, {"RTL ", false}, {"LTR", false}};
    for (const Case& c : cases) {
        LoadBytes(std::string(Marker) + "\r\n" + Entry(DialogKind, "LTR", "LTR", c.value) + "\r\n");
        EXPECT_EQ(c.rightToLeft, Table.RightToLeft) << c.value;
    }
    EXPECT_EQ("50a17ae8", Key(DialogKind, "LTR", "LTR"));
    LoadBytes(std::string(Marker) + "\r\n50a17ae8=\"RTL\"\r\n");
    EXPECT_TRUE(Table.RightToLeft);
    LoadLanguageFile(Table, (Folder + "\\absent.lng").c_str());
    EXPECT_FALSE(Table.RightToLeft);
}

}  // namespace
