#pragma once
// An extended combo box with images and indentation whose drop-down list widens itself to its
// widest entry (never past the right edge of the screen).
#include "Controls.h"

class CImageComboBox : public CComboBoxEx {
    FW_DECLARE_MESSAGE_MAP()
public:
    virtual CString GetEditText() const;
    virtual CString GetItemText(int index) const;
    virtual BOOL GetItemImages(int index, int* image, int* selectedImage) const;
    // A selected image of -1 means the image.
    virtual int InsertItem(int index, const wchar_t* text, int image, int selectedImage = -1);
    virtual int InsertIndentedItem(int index, const wchar_t* text, int indent, int image, int selectedImage = -1);
    // The first entry from `start` on whose text equals `text` ignoring case, or -1.
    virtual int FindStringExact(int start, const wchar_t* text) const;
    virtual BOOL SetItemImage(int index, int image, int selectedImage = -1);
    virtual BOOL SetItemText(int index, const wchar_t* text);
    virtual void AdjustDroppedWidth();
    using CComboBoxEx::InsertItem;

    // Writes `text` into the edit part.
    void SetEditText(const wchar_t* text);

protected:
    void OnDropDown();
};
