#include "controls/ImageComboBox.h"

#include "CDC.h"

FW_BEGIN_MESSAGE_MAP(CImageComboBox, CComboBoxEx)
    FwOnReflectControl(CBN_DROPDOWN, &ThisClass::OnDropDown),
FW_END_MESSAGE_MAP()

CString CImageComboBox::GetEditText() const
{
    HWND edit = GetEditCtrl();
    return edit ? CWnd::FromHandle(edit)->GetWindowText() : GetWindowText();
}

void CImageComboBox::SetEditText(const wchar_t* text)
{
    HWND edit = GetEditCtrl();
    ::SetWindowTextW(edit ? edit : m_hWnd, text);
}

CString CImageComboBox::GetItemText(int index) const
{
    wchar_t text[1024] = L"";
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = 1024;
    if (!GetItem(&item))
        return CString();
    return CString(item.pszText ? item.pszText : L"");
}

BOOL CImageComboBox::GetItemImages(int index, int* image, int* selectedImage) const
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = index;
    if (!GetItem(&item))
        return FALSE;
    if (image)
        *image = item.iImage;
    if (selectedImage)
        *selectedImage = item.iSelectedImage;
    return TRUE;
}

int CImageComboBox::InsertItem(int index, const wchar_t* text, int image, int selectedImage)
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    item.iImage = image;
    item.iSelectedImage = selectedImage == -1 ? image : selectedImage;
    return CComboBoxEx::InsertItem(&item);
}

int CImageComboBox::InsertIndentedItem(int index, const wchar_t* text, int indent, int image, int selectedImage)
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    item.iImage = image;
    item.iSelectedImage = selectedImage == -1 ? image : selectedImage;
    item.iIndent = indent;
    return CComboBoxEx::InsertItem(&item);
}

BOOL CImageComboBox::SetItemImage(int index, int image, int selectedImage)
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_IMAGE;
    item.iItem = index;
    item.iImage = image;
    if (selectedImage != -1) {
        item.mask |= CBEIF_SELECTEDIMAGE;
        item.iSelectedImage = selectedImage;
    }
    return SetItem(&item);
}

BOOL CImageComboBox::SetItemText(int index, const wchar_t* text)
{
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text);
    return SetItem(&item);
}

int CImageComboBox::FindStringExact(int start, const wchar_t* text) const
{
    int count = GetCount();
    for (int i = start < 0 ? 0 : start; i < count; i++) {
        CString entry = GetItemText(i);
        if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, entry, -1, text ? text : L"", -1) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

void CImageComboBox::AdjustDroppedWidth()
{
    int imageWidth = 0;
    if (HIMAGELIST images = GetImageList()) {
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(images, &cx, &cy))
            imageWidth = cx + 1;
    }
    int count = GetCount();
    int width = 0;
    {
        CClientDC dc(this);
        HGDIOBJ oldFont = dc.SelectObject(GetFont());
        int widest = 0;
        for (int i = 0; i < count; i++) {
            CSize extent = dc.GetTextExtent(GetItemText(i));
            if (extent.cx > widest)
                widest = extent.cx;
        }
        width = widest + 2 * dc.GetTextExtent(L"W", 1).cx + imageWidth + 8;
        dc.SelectObject(oldFont);
    }
    // The list belongs to the inner combo box, which answers for it.
    HWND inner = GetComboBoxCtrl();
    if (!inner)
        inner = m_hWnd;
    CRect dropped;
    ::SendMessageW(inner, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    int itemHeight = static_cast<int>(::SendMessageW(inner, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight * count >= dropped.Height())
        width += ::GetSystemMetrics(SM_CXVSCROLL);
    CRect window;
    GetWindowRect(&window);
    int screen = ::GetSystemMetrics(SM_CXSCREEN);
    if (window.left + width + 2 > screen)
        width = screen - window.left - 2;
    ::SendMessageW(inner, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

void CImageComboBox::OnDropDown() { AdjustDroppedWidth(); }
