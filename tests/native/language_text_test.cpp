/*
 * The byte-level translation text: the index array's growth and its fatal failure, the
 * marker search in a block, unescaping, the index of line starts and its order, the
 * binary search, and the value copy with its cuts (line end, 255 bytes, destination).
 */
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "lang/language_text.h"
#include "support/error_state.h"

namespace {

const char Marker[] = "***messages***";

std::string Key(TranslationKind kind, const char* context, const std::string& text)
{
    char key[9];
    TranslationKey(kind, context, text.c_str(), key);
    return key;
}

std::string Entry(const std::string& source, const std::string& value, const char* context = nullptr,
                  TranslationKind kind = MessageKind)
{
    return Key(kind, context, source) + "=\"" + value + "\"";
}

void Load(LanguageResources& language, const std::string& section)
{
    ASSERT_TRUE(LoadSectionText(language, section.data(), static_cast<int>(section.size())));
}

std::string Translate(const LanguageResources& language, const std::string& source,
                      const char* context = nullptr, TranslationKind kind = MessageKind,
                      size_t destSize = 1024)
{
    std::vector<char> dest(destSize + 16, '#');
    TranslateWith(language, source.c_str(), dest.data(), destSize, context, kind);
    for (size_t i = destSize; i < dest.size(); ++i)
        EXPECT_EQ('#', dest[i]) << "written past the destination at " << i;
    return std::string(dest.data());
}

std::vector<std::string> IndexedKeys(const LanguageResources& language)
{
    std::vector<std::string> keys;
    for (int i = 0; i < language.LineStarts.Count; ++i)
        keys.emplace_back(language.Text + language.LineStarts.Items[i], 8);
    return keys;
}

// ---- Array<int> -------------------------------------------------------------------------

TEST(ArrayAppend, GrowsByAQuarterPlus32AndKeepsValues)
{
    Array<int> array;
    std::vector<int> capacities;
    for (int i = 0; i < 300; ++i) {
        array.Append(i * 3);
        if (capacities.empty() || capacities.back() != array.Capacity)
            capacities.push_back(array.Capacity);
    }
    EXPECT_EQ((std::vector<int>{32, 72, 122, 184, 262, 359}), capacities);
    ASSERT_EQ(300, array.Count);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(i * 3, array.Items[i]);
    array.Clear();
    EXPECT_EQ(nullptr, array.Items);
    EXPECT_EQ(0, array.Count);
    EXPECT_EQ(0, array.Capacity);
}

TEST(ArrayAppendDeathTest, SizeBeyondIntIsTheFatalMemoryError)
{
    // A full array whose next capacity no longer fits an int: the growth fails like an
    // allocation and ends the process with code 8; no storage is touched before that.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Array<int> array;
            array.Count = INT_MAX - 10;
            array.Capacity = INT_MAX - 10;
            array.Append(1);
        },
        ::testing::ExitedWithCode(8), "");
    EXPECT_EXIT(
        {
            Array<int> array;
            array.Count = INT_MAX;
            array.Capacity = INT_MAX;
            array.Append(1);
        },
        ::testing::ExitedWithCode(8), "");
}

// ---- FindMarker -------------------------------------------------------------------------

TEST(FindMarker, CoversOffsetsUpToCountMinus16)
{
    struct Case {
        int at;
        int count;
        int expected;
    };
    const Case cases[] = {
        {0, 64, 0}, {5, 64, 5}, {48, 64, 48}, {49, 64, -1}, {0, 16, 0}, {0, 15, -1}, {-1, 64, -1},
    };
    for (const Case& c : cases) {
        std::string block(static_cast<size_t>(std::max(c.count, 80)), '-');
        if (c.at >= 0)
            block.replace(static_cast<size_t>(c.at), 13, "***messages**");
        EXPECT_EQ(c.expected, FindMarker(block.data(), c.count)) << c.at << "/" << c.count;
    }
}

TEST(FindMarker, NeedsTheExactThirteenBytes)
{
    const char* blocks[] = {"**messages**----------", "***Messages**---------", "***messages*-----------",
                            "***message***----------"};
    for (const char* block : blocks)
        EXPECT_EQ(-1, FindMarker(block, static_cast<int>(strlen(block)))) << block;
    const char good[] = "x****messages***------";
    EXPECT_EQ(2, FindMarker(good, static_cast<int>(strlen(good))));   // first match of "**" + tail
}

// ---- UnescapeSection --------------------------------------------------------------------

