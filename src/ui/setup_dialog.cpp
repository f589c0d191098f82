/*
 * The setup dialog SETUPDLG (stored choices shown; OK saves, applies and registers them;
 * Esc or the close box end it with 0 and change nothing) and the context-menu items
 * dialog CONTEXTITEMS (eleven values under Setup\MenuItems, stored when it is
 * confirmed). Both hand every message to DialogCommon first. In silent mode the setup
 * dialog confirms itself while it is being created.
 */
#include "ui/setup_dialog.h"

#include <richedit.h>
#include "app/app_state.h"
#include "lang/dialog_common.h"
#include "lang/resource_module.h"
#include "registry/registry.h"
#include "resource_ids.h"
#include "shell/options.h"
#include "shell/registration.h"

namespace {

const char MenuItemsKey[] = "Setup\\MenuItems";

struct MenuItem {
    int ControlId;
    const char* ValueName;
    DWORD Default;
};

const MenuItem MenuItems[] = {
    {101, "ExtrTo", 1},   {102, "ExtrHere", 1}, {103, "Extr", 1},
    {104, "ExtrSep", 1},  {105, "OpenSFX", 1},  {106, "AddTo", 1},
    {107, "AddArc", 1},   {108, "EmailArc", 1}, {109, "EmailOpt", 1},
    {110, "Test", 0},     {111, "Convert", 0},
};

void ConfirmSetup(HWND dialog)
{
    SetupOptions options = {};
    OptionsFromDialog(dialog, options);
    SaveSetupOptions(options);
    ApplySetupOptions(options, GroupFolder);
    WriteUninstallEntry();
    EndDialog(dialog, 1);
}

}  // namespace

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    DialogCommon(dialog, message, wParam, HELP_SETUPDLG, DLG_SETUP);
    switch (message) {
    case WM_INITDIALOG: {
        SetupOptions options = {};
        ReadSetupOptions(options);
        OptionsToDialog(dialog, options);
        SetForegroundWindow(dialog);
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon));
        SendDlgItemMessageA(dialog, IDC_EXPLANATION, EM_SETBKGNDCOLOR, 0,
                            static_cast<LPARAM>(GetSysColor(COLOR_BTNFACE)));
        if (SilentMode)
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            ConfirmSetup(dialog);
            break;
        case IDCANCEL:
            EndDialog(dialog, 0);
            break;
        case IDC_SHELLEXT: {
            SetupOptions scratch = {};
            OptionsFromDialog(dialog, scratch);
            OptionsToDialog(dialog, scratch);
            break;
        }
        case IDC_SELECTALL:
            SelectAllAssociations(dialog);
            break;
        case IDC_CONTEXTITEMS:
            RunContextItemsDialog(dialog);
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}

void RunContextItemsDialog(HWND owner)
{
    DialogBoxParamA(CurrentResourceModule, DLG_CONTEXTITEMS, owner, ContextItemsDialogProc, 0);
}

INT_PTR CALLBACK ContextItemsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    DialogCommon(dialog, message, wParam, HELP_CONTEXTITEMS, DLG_CONTEXTITEMS);
    switch (message) {
    case WM_HELP:
        // Handled: the request must not travel on to the owner, the setup dialog.
        return TRUE;
    case WM_INITDIALOG:
        for (const MenuItem& item : MenuItems)
            CheckDlgButton(dialog, item.ControlId,
                           ReadUserDword(MenuItemsKey, item.ValueName, item.Default));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            for (const MenuItem& item : MenuItems)
                WriteUserDword(MenuItemsKey, item.ValueName,
                               IsDlgButtonChecked(dialog, item.ControlId));
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}
