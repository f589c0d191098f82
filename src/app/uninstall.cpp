/*
 * RunUninstall, the uninstall mode: finds the installation folder from the executable's
 * path, confirms, removes the integration, deletes every entry of Uninstall.lst in passes
 * until a pass deletes nothing (files in use renamed aside and scheduled for deletion at
 * restart), deletes the list and starts the self-removal script.
 */
#include "app/uninstall.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "app/app_state.h"
#include "app/list_entry.h"
#include "app/self_removal.h"
#include "lang/resource_module.h"
#include "shell/registration.h"
#include "support/paths.h"
#include "support/system.h"
#include "support/text_format.h"

namespace {

const int PathSize = 1024;
const int LineSize = 2048;
const char ListName[] = "Uninstall.lst";

// What a later pass still has to do for one line of the list. An entry that a pass found
// gone, deleted or renamed away needs nothing more; a folder whose attributes were cleared
// and that still had contents only needs its remove retried. One byte per line, grown as
// the first pass reads; lines beyond what could be allocated are simply processed in full
// every pass, as if no state were kept.
enum EntryState : unsigned char { Pending = 0, Finished = 1, FolderCleared = 2 };

class EntryStates {
public:
    EntryStates() = default;
    EntryStates(const EntryStates&) = delete;
    EntryStates& operator=(const EntryStates&) = delete;
    ~EntryStates() { free(Data); }

    EntryState Get(size_t line) const
    {
        return line < Count ? static_cast<EntryState>(Data[line]) : Pending;
    }

    void Set(size_t line, EntryState state)
    {
        if (line >= Count && !Grow(line + 1))
            return;
        Data[line] = state;
    }

private:
    // At most 16 Mi lines are tracked (16 MB); a list that long is far beyond any install.
    static const size_t MaxLines = size_t{1} << 24;

    bool Grow(size_t needed)
    {
        if (needed > MaxLines)
            return false;
        if (needed > Capacity) {
            size_t capacity = Capacity ? Capacity : 4096;
            while (capacity < needed)
                capacity *= 2;
            if (capacity > MaxLines)
                capacity = MaxLines;
            void* grown = realloc(Data, capacity);
            if (!grown)
                return false;
            Data = static_cast<unsigned char*>(grown);
            Capacity = capacity;
        }
        memset(Data + Count, Pending, needed - Count);
        Count = needed;
        return true;
    }

