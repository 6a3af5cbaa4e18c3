// The skinned controls on the screen: button states from an image strip and the classic frame,
// the transparent check box, the colour static and the header.
#include <cstdlib>

#include <gtest/gtest.h>

#include "ColorStatic.h"
#include "HeaderCtrlEx.h"
#include "ListCtrlEx.h"
#include "SkinButton.h"
#include "SkinCheckBox.h"
#include "SkinTestSupport.h"
#include "SmallControls.h"
#include "VisualTheme.h"

FW_BEGIN_MESSAGE_MAP(SkinTestDlg, CFrameDlg)
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnMessage(WM_CTLCOLORSTATIC, &ThisClass::OnCtlColor),
    FwOnMessage(WM_CTLCOLORBTN, &ThisClass::OnCtlColor),
    FwOnControlRange(CBN_EDITCHANGE, IDC_SIZE_COMBO, IDC_SIZE_COMBO, &ThisClass::OnCommandFromCombo),
FW_END_MESSAGE_MAP()

// Records what is relayed to it.
class RecordingToolTip : public CRelayToolTipCtrl {
    FW_DECLARE_MESSAGE_MAP()
public:
    LRESULT OnRelay(WPARAM, LPARAM lParam)
    {
        m_relayed = *reinterpret_cast<const MSG*>(lParam);
        m_count++;
        return Default();
    }
    MSG m_relayed{};
    int m_count = 0;
};

FW_BEGIN_MESSAGE_MAP(RecordingToolTip, CRelayToolTipCtrl)
    FwOnMessage(TTM_RELAYEVENT, &ThisClass::OnRelay),
FW_END_MESSAGE_MAP()

namespace {

const COLORREF kStateColours[5] = {RGB(0, 200, 0), RGB(0, 0, 200), RGB(220, 220, 0), RGB(200, 0, 0), RGB(128, 128, 128)};
constexpr int kPiece = 8;
constexpr int kPieceHeight = 20;

// Five states of three pieces each (left, middle, right), every state in a colour of its own.
void MakeStrip(CImageList& list)
{
    ASSERT_TRUE(list.Create(kPiece, kPieceHeight, ILC_COLOR24 | ILC_MASK, 15, 1));
    HDC screen = ::GetDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen, kPiece * 15, kPieceHeight);
    HDC memory = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    for (int i = 0; i < 15; i++) {
        RECT piece{i * kPiece, 0, (i + 1) * kPiece, kPieceHeight};
        CDC::FromHandle(memory)->FillSolidRect(piece, kStateColours[i / 3]);
    }
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(0, list.Add(&bitmap, RGB(255, 0, 255)));
}

class SkinControlsTest : public SkinDialogTest {
protected:
    void TearDown() override
    {
        ResetUxThemeLibrary();
        SkinDialogTest::TearDown();
    }
};

TEST_F(SkinControlsTest, ImageStripButtonShowsEachState)
{
    CSkinButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_SKIN_BUTTON, &m_dlg));
    EXPECT_EQ(static_cast<DWORD>(BS_OWNERDRAW), button.GetStyle() & BS_TYPEMASK);
    CImageList strip;
    MakeStrip(strip);
    button.SetImageList(&strip, CSkinButton::LAYOUT_HORIZONTAL);
    EXPECT_EQ(kPiece, button.m_frameWidth);
    EXPECT_EQ(kPieceHeight, button.m_frameHeight);
    button.SetDrawMode(CSkinButton::DRAW_IMAGES);
    m_dlg.GetDlgItem(IDC_SKIN_CHECK)->SetFocus();

    RECT r = ScreenRectOf(button);
    auto stateAt = [&](int x) { return ShotOf(button).At(r.left + x, r.top + 4); };
    EXPECT_TRUE(NearColour(kStateColours[0], stateAt(2))) << "normal";
    EXPECT_TRUE(NearColour(kStateColours[0], stateAt((r.right - r.left) / 2 - 20))) << "middle pieces";
    EXPECT_TRUE(NearColour(kStateColours[0], stateAt(r.right - r.left - 2))) << "right piece";
    if (r.bottom - r.top > kPieceHeight + 2) {
        EXPECT_TRUE(NearColour(kTeal, ShotOf(button).At(r.left + 2, r.bottom - 1))) << "the parent's background below the strip";
    }

    MoveMouseTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(PumpUntil([&] { return NearColour(kStateColours[1], stateAt(2)); }, 3000)) << "hot";
    MoveMouseTo(1200, 1000);
    EXPECT_TRUE(PumpUntil([&] { return NearColour(kStateColours[0], stateAt(2)); }, 3000)) << "the pointer left";

    button.SendMessage(BM_SETSTATE, TRUE);
    EXPECT_TRUE(NearColour(kStateColours[3], stateAt(2))) << "pressed";
    button.SendMessage(BM_SETSTATE, FALSE);

    button.SetFocus();
    EXPECT_TRUE(NearColour(kStateColours[2], stateAt(2))) << "focused";
    m_dlg.GetDlgItem(IDC_SKIN_CHECK)->SetFocus();

    button.EnableWindow(FALSE);
    EXPECT_TRUE(NearColour(kStateColours[4], stateAt(2))) << "disabled";
    button.EnableWindow(TRUE);
}

