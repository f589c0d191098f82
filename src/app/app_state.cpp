/*
 * Process-wide state of the entry point.
 */
#include "app/app_state.h"

bool SilentMode = false;
HICON ProgramIcon = nullptr;
HFONT BoldFont = nullptr;
char GroupFolder[1024] = "";
