/*
 * The list-line checks and the list reader. A component of only dots and blanks with two
 * dots or more is refused, because Win32 strips trailing dots and blanks from a component
 * before it resolves "..": ".. ", ". .", "..." and the like all climb like "..". The walk
 * steps over double-byte characters, whose trail byte may be a backslash.
 */
#include "app/list_entry.h"

#include <cstring>
#include "support/paths.h"

static const char* Step(const char* p)
{
    if (LeadTable.Multibyte && LeadTable.Lead[static_cast<unsigned char>(*p)] && p[1])
        return p + 2;
    return p + 1;
}

static bool ClimbsOut(const char* begin, const char* end)
{
    int dots = 0;
    for (const char* p = begin; p < end; ++p) {
        if (*p == '.')
            ++dots;
        else if (*p != ' ')
            return false;
    }
    return dots >= 2;
}

bool IsListEntryInsideFolder(const char* line)
{
    if (!line || !*line)
        return false;
    if (IsPathSeparator(static_cast<unsigned char>(line[0])))
        return false;
    // "C:name" and "C:\name" name a drive; any colon in the first component is refused.
    const char* component = line;
    bool first = true;
    for (const char* p = line;; p = Step(p)) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c == 0 || IsPathSeparator(c)) {
            if (ClimbsOut(component, p))
                return false;
            if (c == 0)
                return true;
            component = p + 1;
            first = false;
        } else if (first && IsDriveColon(c)) {
            return false;
        }
    }
}

bool JoinListEntry(const char* folder, const char* line, char* out, size_t outSize)
{
    size_t a = strlen(folder);
    size_t b = strlen(line);
    if (outSize == 0 || a + b >= outSize)
        return false;
    memcpy(out, folder, a);
    memcpy(out + a, line, b + 1);
    return true;
}

int ListReader::Byte()
{
    if (Position == Length) {
        Length = fread(Block, 1, sizeof Block, File);
        Position = 0;
        if (Length == 0)
            return -1;
    }
    return Block[Position++];
}

ListLine ListReader::Next(char* line, size_t size)
{
    size_t n = 0;
    bool overflow = false;
    int c = Byte();
    if (c < 0) {
        if (size)
            line[0] = 0;
        return ListLine::End;
    }
    for (; c >= 0; c = Byte()) {
        if (n + 1 < size)
            line[n++] = static_cast<char>(c);
        else if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            overflow = true;
        if (c == '\n')
            break;
    }
    if (size)
        line[overflow ? 0 : n] = 0;
    return overflow ? ListLine::TooLong : ListLine::Entry;
}

void ListReader::Rewind()
{
    fseek(File, 0, SEEK_SET);
    Position = Length = 0;
}
