/*
 * The test driver: finds the top-level windows (message boxes and dialogs) of a process
 * under test, reads their captions, control texts, states, styles and rectangles, and
 * presses their buttons, as a user would.
 */
#ifndef ZELKOR_TESTS_DRIVER_H
#define ZELKOR_TESTS_DRIVER_H

#include <windows.h>
#include <string>
#include <vector>

namespace driver {

// The first visible top-level window of the process (optionally of a class such as
// "#32770"), waiting up to timeoutMs; null when none appeared.
HWND WaitForWindow(DWORD processId, DWORD timeoutMs, const char* className = "#32770");
// Waits until the window is gone.
bool WaitForClose(HWND window, DWORD timeoutMs);

std::string Text(HWND window);                  // ANSI window text (WM_GETTEXT)
std::wstring WideText(HWND window);
std::string ControlText(HWND dialog, int id);
std::wstring WideControlText(HWND dialog, int id);
// The texts of a message box's static controls (the message), in child order.
std::vector<std::string> MessageLines(HWND box);
std::string ClassOf(HWND window);
std::vector<HWND> Children(HWND window);

bool IsChecked(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
// Clicks a button by id and lets the target process handle it.
void Click(HWND dialog, int id);
// Sends a keystroke to the window (for example VK_ESCAPE, VK_F1).
void PressKey(HWND window, WORD virtualKey);
// Brings the window to the foreground and types the key through the system's input
// queue (SendInput), so that the system's own key handling runs (F1 becomes WM_HELP).
void TypeKey(HWND window, WORD virtualKey);
// Ends a message box or dialog with the button of the given id (IDYES, IDNO, IDOK...).
void Answer(HWND box, int id);

LONG Style(HWND window);
LONG ExStyle(HWND window);
RECT ScreenRect(HWND window);

// A visible dialog (#32770) owned by the given window, such as the dialog that a button
// of it opened; null when none appeared within timeoutMs.
HWND WaitForOwnedWindow(HWND owner, DWORD timeoutMs);
// A visible top-level window of the process with exactly this class, or null.
HWND FindProcessWindow(DWORD processId, const char* className);

}  // namespace driver

#endif