TEST(UnescapeSection, EscapesAndLineBreaks)
{
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"a\\\"b", "a\"b"},
        {"a\\\\b", "a\\b"},
        {"a\\nb\\rc\\td", "a\nb\rc\td"},
        {"a\\xb", "a\\xb"},                // unknown escape: the backslash stays
        {"a\\\\nb", "a\\nb"},              // an escaped backslash does not escape the n
        {"a\\", "a\\"},                    // a backslash as the last byte stays
        {"a\r\nb\nc\rd\fe", "a\f\fb\fc\fd\fe"},
        {std::string("ab\0cd", 5), "ab"},  // a NUL ends the section
        {"", ""},
    };
    for (const Case& c : cases) {
        std::vector<char> text(c.in.begin(), c.in.end());
        text.push_back('Z');   // the byte after the count must not be taken for an escape letter
        int length = UnescapeSection(text.data(), static_cast<int>(c.in.size()));
        EXPECT_EQ(c.out, std::string(text.data(), static_cast<size_t>(length))) << c.in;
        EXPECT_EQ(0, text[static_cast<size_t>(length)]);
    }
}

TEST(UnescapeSection, BackslashAtTheCountDoesNotReadTheNextByte)
{
    char text[] = "ab\\n";
    EXPECT_EQ(3, UnescapeSection(text, 3));
    EXPECT_STREQ("ab\\", text);
}

// ---- IndexLineStarts, SortLineStarts ----------------------------------------------------

TEST(IndexLineStarts, CrLfAndLfIndexTheSameLines)
{
    const std::string lines[] = {Marker, "", Entry("one", "1"), "; comment", "", Entry("two", "2"),
                                 Entry("three", "3")};
    std::string lf, crlf;
    for (const std::string& line : lines) {
        lf += line + "\n";
        crlf += line + "\r\n";
    }
    LanguageResources a, b;
    Load(a, lf);
    Load(b, crlf);
    EXPECT_EQ(IndexedKeys(a), IndexedKeys(b));
    EXPECT_EQ(4u, IndexedKeys(a).size());   // the marker line is never indexed
    for (int i = 0; i < a.LineStarts.Count; ++i)
        EXPECT_NE(0, a.LineStarts.Items[i]);
}

TEST(IndexLineStarts, LineWithinTheLastEightBytesIsLeftOut)
{
    LanguageResources language;
    Load(language, std::string(Marker) + "\n12345678");   // starts 8 bytes before the end
    EXPECT_EQ(0, language.LineStarts.Count);
    Load(language, std::string(Marker) + "\n123456789");
    ASSERT_EQ(1, language.LineStarts.Count);
    EXPECT_EQ(15, language.LineStarts.Items[0]);
}

TEST(SortLineStarts, OrdersByTheFirstEightBytesAsUnsigned)
{
    LanguageResources language;
    Load(language, std::string(Marker) + "\nffffffff=\"f\"\n\xe0" "0000000=\"hi\"\n00000000=\"z\"\n"
                   "7fffffff=\"7\"\nzz\n");
    std::vector<std::string> keys = IndexedKeys(language);
    ASSERT_EQ(4u, keys.size());   // "zz" lies within the last 8 bytes
    EXPECT_EQ("00000000", keys[0]);
    EXPECT_EQ("7fffffff", keys[1]);
    EXPECT_EQ("ffffffff", keys[2]);
    EXPECT_EQ('\xe0', keys[3][0]);
}

// ---- SearchLineIndex --------------------------------------------------------------------

TEST(SearchLineIndex, FindsEveryIndexedKeyAndNothingElse)
{
    std::string section = std::string(Marker) + "\n";
    std::vector<std::string> keys;
    for (int i = 0; i < 500; ++i) {
        std::string source = "text " + std::to_string(i);
        keys.push_back(Key(MessageKind, nullptr, source));
        section += Entry(source, "value " + std::to_string(i)) + "\n";
    }
    LanguageResources language;
    Load(language, section);
    ASSERT_EQ(500, language.LineStarts.Count);
    for (const std::string& key : keys) {
        const char* line = SearchLineIndex(language, key.c_str());
        ASSERT_NE(nullptr, line) << key;
        EXPECT_EQ(0, strncmp(line, key.c_str(), 8));
    }
    EXPECT_EQ(nullptr, SearchLineIndex(language, "00000000"));
    EXPECT_EQ(nullptr, SearchLineIndex(language, "zzzzzzzz"));
    std::string upper = keys[0];
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    if (upper != keys[0])
        EXPECT_EQ(nullptr, SearchLineIndex(language, upper.c_str()));
    LanguageResources empty;
    EXPECT_EQ(nullptr, SearchLineIndex(empty, keys[0].c_str()));
}

// ---- TranslateWith ----------------------------------------------------------------------

TEST(TranslateWith, WithoutTextPassesTheSourceThrough)
{
    LanguageResources language;
    EXPECT_EQ("Hello", Translate(language, "Hello"));
    char buffer[16] = "in place";
    TranslateWith(language, buffer, buffer, sizeof buffer, nullptr, MessageKind);
    EXPECT_STREQ("in place", buffer);
    EXPECT_EQ("Hell", Translate(language, "Hello", nullptr, MessageKind, 5));   // cut with its terminator
}

