// The completion dialog, run in this process on a worker thread: the folder it names,
// the bold thanks line, what its five buttons start, and how it ends.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "bed.h"
#include "driver.h"
#include "resource_ids.h"
#include "ui/done_dialog.h"
#include "ui_support.h"

namespace {

// An installation folder whose path has a blank, with the recorder as Zelkor.exe, and a
// decoy recorder where an unquoted command line would be tried first.
class DoneDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::PrepareProcess();
        SilentMode = false;
        Base = bed::ScratchFolder("ui-done");
        Folder = Base + "\\Zelkor Suite";
        CreateDirectoryA(Folder.c_str(), nullptr);
        Recorder = bed::BuildPath("tests/ui/ui_recorder.exe");
        ASSERT_TRUE(bed::CopyFileTo(Recorder, Folder + "\\Zelkor.exe")) << Recorder;
        ASSERT_TRUE(bed::CopyFileTo(Recorder, Base + "\\Zelkor.exe"));
        bed::WriteFileBytes(Folder + "\\license.txt", "licence");
        bed::WriteFileBytes(Folder + "\\order.htm", "<html></html>");
        char previous[1024] = "";
        GetCurrentDirectoryA(sizeof previous, previous);
        Previous = previous;
        SetCurrentDirectoryA(Folder.c_str());
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(Previous.c_str());
        SilentMode = false;
        Sleep(200);
        bed::RemoveTree(Base);
    }

    // Waits until recorded.txt in folder holds at least one line.
    std::string WaitForRecord(const std::string& folder, DWORD timeoutMs = 15000)
    {
        DWORD start = GetTickCount();
        for (;;) {
            std::string text = bed::ReadFileBytes(folder + "\\recorded.txt");
            if (!text.empty() && text.back() == '\n')
                return text;
            if (GetTickCount() - start > timeoutMs)
                return text;
            Sleep(50);
        }
    }

    std::string Base, Folder, Recorder, Previous;
};

TEST_F(DoneDialogTest, ShowsTheCurrentFolderTheIconAndTheBoldThanks)
{
    ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(driver::ControlText(window, IDC_DONE_FOLDER), Folder);
    EXPECT_EQ(driver::ControlText(window, IDC_DONE_THANKS), ui::Ansi("感谢使用 Zelkor 简体中文版!"));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendDlgItemMessageA(window, IDC_DONE_THANKS, WM_GETFONT, 0, 0)), BoldFont);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), ProgramIcon);
    driver::Click(window, IDOK);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 1);
}

TEST_F(DoneDialogTest, TheFolderIsNeverTranslated)
{
    std::string lngFolder = bed::ScratchFolder("ui-done-lng");
    std::string lng = ui::WriteLanguageFile(lngFolder, {
        {'$', "DONEDLG", Folder, "translated folder"},
        {'$', "DONEDLG", ui::Ansi("完成"), "Finish"},
    });
    ui::LoadLanguage(lng);
    {
        ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(driver::ControlText(window, IDOK), "Finish");
        EXPECT_EQ(driver::ControlText(window, IDC_DONE_FOLDER), Folder);
    }
    ui::UnloadLanguage();
    bed::RemoveTree(lngFolder);
}

TEST_F(DoneDialogTest, RunStartsZelkorExeOfTheFolderAndTheDialogStays)
{
    ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::Click(window, IDC_DONE_RUN);
    std::string record = WaitForRecord(Folder);
    EXPECT_EQ(record, "\"" + Folder + "\\Zelkor.exe\"|" + Folder + "\n");
    EXPECT_FALSE(bed::FileExists(Base + "\\recorded.txt")) << "the decoy ran";
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(DoneDialogTest, RunAtADriveRootHasNoDoubledSeparator)
{
    std::string root = "C:\\Zelkor.exe";
    if (bed::FileExists(root))
        GTEST_SKIP() << "C:\\Zelkor.exe exists already";
    ASSERT_TRUE(bed::CopyFileTo(Recorder, root));
    SetCurrentDirectoryA("C:\\");
    {
        ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(driver::ControlText(window, IDC_DONE_FOLDER), "C:\\");
        driver::Click(window, IDC_DONE_RUN);
        std::string record = WaitForRecord("C:");
        EXPECT_EQ(record.substr(0, record.find('|')), "\"C:\\Zelkor.exe\"");
    }
    Sleep(200);
    DeleteFileA(root.c_str());
    DeleteFileA("C:\\recorded.txt");
}

// The shell opens the licence and the order page with whatever the prefix associates with
// .txt and .htm; for the test that is the recorder.
class DoneDialogShellTest : public DoneDialogTest {
protected:
    void SetUp() override
    {
        DoneDialogTest::SetUp();
        Viewer = Base + "\\viewer";
        CreateDirectoryA(Viewer.c_str(), nullptr);
        ASSERT_TRUE(bed::CopyFileTo(Recorder, Viewer + "\\viewer.exe"));
        std::string command = "\"" + Viewer + "\\viewer.exe\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, "ZelkorTest.Viewer\\shell\\open\\command", REG_SZ,
                     command.c_str(), (DWORD)command.size());
        Txt.Set("ZelkorTest.Viewer");
        Htm.Set("ZelkorTest.Viewer");
        Https.Set(command);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "ZelkorTest.Viewer");
        DoneDialogTest::TearDown();
    }
    ui::ClassKeyGuard Txt{".txt"}, Htm{".htm"}, Https{"https\\shell\\open\\command"};
    std::string Viewer;
};

