/*
 * The registry access layer. Every operation composes its key path into its own 256-byte
 * buffer first and does nothing more when the key is too long; every handle it opens is
 * closed before it returns. Reads deliver the caller's default on any failure, writes and
 * deletions report nothing. Only CreateKeyForWrite honours the 64-bit view switch.
 */
#include "registry/registry.h"

#include <cstdio>
#include <cstring>

#include "support/system.h"

DWORD ViewAccessFlag = 0;
int DeletedKeyCount = 0;

namespace {

const char ProductRoot[] = "Software\\Zelkor";
const size_t PathBufferSize = 256;
const size_t SubkeyNameSize = 200;
const size_t SubkeyPathSize = 512;

// The default text, cut to fit: a caller's default is never written past its buffer.
void CopyDefault(char* dest, const char* defaultText, DWORD size)
{
    if (size == 0)
        return;
    const char* text = defaultText ? defaultText : "";
    size_t length = strlen(text);
    if (length > size - 1)
        length = size - 1;
    memmove(dest, text, length);
    dest[length] = '\0';
}

// Queries a value into buffer; true with a non-zero byte count in *count when it was taken.
bool QueryValue(HKEY root, const char* key, const char* valueName, BYTE* buffer, DWORD* count)
{
    HKEY handle = OpenKeyForRead(root, key);
    if (!handle)
        return false;
    LONG status = RegQueryValueExA(handle, valueName, nullptr, nullptr, buffer, count);
    CloseKey(handle);
    return status == ERROR_SUCCESS && *count != 0;
}

void SetValue(HKEY root, const char* key, const char* valueName, DWORD type, const BYTE* data,
              DWORD count)
{
    HKEY handle = CreateKeyForWrite(root, key);
    if (!handle)
        return;
    RegSetValueExA(handle, valueName, 0, type, data, count);
    CloseKey(handle);
}

typedef LONG(WINAPI* DeleteKeyExFunction)(HKEY, LPCSTR, REGSAM, DWORD);

// RegDeleteKeyExA exists from Windows XP x64 and Vista on; older systems lack it.
DeleteKeyExFunction DeleteKeyExEntry()
{
    static bool looked = false;
    static DeleteKeyExFunction entry = nullptr;
    if (!looked) {
        looked = true;
        HMODULE advapi = GetModuleHandleA("advapi32.dll");
        if (advapi)
            entry = reinterpret_cast<DeleteKeyExFunction>(GetProcAddress(advapi, "RegDeleteKeyExA"));
    }
    return entry;
}

}  // namespace

bool ComposeKeyPath(HKEY root, const char* key, char* out, size_t outSize)
{
    size_t length = strlen(key);
    if (outSize < 20 || length > outSize - 20)
        return false;
    if (root == HKEY_CURRENT_USER) {
        if (key[0] == '\\')
            snprintf(out, outSize, "%s", key + 1);
        else
            snprintf(out, outSize, "%s%s%s", ProductRoot, key[0] ? "\\" : "", key);
    } else {
        snprintf(out, outSize, "%s", key);
    }
    return true;
}

HKEY CreateKeyForWrite(HKEY root, const char* key)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path))
        return nullptr;
    HKEY handle = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE | ViewAccessFlag,
                        nullptr, &handle, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return handle;
}

HKEY OpenKeyForRead(HKEY root, const char* key)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path))
        return nullptr;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS, &handle) != ERROR_SUCCESS)
        return nullptr;
    return handle;
}

bool CloseKey(HKEY key)
{
    return key != nullptr && RegCloseKey(key) == ERROR_SUCCESS;
}

void WriteString(HKEY root, const char* key, const char* valueName, const char* text)
{
    SetValue(root, key, valueName, REG_SZ, reinterpret_cast<const BYTE*>(text),
             static_cast<DWORD>(strlen(text) + 1));
}

void WriteDword(HKEY root, const char* key, const char* valueName, DWORD value)
{
    BYTE bytes[4] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8),
                     static_cast<BYTE>(value >> 16), static_cast<BYTE>(value >> 24)};
    SetValue(root, key, valueName, REG_DWORD, bytes, sizeof bytes);
}

