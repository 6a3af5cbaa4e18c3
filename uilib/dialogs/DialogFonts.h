#pragma once
// Fonts of the library's dialogs: the program's own when it gave one, else one made once from
// the dialog's font.
#include <windows.h>

#include "CDC.h"

// `given`, else `own` made from `dialogFont` (the GUI font when none) changed by `change`.
template <class Change>
HFONT GivenOrOwnFont(HFONT given, CFont& own, HFONT dialogFont, Change change)
{
    if (given)
        return given;
    if (!own.m_hObject) {
        LOGFONTW lf{};
        ::GetObjectW(dialogFont ? dialogFont : ::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
        change(lf);
        own.CreateFontIndirect(&lf);
    }
    return own;
}

inline void UnderlineFont(LOGFONTW& lf) { lf.lfUnderline = TRUE; }
