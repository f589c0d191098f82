// Bounded message formatting: only %s and %% are interpreted, and every result fits its
// buffer with its terminator, whatever the translated format or the argument holds.
#include <gtest/gtest.h>

#include <string>
#include "support/text_format.h"

namespace {

struct FormatCase {
    const char* Format;
    const char* Argument;
    const char* Expected;
};

const FormatCase Cases[] = {
    {"cannot open %s", "Uninstall.lst", "cannot open Uninstall.lst"},
    {"%s", "", ""},
    {"100%% of %s", "x", "100% of x"},
    {"%d %n %x %s", "a", "%d %n %x a"},
    {"%s and %s", "a", "a and "},
    {"no argument", "a", "no argument"},
    {"trailing %", "a", "trailing %"},
};

TEST(FormatMessageText, InterpretsOnlyPercentSAndPercentPercent)
{
    for (const FormatCase& c : Cases) {
        char out[64];
        size_t n = FormatMessageText(out, sizeof out, c.Format, c.Argument);
        EXPECT_STREQ(out, c.Expected) << c.Format;
        EXPECT_EQ(n, std::string(c.Expected).size());
    }
}

TEST(FormatMessageText, CutsALongPathToTheBuffer)
{
    // The notice's 512-byte buffer and an executable path near its 1023-byte limit.
    std::string path(1023, 'p');
    char out[512];
    size_t n = FormatMessageText(out, sizeof out, "delete %s by hand", path.c_str());
    EXPECT_EQ(n, 511u);
    EXPECT_EQ(std::string(out), ("delete " + path).substr(0, 511));
}

TEST(AppendText, AppendsWithinTheBuffer)
{
    char out[8] = "abc";
    EXPECT_EQ(AppendText(out, sizeof out, "defghij"), 7u);
    EXPECT_STREQ(out, "abcdefg");
    EXPECT_EQ(AppendText(out, sizeof out, "x"), 7u);
    EXPECT_STREQ(out, "abcdefg");
}

TEST(AppendText, AnUnterminatedBufferIsEndedWithinItsSize)
{
    char out[4] = {'a', 'b', 'c', 'd'};
    AppendText(out, sizeof out, "e");
    EXPECT_STREQ(out, "abc");
}

}  // namespace
