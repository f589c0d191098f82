/*
 * Shortcuts: the desktop and Start-menu links and the program group "Zelkor" (per user,
 * and for all users on the NT family), made through the shell's link object over COM.
 * OLE is initialized by the entry point.
 */
#ifndef ZELKOR_SHELL_SHORTCUTS_H
#define ZELKOR_SHELL_SHORTCUTS_H

#include "shell/options.h"

// groupFolder: a 1024-byte buffer or null; receives the per-user group when Programs is set.
void UpdateShortcuts(const SetupOptions& options, char* groupFolder);
bool CreateShellLink(const char* target, const char* linkPath, const char* description);
// path needs room for one more byte after its terminator.
bool RemoveFolderTree(char* path);
// Fills a 1024-byte buffer; false (and an empty buffer) when the folder cannot be looked up.
bool DesktopFolderPath(char* buffer);

#endif
