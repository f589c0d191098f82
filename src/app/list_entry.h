/*
 * Checks on one line of Uninstall.lst before it is joined to the installation folder.
 * Free of <windows.h>. A line is refused when one of its path components would climb out
 * of the folder (".." and every all-dot name Windows reduces to it, trailing blanks
 * included), when it names a drive or starts with a separator, or when the joined path
 * would not fit its buffer.
 */
#ifndef ZELKOR_APP_LIST_ENTRY_H
#define ZELKOR_APP_LIST_ENTRY_H

#include <cstddef>

bool IsListEntryInsideFolder(const char* line);
// Joins folder (ending in a separator) and line into out; false when it would not fit.
bool JoinListEntry(const char* folder, const char* line, char* out, size_t outSize);

#endif
