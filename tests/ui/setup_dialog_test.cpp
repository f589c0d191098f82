// The setup dialog and the context-menu items dialog, run in this process on a worker
// thread and driven like a user: what they show, what their buttons do, what OK and Esc
// leave in the registry, and which help topics they ask for.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "app/app_state.h"
#include "bed.h"
#include "driver.h"
#include "resource_ids.h"
#include "shell/registration.h"
#include "ui/setup_dialog.h"
#include "ui_support.h"

namespace {

const char* const MenuValueNames[11] = {"ExtrTo", "ExtrHere", "Extr", "ExtrSep", "OpenSFX", "AddTo",
                                        "AddArc", "EmailArc", "EmailOpt", "Test", "Convert"};
const bool MenuDefaults[11] = {true, true, true, true, true, true, true, true, true, false, false};

class SetupDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::PrepareProcess();
        ui::DeleteProductRoot();
        SilentMode = false;
        GroupFolder[0] = '\0';
    }
    void TearDown() override
    {
        ui::DeleteProductRoot();
        SilentMode = false;
    }
};

// ---- what the dialog shows

TEST_F(SetupDialogTest, FirstRunShowsTheDefaultsWithTheJarAndIsoRule)
{
    ui::ClassKeyGuard jar(".jar"), iso(".iso");
    jar.Set("OtherArchiver.jar");   // another program's claim wins for .jar
    iso.Set("ZELKOR");              // the archiver's own, in any case, stays checked

    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    for (int id = IDC_ASSOC_FIRST; id <= IDC_ASSOC_LAST; ++id)
        EXPECT_EQ(driver::IsChecked(window, id), id != 5112) << id;
    EXPECT_FALSE(driver::IsChecked(window, IDC_DESKTOP));
    EXPECT_FALSE(driver::IsChecked(window, IDC_STARTMENU));
    EXPECT_TRUE(driver::IsChecked(window, IDC_PROGRAMS));
    EXPECT_TRUE(driver::IsChecked(window, IDC_SHELLEXT));
    EXPECT_FALSE(driver::IsChecked(window, IDC_CASCADEDMENU));
    EXPECT_TRUE(driver::IsChecked(window, IDC_MENUICONS));
    EXPECT_TRUE(driver::IsEnabled(window, IDC_CASCADEDMENU));
    EXPECT_TRUE(driver::IsEnabled(window, IDC_MENUICONS));
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), ProgramIcon);
    EXPECT_EQ(driver::Text(window), ui::Ansi("Zelkor 简体中文版安装"));
    driver::PressKey(window, VK_ESCAPE);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 0);
}

TEST_F(SetupDialogTest, StoredValuesArePresetAndShellExtOffDisablesItsTwoBoxes)
{
    ui::SetUserDword("Setup\\.zip", "Set", 0);
    ui::SetUserDword("Setup\\.7z", "Set", 7);
    ui::SetUserDword("Setup\\Links", "Desktop", 1);
    ui::SetUserDword("Setup\\Links", "Programs", 0);
    ui::SetUserDword("Setup", "ShellExt", 0);
    ui::SetUserDword("Setup", "CascadedMenu", 1);

    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(driver::IsChecked(window, 5102));
    EXPECT_TRUE(driver::IsChecked(window, 5107));
    EXPECT_TRUE(driver::IsChecked(window, IDC_DESKTOP));
    EXPECT_FALSE(driver::IsChecked(window, IDC_PROGRAMS));
    EXPECT_FALSE(driver::IsChecked(window, IDC_SHELLEXT));
    EXPECT_TRUE(driver::IsChecked(window, IDC_CASCADEDMENU));
    EXPECT_FALSE(driver::IsEnabled(window, IDC_CASCADEDMENU));
    EXPECT_FALSE(driver::IsEnabled(window, IDC_MENUICONS));
}

TEST_F(SetupDialogTest, ShellIntegrationBoxTogglesTheTwoBoxesAndKeepsTheirMarks)
{
    ui::SetUserDword("Setup", "CascadedMenu", 1);
    ui::SetUserDword("Setup", "MenuIcons", 0);
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(driver::IsEnabled(window, IDC_CASCADEDMENU));

    driver::Click(window, IDC_SHELLEXT);
    EXPECT_FALSE(driver::IsChecked(window, IDC_SHELLEXT));
    EXPECT_FALSE(driver::IsEnabled(window, IDC_CASCADEDMENU));
    EXPECT_FALSE(driver::IsEnabled(window, IDC_MENUICONS));
    EXPECT_TRUE(driver::IsChecked(window, IDC_CASCADEDMENU));
    EXPECT_FALSE(driver::IsChecked(window, IDC_MENUICONS));

    driver::Click(window, IDC_SHELLEXT);
    EXPECT_TRUE(driver::IsEnabled(window, IDC_CASCADEDMENU));
    EXPECT_TRUE(driver::IsEnabled(window, IDC_MENUICONS));
    EXPECT_TRUE(driver::IsChecked(window, IDC_CASCADEDMENU));
    EXPECT_FALSE(driver::IsChecked(window, IDC_MENUICONS));
}

