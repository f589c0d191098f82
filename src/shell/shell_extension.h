/*
 * Registration of the Explorer shell extension: the 32-bit server always, the 64-bit one
 * under WOW64 (its class keys in the 64-bit view). The libraries are never loaded.
 */
#ifndef ZELKOR_SHELL_SHELL_EXTENSION_H
#define ZELKOR_SHELL_SHELL_EXTENSION_H

#include "shell/options.h"

void RegisterShellExtensions(const SetupOptions& options);
void RegisterShellExtension(bool registering, const char* libraryFile, const char* classId,
                            const char* handlerName, bool server64);

#endif
