#pragma once
// The owner-drawn list of catalogue entries: group headings in bold on grey, formats with an
// icon by their kind and a description in a right-hand column. Item data is the catalogue
// object of the row.
#include "CImageList.h"
#include "Controls.h"

class CMediaCatalogItem;

class CFormatComboBox : public CComboBox {
public:
    // Icons by kind (not owned); null: none, and the text starts at the left.
    void SetImageList(CImageList* list) { m_images = list; }
    void SetRightColumn(int width, COLORREF colour, BOOL leftAligned);

    // A heading row (group) or a format row, with its catalogue object.
    int AddEntry(const wchar_t* text, CMediaCatalogItem* entry);
    CMediaCatalogItem* GetEntry(int index) const;
    bool IsHeading(int index) const;
    // The first format row at or after `index` (headings are never chosen); -1 when none.
    int FormatRowFrom(int index) const;

    void DrawItem(LPDRAWITEMSTRUCT item) override;

    CImageList* m_images = nullptr;
    int m_rightWidth = 32;
    COLORREF m_rightColour = ::GetSysColor(COLOR_BTNSHADOW);
    int m_rightLeftAligned = 0;   // 0: right-aligned in its column

private:
    int FirstHeadingRow() const;
    void DrawIcon(HDC dc, const RECT& r, const CMediaCatalogItem* entry);
};

// Icon of a catalogue kind: video 0, audio 1, devices 2; -1 none.
int FormatIconIndex(int category);
