#include <gtest/gtest.h>

#include <vector>

#include "../../shell/tests/ShellTestSupport.h"
#include "dialogs/FolderDialog.h"
#include "res/UiShellRes.h"

namespace {

// The folder dialog with hooks for the test: a script run once the dialog is up, and a count
// of the steps its initial-selection worker sends.
class CScriptedFolderDialog : public CFolderDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    std::function<void(CScriptedFolderDialog&)> onShown;
    std::function<void(CScriptedFolderDialog&, WPARAM)> onStep;
    std::vector<WPARAM> steps;
    bool threadAtInit = false;

    BOOL OnInitDialog() override
    {
        BOOL result = CFolderDialog::OnInitDialog();
        threadAtInit = m_pSelectThread != nullptr;
        if (onShown)
            onShown(*this);
        return result;
    }
    LRESULT OnCountedStep(WPARAM step, LPARAM lParam)
    {
        steps.push_back(step);
        if (onStep)
            onStep(*this, step);
        return OnSelectStep(step, lParam);
    }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    bool Shown(int id) const { return (::GetWindowLongPtrW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    void Click(int id) { ::PostMessageW(Item(id), BM_CLICK, 0, 0); }
    CString EditText() const { return m_comboPattern.GetEditText(); }
};

FW_BEGIN_MESSAGE_MAP(CScriptedFolderDialog, CFolderDialog)
    FwOnMessage(WM_FOLDER_SELECT_STEP, &ThisClass::OnCountedStep),
FW_END_MESSAGE_MAP()

// Runs `check` every 50 ms until it answers true, then `then` (all inside the dialog's loop).
void WhenReady(std::function<bool()> check, std::function<void()> then, int triesLeft = 200)
{
    RunLater(50, [=] {
        if (check() || triesLeft <= 0)
            then();
        else
            WhenReady(check, then, triesLeft - 1);
    });
}

struct FolderDialogFixture : ::testing::Test {
    CTempFolder folder{L"uishell-dialog"};
    void SetUp() override
    {
        for (const wchar_t* name : {L"Pictures", L"Pictures\\Cats", L"Pictures\\Dogs", L"Music"})
            folder.MakeFolder(name);
    }
};

TEST_F(FolderDialogFixture, SelectsTheInitialFolderAndReturnsTheChoices)
{
    CScriptedFolderDialog dialog;
    dialog.m_strTitle = L"Add a folder";
    dialog.m_strInitialFolder = folder.Path(L"Pictures\\Cats");
    dialog.m_strPatternList = L"*.gif|*.gif;*.png";
    dialog.m_strPresets = L"Animations|*.gif|Pictures|*.gif;*.png;*.jpg";
    dialog.m_nInitialPreset = 1;
    dialog.m_strPrompt = L"Where are the animations?";
    CString caption, prompt, shownPattern, selectedAtStart, tip;
    bool presetsVisible = false;
    dialog.onShown = [&](CScriptedFolderDialog& d) {
        caption = d.GetWindowText();
        prompt = d.GetDlgItemText(IDC_FOLDER_PROMPT);
        shownPattern = d.EditText();
        presetsVisible = d.Shown(IDC_FOLDER_PRESETS);
        CString cats = folder.Path(L"Pictures\\Cats");
        WhenReady([&d, cats] { return !d.m_pSelectThread && d.m_tree.GetSelectedPath().CompareNoCase(cats) == 0; },
                  [&d, &selectedAtStart] {
                      selectedAtStart = d.m_tree.GetSelectedPath();
                      // The user ticks the box, types a pattern and presses OK.
                      d.Click(IDC_FOLDER_SCAN_SUBFOLDERS);
                      d.m_comboPattern.SetEditText(L"*.gif;*.webp");
                      d.Click(IDOK);
                  });
    };
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.threadAtInit);
    EXPECT_EQ(caption, CString(L"Add a folder"));
    EXPECT_EQ(prompt, CString(L"Where are the animations?"));
    EXPECT_EQ(shownPattern, CString(L"*.gif;*.png;*.jpg"));
    EXPECT_TRUE(presetsVisible);
    EXPECT_EQ(selectedAtStart.CompareNoCase(folder.Path(L"Pictures\\Cats")), 0);
    EXPECT_EQ(dialog.m_strFolder.CompareNoCase(folder.Path(L"Pictures\\Cats")), 0);
    EXPECT_EQ(dialog.m_strPattern, CString(L"*.gif;*.webp"));
    EXPECT_EQ(dialog.m_bScanSubfolders, 1);
    EXPECT_EQ(dialog.m_pSelectThread, nullptr);
}

TEST_F(FolderDialogFixture, EmptyPatternBecomesStarAndAMissingFolderSelectsNothing)
{
    CScriptedFolderDialog dialog;
    dialog.m_strInitialFolder = folder.Path(L"Nowhere");
    CString caption, shownPattern;
    bool presetsVisible = true, atDesktop = false;
    dialog.onShown = [&](CScriptedFolderDialog& d) {
        caption = d.GetWindowText();
        presetsVisible = d.Shown(IDC_FOLDER_PRESETS);
        RunLater(300, [&] {
            // Nothing, or the desktop that the tree takes when it gets the focus.
            HTREEITEM selected = d.m_tree.GetSelectedItem();
            atDesktop = !selected || selected == d.m_tree.GetRootItem();
            shownPattern = d.EditText();
            d.Click(IDOK);
        });
    };
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(caption, CString(L"Select a Folder"));
    EXPECT_FALSE(presetsVisible);
    EXPECT_FALSE(dialog.threadAtInit);
    EXPECT_TRUE(dialog.steps.empty());
    EXPECT_TRUE(atDesktop);
    EXPECT_EQ(shownPattern, CString());
    EXPECT_EQ(dialog.m_strPattern, CString(L"*"));
    EXPECT_EQ(dialog.m_bScanSubfolders, 0);
}

// Cancel pressed while the worker is still walking down a deep path: the walk stops, the
// worker is waited for, and the dialog closes at once.
TEST_F(FolderDialogFixture, CancelWhileTheInitialSelectionRuns)
{
    CString deep = folder.Path(L"Deep");
    folder.MakeFolder(L"Deep");
    for (int i = 0; i < 12; i++) {
        deep += L"\\Level";
        ::CreateDirectoryW(deep, nullptr);
    }
    CScriptedFolderDialog dialog;
    dialog.m_strInitialFolder = deep;
    size_t stepsAtCancel = 0;
    dialog.onStep = [&](CScriptedFolderDialog& d, WPARAM step) {
        if (step == 3) {
            stepsAtCancel = d.steps.size();
            d.Click(IDCANCEL);
        }
    };
    ASSERT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.threadAtInit);
    EXPECT_EQ(dialog.m_pSelectThread, nullptr);
    ASSERT_GT(stepsAtCancel, 0u);
    // A step or two may already be on its way when Cancel is handled; never the whole walk.
    EXPECT_LT(dialog.steps.size(), stepsAtCancel + 3);
    EXPECT_EQ(dialog.m_strFolder, CString());
    PumpFor(200);   // the worker's late finished message finds no window and does no harm
}

