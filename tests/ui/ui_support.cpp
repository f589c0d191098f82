/*
 * Helpers of the dialog tests: dialogs on worker threads, the stand-in help viewer,
 * translation files and registry guards.
 */
#include "ui_support.h"

#include <ole2.h>
#include <cstdio>
#include "app/app_state.h"
#include "bed.h"
#include "lang/crc32.h"
#include "lang/language_file.h"
#include "lang/language_text.h"
#include "lang/resource_module.h"

namespace ui {

std::string Ansi(const char* utf8) { return bed::AnsiFromUtf8(utf8); }

void PrepareProcess()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    OwnInstance = GetModuleHandleA(nullptr);
    CurrentResourceModule = OwnInstance;
    OleInitialize(nullptr);
    LoadLibraryA("riched32.dll");
    ProgramIcon = LoadIconA(CurrentResourceModule, "KPXICON");
    BoldFont = CreateFontA(-12, 0, 0, 0, 700, FALSE, FALSE, FALSE, 134, 0, 0, 0, 0,
                           "MS Sans Serif");
}

// ---- ModalDialog

static DWORD WINAPI RunDialog(void* parameter)
{
    ModalDialog* run = static_cast<ModalDialog*>(parameter);
    if (run->Name)
        run->Outcome = DialogBoxParamA(CurrentResourceModule, run->Name, nullptr, run->Proc, 0);
    else
        run->Outcome = DialogBoxIndirectParamA(
            GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(run->Indirect.data()),
            nullptr, run->Proc, 0);
    return 0;
}

ModalDialog::ModalDialog(const char* name, DLGPROC proc) : Name(name), Proc(proc) { Start(); }

ModalDialog::ModalDialog(const std::vector<WORD>& indirectTemplate, DLGPROC proc)
    : Indirect(indirectTemplate), Proc(proc)
{
    Start();
}

void ModalDialog::Start() { Thread = CreateThread(nullptr, 0, RunDialog, this, 0, &Id); }

