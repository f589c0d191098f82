/*
 * DialogCommon, the pre-handler of every dialog procedure: mirrors the dialog on
 * WM_SETFONT when the language is right to left, translates and rescales it on
 * WM_INITDIALOG, and opens the dialog's help topic for the Help button (id 9) and F1.
 * It never consumes a message. Scale products are computed in 64 bits and saturated, so
 * an absurd percentage in the translation file cannot overflow.
 */
#include "lang/dialog_common.h"

#include <climits>
#include "lang/dialog_scale.h"
#include "lang/translate.h"
#include "resource_ids.h"
#include "support/system.h"

namespace {

const int DialogTextSize = 1024;
const int ScaleTextSize = 512;
const int MaxVisitedChildren = 512;
const char HelpFileName[] = "zelkor.hlp";

int Saturated(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return (int)value;
}

// size * percent / 100, truncated toward zero; size is first held to the int range so
// that the product fits in 64 bits.
int Scaled(long long size, int percent)
{
    return Saturated((long long)Saturated(size) * percent / 100);
}

bool IsDropDownCombo(HWND child)
{
    char className[DialogTextSize] = "";
    GetClassNameA(child, className, sizeof className);
    if (ComparePaths(className, "COMBOBOX") != 0)
        return false;
    return (GetWindowLongA(child, GWL_STYLE) & 3) != CBS_SIMPLE;
}

void TranslateWindowText(HWND window, const char* templateName, bool evenWhenEmpty)
{
    char text[DialogTextSize] = "";
    GetWindowTextA(window, text, sizeof text);
    if (!evenWhenEmpty && text[0] == '\0')
        return;
    TranslateString(text, text, sizeof text, templateName, DialogKind);
    SetWindowTextA(window, text);
}

}  // namespace

void ApplyRtlLayout(HWND window)
{
    if (!Language.RightToLeft)
        return;
    LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    SetWindowLongA(window, GWL_EXSTYLE, exStyle | WS_EX_LAYOUTRTL);
}

bool ReadDialogScale(const char* templateName, int* widthPercent, int* heightPercent)
{
    char value[ScaleTextSize];
    TranslateString("", value, sizeof value, templateName, DialogKind);
    return ParseDialogScale(value, widthPercent, heightPercent);
}

void LocalizeDialog(HWND dialog, const char* templateName)
{
    int widthPercent = 100, heightPercent = 100;
    bool scaled = ReadDialogScale(templateName, &widthPercent, &heightPercent);

    RECT outer = {}, client = {};
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &client);
    int borderWidth = outer.right - outer.left + 1 - client.right;
    int borderHeight = outer.bottom - outer.top + 1 - client.bottom;

    if (scaled)
        SetWindowPos(dialog, nullptr, 0, 0,
                     Scaled(client.right, widthPercent) + borderWidth,
                     Scaled(client.bottom, heightPercent) + borderHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);

    TranslateWindowText(dialog, templateName, true);

    borderHeight -= GetSystemMetrics(SM_CYDLGFRAME);

    HWND first = GetWindow(dialog, GW_CHILD);
    HWND child = first;
    for (int visited = 0; child && visited < MaxVisitedChildren; ++visited) {
        TranslateWindowText(child, templateName, false);
        if (scaled) {
            RECT r = {};
            GetWindowRect(child, &r);
            int x = Scaled((long long)r.left - outer.left - borderWidth / 2, widthPercent);
            int y = Scaled((long long)r.top - outer.top - borderHeight, heightPercent);
            int w = Scaled((long long)r.right - r.left + 1, widthPercent);
            int h = Scaled((long long)r.bottom - r.top + 1, heightPercent);
            if (IsDropDownCombo(child)) {
                RECT drop = {};
                SendMessageA(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop));
                h = Saturated((long long)h + Scaled((long long)drop.bottom - drop.top + 1, heightPercent));
            }
            SetWindowPos(child, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOOWNERZORDER);
        }
        child = GetWindow(child, GW_HWNDNEXT);
        if (child == first)
            break;
    }
}

void DialogCommon(HWND dialog, UINT message, WPARAM wParam, int helpContext,
                  const char* templateName)
{
    switch (message) {
    case WM_SETFONT:
        ApplyRtlLayout(dialog);
        break;
    case WM_INITDIALOG:
        LocalizeDialog(dialog, templateName);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_HELPBUTTON && helpContext != 0)
            WinHelpA(dialog, HelpFileName, HELP_CONTEXT, helpContext);
        break;
    case WM_HELP:
        if (helpContext != 0)
            WinHelpA(dialog, HelpFileName, HELP_CONTEXT, helpContext);
        break;
    default:
        break;
    }
}
