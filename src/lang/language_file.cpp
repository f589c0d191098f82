/*
 * LoadLanguageFile: reads uninstall.lng through File. A bare name is looked for beside
 * the executable; the marker is searched in at most 64 blocks of 8192 bytes overlapping
 * by 16, and up to 65536 bytes from it become the indexed text. All failures are silent;
 * the right-to-left decision is made last in every case.
 */
#include "lang/language_file.h"

#include <cstring>
#include <windows.h>

#include "lang/translate.h"
#include "support/file.h"
#include "support/paths.h"

namespace {

const int PathSize = 1024;

// The last backslash of a path, stepping over double-byte characters (a trail byte may
// be 0x5C); null when there is none.
const char* LastBackslash(const char* path)
{
    const char* last = nullptr;
    for (const char* p = path; *p; p = NextChar(LeadTable, p)) {
        if (*p == '\\')
            last = p;
    }
    return last;
}

// The full path of the file; false when it cannot be formed within the buffer.
bool LanguageFilePath(const char* name, char path[PathSize])
{
    size_t nameLength = strlen(name);
    if (LastBackslash(name)) {
        if (nameLength >= PathSize)
            return false;
        memcpy(path, name, nameLength + 1);
        return true;
    }
    DWORD length = GetModuleFileNameA(nullptr, path, PathSize);
    if (length == 0 || length >= PathSize)
        return false;   // no path, or one cut to the buffer
    const char* slash = LastBackslash(path);
    if (!slash)
        return false;
    size_t folderLength = static_cast<size_t>(slash - path) + 1;
    if (folderLength + nameLength >= PathSize)
        return false;
    memcpy(path + folderLength, name, nameLength + 1);
    return true;
}

// Offset of the marker, or -1 when none begins within the searched blocks.
long long FindMarkerInFile(File& file)
{
    char block[MarkerBlockSize];
    for (int blocks = 0; blocks < MarkerBlockCount; ++blocks) {
        long long start = file.Tell();
        int count = file.Read(block, MarkerBlockSize);
        if (count < MarkerOverlap)
            return -1;
        int offset = FindMarker(block, count);
        file.Seek(start + count - MarkerOverlap);
        if (offset >= 0)
            return start + offset;
    }
    return -1;
}

void LoadSection(LanguageResources& language, const char* name)
{
    char path[PathSize];
    if (!LanguageFilePath(name, path))
        return;
    File file;
    if (!file.Open(path, true))
        return;
    long long marker = FindMarkerInFile(file);
    if (marker < 0)
        return;
    file.Seek(marker);
    char* text = AllocateSectionText(language);
    if (!text)
        return;
    PrepareSectionText(language, file.Read(text, LanguageSectionSize));
}

}  // namespace

void LoadLanguageFile(LanguageResources& language, const char* name)
{
    language.Release();
    if (name)
        LoadSection(language, name);
    DetectRightToLeft(language);
}
