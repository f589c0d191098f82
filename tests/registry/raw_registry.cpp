/*
 * Direct Win32 registry access for the registry tests (see raw_registry.h).
 */
#include "raw_registry.h"

#include <vector>

namespace raw {

bool KeyExists(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void CreateKey(HKEY root, const std::string& path, REGSAM view)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
}

void SetValue(HKEY root, const std::string& path, const char* name, DWORD type,
              const std::string& bytes, REGSAM view)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                   static_cast<DWORD>(bytes.size()));
    RegCloseKey(key);
}

void SetString(HKEY root, const std::string& path, const char* name, const std::string& text)
{
    SetValue(root, path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

std::string Dword(DWORD value)
{
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

void SetDword(HKEY root, const std::string& path, const char* name, DWORD value)
{
    SetValue(root, path, name, REG_DWORD, Dword(value));
}

Value GetValue(HKEY root, const std::string& path, const char* name, REGSAM view)
{
    Value result;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS)
        return result;
    std::vector<BYTE> buffer(4096);
    DWORD count = static_cast<DWORD>(buffer.size());
    if (RegQueryValueExA(key, name, nullptr, &result.Type, buffer.data(), &count) == ERROR_SUCCESS) {
        result.Present = true;
        result.Bytes.assign(reinterpret_cast<const char*>(buffer.data()), count);
    }
    RegCloseKey(key);
    return result;
}

void DeleteTree(HKEY root, const std::string& path, REGSAM view)
{
    if (path.empty())
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS | view, &key) != ERROR_SUCCESS)
        return;
    RegDeleteTreeA(key, nullptr);
    RegCloseKey(key);
    RegDeleteKeyExA(root, path.c_str(), view, 0);
}

int SubkeyCount(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return -1;
    DWORD count = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return static_cast<int>(count);
}

void CleanAll()
{
    DeleteTree(HKEY_CURRENT_USER, "Software\\Zelkor");
    DeleteTree(HKEY_CURRENT_USER, TestRoot);
    DeleteTree(HKEY_LOCAL_MACHINE, TestRoot);
    DeleteTree(HKEY_CLASSES_ROOT, ClassTestRoot);
    DeleteTree(HKEY_CLASSES_ROOT, TestClassKey, KEY_WOW64_32KEY);
    DeleteTree(HKEY_CLASSES_ROOT, TestClassKey, KEY_WOW64_64KEY);
    DeleteTree(HKEY_CURRENT_USER, FirstKey);
    DeleteTree(HKEY_CLASSES_ROOT, FirstKey);
    RegDeleteValueA(HKEY_CURRENT_USER, RootValueName);
}

ClassBackup::ClassBackup(const char* extension)
    : Extension(extension), Existed(KeyExists(HKEY_CLASSES_ROOT, extension)),
      Saved(GetValue(HKEY_CLASSES_ROOT, extension, ""))
{
}

static void DeleteDefaultValue(const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "");
        RegCloseKey(key);
    }
}

ClassBackup::~ClassBackup()
{
    if (!Existed)
        DeleteTree(HKEY_CLASSES_ROOT, Extension);
    else if (Saved.Present)
        SetValue(HKEY_CLASSES_ROOT, Extension, "", Saved.Type, Saved.Bytes);
    else
        DeleteDefaultValue(Extension);
}

void ClassBackup::SetClass(const std::string& className)
{
    SetString(HKEY_CLASSES_ROOT, Extension, "", className);
}

void ClassBackup::Clear()
{
    if (Existed)
        DeleteDefaultValue(Extension);
    else
        DeleteTree(HKEY_CLASSES_ROOT, Extension);
}

}  // namespace raw
