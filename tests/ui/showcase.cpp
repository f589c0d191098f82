// Shows the three dialogs one after the other for scripts/screenshots.sh: for each it
// writes "NAME left top right bottom" (screen pixels) to the signal file given as the
// first argument and waits until the script has taken its picture and deleted the file;
// then it cancels the dialog, so nothing is saved or applied. An optional second argument
// names a resource library (kpxlng.dll) to take the dialogs from, or a translation file
// (a name ending in .lng) to translate them with. The completion dialog
// names C:\Program Files\Zelkor as the installation folder.
#include <windows.h>
#include <cstdio>
#include <string>

#include "lang/resource_module.h"
#include "resource_ids.h"
#include "ui/done_dialog.h"
#include "ui/setup_dialog.h"
#include "ui_support.h"

namespace {

bool WaitUntilGone(const std::string& path, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: ui_showcase SIGNALFILE [kpxlng.dll]\n");
        return 2;
    }
    std::string signal = argv[1];
    ui::PrepareProcess();
    std::string pack = argc > 2 ? argv[2] : "";
    if (pack.size() > 4 && pack.compare(pack.size() - 4, 4, ".lng") == 0) {
        ui::LoadLanguage(pack);
    } else if (!pack.empty()) {
        HMODULE library = LoadLibraryA(argv[2]);
        if (!library) {
            fprintf(stderr, "cannot load %s\n", argv[2]);
            return 1;
        }
        CurrentResourceModule = library;
    }
    CreateDirectoryA("C:\\Program Files\\Zelkor", nullptr);
    SetCurrentDirectoryA("C:\\Program Files\\Zelkor");

    struct Shown {
        const char* Name;
        DLGPROC Proc;
    } dialogs[] = {{DLG_SETUP, SetupDialogProc},
                   {DLG_CONTEXTITEMS, ContextItemsDialogProc},
                   {DLG_DONE, DoneDialogProc}};
    for (const Shown& shown : dialogs) {
        ui::ModalDialog dialog(shown.Name, shown.Proc);
        HWND window = dialog.Window();
        if (!window) {
            fprintf(stderr, "%s did not appear\n", shown.Name);
            return 1;
        }
        SetForegroundWindow(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(700);
        RECT r = {};
        GetWindowRect(window, &r);
        FILE* out = fopen(signal.c_str(), "wb");
        if (!out)
            return 1;
        fprintf(out, "%s %ld %ld %ld %ld\n", shown.Name, r.left, r.top, r.right, r.bottom);
        fclose(out);
        if (!WaitUntilGone(signal, 60000)) {
            fprintf(stderr, "no picture taken of %s\n", shown.Name);
            return 1;
        }
    }
    RemoveDirectoryA("C:\\Program Files\\Zelkor");
    return 0;
}