struct ShellCase {
    const char* Name;
    int Button;
    const char* File;
};

class DoneShellButtonTest : public DoneDialogShellTest, public ::testing::WithParamInterface<ShellCase> {};

TEST_P(DoneShellButtonTest, OpensTheFileOfTheFolderThroughTheShell)
{
    ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::Click(window, GetParam().Button);
    std::string record = WaitForRecord(Viewer);
    ASSERT_FALSE(record.empty());
    std::string expected = Folder + "\\" + GetParam().File;
    EXPECT_NE(record.find(expected), std::string::npos) << record;
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(DoneDialogShellTest, HomePageOpensTheTranslatedAddressOfString5112)
{
    std::string lngFolder = bed::ScratchFolder("ui-done-home");
    ui::LoadLanguage(ui::WriteLanguageFile(lngFolder, {
        {'s', "", "https://zelkor.example/", "https://translated.example/zelkor"},
    }));
    {
        ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr);
        driver::Click(window, IDC_DONE_HOME);
        std::string record = WaitForRecord(Viewer);
        EXPECT_NE(record.find("https://translated.example/zelkor"), std::string::npos) << record;
    }
    ui::UnloadLanguage();
    bed::RemoveTree(lngFolder);
}

INSTANTIATE_TEST_SUITE_P(Buttons, DoneShellButtonTest,
                         ::testing::Values(ShellCase{"Licence", IDC_DONE_LICENSE, "license.txt"},
                                           ShellCase{"OrderPage", IDC_DONE_ORDER, "order.htm"}),
                         [](const ::testing::TestParamInfo<ShellCase>& info) { return info.param.Name; });

TEST_F(DoneDialogTest, HelpButtonOpensTheContentsAndF1OpensNothing)
{
    ui::HelpReceiver help;
    ASSERT_NE(help.Window, nullptr);
    ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    driver::TypeKey(window, VK_F1);
    Sleep(300);
    EXPECT_TRUE(help.Requests().empty());
    driver::Click(window, IDC_DONE_HELP);
    ASSERT_TRUE(help.WaitFor(1, 5000));
    std::vector<ui::HelpRequest> requests = help.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].Command, (UINT)HELP_FINDER);
    EXPECT_EQ(requests[0].Data, 0);
    EXPECT_EQ(requests[0].File, "zelkor.hlp");
}

struct EndCase {
    const char* Name;
    int How;   // 0 Esc, 1 close box, 2 Finish
};

class DoneEndTest : public DoneDialogTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(DoneEndTest, EndsWithOne)
{
    ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    if (GetParam().How == 0)
        driver::PressKey(window, VK_ESCAPE);
    else if (GetParam().How == 1)
        PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    else
        driver::Click(window, IDOK);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 1);
}

INSTANTIATE_TEST_SUITE_P(Ways, DoneEndTest,
                         ::testing::Values(EndCase{"Esc", 0}, EndCase{"CloseBox", 1}, EndCase{"Finish", 2}),
                         [](const ::testing::TestParamInfo<EndCase>& info) { return info.param.Name; });

TEST_F(DoneDialogTest, SilentModeEndsAtOnceWithOneAndStartsNothing)
{
    SilentMode = true;
    ui::ModalDialog dialog(DLG_DONE, DoneDialogProc);
    ASSERT_TRUE(dialog.Finished());
    EXPECT_EQ(dialog.Result(), 1);
    Sleep(300);
    EXPECT_FALSE(bed::FileExists(Folder + "\\recorded.txt"));
}

}  // namespace
