#include "FormatComboBox.h"

#include "AppGlobals.h"
#include "AppPaths.h"
#include "CDC.h"
#include "ControlDrawing.h"
#include "ControlRules.h"
#include "MediaCatalogItem.h"

namespace {

constexpr int kIconSide = 16;
constexpr int kIconIndent = 20;

} // namespace

int FormatIconIndex(int category)
{
    if (category == MEDIA_CATEGORY_VIDEO)
        return 0;
    if (category == MEDIA_CATEGORY_AUDIO)
        return 1;
    if (category >= 10 && category <= 12)
        return 2;
    return -1;
}

void CFormatComboBox::SetRightColumn(int width, COLORREF colour, BOOL leftAligned)
{
    m_rightWidth = width;
    m_rightColour = colour;
    m_rightLeftAligned = leftAligned;
    if (m_hWnd)
        Invalidate();
}

int CFormatComboBox::AddEntry(const wchar_t* text, CMediaCatalogItem* entry)
{
    int index = AddString(text);
    if (index >= 0)
        SetItemDataPtr(index, entry);
    return index;
}

CMediaCatalogItem* CFormatComboBox::GetEntry(int index) const
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    DWORD_PTR data = GetItemData(index);
    return data == static_cast<DWORD_PTR>(CB_ERR) ? nullptr : reinterpret_cast<CMediaCatalogItem*>(data);
}

bool CFormatComboBox::IsHeading(int index) const
{
    const CMediaCatalogItem* entry = GetEntry(index);
    return entry && (entry->m_flags & MEDIA_ITEM_GROUP) != 0;
}

int CFormatComboBox::FormatRowFrom(int index) const
{
    const int count = GetCount();
    for (int i = index < 0 ? 0 : index; i < count; i++) {
        if (!IsHeading(i))
            return i;
    }
    return -1;
}

int CFormatComboBox::FirstHeadingRow() const
{
    const int count = GetCount();
    for (int i = 0; i < count; i++) {
        if (IsHeading(i))
            return i;
    }
    return -1;
}

void CFormatComboBox::DrawIcon(HDC dc, const RECT& r, const CMediaCatalogItem* entry)
{
    if (!entry)
        return;
    int image = FormatIconIndex(entry->m_category);
    if (image < 0)
        return;
    ImageList_Draw(*m_images, image, dc, r.left + 2, r.top + (r.bottom - r.top - kIconSide) / 2, ILD_TRANSPARENT);
}

void CFormatComboBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    const int index = static_cast<int>(item->itemID);
    if (index < 0)
        return;
    HDC dc = item->hDC;
    CDC* target = CDC::FromHandle(dc);
    const RECT& r = item->rcItem;
    const CMediaCatalogItem* entry = GetEntry(index);
    const bool inEdit = (item->itemState & ODS_COMBOBOXEDIT) != 0;
    const bool heading = entry && (entry->m_flags & MEDIA_ITEM_GROUP) && !inEdit;
    const bool disabled = !IsWindowEnabled();
    const bool selected = (item->itemState & ODS_SELECTED) && !heading;

    COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF fill = ::GetSysColor(COLOR_WINDOW);
    HGDIOBJ font = GetFont() ? static_cast<HGDIOBJ>(GetFont()) : ::GetStockObject(DEFAULT_GUI_FONT);
    if (heading) {
        fill = RGB(0xF0, 0xF0, 0xF0);
        if (g_pAppPaths && g_pAppPaths->m_fontBold.GetSafeHandle())
            font = g_pAppPaths->m_fontBold.GetSafeHandle();
    } else if (disabled) {
        text = ::GetSysColor(COLOR_BTNSHADOW);
        fill = ::GetSysColor(AppUsesVisualStyles() ? COLOR_WINDOW : COLOR_BTNFACE);
    } else if (selected) {
        text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        fill = ::GetSysColor(COLOR_HIGHLIGHT);
    }
    target->FillSolidRect(r, fill);
    if (heading && index != FirstHeadingRow())
        target->FillSolidRect(r.left, r.top, r.right - r.left, 1, RGB(0xE0, 0xE0, 0xE0));

    RECT left = r;
    left.left += 2;
    if (m_images && m_images->GetSafeHandle() && !heading) {
        DrawIcon(dc, r, entry);
        left.left = r.left + kIconIndent;
    }
    ColumnTexts parts = SplitColumns(GetLBText(index), false);
    if (parts.hasRight)
        left.right -= m_rightWidth;
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    DrawLineText(dc, parts.left, parts.left.GetLength(), left, DT_LEFT, text);
    if (parts.hasRight) {
        RECT right = r;
        right.left = r.right - m_rightWidth;
        right.right -= 2;
        COLORREF colour = disabled ? ::GetSysColor(COLOR_BTNSHADOW) : (selected ? text : m_rightColour);
        DrawLineText(dc, parts.right, parts.right.GetLength(), right, m_rightLeftAligned ? DT_LEFT : DT_RIGHT, colour);
    }
    ::SelectObject(dc, oldFont);
    if ((item->itemState & ODS_FOCUS) && !heading)
        target->DrawFocusRect(r);
}
