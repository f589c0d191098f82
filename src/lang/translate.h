/*
 * Translation through the process-wide LanguageResources, and the right-to-left decision
 * (a dialog resource "RTL" in the resource module, or the translation of LTR).
 */
#ifndef ZELKOR_LANG_TRANSLATE_H
#define ZELKOR_LANG_TRANSLATE_H

#include <cstddef>
#include "lang/crc32.h"
#include "lang/language_text.h"

void TranslateString(const char* source, char* dest, size_t destSize, const char* context,
                     TranslationKind kind);
const char* SearchLineIndex(const char* key);
void DetectRightToLeft();
// The same decision for a given table (LoadLanguageFile ends with it).
void DetectRightToLeft(LanguageResources& language);

#endif
