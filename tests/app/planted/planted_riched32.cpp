// A stand-in riched32.dll for the search-order test: when a process loads it, it writes
// "planted-loaded.txt" into the folder it was loaded from.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(instance, path, MAX_PATH);
    while (n > 0 && path[n - 1] != '\\')
        --n;
    lstrcpynA(path + n, "planted-loaded.txt", MAX_PATH - n);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return TRUE;
}
