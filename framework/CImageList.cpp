#include "CImageList.h"

#include "CDC.h"
#include "CWinApp.h"

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    return Attach(ImageList_Create(cx, cy, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask)
{
    return Attach(ImageList_LoadImageW(FwGetResourceHandle(), MAKEINTRESOURCEW(bitmapId), cx, grow, mask, IMAGE_BITMAP,
                                       LR_CREATEDIBSECTION));
}

BOOL CImageList::Attach(HIMAGELIST list)
{
    if (!list)
        return FALSE;
    DeleteImageList();
    m_hImageList = list;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST list = m_hImageList;
    m_hImageList = nullptr;
    return list;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask)
{
    return ImageList_AddMasked(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject), mask);
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, static_cast<HBITMAP>(bitmap->m_hObject),
                         mask ? static_cast<HBITMAP>(mask->m_hObject) : nullptr);
}

CSize CImageList::GetImageSize() const
{
    int cx = 0, cy = 0;
    if (!m_hImageList || !ImageList_GetIconSize(m_hImageList, &cx, &cy))
        return CSize();
    return CSize(cx, cy);
}

BOOL CImageList::Draw(CDC* dc, int index, POINT p, UINT style) const
{
    return ImageList_Draw(m_hImageList, index, dc->m_hDC, p.x, p.y, style);
}
