/*
 * The apply and removal sequences of the integration, and the registrations that belong
 * to no narrower module: the application path, the program identifiers Zelkor,
 * Zelkor.ZIP and Zelkor.REV with .rev, and the Add/Remove Programs entry.
 */
#ifndef ZELKOR_SHELL_REGISTRATION_H
#define ZELKOR_SHELL_REGISTRATION_H

#include "shell/options.h"

// groupFolder: a 1024-byte buffer that receives the per-user program group, or null.
void ApplySetupOptions(const SetupOptions& options, char* groupFolder);
void RegisterAppPath();
void RegisterProgIds();
void WriteUninstallEntry();
void RemoveRegistration();

#endif