TEST_F(SkinControlsTest, ThemedButtonWithoutVisualStylesDrawsTheClassicFrame)
{
    ResetUxThemeLibrary(L"NoSuchUxTheme.dll");
    CSkinButton button;
    ASSERT_TRUE(button.SubclassDlgItem(IDC_SKIN_BUTTON, &m_dlg));
    button.SetDrawMode(CSkinButton::DRAW_THEME_BUTTON);
    RECT r = ScreenRectOf(button);
    ScreenShot shot = ShotOf(button);
    EXPECT_TRUE(NearColour(::GetSysColor(COLOR_BTNFACE), shot.At(r.left + 4, r.top + 4), 4));
    EXPECT_FALSE(NearColour(kTeal, shot.At(r.left + 4, r.top + 4)));
    // The classic frame's dark outer edge at the bottom right.
    COLORREF edge = shot.At(r.right - 1, r.bottom - 1);
    EXPECT_TRUE(GetRValue(edge) < 128 && GetGValue(edge) < 128) << std::hex << edge;
    // The text in the button text colour: pixels nearer it than the face, since smoothed glyphs
    // (as where a fallback font is linked behind the dialog font) have few pixels of the full colour.
    const auto distance = [](COLORREF a, COLORREF b) {
        return std::abs(int(GetRValue(a)) - int(GetRValue(b))) + std::abs(int(GetGValue(a)) - int(GetGValue(b))) +
               std::abs(int(GetBValue(a)) - int(GetBValue(b)));
    };
    const COLORREF text = ::GetSysColor(COLOR_BTNTEXT), face = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_GT(shot.Count([&](COLORREF c) { return distance(c, text) < distance(c, face); }), 5);
}

TEST_F(SkinControlsTest, CheckBoxIsTransparentWithItsOwnTextColour)
{
    CSkinCheckBox check;
    ASSERT_TRUE(check.SubclassDlgItem(IDC_SKIN_CHECK, &m_dlg));
    EXPECT_TRUE(::GetClassLongPtrW(check.m_hWnd, GCL_STYLE) & CS_DBLCLKS);
    check.SetTextColor(RGB(220, 0, 0));
    RECT r = ScreenRectOf(check);
    ScreenShot plain = ShotOf(check);
    EXPECT_TRUE(NearColour(kTeal, plain.At(r.right - 2, r.top + 2))) << "the parent's background";
    EXPECT_GT(plain.Count(Reddish), 10) << "the text colour";
    auto darkInBox = [&](const ScreenShot& shot) {
        int n = 0;
        for (int y = r.top + 4; y < r.top + 12; y++)
            for (int x = r.left + 3; x < r.left + 11; x++)
                n += GetRValue(shot.At(x, y)) < 80 && GetGValue(shot.At(x, y)) < 80 ? 1 : 0;
        return n;
    };
    const int unchecked = darkInBox(plain);
    check.SetCheck(BST_CHECKED);
    ScreenShot ticked = ShotOf(check);
    EXPECT_GT(darkInBox(ticked), unchecked + 5) << "a check mark in the box";
    EXPECT_TRUE(NearColour(kTeal, ticked.At(r.right - 2, r.top + 2)));
    // A click toggles it, and it still paints its own way.
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(PumpUntil([&] { return check.GetCheck() == BST_UNCHECKED; }, 3000));
    EXPECT_TRUE(NearColour(kTeal, ShotOf(check).At(r.right - 2, r.top + 2)));
}

