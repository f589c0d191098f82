/*
 * Conversion of UTF-8 text into the bytes of a Windows code page, as the program sees
 * its texts. Fails, with a message, on invalid UTF-8, an unknown code page or a character
 * the code page cannot represent; never substitutes a replacement character.
 */
#ifndef ZELKOR_LNGKEY_CODE_PAGE_H
#define ZELKOR_LNGKEY_CODE_PAGE_H

#include <string>

bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string* bytes, std::string* error);

#endif
