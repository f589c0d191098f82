/*
 * Entry of lngkey.exe: the wide command line is turned into UTF-8, so that every text
 * reaches the key code the same way as in the native tool; output stays binary.
 */
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <cstdio>

#include "lngkey.h"

namespace {

std::string ToUtf8(const wchar_t* wide)
{
    int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string out(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &out[0], length, nullptr, nullptr);
    out.resize(static_cast<size_t>(length - 1));
    return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(ToUtf8(argv[i]));
    return RunLngkey(arguments);
}