TEST_F(SkinControlsTest, ColourStaticOnWhiteWhileEnabled)
{
    CColorStatic label;
    ASSERT_TRUE(label.SubclassDlgItem(IDC_SKIN_STATIC, &m_dlg));
    label.SetTextColor(RGB(0, 0, 230));
    RECT r = ScreenRectOf(label);
    ScreenShot shot = ShotOf(label);
    EXPECT_GT(shot.Count(Bluish), 10);
    EXPECT_EQ(RGB(255, 255, 255), shot.At(r.right - 2, r.top + 2));
    label.EnableWindow(FALSE);
    ScreenShot disabled = ShotOf(label);
    EXPECT_EQ(0, disabled.Count(Bluish)) << "disabled: the parent's colours";
    EXPECT_TRUE(NearColour(kTeal, disabled.At(r.right - 2, r.top + 2)));
}

TEST_F(SkinControlsTest, HeaderOnWhiteWithItsDividersAndTextColour)
{
    CListCtrlEx list;
    ASSERT_TRUE(list.SubclassDlgItem(IDC_HEADER_LIST, &m_dlg));
    list.InsertColumnEx(0, L"Input", -1, LVCFMT_LEFT, 120);
    list.InsertColumnEx(1, L"Status", -1, LVCFMT_LEFT, 120);
    CHeaderCtrlEx header;
    ASSERT_TRUE(header.SubclassWindow(list.GetHeaderCtrl()));
    header.SetTextColor(RGB(230, 0, 0));
    header.SetHeight(30);
    // A new size makes the list lay its header out again.
    CRect listRect;
    list.GetWindowRect(&listRect);
    list.SetWindowPos(static_cast<HWND>(nullptr), 0, 0, listRect.Width() + 2, listRect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    CRect headerRect;
    header.GetWindowRect(&headerRect);
    EXPECT_EQ(30, headerRect.Height()) << "the height replaces the system's";
    ScreenShot shot = ShotOf(header);
    EXPECT_GT(shot.Count(Reddish), 10) << "the text colour";
    EXPECT_EQ(RGB(255, 255, 255), shot.At(headerRect.left + 60, headerRect.top + 2));
    EXPECT_EQ(RGB(240, 244, 248), shot.At(headerRect.left + 60, headerRect.bottom - 1));
    CRect item;
    header.GetItemRect(0, &item);
    EXPECT_EQ(RGB(232, 236, 240), shot.At(headerRect.left + item.right - 1, headerRect.top + 15)) << "divider";
    EXPECT_EQ(RGB(255, 255, 255), shot.At(headerRect.left + item.right - 1, headerRect.top + 1)) << "not up to the top";
    header.UnsubclassWindow();
}

TEST_F(SkinControlsTest, BoldTreeItems)
{
    CBoldTreeCtrl tree;
    ASSERT_TRUE(tree.SubclassDlgItem(IDC_TREE, &m_dlg));
    HTREEITEM item = tree.InsertItem(L"Formats");
    EXPECT_TRUE(tree.SetItemBold(item, TRUE));
    EXPECT_TRUE(tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD);
    tree.SetItemBold(item, FALSE);
    EXPECT_FALSE(tree.GetItemState(item, TVIS_BOLD) & TVIS_BOLD);
}

TEST_F(SkinControlsTest, RelayedMovesReachTheWindowUnderThePoint)
{
    RecordingToolTip tips;
    ASSERT_TRUE(tips.Create(&m_dlg));
    CWnd* button = m_dlg.GetDlgItem(IDC_SKIN_BUTTON);
    ASSERT_TRUE(tips.AddTool(button, L"Go now"));
    RECT r = ScreenRectOf(*button);
    POINT inDialog{r.left + 5, r.top + 6};
    m_dlg.ScreenToClient(&inDialog);
    MSG other{};
    other.hwnd = m_dlg.m_hWnd;
    other.message = WM_LBUTTONDOWN;
    other.lParam = MAKELPARAM(inDialog.x, inDialog.y);
    tips.RelayMouseMove(&other);
    EXPECT_EQ(0, tips.m_count) << "only moves";
    MSG move = other;
    move.message = WM_MOUSEMOVE;
    tips.RelayMouseMove(&move);
    ASSERT_EQ(1, tips.m_count);
    EXPECT_EQ(button->m_hWnd, tips.m_relayed.hwnd);
    EXPECT_EQ(5, static_cast<short>(LOWORD(tips.m_relayed.lParam)));
    EXPECT_EQ(6, static_cast<short>(HIWORD(tips.m_relayed.lParam)));
    tips.DestroyWindow();
}

} // namespace
