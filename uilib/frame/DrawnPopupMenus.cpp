#include "DrawnPopupMenus.h"

#include <algorithm>

namespace {

constexpr int kCheckWidth = 22;      // the tick or bullet column before the names
constexpr int kShortcutGap = 24;     // between the longest name and the shortcuts
constexpr int kRightMargin = 10;
constexpr int kVerticalPadding = 6;

UINT TextFormat(UINT state)
{
    return DT_SINGLELINE | DT_VCENTER | DT_LEFT | ((state & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
}

} // namespace

CDrawnPopupMenus::~CDrawnPopupMenus()
{
    if (m_font)
        ::DeleteObject(m_font);
    if (m_boldFont)
        ::DeleteObject(m_boldFont);
}

HFONT CDrawnPopupMenus::Font(bool bold)
{
    HFONT& font = bold ? m_boldFont : m_font;
    if (!font) {
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        LOGFONTW face{};
        if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
            face = metrics.lfMenuFont;
        else
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
        if (bold)
            face.lfWeight = FW_BOLD;
        font = ::CreateFontIndirectW(&face);
    }
    return font;
}

int CDrawnPopupMenus::TextWidth(HDC dc, const CString& text, UINT format)
{
    if (text.IsEmpty())
        return 0;
    RECT box{0, 0, 0, 0};
    ::DrawTextW(dc, text, text.GetLength(), &box, format | DT_CALCRECT);
    return int(box.right - box.left);
}

CDrawnPopupMenus::Item* CDrawnPopupMenus::Find(ULONG_PTR data) const
{
    for (const auto& popup : m_popups)
        for (const auto& item : popup.second)
            if (reinterpret_cast<ULONG_PTR>(item.get()) == data)
                return item.get();
    return nullptr;
}

void CDrawnPopupMenus::Prepare(HMENU popup)
{
    Restore(popup);
    std::vector<std::unique_ptr<Item>> items;
    const int count = ::GetMenuItemCount(popup);
    for (int position = 0; position < count; position++) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA | MIIM_STATE;
        if (!::GetMenuItemInfoW(popup, UINT(position), TRUE, &info) ||
            (info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) != 0)
            continue;
        std::vector<wchar_t> text(info.cch + 1, L'\0');
        info.dwTypeData = text.data();
        info.cch = UINT(text.size());
        if (!::GetMenuItemInfoW(popup, UINT(position), TRUE, &info))
            continue;
        auto item = std::make_unique<Item>();
        item->position = UINT(position);
        item->oldType = info.fType;
        item->oldData = info.dwItemData;
        item->text = text.data();
        item->isDefault = (info.fState & MFS_DEFAULT) != 0;
        const int tab = item->text.Find(L'\t');
        item->label = tab < 0 ? item->text : item->text.Left(tab);
        item->shortcut = tab < 0 ? CString() : item->text.Mid(tab + 1);
        items.push_back(std::move(item));
    }
    if (items.empty())
        return;
    // One column for the names and one for the shortcuts, as wide as their widest entries.
    HDC dc = ::GetDC(nullptr);
    int labels = 0, shortcuts = 0;
    for (const auto& item : items) {
        HGDIOBJ old = ::SelectObject(dc, Font(item->isDefault));
        labels = std::max(labels, TextWidth(dc, item->label, DT_SINGLELINE));
        shortcuts = std::max(shortcuts, TextWidth(dc, item->shortcut, DT_SINGLELINE | DT_NOPREFIX));
        ::SelectObject(dc, old);
    }
    ::ReleaseDC(nullptr, dc);
    for (const auto& item : items) {
        item->labelColumn = labels;
        item->shortcutColumn = shortcuts;
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType = MFT_OWNERDRAW | (item->oldType & MFT_RADIOCHECK);
        info.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        ::SetMenuItemInfoW(popup, item->position, TRUE, &info);
    }
    m_popups[popup] = std::move(items);
}

void CDrawnPopupMenus::Restore(HMENU popup)
{
    auto found = m_popups.find(popup);
    if (found == m_popups.end())
        return;
    if (::IsMenu(popup)) {
        for (const auto& item : found->second) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
            info.fType = item->oldType;
            info.dwItemData = item->oldData;
            info.dwTypeData = const_cast<wchar_t*>(item->text.GetString());
            ::SetMenuItemInfoW(popup, item->position, TRUE, &info);
        }
    }
    m_popups.erase(found);
}

bool CDrawnPopupMenus::Measure(MEASUREITEMSTRUCT* measure)
{
    if (measure->CtlType != ODT_MENU)
        return false;
    const Item* item = Find(measure->itemData);
    if (!item)
        return false;
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, Font(item->isDefault));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    measure->itemWidth = UINT(kCheckWidth + item->labelColumn +
                              (item->shortcutColumn > 0 ? kShortcutGap + item->shortcutColumn : 0) + kRightMargin);
    measure->itemHeight = UINT(metrics.tmHeight + kVerticalPadding);
    return true;
}

void CDrawnPopupMenus::DrawCheck(HDC dc, const RECT& box, bool radio, COLORREF colour) const
{
    const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
    HBRUSH brush = ::CreateSolidBrush(colour);
    HPEN pen = ::CreatePen(PS_SOLID, 2, colour);
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    if (radio) {
        ::Ellipse(dc, cx - 3, cy - 3, cx + 4, cy + 4);
    } else {
        const POINT tick[] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}};
        ::Polyline(dc, tick, 3);
    }
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::DeleteObject(pen);
    ::DeleteObject(brush);
}

bool CDrawnPopupMenus::Draw(const DRAWITEMSTRUCT* draw)
{
    if (draw->CtlType != ODT_MENU)
        return false;
    const Item* item = Find(draw->itemData);
    if (!item)
        return false;
    HDC dc = draw->hDC;
    const RECT& area = draw->rcItem;
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    const bool greyed = (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    // A greyed item under the pointer is framed, not filled: grey text on the highlight would
    // vanish.
    HBRUSH ground = ::GetSysColorBrush(selected && !greyed ? COLOR_HIGHLIGHT : COLOR_MENU);
    ::FillRect(dc, &area, ground);
    if (selected && greyed)
        ::FrameRect(dc, &area, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF text = ::GetSysColor(greyed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    if (draw->itemState & ODS_CHECKED)
        DrawCheck(dc, RECT{area.left, area.top, area.left + kCheckWidth, area.bottom}, (item->oldType & MFT_RADIOCHECK) != 0,
                  text);
    HGDIOBJ oldFont = ::SelectObject(dc, Font(item->isDefault));
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, text);
    RECT label{area.left + kCheckWidth, area.top, area.left + kCheckWidth + item->labelColumn, area.bottom};
    ::DrawTextW(dc, item->label, item->label.GetLength(), &label, TextFormat(draw->itemState));
    if (!item->shortcut.IsEmpty()) {
        RECT shortcut{label.right + kShortcutGap, area.top, area.right, area.bottom};
        ::DrawTextW(dc, item->shortcut, item->shortcut.GetLength(), &shortcut, TextFormat(draw->itemState) | DT_NOPREFIX);
    }
    ::SetTextColor(dc, oldColour);
    ::SetBkMode(dc, oldMode);
    ::SelectObject(dc, oldFont);
    return true;
}
