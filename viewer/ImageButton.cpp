#include "ImageButton.h"

#include "CrImage.h"
#include "Settings.h"
#include "ViewerGlobals.h"

FW_BEGIN_MESSAGE_MAP(CImageButton, CButton)
    FwOnMouse(WM_MOUSEMOVE, &ThisClass::OnMouseMove),
    FwOnMessage(WM_MOUSELEAVE, &ThisClass::OnMouseLeave),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
    FwOnSetCursor(&ThisClass::OnSetCursor),
FW_END_MESSAGE_MAP()

void CImageButton::SetImage(CrImage* normal, CrImage* hover)
{
    m_pNormalImage = normal;
    m_pHoverImage = hover;
    if (normal && normal->IsValid()) {
        m_nImageWidth = normal->GetWidth();
        m_nImageHeight = normal->GetHeight();
    }
    if (GetSafeHwnd())
        Invalidate(FALSE);
}

int CImageButton::StateFor(UINT itemState) const
{
    if (itemState & ODS_SELECTED)
        return STATE_PUSHED;
    if (itemState & ODS_FOCUS)
        return m_bHover ? STATE_HOT : STATE_FOCUSED;
    if (itemState & ODS_DISABLED)
        return STATE_DISABLED;
    return m_bHover ? STATE_HOT : STATE_NORMAL;
}

void CImageButton::DrawBackground(CDC* dc, const CRect& rect, int) { dc->FillSolidRect(rect, m_crBackground); }

void CImageButton::DrawImage(CDC* dc, int left, int top, int right, int bottom, int state)
{
    CrImage* image = state == STATE_HOT || state == STATE_PUSHED ? m_pHoverImage : m_pNormalImage;
    const CRect rect(left, top, right, bottom);
    DrawBackground(dc, rect, state);
    if (!image || !image->IsValid())
        return;
    const int x = left + (rect.Width() - image->GetWidth()) / 2;
    const int y = top + (rect.Height() - image->GetHeight()) / 2;
    image->Draw(dc->m_hDC, x, y);
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* target = CDC::FromHandle(item->hDC);
    const CRect rect(item->rcItem);
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(target) || !bitmap.CreateCompatibleBitmap(item->hDC, rect.Width(), rect.Height())) {
        DrawImage(target, rect.left, rect.top, rect.right, rect.bottom, StateFor(item->itemState));
        return;
    }
    HGDIOBJ old = memory.SelectObject(&bitmap);
    DrawImage(&memory, 0, 0, rect.Width(), rect.Height(), StateFor(item->itemState));
    target->BitBlt(rect.left, rect.top, rect.Width(), rect.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

void CImageButton::OnMouseMove(UINT, CPoint)
{
    if (!m_bHover) {
        m_bHover = 1;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        Invalidate(FALSE);
    }
    Default();
}

LRESULT CImageButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_bHover = 0;
    Invalidate(FALSE);
    return Default();
}

BOOL CImageButton::OnSetCursor(CWnd*, UINT, UINT)
{
    if (g_pUIResources && g_pUIResources->m_hHandCursor) {
        ::SetCursor(g_pUIResources->m_hHandCursor);
        return TRUE;
    }
    return BOOL(Default());
}
