/*
 * Direct Win32 registry access for the registry tests: setting up and checking state
 * without the layer under test, and putting back what a test changed. Paths here are
 * always full paths under the given root.
 */
#ifndef ZELKOR_TESTS_REGISTRY_RAW_REGISTRY_H
#define ZELKOR_TESTS_REGISTRY_RAW_REGISTRY_H

#include <windows.h>
#include <string>

namespace raw {

const char TestRoot[] = "Software\\ZelkorRegistryTest";   // under HKCU and HKLM
const char ClassTestRoot[] = "ZelkorRegistryTest";         // under HKCR
const char TestClassKey[] = "CLSID\\{5A0B3C2D-7E1F-4D6C-8E21-00000000E5E7}";   // HKCR, both views
const char FirstKey[] = "!ZelkorRegistryTest";          // sorts first under HKCU and HKCR
const char RootValueName[] = "ZelkorRegistryTestValue";    // a value in HKCU itself

struct Value {
    bool Present = false;
    DWORD Type = 0;
    std::string Bytes;
};

bool KeyExists(HKEY root, const std::string& path, REGSAM view = 0);
void CreateKey(HKEY root, const std::string& path, REGSAM view = 0);
void SetValue(HKEY root, const std::string& path, const char* name, DWORD type,
              const std::string& bytes, REGSAM view = 0);
void SetString(HKEY root, const std::string& path, const char* name, const std::string& text);
void SetDword(HKEY root, const std::string& path, const char* name, DWORD value);
Value GetValue(HKEY root, const std::string& path, const char* name, REGSAM view = 0);
std::string Dword(DWORD value);   // its four stored bytes
void DeleteTree(HKEY root, const std::string& path, REGSAM view = 0);
// The number of direct subkeys; -1 when the key cannot be opened.
int SubkeyCount(HKEY root, const std::string& path);

// Removes the product root and the tests' own keys under every root.
void CleanAll();

// Keeps the state of HKCR\<extension>'s default value and puts it back when destroyed
// (deleting the key when it did not exist), so tests may claim real extensions.
class ClassBackup {
public:
    explicit ClassBackup(const char* extension);
    ~ClassBackup();
    ClassBackup(const ClassBackup&) = delete;
    ClassBackup& operator=(const ClassBackup&) = delete;
    void SetClass(const std::string& className);   // writes the default value
    // Leaves the extension without a class: its key is deleted when the test made it,
    // only the default value when it was there before.
    void Clear();

private:
    std::string Extension;
    bool Existed;
    Value Saved;
};

}  // namespace raw

#endif
