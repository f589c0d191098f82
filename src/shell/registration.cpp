/*
 * The apply and removal sequences of the integration. ApplySetupOptions writes the
 * application path, registers or unregisters the shell extension, takes over or gives
 * back the associations, writes the program identifiers (one shell notification for both)
 * and updates the shortcuts. RemoveRegistration undoes all of it, reading the association
 * backups before the product root is deleted last.
 */
#include "shell/registration.h"

#include <shlobj.h>
#include <cstdio>
#include <cstring>

#include "lang/resource_module.h"
#include "registry/registry.h"
#include "shell/associations.h"
#include "shell/install_folder.h"
#include "shell/shell_extension.h"
#include "shell/shortcuts.h"
#include "support/paths.h"

namespace {

const char AppPathKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zelkor.exe";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver";
const char ArchiverName[] = "Zelkor.exe";

bool Format(char* out, size_t size, const char* format, const char* text)
{
    int length = snprintf(out, size, format, text);
    return length >= 0 && static_cast<size_t>(length) < size;
}

// Writes the DefaultIcon only where none is set, so another program's icon stays.
void WriteIconIfEmpty(const char* key, const char* icon)
{
    char current[ShellPathSize];
    ReadString(HKEY_CLASSES_ROOT, key, "", current, "", sizeof current);
    if (current[0] == '\0')
        WriteString(HKEY_CLASSES_ROOT, key, "", icon);
}

}  // namespace

void RegisterAppPath()
{
    char archiver[ShellPathSize];
    if (!InstallFolderFile(ArchiverName, archiver, sizeof archiver))
        return;
    WriteString(HKEY_LOCAL_MACHINE, AppPathKey, "", archiver);
    char folder[ShellPathSize];
    memcpy(folder, archiver, sizeof folder);
    CutToParentFolder(folder);
    WriteString(HKEY_LOCAL_MACHINE, AppPathKey, "Path", folder);
}

void RegisterProgIds()
{
    char archiver[ShellPathSize];
    char command[ShellPathSize + 8];
    char icon[ShellPathSize + 4];
    char recoveryIcon[ShellPathSize + 4];
    if (InstallFolderFile(ArchiverName, archiver, sizeof archiver) &&
        Format(command, sizeof command, "\"%s\" \"%%1\"", archiver) &&
        Format(icon, sizeof icon, "%s,0", archiver) &&
        Format(recoveryIcon, sizeof recoveryIcon, "%s,1", archiver)) {
        WriteString(HKEY_CLASSES_ROOT, "Zelkor", "", GetMessageText(5109));
        WriteString(HKEY_CLASSES_ROOT, "Zelkor\\shell\\open\\command", "", command);
        WriteIconIfEmpty("Zelkor\\DefaultIcon", icon);
        WriteString(HKEY_CLASSES_ROOT, "Zelkor.ZIP", "", GetMessageText(5110));
        WriteString(HKEY_CLASSES_ROOT, "Zelkor.ZIP\\shell\\open\\command", "", command);
        WriteIconIfEmpty("Zelkor.ZIP\\DefaultIcon", icon);
        WriteString(HKEY_CLASSES_ROOT, ".rev", "", "Zelkor.REV");
        WriteString(HKEY_CLASSES_ROOT, "Zelkor.REV", "", GetMessageText(5111));
        WriteString(HKEY_CLASSES_ROOT, "Zelkor.REV\\shell\\open\\command", "", command);
        WriteIconIfEmpty("Zelkor.REV\\DefaultIcon", recoveryIcon);
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void WriteUninstallEntry()
{
    WriteString(HKEY_LOCAL_MACHINE, UninstallKey, "DisplayName", GetMessageText(5101));
    char program[ShellPathSize];
    if (ExecutablePath(program, sizeof program))
        WriteString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString", program);
}

void ApplySetupOptions(const SetupOptions& options, char* groupFolder)
{
    RegisterAppPath();
    RegisterShellExtensions(options);
    ApplyAssociations(options);
    RegisterProgIds();
    UpdateShortcuts(options, groupFolder);
}

void RemoveRegistration()
{
    SetupOptions none;
    memset(&none, 0, sizeof none);
    ApplyAssociations(none);
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
    RegisterShellExtensions(none);
    UpdateShortcuts(none, nullptr);
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Zelkor");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Zelkor.ZIP");
    DeleteKeyTree(HKEY_CLASSES_ROOT, "Zelkor.REV");
    DeleteKeyTree(HKEY_CLASSES_ROOT, ".rev");
    DeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver");
    DeleteKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Zelkor.exe");
    DeleteKeyTree(HKEY_CURRENT_USER, "");
}
