// The self-removal script, byte for byte: both start-line forms, a drive root as the
// installation folder, and the bound of the output buffer.
#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "app/removal_script.h"

namespace {

const char* const Exe = "C:\\Program Files\\Zelkor\\uninstall.exe";
const char* const Folder = "C:\\Program Files\\Zelkor";
const char* const Script = "C:\\users\\me\\Temp\\Uninstall_Kpx.Bat";

std::string Build(bool nt, const char* exe, const char* folder, const char* script)
{
    std::vector<char> out(32768, '#');
    int n = BuildRemovalScript(out.data(), out.size(), nt, exe, folder, script);
    EXPECT_GE(n, 0);
    if (n < 0)
        return std::string();
    EXPECT_EQ(out[n], '\0');
    return std::string(out.data(), n);
}

const std::string Attempt =
    "del \"C:\\Program Files\\Zelkor\\uninstall.exe\"\r\n"
    "rd \"C:\\Program Files\\Zelkor\"\r\n"
    "if not exist \"C:\\Program Files\\Zelkor\\uninstall.exe\" goto done\r\n";
const std::string Closing =
    ":done\r\n"
    "if exist \"C:\\Program Files\\Zelkor\\uninstall.exe\" \"C:\\Program Files\\Zelkor\\uninstall.exe\" /warning\r\n"
    "del \"C:\\users\\me\\Temp\\Uninstall_Kpx.Bat\"";

TEST(RemovalScript, NtFamily)
{
    std::string expected = "\"C:\\Program Files\\Zelkor\\uninstall.exe\" /wait\r\n" + Attempt +
                           Attempt + Attempt + Attempt + Attempt + Closing;
    std::string script = Build(true, Exe, Folder, Script);
    EXPECT_EQ(script, expected);
    size_t lineEnds = 0;
    for (size_t i = 0; i + 1 < script.size(); ++i)
        lineEnds += script.compare(i, 2, "\r\n") == 0;
    EXPECT_EQ(lineEnds, 18u);
    EXPECT_NE(script.back(), '\n');
}

TEST(RemovalScript, OlderFamily)
{
    std::string expected = "start /wait \"C:\\Program Files\\Zelkor\\uninstall.exe\" /wait\r\n" +
                           Attempt + Attempt + Attempt + Attempt + Attempt + Closing;
    EXPECT_EQ(Build(false, Exe, Folder, Script), expected);
}

TEST(RemovalScript, DriveRootKeepsItsBackslash)
{
    std::string script = Build(true, "T:\\uninstall.exe", "T:\\", "C:\\t\\Uninstall_Kpx.Bat");
    std::string attempt = "del \"T:\\uninstall.exe\"\r\nrd \"T:\\\"\r\nif not exist \"T:\\uninstall.exe\" goto done\r\n";
    EXPECT_EQ(script, "\"T:\\uninstall.exe\" /wait\r\n" + attempt + attempt + attempt + attempt +
                          attempt + ":done\r\nif exist \"T:\\uninstall.exe\" \"T:\\uninstall.exe\" /warning\r\n"
                          "del \"C:\\t\\Uninstall_Kpx.Bat\"");
}

TEST(RemovalScript, BoundedOutput)
{
    std::string full = Build(true, Exe, Folder, Script);
    // Exactly large enough: heap buffers of the exact size let the sanitizer see any overrun.
    std::vector<char> exact(full.size() + 1);
    EXPECT_EQ(BuildRemovalScript(exact.data(), exact.size(), true, Exe, Folder, Script),
              static_cast<int>(full.size()));
    EXPECT_EQ(std::string(exact.data()), full);
    for (size_t size : {full.size(), full.size() / 2, size_t{10}, size_t{1}}) {
        std::vector<char> small(size);
        EXPECT_EQ(BuildRemovalScript(small.data(), small.size(), true, Exe, Folder, Script), -1) << size;
        EXPECT_EQ(small[0], '\0');
    }
    EXPECT_EQ(BuildRemovalScript(nullptr, 0, true, Exe, Folder, Script), -1);
}

// The longest paths the callers pass (1023 bytes each) fit the caller's script buffer.
TEST(RemovalScript, LongestPathsFitTheCallerBuffer)
{
    std::string exe(1023, 'e'), folder(1023, 'f'), script(1023, 's');
    std::vector<char> out(24576);
    int n = BuildRemovalScript(out.data(), out.size(), false, exe.c_str(), folder.c_str(),
                               script.c_str());
    EXPECT_GT(n, 19 * 1023);
}

}  // namespace
