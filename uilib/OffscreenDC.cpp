#include "OffscreenDC.h"

COffscreenDC::COffscreenDC(CDC* target, const RECT* rect) : m_pTarget(target), m_bDirect(target->IsPrinting())
{
    if (!m_bDirect) {
        if (rect)
            m_rect = *rect;
        else
            target->GetClipBox(&m_rect);
        if (CreateCompatibleDC(target)) {
            SetWindowOrg(m_rect.left, m_rect.top);
            if (m_bitmap.CreateCompatibleBitmap(target->m_hDC, m_rect.Width(), m_rect.Height()) ||
                m_rect.IsRectEmpty()) {
                m_oldBitmap = SelectObject(&m_bitmap);
                return;
            }
            DeleteDC();
        }
        // Without memory for the bitmap the drawing goes straight to the target.
        m_bDirect = TRUE;
    }
    m_bPrinting = target->IsPrinting();
    m_hDC = target->m_hDC;
    m_hAttribDC = target->m_hAttribDC;
}

COffscreenDC::~COffscreenDC()
{
    if (m_bDirect) {
        // The handles are the target's: the base must not delete them.
        m_hDC = m_hAttribDC = nullptr;
        return;
    }
    m_pTarget->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top, SRCCOPY);
    if (m_oldBitmap)
        SelectObject(m_oldBitmap);
    m_bitmap.DeleteObject();
}
