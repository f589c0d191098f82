/*
 * Utf8ToCodePage through MultiByteToWideChar and WideCharToMultiByte (Windows build).
 * A character the code page lacks is detected by the used-default flag, with best-fit
 * mapping off, so that the result is exactly what the program reads back.
 */
#include "code_page.h"

#include <windows.h>
#include <vector>

bool Utf8ToCodePage(const std::string& utf8, int codePage, std::string* bytes, std::string* error)
{
    bytes->clear();
    if (utf8.empty())
        return true;
    int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                         static_cast<int>(utf8.size()), nullptr, 0);
    if (wideLength <= 0) {
        *error = "text is not valid UTF-8";
        return false;
    }
    std::vector<wchar_t> wide(static_cast<size_t>(wideLength));
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                        wide.data(), wideLength);
    if (codePage == CP_UTF8) {
        *bytes = utf8;
        return true;
    }
    CPINFO info;
    if (!GetCPInfo(static_cast<UINT>(codePage), &info)) {
        *error = "unknown code page " + std::to_string(codePage);
        return false;
    }
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, wide.data(),
                                     wideLength, nullptr, 0, nullptr, &usedDefault);
    if (length <= 0 || usedDefault) {
        *error = "text cannot be represented in code page " + std::to_string(codePage);
        return false;
    }
    std::vector<char> out(static_cast<size_t>(length));
    WideCharToMultiByte(static_cast<UINT>(codePage), WC_NO_BEST_FIT_CHARS, wide.data(), wideLength,
                        out.data(), length, nullptr, &usedDefault);
    if (usedDefault) {
        *error = "text cannot be represented in code page " + std::to_string(codePage);
        return false;
    }
    bytes->assign(out.data(), out.size());
    return true;
}
