// The English language pack, each way of installing it: the translation file
// lang/en/uninstall.lng (code page 936, where its keys of the Chinese texts apply) and the
// resource library kpxlng.dll. Every dialog shows only English, every text fits its control
// when measured with the control's own font, and every message is English, also in the
// message boxes of the built uninstall.exe.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "bed.h"
#include "driver.h"
#include "lang/language_text.h"
#include "lang/resource_module.h"
#include "resource_ids.h"
#include "ui/done_dialog.h"
#include "ui/setup_dialog.h"
#include "ui_support.h"

namespace {

enum class Pack { LanguageFile, Library };

struct PackCase {
    const char* Name;
    Pack Kind;
};

bool IsPlainAscii(const std::string& text)
{
    for (unsigned char c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// The room a control leaves for its text, and the flags to measure the text with.
struct TextRoom {
    int Width;
    int Height;
    UINT Flags;
};

bool RoomFor(HWND control, TextRoom* room)
{
    RECT r = {};
    GetClientRect(control, &r);
    std::string kind = driver::ClassOf(control);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    room->Width = r.right;
    room->Height = r.bottom;
    room->Flags = DT_CALCRECT;
    if (_stricmp(kind.c_str(), "Button") == 0) {
        switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX:
            room->Width -= 2 * 8;   // the caption sits in the frame line, inset on both sides
            room->Flags |= DT_SINGLELINE;
            return true;
        case BS_AUTOCHECKBOX:
        case BS_CHECKBOX:
            room->Width -= GetSystemMetrics(SM_CXMENUCHECK) + 4;   // box and gap
            room->Flags |= DT_SINGLELINE;
            return true;
        default:
            room->Width -= 2 * 3;   // frame and focus rectangle
            room->Height -= 2 * 2;
            room->Flags |= DT_SINGLELINE;
            return true;
        }
    }
    if (_stricmp(kind.c_str(), "Static") == 0) {
        room->Flags |= DT_WORDBREAK;
        return (style & SS_TYPEMASK) <= SS_RIGHT;
    }
    if (_stricmp(kind.c_str(), "RICHEDIT") == 0) {
        room->Width -= GetSystemMetrics(SM_CXVSCROLL) + 2;
        room->Flags |= DT_WORDBREAK;
        return true;
    }
    return false;
}

// Measures the text with the control's font; empty when it fits, else a description.
std::string Clipping(HWND control)
{
    TextRoom room;
    if (!RoomFor(control, &room))
        return "";
    std::string text = driver::Text(control);
    if (text.empty())
        return "";
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    RECT need = {0, 0, room.Width, 0};
    DrawTextA(dc, text.c_str(), -1, &need, room.Flags);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (need.right <= room.Width && need.bottom <= room.Height)
        return "";
    char out[256];
    snprintf(out, sizeof out, " needs %ldx%ld, has %dx%d", need.right, need.bottom, room.Width, room.Height);
    return "\"" + text + "\"" + out;
}

void ExpectEnglishAndUnclipped(HWND dialog, const char* name)
{
    std::string caption = driver::Text(dialog);
    EXPECT_FALSE(caption.empty()) << name;
    EXPECT_TRUE(IsPlainAscii(caption)) << name << ": " << caption;
    for (HWND child : driver::Children(dialog)) {
        int id = GetDlgCtrlID(child);
        if (strcmp(name, DLG_DONE) == 0 && id == IDC_DONE_FOLDER)
            continue;   // the folder, filled in at run time
        std::string text = driver::Text(child);
        EXPECT_TRUE(IsPlainAscii(text)) << name << " control " << id << ": " << text;
        std::string clipped = Clipping(child);
        EXPECT_TRUE(clipped.empty()) << name << " control " << id << ": " << clipped;
    }
}

class EnglishPackTest : public ::testing::TestWithParam<PackCase> {
protected:
    void SetUp() override
    {
        ui::PrepareProcess();
        ui::DeleteProductRoot();
        SilentMode = false;
        if (GetParam().Kind == Pack::LanguageFile) {
            if (!bed::CodePage936())
                GTEST_SKIP() << "the translation file's keys are those of code page 936";
            ui::LoadLanguage(bed::SourcePath("lang/en/uninstall.lng"));
            ASSERT_TRUE(Language.HasText());
        } else {
            Library = LoadLibraryA(bed::BuildPath("lang/kpxlng.dll").c_str());
            ASSERT_NE(Library, nullptr) << bed::BuildPath("lang/kpxlng.dll");
            CurrentResourceModule = Library;
        }
    }
    void TearDown() override
    {
        ui::UnloadLanguage();
        CurrentResourceModule = OwnInstance;
        if (Library)
            FreeLibrary(Library);
        ui::DeleteProductRoot();
    }
    HMODULE Library = nullptr;
};

struct DialogCase {
    const char* Name;
    DLGPROC Proc;
};

TEST_P(EnglishPackTest, EveryDialogIsEnglishAndNoTextIsClipped)
{
    const DialogCase dialogs[] = {{DLG_SETUP, SetupDialogProc},
                                  {DLG_CONTEXTITEMS, ContextItemsDialogProc},
                                  {DLG_DONE, DoneDialogProc}};
    for (const DialogCase& d : dialogs) {
        ui::ModalDialog dialog(d.Name, d.Proc);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr) << d.Name;
        ExpectEnglishAndUnclipped(window, d.Name);
    }
}

TEST_P(EnglishPackTest, EveryMessageIsEnglish)
{
    for (int id = IDS_DISPLAY_NAME; id <= IDS_RESTART_NEEDED; ++id) {
        std::string text = GetMessageText(id);
        EXPECT_FALSE(text.empty()) << id;
        EXPECT_TRUE(IsPlainAscii(text)) << id << ": " << text;
    }
    EXPECT_STREQ(GetMessageText(IDS_CAPTION), "Uninstall Zelkor");
    EXPECT_STREQ(GetMessageText(IDS_DELETE_BY_HAND), "You should delete %s by hand");
}

INSTANTIATE_TEST_SUITE_P(Packs, EnglishPackTest,
                         ::testing::Values(PackCase{"LanguageFile", Pack::LanguageFile},
                                           PackCase{"Library", Pack::Library}),
                         [](const ::testing::TestParamInfo<PackCase>& info) { return info.param.Name; });

// The built program with the pack beside it, as a user installs it.
class EnglishProgramTest : public ::testing::TestWithParam<PackCase> {
protected:
    void SetUp() override
    {
        if (GetParam().Kind == Pack::LanguageFile && !bed::CodePage936())
            GTEST_SKIP() << "the translation file's keys are those of code page 936";
        Folder = bed::ScratchFolder("ui-english");
        Exe = Folder + "\\uninstall.exe";
        ASSERT_TRUE(bed::CopyFileTo(bed::ProgramPath(), Exe));
        if (GetParam().Kind == Pack::LanguageFile)
            ASSERT_TRUE(bed::CopyFileTo(bed::SourcePath("lang/en/uninstall.lng"), Folder + "\\uninstall.lng"));
        else
            ASSERT_TRUE(bed::CopyFileTo(bed::BuildPath("lang/kpxlng.dll"), Folder + "\\kpxlng.dll"));
    }
    void TearDown() override
    {
        if (!Folder.empty())
            bed::RemoveTree(Folder);
    }
    std::string Folder, Exe;
};

TEST_P(EnglishProgramTest, ManualRemovalNoticeIsEnglish)
{
    bed::RunningProcess process("\"" + Exe + "\" /warning", Folder);
    ASSERT_TRUE(process.Started());
    HWND box = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(box), "Uninstall Zelkor");
    std::vector<std::string> lines = driver::MessageLines(box);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Uninstall finished\nYou should delete " + Exe + " by hand");
    driver::Answer(box, IDOK);
    EXPECT_TRUE(process.Wait(20000));
}

