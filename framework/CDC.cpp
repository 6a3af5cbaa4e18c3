#include "CDC.h"

#include "CWinApp.h"
#include "FwTempMap.h"

namespace {

class CTempDC : public CDC {
public:
    ~CTempDC() override { m_hDC = m_hAttribDC = nullptr; }
};

} // namespace

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle)
        return FALSE;
    DeleteObject();
    m_hObject = handle;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    HGDIOBJ handle = Detach();
    return ::DeleteObject(handle);
}

BOOL CGdiObject::CreateStockObject(int index)
{
    // Deleting a stock object later is harmless.
    return Attach(::GetStockObject(index));
}

BOOL CFont::CreatePointFont(int tenthsOfPoint, const wchar_t* face, HDC dc)
{
    HDC screen = dc ? dc : ::GetDC(nullptr);
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(tenthsOfPoint, ::GetDeviceCaps(screen, LOGPIXELSY), 720);
    lf.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    if (!dc)
        ::ReleaseDC(nullptr, screen);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT resourceId)
{
    return Attach(::LoadBitmapW(FwGetResourceHandle(), MAKEINTRESOURCEW(resourceId)));
}

CSize CBitmap::GetSize() const
{
    BITMAP info{};
    if (!m_hObject || !GetBitmap(&info))
        return CSize();
    return CSize(info.bmWidth, info.bmHeight);
}

CDC::~CDC()
{
    if (m_hDC)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC dc)
{
    if (!dc)
        return nullptr;
    return FwTempObject<CDC>(dc, [](HDC h) -> CDC* {
        auto* temp = new CTempDC;
        temp->m_hDC = temp->m_hAttribDC = h;
        return temp;
    });
}

void CDC::DeleteTempMap() { FwTempObjects<CDC, HDC>().clear(); }

BOOL CDC::Attach(HDC dc)
{
    if (!dc || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = dc;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = m_hAttribDC = nullptr;
    // May delete this very object when it is the temporary wrapper of the handle.
    FwTempObjects<CDC, HDC>().erase(dc);
    return dc;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old{};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::SetWindowOrgEx(m_hAttribDC, x, y, nullptr);
    return old;
}

CPoint CDC::GetWindowOrg() const
{
    POINT p{};
    ::GetWindowOrgEx(m_hAttribDC, &p);
    return p;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old{};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::SetViewportOrgEx(m_hAttribDC, x, y, nullptr);
    return old;
}

CPoint CDC::GetViewportOrg() const
{
    POINT p{};
    ::GetViewportOrgEx(m_hAttribDC, &p);
    return p;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old{};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    if (m_hAttribDC && m_hAttribDC != m_hDC)
        ::OffsetViewportOrgEx(m_hAttribDC, dx, dy, nullptr);
    return old;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT old{};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

void CDC::FillSolidRect(const RECT& r, COLORREF colour)
{
    COLORREF old = ::SetBkColor(m_hDC, colour);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    FillSolidRect(r.left, r.top, w - 1, 1, topLeft);
    FillSolidRect(r.left, r.top, 1, h - 1, topLeft);
    FillSolidRect(r.right - 1, r.top, 1, h, bottomRight);
    FillSolidRect(r.left, r.bottom - 1, w, 1, bottomRight);
}

CSize CDC::GetTextExtent(const wchar_t* text, int count) const
{
    SIZE size{};
    ::GetTextExtentPoint32W(m_hAttribDC, text, count, &size);
    return size;
}

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd->m_hWnd)
{
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(FwHwnd(wnd))
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(FwHwnd(wnd))
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
