#include <gtest/gtest.h>

#include "../../shell/tests/ShellTestSupport.h"
#include "CDC.h"
#include "controls/ImageComboBox.h"

namespace {

const COLORREF kRed = RGB(220, 0, 0), kGreen = RGB(0, 200, 0);

bool Near(COLORREF a, COLORREF b)
{
    return std::abs(GetRValue(a) - GetRValue(b)) < 24 && std::abs(GetGValue(a) - GetGValue(b)) < 24 &&
           std::abs(GetBValue(a) - GetBValue(b)) < 24;
}

// Two solid 16x16 images, red and green.
HIMAGELIST SolidImages()
{
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
    HDC screen = ::GetDC(nullptr);
    for (COLORREF colour : {kRed, kGreen}) {
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        RECT all{0, 0, 16, 16};
        HBRUSH brush = ::CreateSolidBrush(colour);
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ImageList_Add(images, bitmap, nullptr);
        ::DeleteObject(bitmap);
    }
    ::ReleaseDC(nullptr, screen);
    return images;
}

// The leftmost x of a row of `colour` pixels at height y, or -1.
int FirstX(HWND window, int y, COLORREF colour, int width)
{
    for (int x = 0; x < width; x++)
        if (Near(ReadPixel(window, x, y), colour))
            return x;
    return -1;
}

struct ComboFixture : ::testing::Test {
    CHostWindow host{600, 400};
    CImageComboBox combo;
    HIMAGELIST images = SolidImages();
    const wchar_t* longText = L"An entry that is a good deal longer than the box it sits in";

    void SetUp() override
    {
        ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, CRect(10, 10, 170, 200), &host, 1018));
        combo.SetFont(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
        combo.SetImageList(images);
        combo.InsertItem(0, L"Red", 0);
        combo.InsertIndentedItem(1, L"Green indented", 2, 1);
        combo.InsertItem(2, longText, 0, 1);
    }
    // Opens the list (again when another test's window took the focus and closed it) and
    // gives the list window.
    HWND DropList()
    {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        ::GetComboBoxInfo(combo.GetComboBoxCtrl(), &info);
        for (int attempt = 0; attempt < 10; attempt++) {
            ::SetForegroundWindow(host.m_hWnd);
            ::SetFocus(combo.GetComboBoxCtrl());
            combo.ShowDropDown(TRUE);
            PumpFor(50);
            if (::IsWindowVisible(info.hwndList))
                break;
        }
        return info.hwndList;
    }
    int DroppedWidth() const { return static_cast<int>(::SendMessageW(combo.GetComboBoxCtrl(), CB_GETDROPPEDWIDTH, 0, 0)); }
    void TearDown() override
    {
        combo.DestroyWindow();
        ImageList_Destroy(images);
    }
};

TEST_F(ComboFixture, ItemsWithImagesAndIndentation)
{
    struct Case {
        int index;
        const wchar_t* text;
        int image, selectedImage;
    } cases[] = {{0, L"Red", 0, 0}, {1, L"Green indented", 1, 1}, {2, longText, 0, 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(combo.GetItemText(c.index), CString(c.text));
        int image = -5, selected = -5;
        EXPECT_TRUE(combo.GetItemImages(c.index, &image, &selected));
        EXPECT_EQ(image, c.image) << c.index;
        EXPECT_EQ(selected, c.selectedImage) << c.index;
    }
    COMBOBOXEXITEMW indent{};
    indent.mask = CBEIF_INDENT;
    indent.iItem = 1;
    ASSERT_TRUE(combo.GetItem(&indent));
    EXPECT_EQ(indent.iIndent, 2);
    EXPECT_FALSE(combo.GetItemImages(7, nullptr, nullptr));

    EXPECT_TRUE(combo.SetItemImage(0, 1));
    int image = -1, selected = -1;
    combo.GetItemImages(0, &image, &selected);
    EXPECT_EQ(image, 1);
    EXPECT_EQ(selected, 0);   // kept without a selected image
    EXPECT_TRUE(combo.SetItemText(0, L"Now green"));
    EXPECT_EQ(combo.GetItemText(0), CString(L"Now green"));
}

TEST_F(ComboFixture, FindStringExactIgnoresLetterCase)
{
    struct Case {
        int start;
        const wchar_t* text;
        int found;
    } cases[] = {{0, L"green INDENTED", 1}, {1, L"GREEN indented", 1}, {2, L"green indented", -1}, {-1, L"red", 0},
                 {0, L"Gree", -1}, {0, L"", -1}};
    for (const Case& c : cases)
        EXPECT_EQ(combo.FindStringExact(c.start, c.text), c.found) << CString(c.text).ToUtf8() << " from " << c.start;
}

// The selected entry's image shows in the closed box; in the list an indented entry's image
// stands 10 px further right per level.
TEST_F(ComboFixture, DrawsTheImagesOfItsEntries)
{
    CRect client;
    combo.GetClientRect(&client);
    int y = client.Height() / 2;
    combo.SetCurSel(1);
    PumpFor(100);
    EXPECT_GE(FirstX(combo.m_hWnd, y, kGreen, client.Width()), 0);
    EXPECT_EQ(FirstX(combo.m_hWnd, y, kRed, client.Width()), -1);
    combo.SetCurSel(0);
    PumpFor(100);
    EXPECT_GE(FirstX(combo.m_hWnd, y, kRed, client.Width()), 0);

    HWND list = DropList();
    ASSERT_TRUE(::IsWindowVisible(list));
    int height = combo.GetItemHeight(0);
    ASSERT_GT(height, 0);
    int redX = FirstX(list, height / 2, kRed, 200);
    int greenX = FirstX(list, height + height / 2, kGreen, 200);
    ASSERT_GE(redX, 0);
    ASSERT_GE(greenX, 0);
    EXPECT_NEAR(greenX - redX, 20, 1);
    combo.ShowDropDown(FALSE);
}

TEST_F(ComboFixture, DropDownWidensToTheWidestEntry)
{
    CSize extent;
    {
        CClientDC dc(&combo);
        HGDIOBJ old = dc.SelectObject(combo.GetFont());
        extent = dc.GetTextExtent(longText);
        dc.SelectObject(old);
    }
    HWND list = DropList();
    int width = DroppedWidth();
    EXPECT_GE(width, extent.cx + 17 + 8);
    CRect listRect;
    ::GetWindowRect(list, &listRect);
    EXPECT_EQ(listRect.Width(), width);
    combo.ShowDropDown(FALSE);
}

TEST_F(ComboFixture, DropDownNearTheRightEdgeStaysOnScreen)
{
    int screen = ::GetSystemMetrics(SM_CXSCREEN);
    host.SetWindowPos(static_cast<HWND>(nullptr), screen - 260, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND list = DropList();
    CRect box;
    combo.GetWindowRect(&box);
    EXPECT_EQ(DroppedWidth(), screen - box.left - 2);
    CRect listRect;
    ::GetWindowRect(list, &listRect);
    EXPECT_LE(listRect.right, screen);
    EXPECT_GT(listRect.Width(), box.Width());
    combo.ShowDropDown(FALSE);
}

} // namespace
