#pragma once
// An image list handle with the image-list functions.
#include <windows.h>
#include <commctrl.h>

#include "CCmdTarget.h"
#include "FwTypes.h"

class CDC;
class CBitmap;

class CImageList : public CObject {
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList() = default;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    ~CImageList() override { DeleteImageList(); }

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // From a bitmap resource cut into `cx`-wide images, `mask` as the transparent colour.
    BOOL Create(UINT bitmapId, int cx, int grow, COLORREF mask);
    BOOL Attach(HIMAGELIST list);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int Add(CBitmap* bitmap, COLORREF mask);
    int Add(CBitmap* bitmap, CBitmap* mask);
    int Add(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    BOOL Replace(int index, HICON icon) { return ImageList_ReplaceIcon(m_hImageList, index, icon) != -1; }
    BOOL Remove(int index) { return ImageList_Remove(m_hImageList, index); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL GetImageInfo(int index, IMAGEINFO* info) const { return ImageList_GetImageInfo(m_hImageList, index, info); }
    // The size of one image (all have the same).
    CSize GetImageSize() const;
    COLORREF SetBkColor(COLORREF colour) { return ImageList_SetBkColor(m_hImageList, colour); }
    BOOL Draw(CDC* dc, int index, POINT p, UINT style) const;
    HICON ExtractIcon(int index) const { return ImageList_ExtractIcon(nullptr, m_hImageList, index); }

    BOOL BeginDrag(int index, POINT hotSpot) { return ImageList_BeginDrag(m_hImageList, index, hotSpot.x, hotSpot.y); }
    static BOOL DragEnter(HWND lock, POINT p) { return ImageList_DragEnter(lock, p.x, p.y); }
    static BOOL DragMove(POINT p) { return ImageList_DragMove(p.x, p.y); }
    static BOOL DragLeave(HWND lock) { return ImageList_DragLeave(lock); }
    static BOOL DragShowNolock(BOOL show) { return ImageList_DragShowNolock(show); }
    static void EndDrag() { ImageList_EndDrag(); }
};
