#include "MessageWnd.h"

#include <algorithm>

#include "FrameRules.h"
#include "LayeredWindow.h"
#include "Settings.h"
#include "ViewerGlobals.h"
#include "resource.h"

namespace {
constexpr UINT_PTR kTimer = 20;
constexpr int kPiece = 12;
constexpr int kHeight = 48;
constexpr int kBelowTop = 64;
constexpr BYTE kAlpha = 192;
} // namespace

FW_BEGIN_MESSAGE_MAP(CMessageWnd, CWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnTimer(&ThisClass::OnTimer),
    FwOnMouse(WM_LBUTTONDOWN, &ThisClass::OnLButtonDown),
FW_END_MESSAGE_MAP()

CMessageWnd::~CMessageWnd()
{
    if (GetSafeHwnd())
        DestroyWindow();
}

BOOL CMessageWnd::Create(CWnd* owner)
{
    const wchar_t* windowClass = FwRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursorW(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW, windowClass, nullptr, WS_POPUP, 0, 0, kHeight,
                  kHeight, nullptr, nullptr))
        return FALSE;
    m_pOwner = owner;
    if (g_pUIResources)
        SetFont(&g_pUIResources->m_fontNormal, FALSE);
    return TRUE;
}

int CMessageWnd::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    return m_images.Create(IDB_MESSAGE_PIECES, kPiece, 3, RGB(0xFF, 0x00, 0xFF)) ? 0 : -1;
}

void CMessageWnd::Hide()
{
    KillTimer(kTimer);
    ShowWindow(SW_HIDE);
}

void CMessageWnd::ShowMessage(const wchar_t* text)
{
    if (!GetSafeHwnd())
        return;
    SetWindowText(text ? text : L"");
    if (!text) {
        Hide();
        return;
    }
    SIZE extent{};
    if (HDC dc = ::GetDC(m_hWnd)) {
        HGDIOBJ old = g_pUIResources ? ::SelectObject(dc, g_pUIResources->m_fontLargeBold) : nullptr;
        ::GetTextExtentPoint32W(dc, text, int(wcslen(text)), &extent);
        if (old)
            ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }
    // A long name is cut with an ellipsis rather than making the hint wider than the window.
    CRect owner;
    if (m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->GetWindowRect(&owner);
    PlaceAt(HintWidth(extent.cx, owner.Width()));
    Render(kAlpha);
    SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_nSecondsLeft = 5;
    SetTimer(kTimer, 1000);
}

void CMessageWnd::PlaceAt(int width)
{
    CRect owner;
    if (m_pOwner && m_pOwner->GetSafeHwnd())
        m_pOwner->GetWindowRect(&owner);
    const int x = owner.left + (owner.Width() - width) / 2;
    SetWindowPos(HWND(nullptr), x, owner.top + kBelowTop, width, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CMessageWnd::Reposition()
{
    CRect rect;
    GetWindowRect(&rect);
    PlaceAt(rect.Width());
}

void CMessageWnd::Render(BYTE alpha)
{
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    if (width <= 0 || height <= 0)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    m_bitmap.DeleteObject();
    m_bitmap.Attach(::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits) {
        ::DeleteDC(memory);
        ::ReleaseDC(nullptr, screen);
        return;
    }
    HGDIOBJ oldBitmap = ::SelectObject(memory, m_bitmap);
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill(pixels, pixels + size_t(width) * size_t(height), 0u);

    ImageList_Draw(m_images, 0, memory, 0, 0, ILD_NORMAL);
    for (int x = kPiece; x < width - kPiece; x += kPiece)
        ImageList_Draw(m_images, 1, memory, x, 0, ILD_NORMAL);
    ImageList_Draw(m_images, 2, memory, width - kPiece, 0, ILD_NORMAL);

    const CString text = GetWindowText();
    HGDIOBJ oldFont = g_pUIResources ? ::SelectObject(memory, g_pUIResources->m_fontLargeBold) : nullptr;
    ::SetBkMode(memory, TRANSPARENT);
    ::SetTextColor(memory, RGB(0xFF, 0xFF, 0xFF));
    CRect area(kPiece / 2, 0, width - kPiece / 2, height);
    ::DrawTextW(memory, text, text.GetLength(), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (oldFont)
        ::SelectObject(memory, oldFont);
    ::GdiFlush();
    // GDI leaves the alpha bytes alone: what was drawn is opaque, the black around the panel clear.
    for (size_t i = 0; i < size_t(width) * size_t(height); i++)
        pixels[i] = (pixels[i] & 0xFFFFFF) ? (pixels[i] | 0xFF000000u) : 0u;

    CRect window;
    GetWindowRect(&window);
    POINT position{window.left, window.top};
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
    CallUpdateLayeredWindow(m_hWnd, screen, &position, &size, memory, &source, 0, &blend, ULW_ALPHA);
    ::SelectObject(memory, oldBitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

void CMessageWnd::OnTimer(UINT_PTR id)
{
    if (id != kTimer)
        return;
    if (--m_nSecondsLeft <= 0)
        Hide();
}

void CMessageWnd::OnLButtonDown(UINT, CPoint) { Hide(); }
