/*
 * WinMain of uninstall.exe: hands the instance and the command-line tail to the entry
 * sequence. The exit code is always 0.
 */
#include <windows.h>
#include "app/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandTail, int)
{
    return RunEntry(instance, commandTail);
}