static BOOL CALLBACK CancelWindow(HWND window, LPARAM)
{
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

ModalDialog::~ModalDialog()
{
    if (!Thread)
        return;
    for (int i = 0; i < 20 && WaitForSingleObject(Thread, 0) == WAIT_TIMEOUT; ++i) {
        EnumThreadWindows(Id, CancelWindow, 0);
        WaitForSingleObject(Thread, 250);
    }
    if (WaitForSingleObject(Thread, 2000) == WAIT_TIMEOUT)
        TerminateThread(Thread, 1);
    CloseHandle(Thread);
}

struct ThreadSearch {
    HWND Found;
};

static BOOL CALLBACK MatchThreadDialog(HWND window, LPARAM lParam)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && strcmp(name, "#32770") == 0 && !GetWindow(window, GW_OWNER)) {
        reinterpret_cast<ThreadSearch*>(lParam)->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND ModalDialog::Window(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        ThreadSearch search = {nullptr};
        EnumThreadWindows(Id, MatchThreadDialog, reinterpret_cast<LPARAM>(&search));
        if (search.Found)
            return search.Found;
        if (WaitForSingleObject(Thread, 0) == WAIT_OBJECT_0 || GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(20);
    }
}

bool ModalDialog::Finished(DWORD timeoutMs)
{
    return Thread && WaitForSingleObject(Thread, timeoutMs) == WAIT_OBJECT_0;
}

// ---- HelpReceiver

// The request block WinHelpA sends (user32's internal layout).
struct WinHelpBlock {
    WORD Size;
    WORD Command;
    LONG Data;
    LONG Reserved;
    WORD FileOffset;
    WORD DataOffset;
};

static LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        HelpReceiver* self = reinterpret_cast<HelpReceiver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (self && copy && copy->cbData >= sizeof(WinHelpBlock)) {
            const WinHelpBlock* block = static_cast<const WinHelpBlock*>(copy->lpData);
            HelpRequest request;
            request.Command = block->Command;
            request.Data = block->Data;
            request.Caller = reinterpret_cast<HWND>(wParam);
            if (block->FileOffset && block->FileOffset < copy->cbData)
                request.File.assign(static_cast<const char*>(copy->lpData) + block->FileOffset,
                                    strnlen(static_cast<const char*>(copy->lpData) + block->FileOffset,
                                            copy->cbData - block->FileOffset));
            EnterCriticalSection(&self->Lock);
            self->Received.push_back(request);
            LeaveCriticalSection(&self->Lock);
        }
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static DWORD WINAPI HelpThread(void* parameter)
{
    HelpReceiver* self = static_cast<HelpReceiver*>(parameter);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = HelpWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "MS_WINHELP";
    RegisterClassA(&windowClass);
    self->Window = CreateWindowA("MS_WINHELP", "help stand-in", WS_OVERLAPPED, 0, 0, 10, 10,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(self->Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetEvent(self->Ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    DestroyWindow(self->Window);
    return 0;
}

HelpReceiver::HelpReceiver()
{
    InitializeCriticalSection(&Lock);
    Ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    Thread = CreateThread(nullptr, 0, HelpThread, this, 0, &id);
    WaitForSingleObject(Ready, 10000);
}

HelpReceiver::~HelpReceiver()
{
    PostThreadMessageA(GetThreadId(Thread), WM_QUIT, 0, 0);
    WaitForSingleObject(Thread, 5000);
    CloseHandle(Thread);
    CloseHandle(Ready);
    DeleteCriticalSection(&Lock);
}

std::vector<HelpRequest> HelpReceiver::Requests()
{
    EnterCriticalSection(&Lock);
    std::vector<HelpRequest> copy = Received;
    LeaveCriticalSection(&Lock);
    return copy;
}

bool HelpReceiver::WaitFor(size_t count, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (Requests().size() < count) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// ---- translation files

static std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string WriteLanguageFile(const std::string& folder, const std::vector<Translation>& entries)
{
    std::string bytes = "; translation file of a test\r\n***messages***\r\n";
    for (const Translation& entry : entries) {
        char key[9];
        TranslationKey(static_cast<TranslationKind>(entry.Kind),
                       entry.Context.empty() ? nullptr : entry.Context.c_str(), entry.Text.c_str(), key);
        bytes += std::string(key) + "=\"" + Escaped(entry.Value) + "\"\r\n";
    }
    std::string path = folder + "\\uninstall.lng";
    bed::WriteFileBytes(path, bytes);
    return path;
}

void LoadLanguage(const std::string& path)
{
    Language.Release();
    LoadLanguageFile(Language, path.c_str());
}

void UnloadLanguage() { Language.Release(); }

// ---- registry

ClassKeyGuard::ClassKeyGuard(const std::string& key) : Key(key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return;
    Existed = true;
    char buffer[1024];
    DWORD size = sizeof buffer, type = 0;
    if (RegQueryValueExA(handle, "", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
            ERROR_SUCCESS && type == REG_SZ) {
        HadValue = true;
        Value.assign(buffer, strnlen(buffer, size));
    }
    RegCloseKey(handle);
}

void ClassKeyGuard::Set(const std::string& value)
{
    RegSetValueA(HKEY_CLASSES_ROOT, Key.c_str(), REG_SZ, value.c_str(), (DWORD)value.size());
}

ClassKeyGuard::~ClassKeyGuard()
{
    if (!Existed) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, Key.c_str());
        return;
    }
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, Key.c_str(), 0, KEY_WRITE, &handle) != ERROR_SUCCESS)
        return;
    if (HadValue)
        RegSetValueExA(handle, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(Value.c_str()),
                       (DWORD)Value.size() + 1);
    else
        RegDeleteValueA(handle, "");
    RegCloseKey(handle);
}

void DeleteProductRoot() { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Zelkor"); }

bool UserDwordExists(const std::string& key, const std::string& name, DWORD* value)
{
    HKEY handle = nullptr;
    std::string full = "Software\\Zelkor\\" + key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof(DWORD), data = 0;
    bool ok = RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                               &size) == ERROR_SUCCESS && type == REG_DWORD;
    RegCloseKey(handle);
    if (ok && value)
        *value = data;
    return ok;
}

::testing::AssertionResult UserDwordIs(const std::string& key, const std::string& name, DWORD expected)
{
    DWORD value = 0;
    if (!UserDwordExists(key, name, &value))
        return ::testing::AssertionFailure() << key << "\\" << name << " is missing";
    if (value != expected)
        return ::testing::AssertionFailure() << key << "\\" << name << " is " << value << ", not " << expected;
    return ::testing::AssertionSuccess();
}

void SetUserDword(const std::string& key, const std::string& name, DWORD value)
{
    HKEY handle = nullptr;
    std::string full = "Software\\Zelkor\\" + key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, full.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(handle);
}

RECT ClientRectOf(HWND dialog, HWND child)
{
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace ui
