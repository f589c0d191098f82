/*
 * The entry sequence behind WinMain: prepares the resource module, the translation file,
 * OLE, the rich-edit library, the icon and the bold font, reads the switches, runs the
 * chosen mode and releases what it created.
 */
#ifndef ZELKOR_APP_ENTRY_H
#define ZELKOR_APP_ENTRY_H

#include <windows.h>

int RunEntry(HINSTANCE instance, const char* commandTail);
void ShowManualRemovalNotice();
// Formats the two-line notice into text (size bytes), cut to fit.
void FormatManualRemovalNotice(char* text, size_t size, const char* exePath);

#endif
