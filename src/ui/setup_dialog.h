/*
 * The setup dialog SETUPDLG and the context-menu items dialog CONTEXTITEMS.
 */
#ifndef ZELKOR_UI_SETUP_DIALOG_H
#define ZELKOR_UI_SETUP_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK SetupDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
void RunContextItemsDialog(HWND owner);
INT_PTR CALLBACK ContextItemsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
