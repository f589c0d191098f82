/*
 * The SetupOptions record and its persistence: the table of the 14 association groups,
 * the test whether an extension belongs to the archiver, reading the record from and
 * saving it to HKCU\Software\Zelkor\Setup... (each flag a REG_DWORD, any non-zero value
 * is set), and the transfer to and from the setup dialog's check boxes 5101 to 5120.
 */
#include "shell/options.h"

#include <cstdio>

#include "registry/registry.h"
#include "resource_ids.h"

const AssociationGroup AssociationGroups[AssociationGroupCount] = {
    {0, "KPX(&R)", 5101, ".kpx"},
    {1, "ZIP(&Z)", 5102, ".zip"},
    {2, "CAB", 5103, ".cab"},
    {3, "ARJ", 5104, ".arj"},
    {4, "LZH", 5105, ".lzh.lha"},
    {5, "ACE", 5106, ".ace"},
    {6, "7-Zip", 5107, ".7z"},
    {7, "TAR", 5108, ".tar"},
    {8, "GZip", 5109, ".gz.tgz"},
    {9, "UUE", 5110, ".uue.xxe.uu"},
    {10, "BZ2", 5111, ".bz2.tbz2.bz.tbz"},
    {11, "JAR", 5112, ".jar"},
    {12, "ISO", 5113, ".iso"},
    {13, "Z", 5114, ".z.taz"},
};

namespace {

const int JarGroup = 11;
const int IsoGroup = 12;
const DWORD ClassNameSize = 80;

// Letters compared without regard to case, by ASCII rules: class names are ASCII, and a
// locale comparison could equate texts that differ in punctuation.
bool EqualIgnoringCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z')
            x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y)
            return false;
        if (x == 0)
            return true;
    }
}

// The group's key extension, its first one (".lzh" of ".lzh.lha").
void KeyExtension(int group, char* extension, size_t size)
{
    const char* extensions = AssociationGroups[group].Extensions;
    size_t length = 1;
    while (extensions[length] != '\0' && extensions[length] != '.')
        ++length;
    snprintf(extension, size, "%.*s", static_cast<int>(length), extensions);
}

// "Setup\<key extension>": the group's settings key.
void GroupSettingsKey(int group, char* key, size_t size)
{
    char extension[32];
    KeyExtension(group, extension, sizeof extension);
    snprintf(key, size, "Setup\\%s", extension);
}

// The default value of HKEY_CLASSES_ROOT\<extension>; "" when missing or too long.
void ReadClassName(const char* extension, char (&className)[ClassNameSize])
{
    ReadString(HKEY_CLASSES_ROOT, extension, "", className, "", ClassNameSize);
}

unsigned char Flag(DWORD value) { return value != 0 ? 1 : 0; }

struct OtherFlag {
    unsigned char SetupOptions::*Field;
    const char* Key;
    const char* ValueName;
    DWORD Default;
    int ControlId;
};

const OtherFlag OtherFlags[] = {
    {&SetupOptions::Desktop, "Setup\\Links", "Desktop", 0, IDC_DESKTOP},
    {&SetupOptions::StartMenu, "Setup\\Links", "StartMenu", 0, IDC_STARTMENU},
    {&SetupOptions::Programs, "Setup\\Links", "Programs", 1, IDC_PROGRAMS},
    {&SetupOptions::ShellExt, "Setup", "ShellExt", 1, IDC_SHELLEXT},
    {&SetupOptions::CascadedMenu, "Setup", "CascadedMenu", 0, IDC_CASCADEDMENU},
    {&SetupOptions::MenuIcons, "Setup", "MenuIcons", 1, IDC_MENUICONS},
};

}  // namespace

// One of the archiver's own classes, "Zelkor" or "Zelkor.ZIP", in any letter case.
bool IsOwnClass(const char* className)
{
    return EqualIgnoringCase(className, "Zelkor") || EqualIgnoringCase(className, "Zelkor.ZIP");
}

bool IsOwnAssociation(const char* extension)
{
    char className[ClassNameSize];
    ReadClassName(extension, className);
    return IsOwnClass(className);
}

void ReadSetupOptions(SetupOptions& options)
{
    for (int group = 0; group < AssociationGroupCount; ++group) {
        char key[64];
        GroupSettingsKey(group, key, sizeof key);
        options.Associate[group] = Flag(ReadUserDword(key, "Set", 1));
        if (group == JarGroup || group == IsoGroup) {
            // Another program's claim on these two extensions wins over the stored choice.
            char extension[32];
            KeyExtension(group, extension, sizeof extension);
            char className[ClassNameSize];
            ReadClassName(extension, className);
            if (className[0] != '\0' && !IsOwnClass(className))
                options.Associate[group] = 0;
        }
    }
    for (const OtherFlag& flag : OtherFlags)
        options.*flag.Field = Flag(ReadUserDword(flag.Key, flag.ValueName, flag.Default));
}

void SaveSetupOptions(const SetupOptions& options)
{
    for (int group = 0; group < AssociationGroupCount; ++group) {
        char key[64];
        GroupSettingsKey(group, key, sizeof key);
        WriteUserDword(key, "Set", options.Associate[group] ? 1 : 0);
    }
    for (const OtherFlag& flag : OtherFlags)
        WriteUserDword(flag.Key, flag.ValueName, options.*flag.Field ? 1 : 0);
}

void OptionsFromDialog(HWND dialog, SetupOptions& options)
{
    for (int group = 0; group < AssociationGroupCount; ++group)
        options.Associate[group] = Flag(IsDlgButtonChecked(dialog, IDC_ASSOC_FIRST + group));
    for (const OtherFlag& flag : OtherFlags)
        options.*flag.Field = Flag(IsDlgButtonChecked(dialog, flag.ControlId));
}

void OptionsToDialog(HWND dialog, const SetupOptions& options)
{
    for (int group = 0; group < AssociationGroupCount; ++group)
        CheckDlgButton(dialog, IDC_ASSOC_FIRST + group,
                       options.Associate[group] ? BST_CHECKED : BST_UNCHECKED);
    for (const OtherFlag& flag : OtherFlags)
        CheckDlgButton(dialog, flag.ControlId, options.*flag.Field ? BST_CHECKED : BST_UNCHECKED);
    BOOL enable = options.ShellExt ? TRUE : FALSE;
    EnableWindow(GetDlgItem(dialog, IDC_CASCADEDMENU), enable);
    EnableWindow(GetDlgItem(dialog, IDC_MENUICONS), enable);
}

void SelectAllAssociations(HWND dialog)
{
    for (int id = IDC_ASSOC_FIRST; id <= IDC_ASSOC_LAST; ++id)
        CheckDlgButton(dialog, id, BST_CHECKED);
}
