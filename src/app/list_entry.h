/*
 * Checks on one line of Uninstall.lst before it is joined to the installation folder.
 * Free of <windows.h>. A line is refused when one of its path components would climb out
 * of the folder (".." and every all-dot name Windows reduces to it, trailing blanks
 * included), when it names a drive or starts with a separator, or when the joined path
 * would not fit its buffer. ListReader takes the list line by line and skips a line that
 * does not fit its buffer whole, so a long line is never cut into further entries.
 */
#ifndef ZELKOR_APP_LIST_ENTRY_H
#define ZELKOR_APP_LIST_ENTRY_H

#include <cstddef>
#include <cstdio>

bool IsListEntryInsideFolder(const char* line);
// Joins folder (ending in a separator) and line into out; false when it would not fit.
bool JoinListEntry(const char* folder, const char* line, char* out, size_t outSize);

enum class ListLine { Entry, TooLong, End };

// Reads the list through its own block buffer. Next() gives each line in turn: Entry with
// the line (line feed included, at most size - 1 bytes) in line, TooLong for a line whose
// text beyond size - 1 bytes is more than trailing white space (line is then empty), End
// at the end of the list. Rewind() starts the list again.
class ListReader {
public:
    explicit ListReader(FILE* file) : File(file) {}
    ListReader(const ListReader&) = delete;
    ListReader& operator=(const ListReader&) = delete;

    ListLine Next(char* line, size_t size);
    void Rewind();

private:
    int Byte();   // the next byte, or -1 at the end

    FILE* File;
    unsigned char Block[4096];
    size_t Position = 0;
    size_t Length = 0;
};

#endif