TEST_F(SetupDialogTest, SelectAllChecksTheFourteenAssociationBoxesOnly)
{
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    for (int id : {5101, 5105, 5110, 5114})
        driver::SetChecked(window, id, false);
    driver::SetChecked(window, IDC_PROGRAMS, false);
    driver::SetChecked(window, IDC_DESKTOP, false);
    driver::SetChecked(window, IDC_MENUICONS, false);

    driver::Click(window, IDC_SELECTALL);
    for (int id = IDC_ASSOC_FIRST; id <= IDC_ASSOC_LAST; ++id)
        EXPECT_TRUE(driver::IsChecked(window, id)) << id;
    EXPECT_FALSE(driver::IsChecked(window, IDC_PROGRAMS));
    EXPECT_FALSE(driver::IsChecked(window, IDC_DESKTOP));
    EXPECT_FALSE(driver::IsChecked(window, IDC_MENUICONS));
    EXPECT_TRUE(driver::IsChecked(window, IDC_SHELLEXT));
}

// ---- OK and Esc

TEST_F(SetupDialogTest, OkSavesAppliesAndRegisters)
{
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::SetChecked(window, 5103, false);   // CAB stays with its owner
    driver::SetChecked(window, IDC_DESKTOP, true);
    driver::Click(window, IDOK);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 1);

    EXPECT_TRUE(ui::UserDwordIs("Setup\\.cab", "Set", 0));
    EXPECT_TRUE(ui::UserDwordIs("Setup\\.kpx", "Set", 1));
    EXPECT_TRUE(ui::UserDwordIs("Setup\\Links", "Desktop", 1));
    EXPECT_TRUE(ui::UserDwordIs("Setup", "MenuIcons", 1));

    char text[256] = "";
    LONG size = sizeof text;
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, ".kpx", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, "Zelkor");
    HKEY entry = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver",
                            0, KEY_READ, &entry), ERROR_SUCCESS);
    if (entry)
        RegCloseKey(entry);
    ASSERT_NE(GroupFolder[0], '\0');
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(GroupFolder) + "\\*.lnk").c_str(), &found);
    EXPECT_NE(search, INVALID_HANDLE_VALUE) << "no shortcut in " << GroupFolder;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    char desktop[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, desktop, CSIDL_DESKTOPDIRECTORY, FALSE);
    std::string desktopLink = std::string(desktop) + "\\Zelkor.lnk";
    EXPECT_TRUE(bed::FileExists(desktopLink)) << desktopLink;

    RemoveRegistration();
    bed::RemoveTree(GroupFolder);
    DeleteFileA(desktopLink.c_str());
}

TEST_F(SetupDialogTest, EscChangesNothingButConfirmedMenuItemsStay)
{
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::Click(window, IDC_CONTEXTITEMS);
    HWND items = driver::WaitForOwnedWindow(window, 10000);
    ASSERT_NE(items, nullptr);
    driver::Click(items, IDOK);
    ASSERT_TRUE(driver::WaitForClose(items, 10000));

    driver::PressKey(window, VK_ESCAPE);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 0);
    EXPECT_EQ(GroupFolder[0], '\0');
    EXPECT_FALSE(ui::UserDwordExists("Setup\\.kpx", "Set", nullptr));
    EXPECT_FALSE(ui::UserDwordExists("Setup", "ShellExt", nullptr));
    EXPECT_FALSE(ui::UserDwordExists("Setup\\Links", "Programs", nullptr));
    HKEY entry = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelkor archiver",
                            0, KEY_READ, &entry), ERROR_SUCCESS);
    for (const char* name : MenuValueNames)
        EXPECT_TRUE(ui::UserDwordExists("Setup\\MenuItems", name, nullptr)) << name;
}

TEST_F(SetupDialogTest, CloseBoxEndsWithZero)
{
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 0);
    EXPECT_FALSE(ui::UserDwordExists("Setup", "ShellExt", nullptr));
}

