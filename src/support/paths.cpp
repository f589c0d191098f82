/*
 * Path and text operations over ANSI strings of the system code page. Every walk steps
 * over double-byte characters with the process-wide lead-byte table, so a trail byte of
 * value 92 is never taken for a backslash. A lead byte directly before the terminator is
 * stepped as a single byte, so no walk reads past a string's end.
 */
#include "support/paths.h"

#include <cstring>

const char* NextChar(const MbcsLeadTable& table, const char* p)
{
    unsigned char c = static_cast<unsigned char>(*p);
    if (c != 0 && table.Lead[c] && p[1] != '\0')
        return p + 2;
    return p + 1;
}

// One character forward in the process's code page; byte by byte on single-byte pages.
static const char* Step(const char* p)
{
    return LeadTable.Multibyte ? NextChar(LeadTable, p) : p + 1;
}

bool IsPathSeparator(unsigned char c)
{
    return c == '\\' || c == '/';
}

bool IsDriveColon(unsigned char c)
{
    return c == ':';
}

const char* FileNamePart(const char* path)
{
    const char* afterSeparator = nullptr;
    for (const char* p = path; *p != '\0'; p = Step(p)) {
        if (IsPathSeparator(static_cast<unsigned char>(*p)))
            afterSeparator = p + 1;
    }
    if (afterSeparator)
        return afterSeparator;
    if (*path == '\0')
        return path;
    if (IsDriveColon(static_cast<unsigned char>(path[1])) && Step(path) == path + 1)
        return path + 2;
    return path;
}

char* FileNamePart(char* path)
{
    return const_cast<char*>(FileNamePart(static_cast<const char*>(path)));
}

const char* LastCharacter(const char* s)
{
    const char* last = s;
    for (const char* p = s; *p != '\0'; p = Step(p))
        last = p;
    return last;
}

char* LastCharacter(char* s)
{
    return const_cast<char*>(LastCharacter(static_cast<const char*>(s)));
}

void AppendSeparator(char* path, size_t size)
{
    const void* end = std::memchr(path, '\0', size);
    if (!end)
        return;
    size_t length = static_cast<const char*>(end) - path;
    if (length == 0 || *LastCharacter(path) == '\\')
        return;
    if (length + 2 > size)
        return;
    path[length] = '\\';
    path[length + 1] = '\0';
}

void CutToParentFolder(char* path)
{
    char* name = FileNamePart(path);
    size_t offset = name - path;
    if (offset < 2)
        *name = '\0';
    else if (IsDriveColon(static_cast<unsigned char>(path[1])) && offset < 4)
        *name = '\0';
    else
        name[-1] = '\0';
}

char* TrimTrailingSpace(char* s)
{
    size_t length = std::strlen(s);
    while (length > 0) {
        char c = s[length - 1];
        if (c != '\t' && c != '\n' && c != '\r' && c != ' ')
            break;
        s[--length] = '\0';
    }
    return s;
}

void WideCopy(unsigned short* dst, const unsigned short* src)
{
    while ((*dst++ = *src++) != 0) {
    }
}
