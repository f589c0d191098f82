/*
 * integration_demo [--seed]: applies a setup with every flag set and removes it again, from
 * this executable's folder as the installation folder, printing what was taken over (with
 * the previous owners), what removal restored and what is left. --seed first gives .zip,
 * .jar and .cab example owners. For throwaway Wine prefixes: it changes the registry.
 */
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lang/resource_module.h"
#include "registry/registry.h"
#include "shell/options.h"
#include "shell/registration.h"
#include "shell/shortcuts.h"

namespace {

const char ClassId32[] = "{7A35C2E1-4F0B-4D6C-8E21-3B95D07A64FE}";

// Texts are in the ANSI code page; the report is UTF-8, as a Linux terminal expects.
void Print(const std::string& ansi)
{
    int wideLength = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(wideLength > 0 ? wideLength : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(length > 0 ? length : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, utf8.data(), length, nullptr, nullptr);
    fputs(utf8.data(), stdout);
    fputc('\n', stdout);
}

std::string Read(HKEY root, const std::string& key, const char* value, const char* missing)
{
    char text[1024];
    if (!ReadString(root, key.c_str(), value, text, missing, sizeof text))
        return missing;
    return text;
}

std::string Owner(const std::string& extension)
{
    if (!KeyExists(HKEY_CLASSES_ROOT, extension.c_str()))
        return "(no key)";
    std::string owner = Read(HKEY_CLASSES_ROOT, extension, "", "");
    return owner.empty() ? "(no class)" : owner;
}

std::vector<std::string> Extensions()
{
    std::vector<std::string> list;
    for (const AssociationGroup& group : AssociationGroups) {
        const char* start = group.Extensions;
        while (*start) {
            const char* end = start + 1;
            while (*end && *end != '.')
                ++end;
            list.emplace_back(start, end);
            start = end;
        }
    }
    return list;
}

std::string LinkState(const std::string& path)
{
    return (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? "present  " : "absent   ") + path;
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return "";
    return path;
}

struct Item {
    HKEY Root;
    std::string Key;
    std::string Label;
};

void PrintState(const std::vector<Item>& items, const std::vector<std::string>& links)
{
    for (const Item& item : items)
        Print(std::string(KeyExists(item.Root, item.Key.c_str()) ? "present  " : "absent   ") +
              item.Label);
    for (const std::string& link : links)
        Print(LinkState(link));
}

}  // namespace

int main(int argc, char** argv)
{
    bool seed = argc > 1 && !strcmp(argv[1], "--seed");
    LoadResourceModule(GetModuleHandleA(nullptr));
    OleInitialize(nullptr);

    if (seed) {
        WriteString(HKEY_CLASSES_ROOT, ".zip", "", "OtherZip.Archive");
        WriteString(HKEY_CLASSES_ROOT, ".zip", "Content Type", "application/x-other-zip");
        WriteString(HKEY_CLASSES_ROOT, ".zip\\ShellNew", "NullFile", "");
        WriteString(HKEY_CLASSES_ROOT, ".jar", "", "OtherJar.File");
        WriteString(HKEY_CLASSES_ROOT, ".cab", "", "OtherCab.File");
        WriteString(HKEY_CLASSES_ROOT, ".cab\\ShellNew", "FileName", "C:\\Other\\empty.cab");
    }

    std::vector<std::string> extensions = Extensions();
    std::vector<std::string> before;
    for (const std::string& extension : extensions)
        before.push_back(Owner(extension));

    SetupOptions all;
    memset(&all, 1, sizeof all);
    char groupFolder[1024] = "";
    ApplySetupOptions(all, groupFolder);
    WriteUninstallEntry();

    Print("== Setup with every flag set ==");
    Print("Extensions taken over (previous owner, as backed up under HKCU\\Software\\Zelkor\\Setup):");
    for (const std::string& extension : extensions) {
        std::string backup = "Setup\\" + extension;
        char type[512];
        ReadUserString(backup.c_str(), "Type", type, "", sizeof type);
        bool existed = ReadUserDword(backup.c_str(), "Exist", 0) != 0;
        std::string content = Read(HKEY_CURRENT_USER, backup, "Content", "");
        std::string shellNew = Read(HKEY_CURRENT_USER, backup, "ShellNew", "");
        std::string line = "  " + extension + " -> " + Owner(extension) + "   previously: " +
                           (existed ? (type[0] ? type : "(no class)") : "(no key)");
        if (!content.empty())
            line += ", Content Type " + content;
        if (!shellNew.empty())
            line += ", ShellNew " + (shellNew == "*" ? std::string("NullFile") : shellNew);
        Print(line);
    }
    std::string library = Read(HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32 + "\\InProcServer32", "",
                               "(not written: kpxext.dll is not in the installation folder)");
    Print("Shell extension class: " + library);
    Print("Uninstall entry: " + Read(HKEY_LOCAL_MACHINE,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver",
                                     "UninstallString", "(missing)"));
    Print(std::string("Program group: ") + groupFolder);

    std::string desktop = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "\\Zelkor.lnk";
    std::string startMenu = ShellFolder(CSIDL_STARTMENU) + "\\Zelkor.lnk";
    std::string commonGroup = ShellFolder(CSIDL_COMMON_PROGRAMS);
    std::vector<std::string> links = {desktop, startMenu, std::string(groupFolder)};
    if (!commonGroup.empty())
        links.push_back(commonGroup + "\\Zelkor");
    std::vector<Item> ours = {
        {HKEY_CLASSES_ROOT, "Zelkor", "HKCR\\Zelkor"},
        {HKEY_CLASSES_ROOT, "Zelkor.ZIP", "HKCR\\Zelkor.ZIP"},
        {HKEY_CLASSES_ROOT, "Zelkor.REV", "HKCR\\Zelkor.REV"},
        {HKEY_CLASSES_ROOT, ".rev", "HKCR\\.rev"},
        {HKEY_CLASSES_ROOT, std::string("CLSID\\") + ClassId32, std::string("HKCR\\CLSID\\") + ClassId32},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zelkor.exe",
         "HKLM\\...\\App Paths\\Zelkor.exe"},
        {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver",
         "HKLM\\...\\Uninstall\\Zelkor archiver"},
        {HKEY_CURRENT_USER, "", "HKCU\\Software\\Zelkor"},
    };
    Print("Made:");
    PrintState(ours, links);

