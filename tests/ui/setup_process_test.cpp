// The setup mode of the built uninstall.exe, copied into a scratch installation folder:
// the setup dialog, the completion dialog naming that folder, the program group's folder
// opened afterwards; /setup /s doing all of it without a window; Esc ending setup.
#include <gtest/gtest.h>

#include "bed.h"
#include "driver.h"
#include "resource_ids.h"
#include "shell/registration.h"
#include "ui_support.h"

namespace {

const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver";

std::string ReadMachineString(const char* key, const char* name)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return "(missing)";
    char buffer[1024] = "";
    DWORD size = sizeof buffer - 1, type = 0;
    LONG status = RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS ? std::string(buffer) : "(missing)";
}

struct FolderWindowSearch {
    DWORD Exclude;
    std::string Needle;
    HWND Found;
};

BOOL CALLBACK MatchFolderWindow(HWND window, LPARAM lParam)
{
    FolderWindowSearch* search = reinterpret_cast<FolderWindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId() || owner == search->Exclude || !IsWindowVisible(window))
        return TRUE;
    if (driver::Text(window).find(search->Needle) != std::string::npos) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible window of another process whose title names the program group.
HWND WaitForFolderWindow(DWORD exclude, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        FolderWindowSearch search = {exclude, "Zelkor", nullptr};
        EnumWindows(MatchFolderWindow, reinterpret_cast<LPARAM>(&search));
        if (search.Found || GetTickCount() - start > timeoutMs)
            return search.Found;
        Sleep(50);
    }
}

class SetupProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::DeleteProductRoot();
        Base = bed::ScratchFolder("ui-setup");
        Folder = Base + "\\Zelkor";
        CreateDirectoryA(Folder.c_str(), nullptr);
        Exe = Folder + "\\uninstall.exe";
        ASSERT_TRUE(bed::CopyFileTo(bed::ProgramPath(), Exe)) << bed::ProgramPath();
    }
    void TearDown() override
    {
        RemoveRegistration();
        ui::DeleteProductRoot();
        bed::RemoveTree(Base);
    }
    std::string Base, Folder, Exe;
};

TEST_F(SetupProcessTest, SetupThenCompletionThenTheProgramGroupOpens)
{
    bed::RunningProcess process("\"" + Exe + "\" /setup", Folder);
    ASSERT_TRUE(process.Started());
    HWND setup = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(driver::Text(setup), ui::Ansi("Zelkor 简体中文版安装"));
    EXPECT_NE(driver::FindProcessWindow(process.Id(), "#32770"), nullptr);
    ASSERT_TRUE(driver::IsChecked(setup, IDC_PROGRAMS));
    driver::Click(setup, IDOK);
    ASSERT_TRUE(driver::WaitForClose(setup, 20000));

    HWND done = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(done, nullptr);
    EXPECT_EQ(driver::ControlText(done, IDC_DONE_FOLDER), Folder);
    EXPECT_EQ(ReadMachineString(UninstallKey, "UninstallString"), Exe);
    EXPECT_TRUE(ui::UserDwordIs("Setup\\Links", "Programs", 1));
    driver::Click(done, IDOK);
    DWORD exitCode = 99;
    ASSERT_TRUE(process.Wait(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);

    HWND folderWindow = WaitForFolderWindow(process.Id(), 15000);
    ASSERT_NE(folderWindow, nullptr) << "the program group's folder did not open";
    EXPECT_EQ(driver::Text(folderWindow), "Zelkor");   // the group folder's name
    PostMessageA(folderWindow, WM_CLOSE, 0, 0);
    driver::WaitForClose(folderWindow, 10000);
}

TEST_F(SetupProcessTest, SilentSetupSavesAndAppliesWithoutInputAndOpensNoFolder)
{
    ui::SetUserDword("Setup\\.cab", "Set", 0);
    bed::ProcessResult result = bed::RunProcess("\"" + Exe + "\" /setup /s", 60000, Folder);
    ASSERT_TRUE(result.Finished);
    EXPECT_EQ(result.ExitCode, 0u);
    EXPECT_TRUE(ui::UserDwordIs("Setup\\.cab", "Set", 0));
    EXPECT_TRUE(ui::UserDwordIs("Setup\\.kpx", "Set", 1));
    EXPECT_TRUE(ui::UserDwordIs("Setup\\Links", "Programs", 1));
    EXPECT_EQ(ReadMachineString(UninstallKey, "UninstallString"), Exe);
    char text[256] = "";
    LONG size = sizeof text;
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, ".kpx", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, "Zelkor");
    // The interactive run opens the folder within moments of ending; the silent one never.
    EXPECT_EQ(WaitForFolderWindow(0, 3000), nullptr);
}

TEST_F(SetupProcessTest, EscEndsSetupWithoutCompletionOrRegistration)
{
    bed::RunningProcess process("\"" + Exe + "\" /setup", Folder);
    ASSERT_TRUE(process.Started());
    HWND setup = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(setup, nullptr);
    driver::PressKey(setup, VK_ESCAPE);
    DWORD exitCode = 99;
    ASSERT_TRUE(process.Wait(20000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadMachineString(UninstallKey, "UninstallString"), "(missing)");
    EXPECT_FALSE(ui::UserDwordExists("Setup", "ShellExt", nullptr));
    EXPECT_TRUE(bed::FileExists(Exe));
}

}  // namespace
