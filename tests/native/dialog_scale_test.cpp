// ParseDialogScale: the dialog-scale value "width*height" of the translation file.
#include <gtest/gtest.h>

#include <climits>
#include "lang/dialog_scale.h"

namespace {

struct ScaleCase {
    const char* Value;
    int Width;
    int Height;
    bool Scaled;
};

const ScaleCase Cases[] = {
    {"120*110", 120, 110, true},
    {"100*110", 100, 110, true},
    {"100*100", 100, 100, false},
    {"", 100, 100, false},              // no scale line: the key translates to the empty text
    {"120x110", 100, 100, false},       // no asterisk: no scaling
    {"*", 0, 0, true},                  // an asterisk without digits: 0 percent each
    {"*150", 0, 150, true},
    {"  +130*\t-5", 130, -5, true},     // blanks and signs as atol takes them
    {"90abc*95*200", 90, 95, true},     // digits up to the first non-digit, the first asterisk
    {"100*100*50", 100, 100, false},
    {"99999999999999*1", INT_MAX, 1, true},     // saturated, never overflowing
    {"-99999999999999*1", INT_MIN, 1, true},
};

TEST(ParseDialogScale, ReadsWidthAndHeightAsAtolWould)
{
    for (const ScaleCase& c : Cases) {
        int width = -7, height = -7;
        EXPECT_EQ(ParseDialogScale(c.Value, &width, &height), c.Scaled) << c.Value;
        EXPECT_EQ(width, c.Width) << c.Value;
        EXPECT_EQ(height, c.Height) << c.Value;
    }
}

}  // namespace
