/*
 * DialogCommon, the pre-handler of every dialog procedure: right-to-left mirroring on
 * WM_SETFONT, translation and rescaling on WM_INITDIALOG, and the help topic for the Help
 * button and F1. It never consumes a message.
 */
#ifndef ZELKOR_LANG_DIALOG_COMMON_H
#define ZELKOR_LANG_DIALOG_COMMON_H

#include <windows.h>

void DialogCommon(HWND dialog, UINT message, WPARAM wParam, int helpContext,
                  const char* templateName);
void LocalizeDialog(HWND dialog, const char* templateName);
bool ReadDialogScale(const char* templateName, int* widthPercent, int* heightPercent);
void ApplyRtlLayout(HWND window);

#endif
