/*
 * The text of the self-removal script "Uninstall_Kpx.Bat": a start line that runs the
 * executable with /wait, five attempts to delete it and remove its folder, the notice
 * run, and the script's own deletion; CR LF line ends, none after the last line.
 * Free of <windows.h>.
 */
#ifndef ZELKOR_APP_REMOVAL_SCRIPT_H
#define ZELKOR_APP_REMOVAL_SCRIPT_H

#include <cstddef>

// Writes the script into out (size bytes); returns its length, or -1 when it would not fit.
int BuildRemovalScript(char* out, size_t size, bool ntFamily, const char* exePath,
                       const char* installFolder, const char* scriptPath);

#endif