// The preset button's menu lists the presets; a choice puts its patterns in the box, as does
// choosing an entry of the box itself.
TEST_F(FolderDialogFixture, PresetMenuAndPatternList)
{
    CScriptedFolderDialog dialog;
    dialog.m_strPatternList = L"Animations|Pictures";
    dialog.m_strPresets = L"Animations|*.gif|Pictures|*.gif;*.png;*.jpg";
    dialog.m_strPattern = L"*.bmp";
    CString fromMenu, menuEntries, fromList, firstShown;
    dialog.onShown = [&](CScriptedFolderDialog& d) {
        firstShown = d.EditText();
        RunLater(100, [&] {
            d.Click(IDC_FOLDER_PRESETS);
            WhenReady([] { return FindThreadWindow(L"#32768", nullptr) != nullptr; }, [&] {
                HWND menu = FindThreadWindow(L"#32768", nullptr);
                HMENU handle = reinterpret_cast<HMENU>(::SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
                for (int i = 0; i < ::GetMenuItemCount(handle); i++) {
                    wchar_t text[64] = L"";
                    ::GetMenuStringW(handle, i, text, 64, MF_BYPOSITION);
                    menuEntries += CString(text) + L";";
                }
                for (UINT key : {VK_DOWN, VK_RETURN})
                    ::PostMessageW(menu, WM_KEYDOWN, key, 0);
                RunLater(200, [&] {
                    fromMenu = d.EditText();
                    // The user opens the box's list and clicks its second entry.
                    d.m_comboPattern.ShowDropDown(TRUE);
                    HWND list = FindThreadWindow(L"ComboLBox", nullptr);
                    RECT entry{};
                    ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&entry));
                    LPARAM at = MAKELPARAM(entry.left + 5, (entry.top + entry.bottom) / 2);
                    ::PostMessageW(list, WM_MOUSEMOVE, 0, at);
                    ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
                    ::PostMessageW(list, WM_LBUTTONUP, 0, at);
                    RunLater(200, [&] {
                        fromList = d.EditText();
                        d.Click(IDOK);
                    });
                });
            });
        });
    };
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(firstShown, CString(L"*.bmp"));
    EXPECT_EQ(menuEntries, CString(L"Animations;Pictures;"));
    EXPECT_EQ(fromMenu, CString(L"*.gif"));
    EXPECT_EQ(fromList, CString(L"*.gif;*.png;*.jpg"));   // the preset's patterns, not the entry's name
    EXPECT_EQ(dialog.m_strPattern, CString(L"*.gif;*.png;*.jpg"));
}

} // namespace
