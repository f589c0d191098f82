/*
 * Process-wide state of the entry point, read by the dialogs and the uninstall.
 */
#ifndef ZELKOR_APP_APP_STATE_H
#define ZELKOR_APP_APP_STATE_H

#include <windows.h>

extern bool SilentMode;
extern HICON ProgramIcon;
extern HFONT BoldFont;
extern char GroupFolder[1024];

#endif
