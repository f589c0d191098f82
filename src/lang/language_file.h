/*
 * LoadLanguageFile: finds uninstall.lng (a bare name is looked for beside the
 * executable), locates its marker, reads and indexes the section, and ends by deciding
 * the right-to-left flag. Every failure is silent and leaves the text empty.
 */
#ifndef ZELKOR_LANG_LANGUAGE_FILE_H
#define ZELKOR_LANG_LANGUAGE_FILE_H

#include "lang/language_text.h"

void LoadLanguageFile(LanguageResources& language, const char* name);

#endif
