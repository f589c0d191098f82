/*
 * Paths of files beside the running executable, built into the caller's buffer with
 * every write bounded by its size.
 */
#include "shell/install_folder.h"

#include <windows.h>
#include <cstring>

#include "support/paths.h"

bool ExecutablePath(char* out, size_t size)
{
    if (size == 0)
        return false;
    DWORD length = GetModuleFileNameA(nullptr, out, static_cast<DWORD>(size));
    if (length == 0 || length >= size) {
        out[0] = '\0';
        return false;
    }
    out[length] = '\0';
    return true;
}

bool ReplaceFileName(char* path, size_t size, const char* fileName)
{
    char* name = FileNamePart(path);
    size_t offset = static_cast<size_t>(name - path);
    size_t length = strlen(fileName);
    if (offset + length + 1 > size)
        return false;
    memcpy(name, fileName, length + 1);
    return true;
}

bool InstallFolderFile(const char* fileName, char* out, size_t size)
{
    if (!ExecutablePath(out, size))
        return false;
    if (!ReplaceFileName(out, size, fileName)) {
        out[0] = '\0';
        return false;
    }
    return true;
}
