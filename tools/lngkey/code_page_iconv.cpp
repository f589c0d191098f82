/*
 * Utf8ToCodePage through iconv (native build): code page N is iconv's "CPN", 65001 is
 * UTF-8 itself. The UTF-8 is checked first, so a failure of iconv means a character the
 * code page lacks.
 */
#include "code_page.h"

#include <iconv.h>
#include <vector>

namespace {

bool ValidUtf8(const std::string& text)
{
    iconv_t check = iconv_open("UTF-16LE", "UTF-8");
    if (check == reinterpret_cast<iconv_t>(-1))
        return false;
    std::vector<char> in(text.begin(), text.end());
    std::vector<char> out(text.size() * 4 + 16);
    char* inPointer = in.data();
    size_t inLeft = in.size();
    char* outPointer = out.data();
    size_t outLeft = out.size();
    bool valid = iconv(check, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1);
    iconv_close(check);
    return valid;
}

}  // namespace

bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string* bytes, std::string* error)
{
    if (!ValidUtf8(utf8)) {
        *error = "text is not valid UTF-8";
        return false;
    }
    if (codePage == 65001) {
        *bytes = utf8;
        return true;
    }
    std::string target = "CP" + std::to_string(codePage);
    iconv_t converter = iconv_open(target.c_str(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        *error = "unknown code page " + std::to_string(codePage);
        return false;
    }
    std::vector<char> in(utf8.begin(), utf8.end());
    std::vector<char> out(utf8.size() * 4 + 16);
    char* inPointer = in.data();
    size_t inLeft = in.size();
    char* outPointer = out.data();
    size_t outLeft = out.size();
    bool converted = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1);
    iconv_close(converter);
    if (!converted) {
        *error = "text cannot be represented in code page " + std::to_string(codePage);
        return false;
    }
    bytes->assign(out.data(), static_cast<size_t>(outPointer - out.data()));
    return true;
}
