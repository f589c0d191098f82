/*
 * The entry sequence: resource module, translation file, OLE, the rich-edit library (from
 * the system folder, never a copy planted beside the executable), window icon and bold
 * font; then the switches and the chosen mode; then the clean-up. Always returns 0.
 */
#include "app/entry.h"

#include <ole2.h>
#include <shellapi.h>

#include "app/app_state.h"
#include "app/switches.h"
#include "app/uninstall.h"
#include "lang/language_file.h"
#include "lang/resource_module.h"
#include "resource_ids.h"
#include "support/text_format.h"
#include "ui/done_dialog.h"
#include "ui/setup_dialog.h"

namespace {

class EntryActions : public SwitchActions {
public:
    void Wait() override { Sleep(2000); }
    void Warning() override { ShowManualRemovalNotice(); }
};

HMODULE LoadSystemRichEdit()
{
    char path[MAX_PATH + 32];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    AppendText(path, sizeof path, "\\riched32.dll");
    return LoadLibraryA(path);
}

void RunSetupMode()
{
    if (DialogBoxParamA(CurrentResourceModule, DLG_SETUP, nullptr, SetupDialogProc, 0) == 0)
        return;
    DialogBoxParamA(CurrentResourceModule, DLG_DONE, nullptr, DoneDialogProc, 0);
    if (GroupFolder[0] && !SilentMode)
        ShellExecuteA(nullptr, "open", GroupFolder, nullptr, "", SW_SHOWNORMAL);
}

}  // namespace

void FormatManualRemovalNotice(char* text, size_t size, const char* exePath)
{
    FormatMessageText(text, size, "%s\n", GetMessageText(IDS_UNINSTALL_DONE));
    char line[1024 + MessageTextSize];
    FormatMessageText(line, sizeof line, GetMessageText(IDS_DELETE_BY_HAND), exePath);
    AppendText(text, size, line);
}

void ShowManualRemovalNotice()
{
    char exePath[1024] = "";
    GetModuleFileNameA(nullptr, exePath, sizeof exePath);
    char text[512];
    FormatManualRemovalNotice(text, sizeof text, exePath);
    MessageBoxA(nullptr, text, GetMessageText(IDS_CAPTION), MB_SETFOREGROUND | MB_ICONINFORMATION);
}

int RunEntry(HINSTANCE instance, const char* commandTail)
{
    LoadResourceModule(instance);
    LoadLanguageFile(Language, "uninstall.lng");
    OleInitialize(nullptr);
    HMODULE richEdit = LoadSystemRichEdit();
    ProgramIcon = LoadIconA(CurrentResourceModule, ICON_WINDOW_NAME);
    BoldFont = CreateFontA(-12, 0, 0, 0, 700, FALSE, FALSE, FALSE, GB2312_CHARSET, 0, 0, 0, 0,
                           "MS Sans Serif");

    EntryActions actions;
    SwitchResult switches = ReadSwitches(commandTail, actions);
    if (switches.Silent)
        SilentMode = true;
    if (switches.SetupRequested)
        RunSetupMode();
    if (switches.ModeSwitchCount == 0)
        RunUninstall();

    if (richEdit)
        FreeLibrary(richEdit);
    OleUninitialize();
    DeleteObject(BoldFont);
    return 0;
}
