#pragma once
// The popups of a frame (its menu bar's and its context menus) drawn by the frame while they are
// shown: the shortcut column keeps a gap after the longest name, and a greyed item stays legible
// under the highlight. The items are plain string items again once the popup closes, so command
// updates and text changes work on them as on any menu.
#include <windows.h>

#include <map>
#include <memory>
#include <vector>

#include "CString.h"

class CDrawnPopupMenus {
public:
    CDrawnPopupMenus() = default;
    ~CDrawnPopupMenus();
    CDrawnPopupMenus(const CDrawnPopupMenus&) = delete;
    CDrawnPopupMenus& operator=(const CDrawnPopupMenus&) = delete;

    // After the popup's command updates: its string items become drawn items.
    void Prepare(HMENU popup);
    // The popup closed (or is about to be updated again): its items are strings again.
    void Restore(HMENU popup);
    // WM_MEASUREITEM and WM_DRAWITEM: true when the item was one of ours.
    bool Measure(MEASUREITEMSTRUCT* measure);
    bool Draw(const DRAWITEMSTRUCT* draw);

private:
    struct Item {
        UINT position = 0;
        UINT oldType = 0;
        ULONG_PTR oldData = 0;
        CString text;       // as the menu had it, tab included
        CString label;      // before the tab
        CString shortcut;   // after it
        bool isDefault = false;
        int labelColumn = 0;      // the popup's widest label
        int shortcutColumn = 0;   // the popup's widest shortcut (0: none)
    };
    Item* Find(ULONG_PTR data) const;
    HFONT Font(bool bold);
    int TextWidth(HDC dc, const CString& text, UINT format);
    void DrawCheck(HDC dc, const RECT& box, bool radio, COLORREF colour) const;

    std::map<HMENU, std::vector<std::unique_ptr<Item>>> m_popups;
    HFONT m_font = nullptr;
    HFONT m_boldFont = nullptr;
};
