/*
 * Helpers of the shell integration tests (see shell_test_support.h), and the test
 * program's environment: OLE initialized, the resource module loaded as the entry point
 * does.
 */
#include "shell_test_support.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <shlobj.h>
#include <cstring>

#include "bed.h"
#include "lang/resource_module.h"

namespace shelltest {

const char ClassId32[] = "{7A35C2E1-4F0B-4D6C-8E21-3B95D07A64FE}";
const char ClassId64[] = "{7A35C2E1-9C58-4D6C-8E21-3B95D07A64FE}";
const char ApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";

const std::vector<std::string>& AllExtensions()
{
    static const std::vector<std::string> list = {
        ".kpx", ".zip", ".cab", ".arj", ".lzh", ".lha", ".ace", ".7z", ".tar", ".gz", ".tgz",
        ".uue", ".xxe", ".uu", ".bz2", ".tbz2", ".bz", ".tbz", ".jar", ".iso", ".z", ".taz"};
    return list;
}

RegValue ReadValue(HKEY root, const std::string& key, const std::string& name, REGSAM view)
{
    RegValue value;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name.c_str(), nullptr, &value.Type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        if (RegQueryValueExA(handle, name.c_str(), nullptr, &value.Type,
                             reinterpret_cast<BYTE*>(&data[0]), &size) == ERROR_SUCCESS) {
            data.resize(size);
            if ((value.Type == REG_SZ || value.Type == REG_EXPAND_SZ) && !data.empty() &&
                data.back() == '\0')
                data.pop_back();
            value.Present = true;
            value.Data = data;
        }
    }
    RegCloseKey(handle);
    return value;
}

std::string Text(HKEY root, const std::string& key, const std::string& name, REGSAM view)
{
    RegValue value = ReadValue(root, key, name, view);
    return value.Present ? value.Data : "<missing>";
}

bool KeyPresent(HKEY root, const std::string& key, REGSAM view)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

std::vector<std::string> ValueNames(HKEY root, const std::string& key, REGSAM view)
{
    std::vector<std::string> names;
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &handle) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; i++) {
        char name[1024];
        DWORD size = sizeof name;
        if (RegEnumValueA(handle, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.emplace_back(name, size);
    }
    RegCloseKey(handle);
    return names;
}

void SetText(HKEY root, const std::string& key, const std::string& name, const std::string& text)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(handle);
}

void SetDwordValue(HKEY root, const std::string& key, const std::string& name, DWORD value)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegCloseKey(handle);
}

void RemoveTree(HKEY root, const std::string& key, REGSAM view)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS)
        return;
    std::vector<std::string> children;
    for (DWORD i = 0;; i++) {
        char name[512];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(handle, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name, size);
    }
    RegCloseKey(handle);
    for (const std::string& child : children)
        RemoveTree(root, key + "\\" + child, view);
    if (view)
        RegDeleteKeyExA(root, key.c_str(), view, 0);
    else
        RegDeleteKeyA(root, key.c_str());
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return std::string();
    return path;
}

LinkInfo ReadLink(const std::string& linkPath)
{
    LinkInfo info;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return info;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        wchar_t wide[MAX_PATH];
        if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) &&
            SUCCEEDED(file->Load(wide, STGM_READ))) {
            char text[MAX_PATH] = "";
            info.Loaded = true;
            if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
                info.Path = text;
            text[0] = '\0';
            if (SUCCEEDED(link->GetDescription(text, MAX_PATH)))
                info.Description = text;
        }
        file->Release();
    }
    link->Release();
    return info;
}

std::string Message(int id)
{
    return GetMessageText(id);
}

std::string EntryFileName(int id)
{
    std::string name = Message(id);
    for (char& c : name)
        if (strchr("\\/:*?\"<>|", c))
            c = '_';
    return name;
}

std::string MakeInstallFolder(const std::string& folder, bool withLibraries)
{
    bed::RemoveTree(folder);
    CreateDirectoryA("C:\\zelkor-tests", nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    bed::CopyFileTo(bed::BuildPath("tests\\shell\\shell_step.exe"), folder + "\\shell_step.exe");
    if (withLibraries) {
        bed::WriteFileBytes(folder + "\\kpxext.dll", "not loaded by the integration");
        bed::WriteFileBytes(folder + "\\kpxext64.dll", "not loaded by the integration");
    }
    return folder;
}

bool RunStep(const std::string& folder, const std::string& arguments)
{
    std::string separator = !folder.empty() && folder.back() == '\\' ? "" : "\\";
    bed::ProcessResult result = bed::RunProcess(
        "\"" + folder + separator + "shell_step.exe\" " + arguments, 60000, folder);
    return result.Started && result.Finished && result.ExitCode == 0;
}

std::string ExpectedNativeTemplate()
{
    const unsigned char bytes[20] = {'K', 'p', 'x', '!', 0x1A, 0x07, 0x00, 0xCF, 0x90, 0x73,
                                     0x00, 0x00, 0x0D, 0x00, 0, 0, 0, 0, 0, 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string ExpectedZipTemplate()
{
    std::string bytes(22, '\0');
    bytes[0] = 'P';
    bytes[1] = 'K';
    bytes[2] = 5;
    bytes[3] = 6;
    return bytes;
}

bool UnderWow64()
{
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

namespace {

class ShellEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        OleInitialize(nullptr);
        LoadResourceModule(GetModuleHandleA(nullptr));
    }
    void TearDown() override { OleUninitialize(); }
};

testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new ShellEnvironment);

}  // namespace

}  // namespace shelltest
