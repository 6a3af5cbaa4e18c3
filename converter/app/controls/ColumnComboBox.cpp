#include "ColumnComboBox.h"

#include "CDC.h"
#include "ControlDrawing.h"
#include "ControlRules.h"

void CColumnComboBox::SetSecondColumn(int width, COLORREF colour, BOOL rightAlign)
{
    m_secondWidth = width;
    m_secondColour = colour;
    m_rightAlign = rightAlign;
    if (m_hWnd)
        Invalidate();
}

bool CColumnComboBox::HasSeparator(int index) const
{
    for (int i = 0; i < m_separators.GetSize(); i++) {
        if (m_separators[i] == index)
            return true;
    }
    return false;
}

void CColumnComboBox::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (static_cast<int>(item->itemID) < 0)
        return;
    HDC dc = item->hDC;
    CDC* target = CDC::FromHandle(dc);
    const bool disabled = !IsWindowEnabled();
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const bool inEdit = (item->itemState & ODS_COMBOBOXEDIT) != 0;
    const RECT& r = item->rcItem;

    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
        COLORREF fill = ::GetSysColor(COLOR_WINDOW);
        if (disabled) {
            text = ::GetSysColor(COLOR_BTNSHADOW);
            fill = ::GetSysColor(AppUsesVisualStyles() ? COLOR_WINDOW : COLOR_BTNFACE);
        } else if (selected) {
            text = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
            fill = ::GetSysColor(COLOR_HIGHLIGHT);
        }
        target->FillSolidRect(r, fill);
        if (!inEdit && HasSeparator(static_cast<int>(item->itemID)))
            target->FillSolidRect(r.left, r.bottom - 1, r.right - r.left, 1, RGB(216, 224, 232));

        ColumnTexts parts = SplitColumns(GetLBText(static_cast<int>(item->itemID)));
        HGDIOBJ oldFont = ::SelectObject(dc, GetFont() ? static_cast<HGDIOBJ>(GetFont()) : ::GetStockObject(DEFAULT_GUI_FONT));
        RECT left = r;
        left.left += 3;
        if (parts.hasRight)
            left.right -= m_secondWidth + 8;
        DrawLineText(dc, parts.left, parts.left.GetLength(), left, DT_LEFT, text);
        if (parts.hasRight && !(inEdit && m_hideSecondInEdit)) {
            RECT right = r;
            right.left = r.right - m_secondWidth;
            UINT align = DT_LEFT;
            if (m_rightAlign) {
                right.right -= 4;
                align = DT_RIGHT;
            }
            COLORREF colour = selected && !disabled ? text : (disabled ? RGB(128, 128, 128) : m_secondColour);
            DrawLineText(dc, parts.right, parts.right.GetLength(), right, align, colour);
        }
        ::SelectObject(dc, oldFont);
    }
    if ((item->itemAction & ODA_FOCUS) || (item->itemState & ODS_FOCUS))
        target->DrawFocusRect(r);
}
