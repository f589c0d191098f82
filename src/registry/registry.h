/*
 * The registry access layer: the only code that calls the Win32 registry functions.
 * Keys under HKEY_CURRENT_USER are relative to the product root "Software\Zelkor" unless
 * they begin with a backslash; keys longer than 236 bytes are refused (nothing done,
 * reads give their default). Failures are silent. Use64BitView sends key creation only
 * to the 64-bit view; reads, KeyExists and the plain deletions stay in the default view.
 */
#ifndef ZELKOR_REGISTRY_REGISTRY_H
#define ZELKOR_REGISTRY_REGISTRY_H

#include <windows.h>
#include <cstddef>

extern DWORD ViewAccessFlag;     // 0 or KEY_WOW64_64KEY; added by CreateKeyForWrite only
extern int DeletedKeyCount;      // keys deleted by the current DeleteTreePass

bool ComposeKeyPath(HKEY root, const char* key, char* out, size_t outSize);
HKEY CreateKeyForWrite(HKEY root, const char* key);
HKEY OpenKeyForRead(HKEY root, const char* key);
bool CloseKey(HKEY key);

void WriteString(HKEY root, const char* key, const char* valueName, const char* text);
void WriteDword(HKEY root, const char* key, const char* valueName, DWORD value);
void WriteBinary(HKEY root, const char* key, const char* valueName, const void* data, DWORD count);
// The destination always ends with a terminator within size.
bool ReadString(HKEY root, const char* key, const char* valueName, char* dest,
                const char* defaultText, DWORD size);
DWORD ReadDword(HKEY root, const char* key, const char* valueName, DWORD defaultValue);

void WriteUserString(const char* key, const char* valueName, const char* text);
void WriteUserDword(const char* key, const char* valueName, DWORD value);
bool ReadUserString(const char* key, const char* valueName, char* dest,
                    const char* defaultText, DWORD size);
DWORD ReadUserDword(const char* key, const char* valueName, DWORD defaultValue);

void DeleteKey(HKEY root, const char* key);
// Deletes one key in the 64-bit view (where Use64BitView wrote it); elsewhere as DeleteKey.
void DeleteKeyIn64BitView(HKEY root, const char* key);
void DeleteValue(HKEY root, const char* key, const char* valueName);
void DeleteKeyTree(HKEY root, const char* key);
void DeleteTreePass(HKEY root, const char* path);
bool KeyExists(HKEY root, const char* key);
void Use64BitView(bool on);

#endif