    unsigned char* Data = nullptr;
    size_t Count = 0;
    size_t Capacity = 0;
};

class ListFile {
public:
    explicit ListFile(const char* name) : Handle(fopen(name, "rb")) {}
    ListFile(const ListFile&) = delete;
    ListFile& operator=(const ListFile&) = delete;
    ~ListFile() { Close(); }
    void Close()
    {
        if (Handle)
            fclose(Handle);
        Handle = nullptr;
    }
    FILE* Handle;
};

void ShowMessage(const char* text, UINT flags)
{
    MessageBoxA(nullptr, text, GetMessageText(5104), flags);
}

bool IsMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// [Rename] of wininit.ini takes one "NUL=name" line per file. WritePrivateProfileStringA
// would replace an earlier NUL line, losing every scheduled file but the last, so the
// line is added to the section; a name already there is not added again.
void AddWininitDeletion(const char* iniPath, const char* name)
{
    static char section[32768];
    DWORD used = GetPrivateProfileSectionA("Rename", section, sizeof section, iniPath);
    char entry[PathSize + 8];
    int length = snprintf(entry, sizeof entry, "NUL=%s", name);
    if (length < 0 || static_cast<size_t>(length) >= sizeof entry)
        return;
    if (used + static_cast<DWORD>(length) + 2 >= sizeof section) {
        WritePrivateProfileStringA("Rename", "NUL", name, iniPath);
        return;
    }
    for (const char* p = section; *p; p += strlen(p) + 1)
        if (lstrcmpiA(p, entry) == 0)
            return;
    memcpy(section + used, entry, static_cast<size_t>(length) + 1);
    section[used + static_cast<DWORD>(length) + 1] = 0;
    WritePrivateProfileSectionA("Rename", section, iniPath);
}

void ScheduleDeletionAtRestart(const char* name)
{
    if (WinNtMajorVersion()) {
        MoveFileExA(name, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        return;
    }
    char iniPath[PathSize];
    UINT length = GetWindowsDirectoryA(iniPath, PathSize);
    if (length == 0 || length >= PathSize)
        return;
    AppendSeparator(iniPath, sizeof iniPath);
    if (strlen(iniPath) + sizeof "wininit.ini" > sizeof iniPath)
        return;
    strcat(iniPath, "wininit.ini");
    char shortName[PathSize];
    DWORD got = GetShortPathNameA(name, shortName, PathSize);
    AddWininitDeletion(iniPath, (got == 0 || got >= PathSize) ? name : shortName);
}

// A file that exists and cannot be deleted. Returns true when it was renamed away.
bool HandleLockedFile(const char* path, const char* exePath, bool& restartNeeded)
{
    if (ComparePaths(FileNamePart(path), FileNamePart(exePath)) == 0)
        return false;
    if (ComparePaths(FileNamePart(path), ListName) == 0)
        return false;
    char newName[PathSize];
    bool nameFits = true;
    for (int n = 0; n < 1000; ++n) {
        int length = snprintf(newName, sizeof newName, "%s.%d.tmp", path, n);
        if (length < 0 || length >= PathSize) {
            nameFits = false;
            break;
        }
        if (GetFileAttributesA(newName) == INVALID_FILE_ATTRIBUTES)
            break;
    }
    bool renamed = nameFits && MoveFileA(path, newName);
    if (!renamed)
        restartNeeded = true;
    ScheduleDeletionAtRestart(renamed ? newName : path);
    return renamed;
}

// One pass over the list. Returns the sum of the successful delete and remove results.
int RunPass(ListReader& reader, EntryStates& states, const char* folder, const char* exePath,
            bool& restartNeeded)
{
    int passCount = 0;
    char line[LineSize];
    char path[PathSize];
    reader.Rewind();
    for (size_t index = 0;; ++index) {
        ListLine kind = reader.Next(line, sizeof line);
        if (kind == ListLine::End)
            break;
        EntryState state = states.Get(index);
        if (state == Finished)
            continue;
        TrimTrailingSpace(line);
        // Lines that are empty, too long, reach outside the folder or do not fit the path
        // buffer name nothing to delete.
        if (kind == ListLine::TooLong || !line[0] || !IsListEntryInsideFolder(line) ||
            !JoinListEntry(folder, line, path, sizeof path)) {
            states.Set(index, Finished);
            continue;
        }
        if (state == FolderCleared) {
            if (RemoveDirectoryA(path)) {
                ++passCount;
                states.Set(index, Finished);
            } else if (IsMissing(GetLastError())) {
                states.Set(index, Finished);
            }
            continue;
        }
        // Most entries are plain files that go at the first try: one call. Only when that
        // fails (a folder, a read-only or busy file, or nothing there) come the attribute
        // query, the clearing and the folder or file removal, which give the same result
        // for every entry as querying and clearing first would.
        if (DeleteFileA(path)) {
            ++passCount;
            states.Set(index, Finished);
            continue;
        }
        if (IsMissing(GetLastError())) {
            states.Set(index, Finished);
            continue;
        }
        DWORD attributes = GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES && IsMissing(GetLastError())) {
            states.Set(index, Finished);
            continue;
        }
        SetFileAttributesA(path, 0);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            if (RemoveDirectoryA(path)) {
                ++passCount;
                states.Set(index, Finished);
            } else {
                states.Set(index, FolderCleared);
            }
            continue;
        }
        if (DeleteFileA(path)) {
            ++passCount;
            states.Set(index, Finished);
            continue;
        }
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;
        if (HandleLockedFile(path, exePath, restartNeeded))
            states.Set(index, Finished);
    }
    return passCount;
}

}  // namespace

void RunUninstall()
{
    char exePath[PathSize];
    DWORD length = GetModuleFileNameA(nullptr, exePath, PathSize);
    // A cut path would name some other folder: treat it like a path without a folder.
    if (length == 0 || length >= PathSize)
        return;
    exePath[length] = 0;
    char folder[PathSize];
    memcpy(folder, exePath, length + 1);
    char* slash = strrchr(folder, '\\');
    if (!slash)
        return;
    if (slash != folder && slash[-1] == ':')
        slash[1] = 0;
    else
        *slash = 0;
    SetCurrentDirectoryA(folder);
    AppendSeparator(folder, sizeof folder);

    if (!SilentMode &&
        MessageBoxA(nullptr, GetMessageText(5107), GetMessageText(5104),
                    MB_SETFOREGROUND | MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;

    ListFile list(ListName);
    if (!list.Handle) {
        char text[200];
        FormatMessageText(text, sizeof text, GetMessageText(5108), ListName);
        ShowMessage(text, MB_SETFOREGROUND | MB_ICONERROR);
        return;
    }

    RemoveRegistration();
    UnloadResourceModule();
    static const char* const HelpIndexFiles[] = {"zelkor.gid", "zelkor.fts"};
    for (const char* helpIndex : HelpIndexFiles) {
        SetFileAttributesA(helpIndex, 0);
        DeleteFileA(helpIndex);
    }

    bool restartNeeded = false;
    {
        ListReader reader(list.Handle);
        EntryStates states;
        while (RunPass(reader, states, folder, exePath, restartNeeded) != 0) {
        }
    }
    list.Close();
    DeleteFileA(ListName);

    if (restartNeeded)
        ShowMessage(GetMessageText(5114), MB_SETFOREGROUND | MB_ICONINFORMATION);
    StartSelfRemoval(exePath);
}
