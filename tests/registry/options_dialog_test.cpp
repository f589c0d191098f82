/*
 * Tests of the transfer between the options record and the setup dialog's check boxes,
 * through a modeless test dialog with the same control ids (options_dialog.rc) under the
 * bed's display. Its procedure reacts to the shell-integration box and the select-all
 * button as the setup dialog does.
 */
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "resource_ids.h"
#include "shell/options.h"

namespace {

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDC_SHELLEXT) {
            SetupOptions scratch;
            OptionsFromDialog(dialog, scratch);
            OptionsToDialog(dialog, scratch);
            return TRUE;
        }
        if (LOWORD(wParam) == IDC_SELECTALL) {
            SelectAllAssociations(dialog);
            return TRUE;
        }
    }
    return FALSE;
}

class OptionsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "OPTIONSTEST", nullptr, TestDialogProc, 0);
        ASSERT_NE(nullptr, Dialog) << "error " << GetLastError();
        ShowWindow(Dialog, SW_SHOW);
        Pump();
    }
    void TearDown() override
    {
        if (Dialog)
            DestroyWindow(Dialog);
        Pump();
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    // Checks as a string over the controls 5101 to 5120.
    std::string Checks() const
    {
        std::string out;
        for (int id = 5101; id <= 5120; ++id)
            out += IsDlgButtonChecked(Dialog, id) == BST_CHECKED ? '1' : '0';
        return out;
    }
    void SetChecks(const std::string& checks)
    {
        for (int i = 0; i < 20; ++i)
            CheckDlgButton(Dialog, 5101 + i, checks[i] == '1' ? BST_CHECKED : BST_UNCHECKED);
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Dialog, id)) != 0; }
    void Click(int id)
    {
        SendMessageA(GetDlgItem(Dialog, id), BM_CLICK, 0, 0);
        Pump();
    }

    HWND Dialog = nullptr;
};

SetupOptions FromFlags(const std::string& flags)
{
    SetupOptions options;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&options);
    for (size_t i = 0; i < sizeof options; ++i)
        bytes[i] = static_cast<unsigned char>(flags[i] - '0');
    return options;
}

std::string Flags(const SetupOptions& options)
{
    std::string out;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&options);
    for (size_t i = 0; i < sizeof options; ++i)
        out += static_cast<char>('0' + bytes[i]);
    return out;
}

const char* const Patterns[] = {
    "10110011100011101101", "01001100011100010010", "11111111111111111111",
    "00000000000000000000", "10000000000001100011",
};

TEST_F(OptionsDialog, OptionsToDialogSetsEveryBoxInOrder)
{
    for (const char* pattern : Patterns) {
        SetChecks(std::string(20, pattern[0] == '1' ? '0' : '1'));
        OptionsToDialog(Dialog, FromFlags(pattern));
        EXPECT_EQ(pattern, Checks());
    }
}

TEST_F(OptionsDialog, OptionsToDialogEnablesTheShellBoxesWithShellIntegrationOnly)
{
    EnableWindow(GetDlgItem(Dialog, IDC_DESKTOP), FALSE);
    EnableWindow(GetDlgItem(Dialog, 5101), FALSE);
    OptionsToDialog(Dialog, FromFlags("11111111111111111011"));   // ShellExt clear
    EXPECT_FALSE(Enabled(IDC_CASCADEDMENU));
    EXPECT_FALSE(Enabled(IDC_MENUICONS));
    EXPECT_TRUE(Enabled(IDC_SHELLEXT));
    OptionsToDialog(Dialog, FromFlags("00000000000000000100"));   // ShellExt set
    EXPECT_TRUE(Enabled(IDC_CASCADEDMENU));
    EXPECT_TRUE(Enabled(IDC_MENUICONS));
    // Nothing else is enabled or disabled.
    EXPECT_FALSE(Enabled(IDC_DESKTOP));
    EXPECT_FALSE(Enabled(5101));
    EXPECT_TRUE(Enabled(IDC_PROGRAMS));
}

TEST_F(OptionsDialog, OptionsFromDialogReadsEveryBoxInOrder)
{
    for (const char* pattern : Patterns) {
        SetChecks(pattern);
        SetupOptions options;
        memset(&options, 7, sizeof options);
        OptionsFromDialog(Dialog, options);
        EXPECT_EQ(pattern, Flags(options));
    }
}

TEST_F(OptionsDialog, UncheckingShellIntegrationDisablesItsBoxesAndKeepsTheirChecks)
{
    for (const char* both : {"11", "10", "01", "00"}) {
        SCOPED_TRACE(both);
        std::string checks = std::string("10101010101010") + "011" + "1" + both;
        OptionsToDialog(Dialog, FromFlags(checks));
        ASSERT_TRUE(Enabled(IDC_CASCADEDMENU));

        Click(IDC_SHELLEXT);
        checks[17] = '0';
        EXPECT_EQ(checks, Checks());
        EXPECT_FALSE(Enabled(IDC_CASCADEDMENU));
        EXPECT_FALSE(Enabled(IDC_MENUICONS));

        Click(IDC_SHELLEXT);
        checks[17] = '1';
        EXPECT_EQ(checks, Checks());
        EXPECT_TRUE(Enabled(IDC_CASCADEDMENU));
        EXPECT_TRUE(Enabled(IDC_MENUICONS));
    }
}

TEST_F(OptionsDialog, SelectAllChecksTheFourteenGroupsOnly)
{
    for (const char* pattern : Patterns) {
        SetChecks(pattern);
        Click(IDC_SELECTALL);
        EXPECT_EQ(std::string(14, '1') + std::string(pattern + 14), Checks());
    }
    SetChecks("00000000000000101010");
    SelectAllAssociations(Dialog);
    EXPECT_EQ("11111111111111101010", Checks());
}

}  // namespace
