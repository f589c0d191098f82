/*
 * File-type associations: taking the extensions of the chosen groups over with a backup
 * of their previous owner under Setup\<extension>, and giving them back from it. The
 * callers notify the shell; these functions do not.
 */
#ifndef ZELKOR_SHELL_ASSOCIATIONS_H
#define ZELKOR_SHELL_ASSOCIATIONS_H

#include "shell/options.h"

void ApplyAssociations(const SetupOptions& options);
void ApplyExtensionAssociation(const char* extension, bool associate, bool withTemplates,
                               bool zipClass, bool nativeGroup);

#endif
