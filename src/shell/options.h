/*
 * SetupOptions, the record of integration choices, with the constant table of the 14
 * association groups; reading and saving it under the product's Setup keys, the test
 * whether an extension belongs to the archiver, and the transfer to and from the dialog.
 */
#ifndef ZELKOR_SHELL_OPTIONS_H
#define ZELKOR_SHELL_OPTIONS_H

#include <windows.h>

const int AssociationGroupCount = 14;
const int NativeGroup = 0;
const int ZipGroup = 1;

struct SetupOptions {
    unsigned char Associate[AssociationGroupCount];
    unsigned char Desktop;
    unsigned char StartMenu;
    unsigned char Programs;
    unsigned char ShellExt;
    unsigned char CascadedMenu;
    unsigned char MenuIcons;
};
static_assert(sizeof(SetupOptions) == 20, "20 one-byte flags");

struct AssociationGroup {
    int Number;
    const char* Caption;
    int ControlId;
    const char* Extensions;   // ".bz2.tbz2.bz.tbz": split before every '.' after the first
};

extern const AssociationGroup AssociationGroups[AssociationGroupCount];

bool IsOwnClass(const char* className);   // "Zelkor" or "Zelkor.ZIP", any case
bool IsOwnAssociation(const char* extension);
void ReadSetupOptions(SetupOptions& options);
void SaveSetupOptions(const SetupOptions& options);
void OptionsFromDialog(HWND dialog, SetupOptions& options);
void OptionsToDialog(HWND dialog, const SetupOptions& options);
void SelectAllAssociations(HWND dialog);

#endif