    RemoveRegistration();

    Print("");
    Print("== Removal ==");
    Print("Extensions given back:");
    for (size_t i = 0; i < extensions.size(); i++) {
        std::string now = Owner(extensions[i]);
        Print("  " + extensions[i] + " -> " + now + (now == before[i] ? "   (as before)" : "   (DIFFERENT from before: " + before[i] + ")"));
    }
    Print("Our keys, files and shortcuts now:");
    PrintState(ours, links);
    Print("Left on purpose (handler keys without a default value):");
    for (const char* parent : {"*\\shellex\\ContextMenuHandlers\\", "Folder\\shellex\\ContextMenuHandlers\\",
                               "Folder\\shellex\\DragDropHandlers\\", "Drive\\shellex\\DragDropHandlers\\",
                               "Directory\\shellex\\ContextMenuHandlers\\",
                               "Directory\\shellex\\DragDropHandlers\\"}) {
        for (const char* handler : {"Zelkor", "Zelkor32"}) {
            std::string key = std::string(parent) + handler;
            if (!KeyExists(HKEY_CLASSES_ROOT, key.c_str()))
                continue;
            char value[64];
            bool hasDefault = ReadString(HKEY_CLASSES_ROOT, key.c_str(), "", value, "", sizeof value);
            Print("  HKCR\\" + key + (hasDefault ? "   (still has a default value!)" : ""));
        }
    }
    OleUninitialize();
    return 0;
}
