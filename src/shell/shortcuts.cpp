/*
 * Shortcuts: Zelkor.lnk on the desktop (kept when it exists) and in the Start menu (always
 * rewritten), and the group "Zelkor" with three entries per user and, on the NT family, for
 * all users; a cleared flag deletes what it stands for. A shell folder that cannot be looked
 * up is skipped. Entry names lose the characters no file name may hold.
 */
#include "shell/shortcuts.h"

#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>
#include <cstring>

#include "lang/resource_module.h"
#include "shell/install_folder.h"
#include "support/paths.h"
#include "support/system.h"

namespace {

const int DescriptionId = 5113;
const int LinkPathWideSize = 260;
const char LinkName[] = "Zelkor.lnk";
const char GroupName[] = "Zelkor";

// Holds one COM interface pointer and releases it.
template <class T>
class ComRef {
public:
    ComRef() = default;
    ~ComRef()
    {
        if (Pointer)
            Pointer->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* operator->() const { return Pointer; }
    T* Get() const { return Pointer; }
    void** Out() { return reinterpret_cast<void**>(&Pointer); }
    T** Address() { return &Pointer; }

private:
    T* Pointer = nullptr;
};

// An item-ID list from the shell, freed with the shell allocator.
class ItemIdList {
public:
    explicit ItemIdList(IMalloc* allocator) : Allocator(allocator) {}
    ~ItemIdList()
    {
        if (List)
            Allocator->Free(List);
    }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    LPITEMIDLIST* Address() { return &List; }
    LPCITEMIDLIST Get() const { return List; }

private:
    IMalloc* Allocator;
    LPITEMIDLIST List = nullptr;
};

// The file-system path of a shell folder; false (empty buffer) when it has none.
bool ShellFolderPath(IMalloc* allocator, int folder, char* out)
{
    out[0] = '\0';
    ItemIdList list(allocator);
    if (SHGetSpecialFolderLocation(nullptr, folder, list.Address()) != S_OK || !list.Get())
        return false;
    if (!SHGetPathFromIDListA(list.Get(), out)) {
        out[0] = '\0';
        return false;
    }
    return out[0] != '\0';
}

// Appends a separator and a name to a folder path, leaving room for the second terminator
// that RemoveFolderTree needs; false (path unusable) when it does not fit.
bool JoinPath(char* path, size_t size, const char* name, const char* suffix = "")
{
    if (path[0] == '\0')
        return false;
    AppendSeparator(path, size);
    if (*LastCharacter(path) != '\\')
        return false;
    size_t length = strlen(path);
    size_t nameLength = strlen(name);
    size_t suffixLength = strlen(suffix);
    if (length + nameLength + suffixLength + 2 > size)
        return false;
    memcpy(path + length, name, nameLength);
    memcpy(path + length + nameLength, suffix, suffixLength + 1);
    return true;
}

void CopyText(char* out, size_t size, const char* text)
{
    size_t length = strnlen(text, size - 1);
    memcpy(out, text, length);
    out[length] = '\0';
}

// A message text as a file name: the built-in Chinese texts on a code page without those
// characters arrive as "????", and a translation may use '/' or ':'; such a name would
// make the link fail silently. Double-byte characters are stepped over whole, as their
// trail bytes may have the values of '\\' or '|'.
void MakeFileName(char* name)
{
    for (char* p = name; *p != '\0';) {
        unsigned char c = static_cast<unsigned char>(*p);
        char* next = LeadTable.Multibyte ? const_cast<char*>(NextChar(LeadTable, p)) : p + 1;
        if (next == p + 1 && (c < 0x20 || strchr("\\/:*?\"<>|", c)))
            *p = '_';
        p = next;
    }
}

struct GroupEntry {
    char Name[MessageTextSize];
    const char* Target;
};

void UpdateGroup(IMalloc* allocator, int folderId, bool wanted, char* groupFolderOut,
                 const GroupEntry* entries, int entryCount, const char* description)
{
    char folder[ShellPathSize];
    if (!ShellFolderPath(allocator, folderId, folder) ||
        !JoinPath(folder, sizeof folder, GroupName))
        return;
    if (!wanted) {
        RemoveFolderTree(folder);
        return;
    }
    if (groupFolderOut)
        CopyText(groupFolderOut, ShellPathSize, folder);
    CreateDirectoryA(folder, nullptr);
    for (int i = 0; i < entryCount; i++) {
        char link[ShellPathSize];
        char target[ShellPathSize];
        CopyText(link, sizeof link, folder);
        if (JoinPath(link, sizeof link, entries[i].Name, ".lnk") &&
            InstallFolderFile(entries[i].Target, target, sizeof target))
            CreateShellLink(target, link, description);
    }
}

}  // namespace

bool DesktopFolderPath(char* buffer)
{
    buffer[0] = '\0';
    ComRef<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Address())))
        return false;
    return ShellFolderPath(allocator.Get(), CSIDL_DESKTOPDIRECTORY, buffer);
}

bool CreateShellLink(const char* target, const char* linkPath, const char* description)
{
    ComRef<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.Out())))
        return false;
    link->SetPath(target);
    link->SetDescription(description);
    ComRef<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out())))
        return false;
    wchar_t widePath[LinkPathWideSize];
    if (MultiByteToWideChar(CP_ACP, 0, linkPath, -1, widePath, LinkPathWideSize) == 0)
        return false;
    return SUCCEEDED(file->Save(widePath, TRUE));
}

bool RemoveFolderTree(char* path)
{
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES)
        return false;
    path[strlen(path) + 1] = '\0';
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = path;
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    return SHFileOperationA(&operation) == 0;
}

void UpdateShortcuts(const SetupOptions& options, char* groupFolder)
{
    char target[ShellPathSize];
    bool haveTarget = InstallFolderFile("Zelkor.exe", target, sizeof target);
    char description[MessageTextSize];
    CopyText(description, sizeof description, GetMessageText(DescriptionId));

    ComRef<IMalloc> allocator;
    if (FAILED(SHGetMalloc(allocator.Address())))
        return;

    char link[ShellPathSize];
    if (DesktopFolderPath(link) && JoinPath(link, sizeof link, LinkName)) {
        if (!options.Desktop)
            DeleteFileA(link);
        else if (haveTarget && GetFileAttributesA(link) == INVALID_FILE_ATTRIBUTES)
            CreateShellLink(target, link, description);
    }

    if (ShellFolderPath(allocator.Get(), CSIDL_STARTMENU, link) &&
        JoinPath(link, sizeof link, LinkName)) {
        if (!options.StartMenu)
            DeleteFileA(link);
        else if (haveTarget)
            CreateShellLink(target, link, description);
    }

    GroupEntry entries[3];
    CopyText(entries[0].Name, sizeof entries[0].Name, GroupName);
    entries[0].Target = "Zelkor.exe";
    CopyText(entries[1].Name, sizeof entries[1].Name, GetMessageText(5102));
    entries[1].Target = "Zelkor.hlp";
    CopyText(entries[2].Name, sizeof entries[2].Name, GetMessageText(5103));
    entries[2].Target = "Kpx.txt";
    MakeFileName(entries[1].Name);
    MakeFileName(entries[2].Name);

    UpdateGroup(allocator.Get(), CSIDL_PROGRAMS, options.Programs != 0, groupFolder, entries, 3,
                description);
    if (WinNtMajorVersion() != 0)
        UpdateGroup(allocator.Get(), CSIDL_COMMON_PROGRAMS, options.Programs != 0, nullptr,
                    entries, 3, description);
}
