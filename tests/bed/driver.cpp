/*
 * The test driver: window search by process, reading texts and states, pressing buttons.
 */
#include "driver.h"

#include <cstring>

namespace driver {

struct Search {
    DWORD ProcessId;
    const char* ClassName;
    HWND Found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->ProcessId || !IsWindowVisible(window))
        return TRUE;
    if (search->ClassName && ClassOf(window) != search->ClassName)
        return TRUE;
    search->Found = window;
    return FALSE;
}

HWND WaitForWindow(DWORD processId, DWORD timeoutMs, const char* className)
{
    DWORD start = GetTickCount();
    for (;;) {
        Search search = {processId, className, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.Found)
            return search.Found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(30);
    }
}

bool WaitForClose(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(30);
    }
    return true;
}

std::string Text(HWND window)
{
    char buffer[4096] = "";
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

std::wstring WideText(HWND window)
{
    wchar_t buffer[4096] = L"";
    SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return buffer;
}

std::string ControlText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
std::wstring WideControlText(HWND dialog, int id) { return WideText(GetDlgItem(dialog, id)); }

std::string ClassOf(HWND window)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::vector<HWND> Children(HWND window)
{
    std::vector<HWND> out;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        out.push_back(child);
    return out;
}

std::vector<std::string> MessageLines(HWND box)
{
    std::vector<std::string> out;
    for (HWND child : Children(box)) {
        if (_stricmp(ClassOf(child).c_str(), "Static") != 0)
            continue;
        std::string text = Text(child);
        if (!text.empty())
            out.push_back(text);
    }
    return out;
}

bool IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

void SetChecked(HWND dialog, int id, bool checked)
{
    if (IsChecked(dialog, id) != checked)
        Click(dialog, id);
}

void Click(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    // BM_CLICK is posted so that a modal loop it starts does not block the driver.
    if (button)
        PostMessageA(button, BM_CLICK, 0, 0);
    else
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    Sleep(150);
}

void PressKey(HWND window, WORD virtualKey)
{
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageA(window, WM_KEYUP, virtualKey, 0xC0000001);
    Sleep(150);
}

void TypeKey(HWND window, WORD virtualKey)
{
    SetForegroundWindow(window);
    Sleep(100);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(200);
}

void Answer(HWND box, int id)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LONG ExStyle(HWND window) { return GetWindowLongA(window, GWL_EXSTYLE); }

RECT ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

struct OwnedSearch {
    HWND Owner;
    HWND Found;
};

static BOOL CALLBACK MatchOwned(HWND window, LPARAM lParam)
{
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(window, GW_OWNER) != search->Owner || !IsWindowVisible(window) ||
        ClassOf(window) != "#32770")
        return TRUE;
    search->Found = window;
    return FALSE;
}

HWND WaitForOwnedWindow(HWND owner, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        OwnedSearch search = {owner, nullptr};
        EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&search));
        if (search.Found)
            return search.Found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(30);
    }
}

HWND FindProcessWindow(DWORD processId, const char* className)
{
    Search search = {processId, className, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

}  // namespace driver
