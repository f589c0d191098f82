/*
 * A library that does nothing; the uninstall tests load it into a helper process so that
 * a listed file is a loaded DLL.
 */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
