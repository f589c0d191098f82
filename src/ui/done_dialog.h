/*
 * The completion dialog DONEDLG.
 */
#ifndef ZELKOR_UI_DONE_DIALOG_H
#define ZELKOR_UI_DONE_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK DoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
