/*
 * StartSelfRemoval: writes "Uninstall_Kpx.Bat" into the temporary folder and starts it
 * with the command interpreter named by COMSPEC, hidden on the NT family and with its
 * standard handles on "NUL" (detached) on the older one, after leaving the installation
 * folder. Paths that do not fit their buffers mean no script rather than a cut one.
 */
#include "app/self_removal.h"

#include <windows.h>
#include <cstdio>
#include <cstring>
#include "app/removal_script.h"
#include "support/system.h"

namespace {

const int PathSize = 1024;
const char ScriptName[] = "Uninstall_Kpx.Bat";

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle) : Handle(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle()
    {
        if (Handle && Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
    HANDLE Handle;
};

bool WriteScript(const char* scriptPath, const char* text, size_t length)
{
    FILE* file = fopen(scriptPath, "wb");
    if (!file)
        return false;
    bool written = fwrite(text, 1, length, file) == length;
    return fclose(file) == 0 && written;
}

}  // namespace

void StartSelfRemoval(const char* exePath)
{
    char scriptPath[PathSize];
    DWORD length = GetTempPathA(PathSize, scriptPath);
    if (length == 0 || length + sizeof ScriptName > PathSize)
        return;
    memcpy(scriptPath + length, ScriptName, sizeof ScriptName);

    char folder[PathSize];
    DWORD folderLength = GetCurrentDirectoryA(PathSize, folder);
    if (folderLength == 0 || folderLength >= PathSize)
        return;

    bool ntFamily = WinNtMajorVersion() != 0;
    // Twenty paths of at most 1023 bytes and the fixed text of nineteen lines.
    static char script[24576];
    int scriptLength = BuildRemovalScript(script, sizeof script, ntFamily, exePath, folder,
                                          scriptPath);
    if (scriptLength < 0 || !WriteScript(scriptPath, script, static_cast<size_t>(scriptLength)))
        return;

    char comspec[PathSize];
    comspec[0] = 0;
    DWORD comspecLength = GetEnvironmentVariableA("COMSPEC", comspec, PathSize);
    if (comspecLength >= PathSize)
        comspec[0] = 0;
    char commandLine[2 * PathSize + 16];
    snprintf(commandLine, sizeof commandLine, "%s /c \"%s\"", comspec, scriptPath);

    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    OwnedHandle nul(nullptr);
    if (ntFamily) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    } else {
        nul.Handle = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 0, nullptr);
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul.Handle;
    }

    SetCurrentDirectoryA("..");
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE,
                       ntFamily ? 0 : DETACHED_PROCESS, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}
