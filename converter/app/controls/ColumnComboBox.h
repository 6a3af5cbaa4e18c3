#pragma once
// An owner-drawn combo box of two columns: the text before a tab on the left, the text after it
// in a second column of its own width and colour; chosen items get a separator line below.
#include "Collections.h"
#include "Controls.h"

class CColumnComboBox : public CComboBox {
public:
    void SetSecondColumn(int width, COLORREF colour, BOOL rightAlign);
    void SetHideSecondInEdit(BOOL hide) { m_hideSecondInEdit = hide; }
    void AddSeparator(int index) { m_separators.Add(index); }
    void ClearSeparators() { m_separators.RemoveAll(); }
    bool HasSeparator(int index) const;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

    int m_secondWidth = 64;
    COLORREF m_secondColour = ::GetSysColor(COLOR_BTNSHADOW);
    int m_rightAlign = 0;
    int m_hideSecondInEdit = 0;
    CArray<int> m_separators;
};