TEST_P(EnglishProgramTest, UninstallConfirmationIsEnglishAndNoKeepsEverything)
{
    bed::RunningProcess process("\"" + Exe + "\"", Folder);
    ASSERT_TRUE(process.Started());
    HWND box = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(driver::Text(box), "Uninstall Zelkor");
    std::vector<std::string> lines = driver::MessageLines(box);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "Do you really want to uninstall Zelkor?");
    driver::Answer(box, IDNO);
    EXPECT_TRUE(process.Wait(20000));
    EXPECT_TRUE(bed::FileExists(Exe));
}

TEST_P(EnglishProgramTest, SetupDialogsAreEnglish)
{
    bed::RunningProcess process("\"" + Exe + "\" /setup", Folder);
    ASSERT_TRUE(process.Started());
    HWND setup = driver::WaitForWindow(process.Id(), 20000);
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(driver::Text(setup), "Zelkor Setup");
    EXPECT_EQ(driver::ControlText(setup, IDC_CONTEXTITEMS), "&Context menu items...");
    driver::PressKey(setup, VK_ESCAPE);
    EXPECT_TRUE(process.Wait(20000));
}

INSTANTIATE_TEST_SUITE_P(Packs, EnglishProgramTest,
                         ::testing::Values(PackCase{"LanguageFile", Pack::LanguageFile},
                                           PackCase{"Library", Pack::Library}),
                         [](const ::testing::TestParamInfo<PackCase>& info) { return info.param.Name; });

}  // namespace
