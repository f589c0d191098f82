/*
 * System probes and small Win32 helpers. The lead-byte facts are asked of the system once,
 * when the static table is built; the version and WOW64 probes are cached for the process
 * (the WOW64 probe only once IsWow64Process has answered). The file calls prefer the wide
 * name on the NT family, where it may hold characters the ANSI code page cannot.
 */
#include "support/system.h"

#include <cstring>

// The sizes the system expects of the two records (the 32-bit STARTUPINFOA is 68 bytes).
static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA size");
static_assert(sizeof(void*) != 4 || sizeof(STARTUPINFOA) == 68, "STARTUPINFOA size");

MbcsLeadTable AnsiCodePageLeadTable()
{
    MbcsLeadTable table = {};
    CPINFO info = {};
    GetCPInfo(CP_ACP, &info);
    table.Multibyte = info.MaxCharSize > 1 ? 1 : 0;
    for (int b = 0; b < 256; ++b)
        table.Lead[b] = IsDBCSLeadByte(static_cast<BYTE>(b)) ? 1 : 0;
    return table;
}

int ComparePaths(const char* a, const char* b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a, -1, b, -1) - 2;
}

bool WideToAnsi(const wchar_t* wide, char* ansi, int size)
{
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, size, nullptr, nullptr) != 0;
}

static LONG CachedPlatformId = -1;
static DWORD CachedMajorVersion = 0;

DWORD WinNtMajorVersion()
{
    if (CachedPlatformId == -1) {
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExA(&version);
        CachedPlatformId = static_cast<LONG>(version.dwPlatformId);
        CachedMajorVersion = version.dwMajorVersion;
    }
    return CachedPlatformId == VER_PLATFORM_WIN32_NT ? CachedMajorVersion : 0;
}

static LONG CachedWow64 = -1;

bool RunningUnderWow64()
{
    if (CachedWow64 == -1) {
        typedef BOOL(WINAPI * IsWow64ProcessProc)(HANDLE, PBOOL);
        HMODULE kernel = GetModuleHandleA("kernel32");
        IsWow64ProcessProc isWow64 = kernel
            ? reinterpret_cast<IsWow64ProcessProc>(GetProcAddress(kernel, "IsWow64Process"))
            : nullptr;
        BOOL answer = FALSE;
        if (isWow64 && isWow64(GetCurrentProcess(), &answer))
            CachedWow64 = answer;
    }
    return CachedWow64 == 1;
}

bool LaunchProgram(const char* commandLine, const char* folder, DWORD waitMilliseconds)
{
    // CreateProcessA may write into its command line, so it gets a copy; 32768 characters
    // is the longest command line the system accepts.
    static char line[32768];
    size_t length = std::strlen(commandLine);
    if (length >= sizeof line)
        return false;
    std::memcpy(line, commandLine, length + 1);

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, folder, &startup,
                        &process))
        return false;
    if (waitMilliseconds != 0)
        WaitForSingleObject(process.hProcess, waitMilliseconds);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

static bool UseWideName(const wchar_t* wide)
{
    return WinNtMajorVersion() != 0 && wide && wide[0] != L'\0';
}

bool DeleteFileEither(const char* ansi, const wchar_t* wide)
{
    if (UseWideName(wide))
        return DeleteFileW(wide) != 0;
    return DeleteFileA(ansi) != 0;
}

bool FileExistsEither(const char* ansi, const wchar_t* wide)
{
    DWORD attributes = UseWideName(wide) ? GetFileAttributesW(wide) : GetFileAttributesA(ansi);
    return attributes != INVALID_FILE_ATTRIBUTES;
}
