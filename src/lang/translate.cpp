/*
 * Translation through the process-wide table Language, and the right-to-left decision:
 * a dialog resource "RTL" in the current resource module, or else a translation of the
 * dialog text LTR (context LTR) that reads exactly RTL.
 */
#include "lang/translate.h"

#include <cstring>
#include <windows.h>

#include "lang/resource_module.h"

void TranslateString(const char* source, char* dest, size_t destSize, const char* context,
                     TranslationKind kind)
{
    TranslateWith(Language, source, dest, destSize, context, kind);
}

const char* SearchLineIndex(const char* key)
{
    return SearchLineIndex(Language, key);
}

void DetectRightToLeft(LanguageResources& language)
{
    if (FindResourceA(CurrentResourceModule, "RTL", RT_DIALOG)) {
        language.RightToLeft = true;
        return;
    }
    char text[1024];
    TranslateWith(language, "LTR", text, sizeof text, "LTR", DialogKind);
    language.RightToLeft = strcmp(text, "RTL") == 0;
}

void DetectRightToLeft()
{
    DetectRightToLeft(Language);
}
