/*
 * The test bed's helpers: configuration, paths, scratch folders and processes.
 */
#include "bed.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace bed {

static std::string Env(const char* name)
{
    char buffer[2048];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

std::string Config() { return Env("ZELKOR_CONFIG"); }
bool CodePage936() { return GetACP() == 936; }
bool OlderFamily() { return Config().rfind("win98", 0) == 0; }

std::string UnixToWindows(const std::string& unixPath)
{
    if (unixPath.empty() || unixPath[0] != '/')
        return unixPath;
    std::string out = "Z:" + unixPath;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

std::string AnsiFromUtf8(const char* utf8)
{
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (wideLength <= 0)
        return std::string();
    std::vector<wchar_t> wide(wideLength);
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), wideLength);
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::vector<char> ansi(length);
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, ansi.data(), length, nullptr, nullptr);
    return ansi.data();
}

std::string ProgramPath() { return UnixToWindows(Env("ZELKOR_PROGRAM")); }
std::string SourcePath(const std::string& relative)
{
    return UnixToWindows(Env("ZELKOR_SOURCE_DIR") + "/" + relative);
}
std::string BuildPath(const std::string& relative)
{
    return UnixToWindows(Env("ZELKOR_BUILD_DIR") + "/" + relative);
}

void RemoveTree(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, ".."))
                RemoveTree(path + "\\" + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ScratchFolder(const std::string& name)
{
    CreateDirectoryA("C:\\zelkor-tests", nullptr);
    std::string path = "C:\\zelkor-tests\\" + name;
    RemoveTree(path);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string ReadFileBytes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string out;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
        out.append(buffer, got);
    CloseHandle(file);
    return out;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyFileTo(const std::string& from, const std::string& to)
{
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs, const std::string& folder)
{
    ProcessResult result;
    RunningProcess process(commandLine, folder);
    if (!process.Started())
        return result;
    result.Started = true;
    DWORD start = GetTickCount();
    result.Finished = process.Wait(timeoutMs, &result.ExitCode);
    result.Milliseconds = GetTickCount() - start;
    return result;
}

RunningProcess::RunningProcess(const std::string& commandLine, const std::string& folder)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &Info))
        Info = PROCESS_INFORMATION();
}

RunningProcess::~RunningProcess()
{
    if (!Info.hProcess)
        return;
    if (WaitForSingleObject(Info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(Info.hProcess, 99);
        WaitForSingleObject(Info.hProcess, 5000);
    }
    CloseHandle(Info.hThread);
    CloseHandle(Info.hProcess);
}

bool RunningProcess::Wait(DWORD timeoutMs, DWORD* exitCode)
{
    if (!Info.hProcess || WaitForSingleObject(Info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(Info.hProcess, exitCode);
    return true;
}

}  // namespace bed
