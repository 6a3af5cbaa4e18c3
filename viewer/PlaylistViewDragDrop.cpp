// Files dropped on the playlist, and an item dragged to another place, onto the play view or out of
// the window.
#include "PlaylistView.h"

#include <shellapi.h>

#include "PlayView.h"
#include "ViewerGlobals.h"

namespace {

bool KeyDown(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

} // namespace

// ---- drops ----

void CPlaylistView::TakeDrop(HDROP drop, bool replace)
{
    CStringArray paths;
    UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        wchar_t path[1025] = L"";
        if (::DragQueryFileW(drop, i, path, 1025))
            paths.Add(path);
    }
    ::DragFinish(drop);
    if (replace)
        ReplaceWithPaths(paths, true);
    else
        AppendPaths(paths);
}

LRESULT CPlaylistView::OnDropFiles(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    bool replace = KeyDown(VK_SHIFT);
    if (!replace && m_pQueueThread) {
        ::DragFinish(drop);
        return 0;
    }
    TakeDrop(drop, replace);
    return 0;
}

LRESULT CPlaylistView::OnDropForwarded(WPARAM wParam, LPARAM)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    bool append = KeyDown(VK_SHIFT);
    if (append && m_pQueueThread) {
        ::DragFinish(drop);
        return 0;
    }
    TakeDrop(drop, !append);
    if (!append) {
        if (CWnd* frame = GetTopLevelParent()) {
            if (frame->IsIconic()) {
                frame->ShowWindow(SW_RESTORE);
                frame->SetWindowPos(HWND(nullptr), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
            }
            frame->SetForegroundWindow();
        }
    }
    return 0;
}

LRESULT CPlaylistView::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (m_nDragIndex >= 0 && reinterpret_cast<HWND>(lParam) != m_hWnd)
        EndItemDrag(CPoint(-1, -1), true);
    return Default();
}

// ---- drag reordering ----

bool CPlaylistView::PointInFrame(CPoint screenPoint) const
{
    CWnd* frame = GetTopLevelParent();
    if (!frame)
        return false;
    CRect rect;
    frame->GetWindowRect(&rect);
    return rect.PtInRect(screenPoint) != FALSE;
}

HWND CPlaylistView::DragImageWindow() const
{
    CWnd* frame = GetTopLevelParent();
    return frame ? frame->GetSafeHwnd() : nullptr;
}

CPoint CPlaylistView::DragImagePoint(CPoint point) const
{
    ClientToScreen(&point);
    CRect frame;
    ::GetWindowRect(DragImageWindow(), &frame);
    return CPoint(point.x - frame.left, point.y - frame.top);
}

void CPlaylistView::ShowDragImage(bool show)
{
    if (m_bDragImageEntered)
        CImageList::DragShowNolock(show ? TRUE : FALSE);
}

void CPlaylistView::BeginItemDrag(CPoint point)
{
    m_nDragIndex = GetNextSelected(0);
    m_dropTarget = DropPlace{-1, false};
    const CRect cell = ItemRect(m_nDragIndex);
    // The cell as it looks selected, on the mask colour, becomes the image under the pointer.
    delete m_pDragImage;
    m_pDragImage = new CImageList;
    if (m_pDragImage->Create(cell.Width(), cell.Height(), ILC_COLOR24 | ILC_MASK, 1, 1)) {
        CClientDC screen(this);
        CDC memory;
        memory.CreateCompatibleDC(&screen);
        CBitmap bitmap;
        bitmap.CreateCompatibleBitmap(screen.m_hDC, cell.Width(), cell.Height());
        HGDIOBJ old = memory.SelectObject(&bitmap);
        memory.SetWindowOrg(cell.left, cell.top);
        memory.FillSolidRect(cell, kDragMask);
        m_bPaintingDragImage = true;
        {
            CSectionLock lock(m_itemLock);
            if (IsGrid())
                DrawGridCell(&memory, m_nDragIndex, cell);
            else
                DrawListRow(&memory, m_nDragIndex, cell);
        }
        m_bPaintingDragImage = false;
        memory.SelectObject(old);
        m_pDragImage->Add(&bitmap, kDragMask);
        m_pDragImage->BeginDrag(0, CPoint(point.x - cell.left, point.y - cell.top));
    }
    SetCapture();
    SetHotItem(-1, true);
    // The cell is blanked on the screen before the image keeps what lies under it. The image
    // lives in the frame's own drawing, not on the desktop: what the desktop gives back for the
    // places it passed over is not the windows that were there.
    RedrawItem(m_nDragIndex);
    UpdateWindow();
    if (m_pDragImage)
        m_bDragImageEntered = CImageList::DragEnter(DragImageWindow(), DragImagePoint(point)) != FALSE;
    MoveItemDrag(point);
}

void CPlaylistView::DrawDropBar(const DropPlace& place)
{
    if (place.index >= 0)
        RedrawRect(DropBarRect(*this, place));
}

void CPlaylistView::MoveItemDrag(CPoint point)
{
    CPoint screenPoint = point;
    ClientToScreen(&screenPoint);
    CImageList::DragMove(DragImagePoint(point));
    const DropPlace place = FindDropTarget(*this, point.x, point.y, m_nDragIndex);
    if (place.index != m_dropTarget.index || place.after != m_dropTarget.after) {
        DrawDropBar(m_dropTarget);   // the old bar goes
        m_dropTarget = place;
        DrawDropBar(m_dropTarget);
        UpdateWindow();
    }
    CRect client;
    GetClientRect(&client);
    if (place.index >= 0)
        m_hLastCursor = IsGrid() && ComputeColumns() > 1 ? m_hDragGridCursor : m_hDragListCursor;
    else if (client.PtInRect(point))
        m_hLastCursor = m_hArrowCursor;
    else
        m_hLastCursor = PointInFrame(screenPoint) ? m_hDragPlayCursor : m_hDragRemoveCursor;
    ::SetCursor(m_hLastCursor);
}

void CPlaylistView::EndItemDrag(CPoint point, bool cancelled)
{
    const int dragged = m_nDragIndex;
    const DropPlace place = m_dropTarget;
    m_nDragIndex = -1;
    m_dropTarget = DropPlace{-1, false};
    m_hLastCursor = nullptr;
    if (m_pDragImage) {
        m_bDragImageEntered = false;
        CImageList::DragLeave(DragImageWindow());
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    Invalidate(FALSE);
    if (cancelled || dragged < 0)
        return;
    CRect client;
    GetClientRect(&client);
    CPoint screenPoint = point;
    ClientToScreen(&screenPoint);
    if (place.index >= 0) {
        MoveItem(dragged, place.index + (place.after ? 1 : 0));
        return;
    }
    if (client.PtInRect(point))
        return;
    if (PointInFrame(screenPoint)) {
        PlayIndex(dragged, g_pPlayView);
    } else {
        RemoveOne(dragged);
    }
}
