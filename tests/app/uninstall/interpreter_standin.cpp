/*
 * A stand-in for the command interpreter, named by COMSPEC in the uninstall tests. It
 * records its command line and a copy of the script named after "/c" into the folder of
 * ZELKOR_COMSPEC_RECORD, then, when ZELKOR_COMSPEC_HANDOVER is 1, runs the real cmd.exe
 * with the same arguments and returns its exit code.
 */
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>

static std::string Env(const char* name)
{
    char buffer[2048];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

static void Save(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f)
        return;
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

static std::string Load(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, f)) > 0)
        bytes.append(block, n);
    fclose(f);
    return bytes;
}

// The command line after the program's own name.
static const char* Tail(const char* line)
{
    if (*line == '"') {
        const char* end = strchr(line + 1, '"');
        line = end ? end + 1 : line + strlen(line);
    } else {
        while (*line && *line != ' ' && *line != '\t')
            ++line;
    }
    return line;
}

int main()
{
    const char* commandLine = GetCommandLineA();
    std::string record = Env("ZELKOR_COMSPEC_RECORD");
    std::string tail = Tail(commandLine);
    if (!record.empty()) {
        Save(record + "\\command.txt", commandLine);
        size_t c = tail.find("/c \"");
        if (c != std::string::npos) {
            size_t end = tail.find('"', c + 4);
            std::string script = tail.substr(c + 4, end == std::string::npos ? std::string::npos : end - c - 4);
            Save(record + "\\script.bat", Load(script));
        }
    }
    if (Env("ZELKOR_COMSPEC_HANDOVER") != "1")
        return 0;
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string line = "\"" + std::string(system) + "\\cmd.exe\"" + tail;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    // The interpreter's output goes to the record rather than to the test's own output.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE output = record.empty() ? INVALID_HANDLE_VALUE
                                   : CreateFileA((record + "\\cmd-output.txt").c_str(), GENERIC_WRITE,
                                                 FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
    if (output != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = startup.hStdError = output;
    }
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process))
        return 98;
    if (output != INVALID_HANDLE_VALUE)
        CloseHandle(output);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!record.empty())
        Save(record + "\\done.txt", std::to_string(code));
    return static_cast<int>(code);
}