void WriteBinary(HKEY root, const char* key, const char* valueName, const void* data, DWORD count)
{
    SetValue(root, key, valueName, REG_BINARY, static_cast<const BYTE*>(data), count);
}

bool ReadString(HKEY root, const char* key, const char* valueName, char* dest,
                const char* defaultText, DWORD size)
{
    DWORD count = size;
    if (size != 0 && QueryValue(root, key, valueName, reinterpret_cast<BYTE*>(dest), &count)) {
        // Stored bytes need not end in a terminator; add one, giving up the last byte
        // only when the value fills the destination exactly.
        if (dest[count - 1] != '\0')
            dest[count < size ? count : size - 1] = '\0';
        return true;
    }
    CopyDefault(dest, defaultText, size);
    return false;
}

DWORD ReadDword(HKEY root, const char* key, const char* valueName, DWORD defaultValue)
{
    BYTE bytes[4] = {0, 0, 0, 0};   // a shorter value is zero-extended
    DWORD count = sizeof bytes;
    if (!QueryValue(root, key, valueName, bytes, &count))
        return defaultValue;
    return static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 |
           static_cast<DWORD>(bytes[2]) << 16 | static_cast<DWORD>(bytes[3]) << 24;
}

void WriteUserString(const char* key, const char* valueName, const char* text)
{
    WriteString(HKEY_CURRENT_USER, key, valueName, text);
}

void WriteUserDword(const char* key, const char* valueName, DWORD value)
{
    WriteDword(HKEY_CURRENT_USER, key, valueName, value);
}

bool ReadUserString(const char* key, const char* valueName, char* dest, const char* defaultText,
                    DWORD size)
{
    return ReadString(HKEY_CURRENT_USER, key, valueName, dest, defaultText, size);
}

DWORD ReadUserDword(const char* key, const char* valueName, DWORD defaultValue)
{
    return ReadDword(HKEY_CURRENT_USER, key, valueName, defaultValue);
}

// An empty composed path names the root itself, which no deletion may touch.
void DeleteKey(HKEY root, const char* key)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path) || path[0] == '\0')
        return;
    RegDeleteKeyA(root, path);
}

void DeleteKeyIn64BitView(HKEY root, const char* key)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path) || path[0] == '\0')
        return;
    if (DeleteKeyExFunction deleteKeyEx = DeleteKeyExEntry())
        deleteKeyEx(root, path, KEY_WOW64_64KEY, 0);
    else
        RegDeleteKeyA(root, path);
}

void DeleteValue(HKEY root, const char* key, const char* valueName)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path))
        return;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_WRITE, &handle) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(handle, valueName);
    CloseKey(handle);
}

void DeleteTreePass(HKEY root, const char* path)
{
    if (path[0] == '\0')
        return;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        char name[SubkeyNameSize];
        DWORD nameSize = sizeof name;
        FILETIME written;
        if (RegEnumKeyExA(handle, index, name, &nameSize, nullptr, nullptr, nullptr, &written) !=
            ERROR_SUCCESS)
            break;
        char subkey[SubkeyPathSize];
        int length = snprintf(subkey, sizeof subkey, "%s\\%s", path, name);
        if (length < 0 || static_cast<size_t>(length) >= sizeof subkey)
            continue;   // too deep to name here; the key above it then stays
        DeleteTreePass(root, subkey);
    }
    CloseKey(handle);
    if (RegDeleteKeyA(root, path) == ERROR_SUCCESS)
        ++DeletedKeyCount;
}

void DeleteKeyTree(HKEY root, const char* key)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path))
        return;
    // The older family deletes a whole tree in one call; the NT family only empty keys.
    if (WinNtMajorVersion() == 0 && path[0] != '\0' && RegDeleteKeyA(root, path) == ERROR_SUCCESS)
        return;
    do {
        DeletedKeyCount = 0;
        DeleteTreePass(root, path);
    } while (DeletedKeyCount != 0);
}

bool KeyExists(HKEY root, const char* key)
{
    char path[PathBufferSize];
    if (!ComposeKeyPath(root, key, path, sizeof path))
        return false;
    HKEY handle = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS)
        return false;
    CloseKey(handle);
    return true;
}

void Use64BitView(bool on)
{
    ViewAccessFlag = on ? KEY_WOW64_64KEY : 0;
}
