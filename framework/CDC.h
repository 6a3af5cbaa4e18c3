#pragma once
// Device contexts (plain, paint, client, window) and the GDI objects drawn with.
#include <windows.h>

#include "CString.h"
#include "CWnd.h"
#include "FwTypes.h"

class CGdiObject : public CObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    ~CGdiObject() override { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ handle);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const { return ::GetObjectW(m_hObject, size, buffer); }
    BOOL CreateStockObject(int index);
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
    BOOL CreatePen(int style, int width, COLORREF colour) { return Attach(::CreatePen(style, width, colour)); }
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
    BOOL CreateSolidBrush(COLORREF colour) { return Attach(::CreateSolidBrush(colour)); }
    BOOL CreateHatchBrush(int style, COLORREF colour) { return Attach(::CreateHatchBrush(style, colour)); }
    BOOL CreatePatternBrush(HBITMAP bitmap) { return Attach(::CreatePatternBrush(bitmap)); }
    BOOL CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTW* font) { return Attach(::CreateFontIndirectW(font)); }
    BOOL CreatePointFont(int tenthsOfPoint, const wchar_t* face, HDC dc = nullptr);
    int GetLogFont(LOGFONTW* font) const { return GetObject(sizeof(LOGFONTW), font); }
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};

class CBitmap : public CGdiObject {
public:
    BOOL LoadBitmap(UINT resourceId);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
    {
        return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
    }
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height) { return Attach(::CreateCompatibleBitmap(dc, width, height)); }
    int GetBitmap(BITMAP* info) const { return GetObject(sizeof(BITMAP), info); }
    CSize GetSize() const;
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};

class CRgn : public CGdiObject {
public:
    BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
    BOOL CreateRectRgnIndirect(const RECT& r) { return Attach(::CreateRectRgnIndirect(&r)); }
    BOOL CreateRoundRectRgn(int l, int t, int r, int b, int w, int h) { return Attach(::CreateRoundRectRgn(l, t, r, b, w, h)); }
    int CombineRgn(const CRgn& a, const CRgn& b, int mode)
    {
        return ::CombineRgn(static_cast<HRGN>(m_hObject), static_cast<HRGN>(a.m_hObject), static_cast<HRGN>(b.m_hObject), mode);
    }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion(static_cast<HRGN>(m_hObject), x, y); }
    operator HRGN() const { return static_cast<HRGN>(m_hObject); }
};

// A device context. m_hDC receives output, m_hAttribDC answers queries; both are the same
// handle except where a derived context (off-screen, printing) says otherwise. A context that
// still holds a handle when destroyed deletes it.
class CDC : public CObject {
public:
    HDC m_hDC = nullptr;
    HDC m_hAttribDC = nullptr;
    BOOL m_bPrinting = FALSE;

    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    ~CDC() override;

