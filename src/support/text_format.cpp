/*
 * Bounded formatting of message texts: only %s and %% are interpreted.
 */
#include "support/text_format.h"

#include <cstring>

namespace {

struct Writer {
    char* Out;
    size_t Size;
    size_t Length;

    void Put(char c)
    {
        if (Length + 1 < Size)
            Out[Length++] = c;
    }
    void Put(const char* text)
    {
        for (; *text; ++text)
            Put(*text);
    }
};

}  // namespace

size_t FormatMessageText(char* out, size_t size, const char* format, const char* argument)
{
    if (!size)
        return 0;
    Writer writer = {out, size, 0};
    bool argumentUsed = false;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (!argumentUsed && argument)
                writer.Put(argument);
            argumentUsed = true;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            writer.Put('%');
            ++p;
        } else {
            writer.Put(*p);
        }
    }
    out[writer.Length] = '\0';
    return writer.Length;
}

size_t AppendText(char* out, size_t size, const char* text)
{
    if (!size)
        return 0;
    size_t length = strnlen(out, size - 1);
    Writer writer = {out, size, length};
    writer.Put(text);
    out[writer.Length] = '\0';
    return writer.Length;
}
