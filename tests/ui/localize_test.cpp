// DialogCommon's localization, run in this process: translated captions and control
// texts, rescaling by the formulas of the scale line (rectangles before and after),
// right-to-left layout, the combo box rule and the limit of 512 visited children.
#include <gtest/gtest.h>

#include "app/app_state.h"
#include "bed.h"
#include "driver.h"
#include "lang/dialog_common.h"
#include "lang/language_text.h"
#include "resource_ids.h"
#include "ui/done_dialog.h"
#include "ui/setup_dialog.h"
#include "ui_support.h"

namespace {

struct Layout {
    RECT Outer;
    RECT Client;
    std::vector<RECT> Children;   // screen rectangles, child order
    POINT ClientOrigin;
};

Layout Measure(HWND dialog)
{
    Layout layout = {};
    GetWindowRect(dialog, &layout.Outer);
    GetClientRect(dialog, &layout.Client);
    POINT origin = {0, 0};
    ClientToScreen(dialog, &origin);
    layout.ClientOrigin = origin;
    for (HWND child : driver::Children(dialog))
        layout.Children.push_back(driver::ScreenRect(child));
    return layout;
}

Layout MeasureDialog(const char* name, DLGPROC proc)
{
    ui::ModalDialog dialog(name, proc);
    HWND window = dialog.Window();
    if (!window)
        return Layout();
    return Measure(window);
}

class LocalizeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::PrepareProcess();
        ui::DeleteProductRoot();
        SilentMode = false;
        Folder = bed::ScratchFolder("ui-localize");
    }
    void TearDown() override
    {
        ui::UnloadLanguage();
        ui::DeleteProductRoot();
        bed::RemoveTree(Folder);
    }
    void Load(const std::vector<ui::Translation>& entries)
    {
        ui::LoadLanguage(ui::WriteLanguageFile(Folder, entries));
        ASSERT_TRUE(Language.HasText());
    }
    std::string Folder;
};

TEST_F(LocalizeTest, CaptionsAndControlTextsAreTranslatedInTheirDialogsContext)
{
    Load({
        {'$', "SETUPDLG", ui::Ansi("Zelkor 简体中文版安装"), "Zelkor Setup"},
        {'$', "SETUPDLG", ui::Ansi("确定"), "OK"},
        {'$', "SETUPDLG", "KPX(&R)", "KPX archives(&R)"},
        {'$', "DONEDLG", ui::Ansi("帮助"), "wrong context"},
        {'$', "CONTEXTITEMS", ui::Ansi("取消"), "Cancel"},
    });
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(driver::Text(window), "Zelkor Setup");
    EXPECT_EQ(driver::ControlText(window, IDOK), "OK");
    EXPECT_EQ(driver::ControlText(window, 5101), "KPX archives(&R)");
    EXPECT_EQ(driver::ControlText(window, IDC_HELPBUTTON), ui::Ansi("帮助"));
    EXPECT_EQ(driver::ControlText(window, 5103), "CAB");
    driver::Click(window, IDC_CONTEXTITEMS);
    HWND items = driver::WaitForOwnedWindow(window, 10000);
    ASSERT_NE(items, nullptr);
    EXPECT_EQ(driver::ControlText(items, IDCANCEL), "Cancel");
    EXPECT_EQ(driver::ControlText(items, IDOK), ui::Ansi("确定"));
}

TEST_F(LocalizeTest, WithoutAFileTheTemplatesAreShownUnchanged)
{
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(driver::ControlText(window, IDOK), ui::Ansi("确定"));
    EXPECT_EQ(driver::ControlText(window, IDC_EXPLANATION).substr(0, 3), "   ");
    EXPECT_EQ(driver::ExStyle(window) & WS_EX_LAYOUTRTL, 0);
}

