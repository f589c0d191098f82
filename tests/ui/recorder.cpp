// A stand-in for the programs the completion dialog starts (the archiver, the viewers of
// the licence and the order page): appends its command line and current folder as one
// line to recorded.txt beside itself and ends at once.
#include <windows.h>
#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path)
        return 1;
    char* slash = strrchr(path, '\\');
    if (!slash)
        return 1;
    strcpy(slash + 1, "recorded.txt");
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    FILE* out = fopen(path, "ab");
    if (!out)
        return 1;
    fprintf(out, "%s|%s\n", GetCommandLineA(), folder);
    fclose(out);
    return 0;
}
