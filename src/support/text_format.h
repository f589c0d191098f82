/*
 * Bounded formatting of message texts that may come from a translation file. Only "%s"
 * (the first one takes the argument) and "%%" are interpreted; any other "%" is copied
 * as it stands, so a translated text can never make the formatter read missing arguments.
 * Free of <windows.h>.
 */
#ifndef ZELKOR_SUPPORT_TEXT_FORMAT_H
#define ZELKOR_SUPPORT_TEXT_FORMAT_H

#include <cstddef>

// Writes format with its first %s replaced by argument into out (size bytes), cut to fit
// with its terminator. A later %s becomes the empty text. Returns the length written.
size_t FormatMessageText(char* out, size_t size, const char* format, const char* argument);
// Appends text to the string in out, cut to fit size bytes with its terminator.
size_t AppendText(char* out, size_t size, const char* text);

#endif
