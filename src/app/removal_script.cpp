/*
 * The text of "Uninstall_Kpx.Bat": the start line (the executable in quotes on the NT
 * family, behind "start /wait" on the older one), the attempt block five times, and the
 * closing block whose last line has no line end. Nothing is written past size bytes.
 */
#include "app/removal_script.h"

#include <cstdio>

namespace {

class ScriptText {
public:
    ScriptText(char* out, size_t size) : Out(out), Size(size) {}

    template <typename... Args>
    void Add(const char* format, Args... args)
    {
        if (Failed)
            return;
        int n = snprintf(Out + Used, Size - Used, format, args...);
        if (n < 0 || static_cast<size_t>(n) >= Size - Used)
            Failed = true;
        else
            Used += static_cast<size_t>(n);
    }

    int Result() const { return Failed ? -1 : static_cast<int>(Used); }

private:
    char* Out;
    size_t Size;
    size_t Used = 0;
    bool Failed = false;
};

}  // namespace

int BuildRemovalScript(char* out, size_t size, bool ntFamily, const char* exePath,
                       const char* installFolder, const char* scriptPath)
{
    if (!out || size == 0)
        return -1;
    out[0] = 0;
    ScriptText text(out, size);
    if (ntFamily)
        text.Add("\"%s\" /wait\r\n", exePath);
    else
        text.Add("start /wait \"%s\" /wait\r\n", exePath);
    for (int attempt = 0; attempt < 5; ++attempt)
        text.Add("del \"%s\"\r\nrd \"%s\"\r\nif not exist \"%s\" goto done\r\n", exePath,
                 installFolder, exePath);
    text.Add(":done\r\nif exist \"%s\" \"%s\" /warning\r\ndel \"%s\"", exePath, exePath,
             scriptPath);
    int result = text.Result();
    if (result < 0)
        out[0] = 0;
    return result;
}
