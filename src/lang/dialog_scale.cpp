/*
 * ParseDialogScale: a dialog-scale value "width*height" from the translation file. Each
 * number is read as atol reads it (leading blanks, an optional sign, digits up to the
 * first non-digit, 0 without digits), but saturated to the int range instead of
 * overflowing. Without an asterisk the scale is 100 by 100. Free of <windows.h>.
 */
#include "lang/dialog_scale.h"

#include <climits>
#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int ReadNumber(const char* p)
{
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > (long long)INT_MAX + 1)
            value = (long long)INT_MAX + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return (int)value;
}

}  // namespace

bool ParseDialogScale(const char* value, int* widthPercent, int* heightPercent)
{
    const char* star = strchr(value, '*');
    if (star) {
        *widthPercent = ReadNumber(value);
        *heightPercent = ReadNumber(star + 1);
    } else {
        *widthPercent = 100;
        *heightPercent = 100;
    }
    return !(*widthPercent == 100 && *heightPercent == 100);
}