TEST(TranslateWith, ValueCases)
{
    const std::string longValue(300, 'v');
    std::string section = std::string(Marker) + "\r\n" +
        Entry("plain", "Plain") + "\r\n" +
        Entry("quoted", "He said \\\"hi\\\"") + "\r\n" +
        Entry("trailing", "Value") + " ; anything after the quote\r\n" +
        Key(MessageKind, nullptr, "unclosed") + "=\"rest of line\r\n" +
        Entry("empty", "") + "\r\n" +
        Entry("newline", "two\\nlines\\ttab") + "\r\n" +
        Entry("dialog", "Dialog text", "SETUPDLG", DialogKind) + "\r\n" +
        Key(MessageKind, nullptr, "noquote") + "xxRaw\"\r\n" +
        Key(MessageKind, nullptr, "last") + "=\"" + longValue;   // no closing quote, no line break
    LanguageResources language;
    Load(language, section);
    struct Case {
        const char* source;
        const char* context;
        TranslationKind kind;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", nullptr, MessageKind, "Plain"},
        {"quoted", nullptr, MessageKind, "He said \"hi\""},
        {"trailing", nullptr, MessageKind, "Value"},
        {"unclosed", nullptr, MessageKind, "rest of line\f"},   // with one form feed
        {"empty", nullptr, MessageKind, ""},
        {"newline", nullptr, MessageKind, "two\nlines\ttab"},
        {"dialog", "SETUPDLG", DialogKind, "Dialog text"},
        {"dialog", nullptr, DialogKind, "dialog"},              // other context: untranslated
        {"dialog", "SETUPDLG", MessageKind, "dialog"},          // other kind: untranslated
        {"noquote", nullptr, MessageKind, "Raw"},               // value taken from offset 10
        {"last", nullptr, MessageKind, std::string(255, 'v')},
        {"missing", nullptr, MessageKind, "missing"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Translate(language, c.source, c.context, c.kind)) << c.source;
}

TEST(TranslateWith, InPlaceAndCutToTheDestination)
{
    const std::string value(600, 'w');
    LanguageResources language;
    Load(language, std::string(Marker) + "\n" + Entry("long", value) + "\n" + Entry("short", "S") + "\n");
    char buffer[512];
    strcpy(buffer, "short");
    TranslateWith(language, buffer, buffer, sizeof buffer, nullptr, MessageKind);
    EXPECT_STREQ("S", buffer);
    EXPECT_EQ(std::string(511, 'w'), Translate(language, "long", nullptr, MessageKind, 512));
    EXPECT_EQ(value, Translate(language, "long", nullptr, MessageKind, 1024));
    EXPECT_EQ("", Translate(language, "long", nullptr, MessageKind, 1));
    EXPECT_EQ("mis", Translate(language, "missing", nullptr, MessageKind, 4));
    char untouched = '#';
    TranslateWith(language, "short", &untouched, 0, nullptr, MessageKind);
    EXPECT_EQ('#', untouched);
}

TEST(TranslateWith, CutValueKeepsTheTextUpToTheClosingQuote)
{
    // A value with inner quotes cut by a small destination is a prefix of the real value,
    // not a text shortened at an inner quote.
    LanguageResources language;
    Load(language, std::string(Marker) + "\n" + Entry("q", "ab\\\"cd\\\"ef") + "\n");
    EXPECT_EQ("ab\"cd\"ef", Translate(language, "q"));
    EXPECT_EQ("ab\"cd\"", Translate(language, "q", nullptr, MessageKind, 7));
}

TEST(TranslateWith, KeyLineAtTheVeryEndOfAFullSectionReadsNothingBeyond)
{
    // A 65536-byte section whose last line is a key and one more byte: its value would
    // start past the terminator.
    const std::string key = Key(MessageKind, nullptr, "edge");
    std::string section = std::string(Marker) + "\n";
    section += std::string(LanguageSectionSize - section.size() - 10, 'x') + "\n" + key + "=";
    ASSERT_EQ(static_cast<size_t>(LanguageSectionSize), section.size());
    LanguageResources language;
    Load(language, section);
    ASSERT_NE(nullptr, SearchLineIndex(language, key.c_str()));
    EXPECT_EQ("", Translate(language, "edge"));
}

TEST(LoadSectionText, CountIsBoundedTo65536AndEmptyTextIsPresent)
{
    std::string section = std::string(Marker) + "\n";
    section += std::string(LanguageSectionSize - section.size() - 1, 'x') + "\n";
    section += Entry("beyond", "B") + "\n";   // past 65536 bytes
    LanguageResources language;
    Load(language, section);
    EXPECT_EQ(LanguageSectionSize, language.TextLength);
    EXPECT_EQ("beyond", Translate(language, "beyond"));

    ASSERT_TRUE(LoadSectionText(language, "", -1));
    EXPECT_TRUE(language.HasText());
    EXPECT_EQ(0, language.TextLength);
    EXPECT_EQ(0, language.LineStarts.Count);
    EXPECT_EQ("x", Translate(language, "x"));
    language.Release();
    EXPECT_FALSE(language.HasText());
}

}  // namespace