// The expected layout after scaling, computed from the unscaled one by the formulas.
void ExpectScaled(const Layout& before, const Layout& after, int width, int height)
{
    int bw = before.Outer.right - before.Outer.left + 1 - before.Client.right;
    int bh = before.Outer.bottom - before.Outer.top + 1 - before.Client.bottom;
    EXPECT_EQ(after.Outer.left, before.Outer.left);
    EXPECT_EQ(after.Outer.top, before.Outer.top);
    EXPECT_EQ(after.Outer.right - after.Outer.left, before.Client.right * width / 100 + bw);
    EXPECT_EQ(after.Outer.bottom - after.Outer.top, before.Client.bottom * height / 100 + bh);
    int childBh = bh - GetSystemMetrics(SM_CYDLGFRAME);
    ASSERT_EQ(after.Children.size(), before.Children.size());
    for (size_t i = 0; i < before.Children.size(); ++i) {
        const RECT& b = before.Children[i];
        const RECT& a = after.Children[i];
        EXPECT_EQ(a.left - after.ClientOrigin.x, (b.left - before.Outer.left - bw / 2) * width / 100) << i;
        EXPECT_EQ(a.top - after.ClientOrigin.y, (b.top - before.Outer.top - childBh) * height / 100) << i;
        EXPECT_EQ(a.right - a.left, (b.right - b.left + 1) * width / 100) << i;
        EXPECT_EQ(a.bottom - a.top, (b.bottom - b.top + 1) * height / 100) << i;
    }
}

struct ScaleCase {
    const char* Name;
    const char* Template;
    const char* Value;
    int Width;
    int Height;
};

class ScaleTest : public LocalizeTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaleTest, DialogAndEveryControlFollowTheFormulas)
{
    const ScaleCase& c = GetParam();
    DLGPROC proc = strcmp(c.Template, DLG_DONE) == 0 ? DoneDialogProc : SetupDialogProc;
    Layout before = MeasureDialog(c.Template, proc);
    ASSERT_FALSE(before.Children.empty());
    Load({{'$', c.Template, "", c.Value}});
    Layout after = MeasureDialog(c.Template, proc);
    ExpectScaled(before, after, c.Width, c.Height);
    if (c.Width == 100) {
        for (size_t i = 0; i < before.Children.size(); ++i)
            EXPECT_EQ(after.Children[i].right - after.Children[i].left,
                      before.Children[i].right - before.Children[i].left + 1) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, ScaleTest,
                         ::testing::Values(ScaleCase{"Setup120x110", DLG_SETUP, "120*110", 120, 110},
                                           ScaleCase{"Setup100x110", DLG_SETUP, "100*110", 100, 110},
                                           ScaleCase{"Done125x100", DLG_DONE, " 125*100", 125, 100}),
                         [](const ::testing::TestParamInfo<ScaleCase>& info) { return info.param.Name; });

TEST_F(LocalizeTest, ScaleLineOfOneDialogLeavesTheOthersAlone)
{
    Layout before = MeasureDialog(DLG_DONE, DoneDialogProc);
    Load({{'$', DLG_SETUP, "", "150*150"}});
    Layout after = MeasureDialog(DLG_DONE, DoneDialogProc);
    ASSERT_EQ(after.Children.size(), before.Children.size());
    EXPECT_EQ(after.Outer.right - after.Outer.left, before.Outer.right - before.Outer.left);
    for (size_t i = 0; i < before.Children.size(); ++i)
        EXPECT_TRUE(EqualRect(&before.Children[i], &after.Children[i])) << i;
}

TEST_F(LocalizeTest, RtlLineMirrorsEveryDialog)
{
    Load({{'$', "LTR", "LTR", "RTL"}});
    ASSERT_TRUE(Language.RightToLeft);
    ui::ModalDialog dialog(DLG_SETUP, SetupDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(driver::ExStyle(window) & WS_EX_LAYOUTRTL, 0);
    driver::Click(window, IDC_CONTEXTITEMS);
    HWND items = driver::WaitForOwnedWindow(window, 10000);
    ASSERT_NE(items, nullptr);
    EXPECT_NE(driver::ExStyle(items) & WS_EX_LAYOUTRTL, 0);
}

// ---- dialogs built in memory for the combo box rule and the child limit

// A DLGTEMPLATE with the font "MS Shell Dlg" 8; items are (class atom, style, x, y, w, h, id, text).
class TemplateBuilder {
public:
    explicit TemplateBuilder(int width, int height)
    {
        Words = {LOWORD(Style), HIWORD(Style), 0, 0, 0, 10, 10, (WORD)width, (WORD)height, 0, 0};
        Text(L"test");
        Words.push_back(8);
        Text(L"MS Shell Dlg");
    }
    void Add(WORD atom, DWORD style, int x, int y, int w, int h, int id, const wchar_t* text)
    {
        while (Words.size() % 2)
            Words.push_back(0);
        style |= WS_CHILD | WS_VISIBLE;
        Words.insert(Words.end(), {LOWORD(style), HIWORD(style), 0, 0, (WORD)x, (WORD)y, (WORD)w, (WORD)h,
                                   (WORD)id, 0xFFFF, atom});
        Text(text);
        Words.push_back(0);
        ++Words[4];
    }
    std::vector<WORD> Words;

private:
    void Text(const wchar_t* s)
    {
        for (; *s; ++s)
            Words.push_back(*s);
        Words.push_back(0);
    }
    static const DWORD Style = WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
};

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    DialogCommon(dialog, message, wParam, 0, "TESTDLG");
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, 0);
    return message == WM_INITDIALOG;
}

