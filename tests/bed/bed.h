/*
 * The test bed's helpers for test programs running under Wine: which configuration runs,
 * where the built program and the sources are (as Windows paths), scratch folders inside
 * the prefix, file helpers and running a process with a time limit.
 */
#ifndef ZELKOR_TESTS_BED_H
#define ZELKOR_TESTS_BED_H

#include <windows.h>
#include <string>

namespace bed {

std::string Config();                 // "nt.936", "win98.936", ...; "" outside the bed
bool CodePage936();
bool OlderFamily();                    // the configuration runs with Version = win98
std::string UnixToWindows(const std::string& unixPath);   // Z:\... form
std::string AnsiFromUtf8(const char* utf8);   // the text in this process's ANSI code page
std::string ProgramPath();             // the built uninstall.exe
std::string SourcePath(const std::string& relative);   // a file of the source tree
std::string BuildPath(const std::string& relative);    // a file of the build tree

// A fresh, empty folder C:\zelkor-tests\<name> (removed first when it exists).
std::string ScratchFolder(const std::string& name);
bool WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
bool CopyFileTo(const std::string& from, const std::string& to);
// Deletes a folder and everything in it (read-only attributes cleared first).
void RemoveTree(const std::string& path);

struct ProcessResult {
    bool Started = false;
    bool Finished = false;
    DWORD ExitCode = 0;
    DWORD Milliseconds = 0;
};

// Starts a command line and waits up to timeoutMs for it.
ProcessResult RunProcess(const std::string& commandLine, DWORD timeoutMs,
                         const std::string& folder = "");

// A started process that the test drives while it runs (its dialogs, its message boxes).
class RunningProcess {
public:
    explicit RunningProcess(const std::string& commandLine, const std::string& folder = "");
    ~RunningProcess();   // kills the process if it still runs
    RunningProcess(const RunningProcess&) = delete;
    RunningProcess& operator=(const RunningProcess&) = delete;
    bool Started() const { return Info.hProcess != nullptr; }
    DWORD Id() const { return Info.dwProcessId; }
    bool Wait(DWORD timeoutMs, DWORD* exitCode = nullptr);

    PROCESS_INFORMATION Info = {};
};

}  // namespace bed

#endif
