/*
 * Paths of files in the installation folder, the folder of the running executable.
 * A path that does not fit the buffer (or an executable path the system truncated) is
 * refused: the buffer is left empty and the result is false, so no caller ever uses a
 * cut-off path.
 */
#ifndef ZELKOR_SHELL_INSTALL_FOLDER_H
#define ZELKOR_SHELL_INSTALL_FOLDER_H

#include <cstddef>

const int ShellPathSize = 1024;

// The full path of the running executable.
bool ExecutablePath(char* out, size_t size);
// The executable's path with its file-name part replaced by fileName.
bool InstallFolderFile(const char* fileName, char* out, size_t size);
// Replaces the file-name part of path in place; false (path unchanged) when it does not fit.
bool ReplaceFileName(char* path, size_t size, const char* fileName);

#endif