const WORD ComboAtom = 0x0085, StaticAtom = 0x0082;

TEST_F(LocalizeTest, DropDownCombosGetTheirListHeightAndSimpleCombosDoNot)
{
    TemplateBuilder builder(200, 150);
    builder.Add(ComboAtom, CBS_DROPDOWNLIST, 10, 10, 80, 60, 10, L"");
    builder.Add(ComboAtom, CBS_DROPDOWN, 100, 10, 80, 60, 11, L"");
    builder.Add(ComboAtom, CBS_SIMPLE, 10, 80, 80, 50, 12, L"");

    RECT drop[2] = {}, closed[3] = {};
    {
        ui::ModalDialog dialog(builder.Words, TestDialogProc);
        HWND window = dialog.Window();
        ASSERT_NE(window, nullptr);
        for (int i = 0; i < 3; ++i)
            closed[i] = driver::ScreenRect(GetDlgItem(window, 10 + i));
        for (int i = 0; i < 2; ++i)
            SendDlgItemMessageA(window, 10 + i, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop[i]));
    }
    Load({{'$', "TESTDLG", "", "100*200"}});
    ui::ModalDialog dialog(builder.Words, TestDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    // The combo control turns the height it is given into its list extent; without the
    // rule it would be given only its doubled closed height.
    for (int i = 0; i < 2; ++i) {
        int closedHeight = closed[i].bottom - closed[i].top;
        RECT after = {};
        SendDlgItemMessageA(window, 10 + i, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&after));
        EXPECT_GE(after.bottom - after.top, (drop[i].bottom - drop[i].top + 1) * 2) << "combo " << 10 + i;
        EXPECT_LE(after.bottom - after.top, (drop[i].bottom - drop[i].top + 1) * 2 + (closedHeight + 1) * 2)
            << "combo " << 10 + i;
    }
    RECT simple = driver::ScreenRect(GetDlgItem(window, 12));
    EXPECT_EQ(simple.bottom - simple.top, (closed[2].bottom - closed[2].top + 1) * 2);
}

TEST_F(LocalizeTest, AtMost512ChildrenAreVisited)
{
    TemplateBuilder builder(400, 300);
    for (int i = 0; i < 520; ++i)
        builder.Add(StaticAtom, SS_LEFT, (i % 26) * 15, (i / 26) * 12, 14, 10, 1000 + i, L"T");
    Load({{'$', "TESTDLG", "T", "U"}, {'$', "TESTDLG", "", "100*110"}});
    ui::ModalDialog dialog(builder.Words, TestDialogProc);
    HWND window = dialog.Window();
    ASSERT_NE(window, nullptr);
    std::vector<HWND> children = driver::Children(window);
    ASSERT_EQ(children.size(), 520u);
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(driver::Text(children[i]), i < 512 ? "U" : "T") << i;
    RECT first = driver::ScreenRect(children[0]), last = driver::ScreenRect(children[519]);
    RECT previous = driver::ScreenRect(children[518]);
    EXPECT_EQ(last.right - last.left, previous.right - previous.left);   // both untouched
    EXPECT_EQ(first.right - first.left, last.right - last.left + 1);     // widened by one
}

}  // namespace
