/*
 * Keeps a file busy for the uninstall tests until it is killed:
 *   holder run EVENT          the holder itself is the running program
 *   holder load DLL EVENT     a loaded library
 *   holder open FILE EVENT    a file open for reading, shared for reading only
 * The named event is set once the file is busy.
 */
#include <windows.h>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const char* event = argv[argc - 1];
    if (strcmp(argv[1], "load") == 0 && argc == 4) {
        if (!LoadLibraryA(argv[2]))
            return 3;
    } else if (strcmp(argv[1], "open") == 0 && argc == 4) {
        HANDLE file = CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 4;
    } else if (strcmp(argv[1], "run") != 0) {
        return 2;
    }
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, event);
    if (!ready)
        return 5;
    SetEvent(ready);
    Sleep(INFINITE);
    return 0;
}
