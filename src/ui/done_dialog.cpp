/*
 * The completion dialog DONEDLG: names the installation folder (the current folder,
 * never translated), starts the archiver or opens its help, licence, order page or home
 * page, and ends with 1 for Finish, Esc and the close box. It offers no help topic to
 * DialogCommon. In silent mode it ends while it is being created.
 */
#include "ui/done_dialog.h"

#include <shellapi.h>
#include <cstdio>
#include <cstring>
#include "app/app_state.h"
#include "lang/dialog_common.h"
#include "lang/resource_module.h"
#include "resource_ids.h"
#include "support/paths.h"
#include "support/system.h"

namespace {

const int PathSize = 1024;

// The current folder (the installation folder) with name appended after a separator,
// cut to the buffer.
void InstalledFile(const char* name, char* path, size_t size)
{
    DWORD length = GetCurrentDirectoryA((DWORD)size, path);
    if (length == 0 || length >= size)
        path[0] = '\0';
    AppendSeparator(path, size);
    size_t used = strlen(path);
    strncat(path, name, size - 1 - used);
}

// The archiver's path as a quoted command line: unquoted, a folder with a blank such as
// C:\Program Files would first be tried as C:\Program.exe.
void ArchiverCommandLine(char* line, size_t size)
{
    char path[PathSize];
    InstalledFile("Zelkor.exe", path, sizeof path);
    snprintf(line, size, "\"%s\"", path);
}

void OpenWithShell(const char* target)
{
    ShellExecuteA(nullptr, "open", target, nullptr, "", SW_SHOWNORMAL);
}

}  // namespace

INT_PTR CALLBACK DoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    DialogCommon(dialog, message, wParam, 0, DLG_DONE);
    char path[PathSize];
    switch (message) {
    case WM_INITDIALOG: {
        SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ProgramIcon));
        SendDlgItemMessageA(dialog, IDC_DONE_THANKS, WM_SETFONT,
                            reinterpret_cast<WPARAM>(BoldFont), 0);
        DWORD length = GetCurrentDirectoryA(PathSize, path);
        if (length == 0 || length >= PathSize)
            path[0] = '\0';
        SetDlgItemTextA(dialog, IDC_DONE_FOLDER, path);
        if (SilentMode)
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDCANCEL:
            EndDialog(dialog, 1);
            break;
        case IDC_DONE_RUN: {
            char line[PathSize + 2];
            ArchiverCommandLine(line, sizeof line);
            LaunchProgram(line, nullptr, 0);
            break;
        }
        case IDC_DONE_HELP:
            WinHelpA(dialog, "zelkor.hlp", HELP_FINDER, 0);
            break;
        case IDC_DONE_LICENSE:
            InstalledFile("license.txt", path, sizeof path);
            OpenWithShell(path);
            break;
        case IDC_DONE_ORDER:
            InstalledFile("order.htm", path, sizeof path);
            OpenWithShell(path);
            break;
        case IDC_DONE_HOME:
            OpenWithShell(GetMessageText(IDS_HOME_PAGE));
            break;
        default:
            break;
        }
        return TRUE;
    default:
        return FALSE;
    }
}
