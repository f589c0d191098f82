/*
 * System probes and small Win32 helpers: the lead-byte facts of the ANSI code page, the
 * locale path comparison, wide-to-ANSI conversion, the cached NT and WOW64 probes, the
 * program launcher and the file calls that prefer a wide name on the NT family.
 */
#ifndef ZELKOR_SUPPORT_SYSTEM_H
#define ZELKOR_SUPPORT_SYSTEM_H

#include <windows.h>
#include "support/paths.h"

MbcsLeadTable AnsiCodePageLeadTable();

// 0 when equal; -2 when the comparison itself fails (callers read that as unequal).
int ComparePaths(const char* a, const char* b);
bool WideToAnsi(const wchar_t* wide, char* ansi, int size);

// Non-zero exactly on the NT family; asked of the system once per process.
DWORD WinNtMajorVersion();
bool RunningUnderWow64();

bool LaunchProgram(const char* commandLine, const char* folder, DWORD waitMilliseconds);
bool DeleteFileEither(const char* ansi, const wchar_t* wide);
bool FileExistsEither(const char* ansi, const wchar_t* wide);

#endif
