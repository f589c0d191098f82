// Process tests of the entry point: the built uninstall.exe is copied into a scratch
// installation folder and run with the batch script's switches and with unknown ones.
#include <gtest/gtest.h>

#include <string>
#include "bed.h"
#include "driver.h"

namespace {

std::string Ansi(const char* utf8) { return bed::AnsiFromUtf8(utf8); }

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = bed::ScratchFolder("entry");
        Exe = Folder + "\\uninstall.exe";
        ASSERT_TRUE(bed::CopyFileTo(bed::ProgramPath(), Exe)) << bed::ProgramPath();
    }
    void TearDown() override { bed::RemoveTree(Folder); }

    // An installed-looking folder: a listed file that an uninstall would delete.
    void PlantListedFile()
    {
        ASSERT_TRUE(bed::WriteFileBytes(Folder + "\\Uninstall.lst", "listed.txt\r\n"));
        ASSERT_TRUE(bed::WriteFileBytes(Folder + "\\listed.txt", "x"));
    }

    std::string Folder;
    std::string Exe;
};

TEST_F(EntryTest, WaitPausesAboutTwoSecondsAndExitsZero)
{
    bed::ProcessResult result = bed::RunProcess("\"" + Exe + "\" /wait", 30000, Folder);
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0u);
    EXPECT_GE(result.Milliseconds, 1900u);
    EXPECT_LT(result.Milliseconds, 15000u);
}

TEST_F(EntryTest, WarningShowsTheManualRemovalNotice)
{
    bed::RunningProcess process("\"" + Exe + "\" /warning", Folder);
    ASSERT_TRUE(process.Started());
    HWND box = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(box), Ansi("卸载 Zelkor"));
    std::vector<std::string> lines = driver::MessageLines(box);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), Ansi("卸载已完成") + "\n" + Ansi("你应该手动删除 ") + Exe);
    driver::Answer(box, IDOK);
    DWORD code = 99;
    ASSERT_TRUE(process.Wait(20000, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(EntryTest, WaitComesBeforeTheNotice)
{
    DWORD start = GetTickCount();
    bed::RunningProcess process("\"" + Exe + "\" /wait /warning", Folder);
    HWND box = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_GE(GetTickCount() - start, 1900u);
    driver::Answer(box, IDOK);
    EXPECT_TRUE(process.Wait(20000));
}

TEST_F(EntryTest, ModeSwitchesPreventTheUninstall)
{
    PlantListedFile();
    for (const char* tail : {"/x", "/sx", "a-b", "/s /wait"}) {
        bed::ProcessResult result = bed::RunProcess("\"" + Exe + "\" " + tail, 30000, Folder);
        ASSERT_TRUE(result.Finished) << tail;
        EXPECT_EQ(result.ExitCode, 0u) << tail;
        EXPECT_TRUE(bed::FileExists(Folder + "\\listed.txt")) << tail;
        EXPECT_TRUE(bed::FileExists(Folder + "\\Uninstall.lst")) << tail;
    }
}

// Windows looks for a DLL in the program's folder before the system folder. Wine prefers
// its own riched32 unless told otherwise, so the two programs involved are configured
// (per program, under Wine's AppDefaults) to try a native riched32 first.
class NativeRichEditFirst {
public:
    NativeRichEditFirst()
    {
        for (const char* key : Keys) {
            HKEY handle;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                                nullptr) == ERROR_SUCCESS) {
                RegSetValueExA(handle, "riched32", 0, REG_SZ,
                               reinterpret_cast<const BYTE*>("native,builtin"), 15);
                RegCloseKey(handle);
            }
        }
    }
    ~NativeRichEditFirst()
    {
        for (const char* key : Keys)
            RegDeleteKeyA(HKEY_CURRENT_USER, key);
    }

private:
    const char* Keys[2] = {"Software\\Wine\\AppDefaults\\uninstall.exe\\DllOverrides",
                           "Software\\Wine\\AppDefaults\\rundll32.exe\\DllOverrides"};
};

TEST_F(EntryTest, PlantedRichEditBesideTheProgramIsNotLoaded)
{
    std::string planted = Folder + "\\riched32.dll";
    ASSERT_TRUE(bed::CopyFileTo(bed::BuildPath("tests/app/riched32.dll"), planted));
    NativeRichEditFirst order;
    bed::ProcessResult result = bed::RunProcess("\"" + Exe + "\" /x", 30000, Folder);
    ASSERT_TRUE(result.Finished);
    EXPECT_FALSE(bed::FileExists(Folder + "\\planted-loaded.txt"));

    // The marker works: a process that loads the planted file writes it.
    bed::RunProcess("rundll32.exe \"" + planted + "\",Entry", 30000, Folder);
    EXPECT_TRUE(bed::FileExists(Folder + "\\planted-loaded.txt"));
}

}  // namespace