TEST_F(SetupDialogTest, SilentModeSavesAndAppliesTheStoredChoicesWithoutAWindow)
{
    ui::SetUserDword("Setup\\.arj", "Set", 0);
    ui::SetUserDword("Setup\\Links", "Programs", 0);
    SilentMode = true;
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 1);
    EXPECT_TRUE(ui::UserDwordIs("Setup\\.arj", "Set", 0));
    EXPECT_TRUE(ui::UserDwordIs("Setup\\.zip", "Set", 1));
    EXPECT_TRUE(ui::UserDwordIs("Setup", "ShellExt", 1));
    EXPECT_TRUE(ui::UserDwordIs("Setup\\Links", "Programs", 0));
    char text[256] = "";
    LONG size = sizeof text;
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, ".zip", text, &size), ERROR_SUCCESS);
    EXPECT_STREQ(text, "Zelkor.ZIP");
    EXPECT_EQ(GroupFolder[0], '\0');   // no program group was asked for
    RemoveRegistration();
}

// ---- the context-menu items dialog

TEST_F(SetupDialogTest, ContextItemsPresetFromTheRegistryAndStoreAllElevenOnOk)
{
    ui::SetUserDword("Setup\\MenuItems", "ExtrTo", 0);
    ui::SetUserDword("Setup\\MenuItems", "Test", 1);
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::Click(window, IDC_CONTEXTITEMS);
    HWND items = driver::WaitForOwnedWindow(window, 10000);
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(driver::Text(items), ui::Ansi("关联菜单项目"));
    for (int i = 0; i < 11; ++i) {
        bool expected = i == 0 ? false : i == 9 ? true : MenuDefaults[i];
        EXPECT_EQ(driver::IsChecked(items, 101 + i), expected) << MenuValueNames[i];
    }
    driver::SetChecked(items, 111, true);
    driver::SetChecked(items, 102, false);
    driver::Click(items, IDOK);
    ASSERT_TRUE(driver::WaitForClose(items, 10000));
    const DWORD stored[11] = {0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    for (int i = 0; i < 11; ++i) {
        DWORD value = 99;
        EXPECT_TRUE(ui::UserDwordExists("Setup\\MenuItems", MenuValueNames[i], &value)) << MenuValueNames[i];
        EXPECT_EQ(value, stored[i]) << MenuValueNames[i];
    }
}

TEST_F(SetupDialogTest, ContextItemsCancelStoresNothing)
{
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::Click(window, IDC_CONTEXTITEMS);
    HWND items = driver::WaitForOwnedWindow(window, 10000);
    ASSERT_NE(items, nullptr);
    driver::SetChecked(items, 101, false);
    driver::Click(items, IDCANCEL);
    ASSERT_TRUE(driver::WaitForClose(items, 10000));
    for (const char* name : MenuValueNames)
        EXPECT_FALSE(ui::UserDwordExists("Setup\\MenuItems", name, nullptr)) << name;
    EXPECT_TRUE(IsWindow(window));
}

// ---- help

struct HelpCase {
    const char* Name;
    bool UseF1;
};

class SetupHelpTest : public SetupDialogTest, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(SetupHelpTest, SetupDialogAsksForTopic4288AndContextItemsFor4976Only)
{
    ui::HelpReceiver help;
    ASSERT_NE(help.Window, nullptr);
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    auto ask = [&](HWND target) {
        if (GetParam().UseF1) {
            driver::TypeKey(target, VK_F1);
        } else {
            driver::Click(target, IDC_HELPBUTTON);
        }
    };
    ask(window);
    ASSERT_TRUE(help.WaitFor(1, 5000));
    driver::Click(window, IDC_CONTEXTITEMS);
    HWND items = driver::WaitForOwnedWindow(window, 10000);
    ASSERT_NE(items, nullptr);
    ask(items);
    ASSERT_TRUE(help.WaitFor(2, 5000));
    Sleep(300);
    std::vector<ui::HelpRequest> requests = help.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].Command, (UINT)HELP_CONTEXT);
    EXPECT_EQ(requests[0].Data, 4288);
    EXPECT_EQ(requests[0].File, "zelkor.hlp");
    EXPECT_EQ(requests[0].Caller, window);
    EXPECT_EQ(requests[1].Command, (UINT)HELP_CONTEXT);
    EXPECT_EQ(requests[1].Data, 4976);
    EXPECT_EQ(requests[1].Caller, items);
}

INSTANTIATE_TEST_SUITE_P(Requests, SetupHelpTest,
                         ::testing::Values(HelpCase{"HelpButton", false}, HelpCase{"F1", true}),
                         [](const ::testing::TestParamInfo<HelpCase>& info) { return info.param.Name; });

}  // namespace