    // A temporary wrapper (no ownership) that lives until the thread's next idle time.
    static CDC* FromHandle(HDC dc);
    static void DeleteTempMap();

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* dc) { return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr)); }
    BOOL DeleteDC();
    BOOL IsPrinting() const { return m_bPrinting; }
    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hAttribDC, index); }

    HGDIOBJ SelectObject(HGDIOBJ object) { return object ? ::SelectObject(m_hDC, object) : nullptr; }
    HGDIOBJ SelectObject(CGdiObject* object) { return object ? SelectObject(object->m_hObject) : nullptr; }
    HGDIOBJ SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }
    int SelectClipRgn(CRgn* rgn) { return ::SelectClipRgn(m_hDC, rgn ? static_cast<HRGN>(rgn->m_hObject) : nullptr); }
    int IntersectClipRect(const RECT& r) { return ::IntersectClipRect(m_hDC, r.left, r.top, r.right, r.bottom); }
    int ExcludeClipRect(const RECT& r) { return ::ExcludeClipRect(m_hDC, r.left, r.top, r.right, r.bottom); }
    int GetClipBox(RECT* r) const { return ::GetClipBox(m_hDC, r); }

    COLORREF SetTextColor(COLORREF c) { return ::SetTextColor(m_hDC, c); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
    COLORREF SetBkColor(COLORREF c) { return ::SetBkColor(m_hDC, c); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
    int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
    int GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    int SetROP2(int mode) { return ::SetROP2(m_hDC, mode); }
    UINT SetTextAlign(UINT flags) { return ::SetTextAlign(m_hDC, flags); }

    CPoint SetWindowOrg(int x, int y);
    CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
    CPoint GetWindowOrg() const;
    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const;
    CPoint OffsetViewportOrg(int dx, int dy);
    CPoint SetBrushOrg(int x, int y);
    void LPtoDP(POINT* points, int count = 1) const { ::LPtoDP(m_hAttribDC, points, count); }
    void DPtoLP(POINT* points, int count = 1) const { ::DPtoLP(m_hAttribDC, points, count); }

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL Rectangle(const RECT& r) { return ::Rectangle(m_hDC, r.left, r.top, r.right, r.bottom); }
    BOOL Ellipse(const RECT& r) { return ::Ellipse(m_hDC, r.left, r.top, r.right, r.bottom); }
    BOOL RoundRect(const RECT& r, POINT corner) { return ::RoundRect(m_hDC, r.left, r.top, r.right, r.bottom, corner.x, corner.y); }
    BOOL Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
    BOOL Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
    void FillRect(const RECT& r, CBrush* brush) { ::FillRect(m_hDC, &r, static_cast<HBRUSH>(brush->m_hObject)); }
    void FillRect(const RECT& r, HBRUSH brush) { ::FillRect(m_hDC, &r, brush); }
    void FrameRect(const RECT& r, CBrush* brush) { ::FrameRect(m_hDC, &r, static_cast<HBRUSH>(brush->m_hObject)); }
    void InvertRect(const RECT& r) { ::InvertRect(m_hDC, &r); }
    void FillSolidRect(const RECT& r, COLORREF colour);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) { FillSolidRect(CRect(x, y, x + cx, y + cy), colour); }
    void Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(RECT* r, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, r, edge, flags); }
    BOOL DrawFrameControl(RECT* r, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, r, type, state); }
    void DrawFocusRect(const RECT& r) { ::DrawFocusRect(m_hDC, &r); }
    BOOL DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    BOOL PatBlt(int x, int y, int w, int h, DWORD rop) { return ::PatBlt(m_hDC, x, y, w, h, rop); }
    BOOL BitBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, DWORD rop)
    {
        return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, rop);
    }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* src, int sx, int sy, int sw, int sh, DWORD rop)
    {
        return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, sx, sy, sw, sh, rop);
    }

    int DrawText(const wchar_t* text, int count, RECT* r, UINT format) { return ::DrawTextW(m_hDC, text, count, r, format); }
    int DrawText(const CString& text, RECT* r, UINT format) { return DrawText(text, text.GetLength(), r, format); }
    BOOL TextOut(int x, int y, const CString& text) { return ::TextOutW(m_hDC, x, y, text, text.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT options, const RECT* r, const CString& text)
    {
        return ::ExtTextOutW(m_hDC, x, y, options, r, text, static_cast<UINT>(text.GetLength()), nullptr);
    }
    CSize GetTextExtent(const wchar_t* text, int count) const;
    CSize GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
    BOOL GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hAttribDC, metrics); }
};

// BeginPaint and EndPaint around a paint handler.
class CPaintDC : public CDC {
public:
    PAINTSTRUCT m_ps{};
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

private:
    HWND m_hWnd;
};

class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* wnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

// WM_ERASEBKGND: (context) → TRUE when the background was erased.
template <class T>
FwMessageEntry FwOnEraseBkgnd(BOOL (T::*fn)(CDC*))
{
    return {FwEntryKind::Message, WM_ERASEBKGND, 0, 0, 0, [fn](CCmdTarget* t, FwDispatch& d) {
                d.result = (static_cast<T*>(t)->*fn)(CDC::FromHandle(reinterpret_cast<HDC>(d.wParam)));
            }};
}
