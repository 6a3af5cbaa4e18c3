#include "AnimationWnd.h"

#include <mmsystem.h>

#include <utility>

#include "CrImage.h"
#include "MainFrame.h"
#include "OffscreenDC.h"
#include "PlayControlBar.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "SysHelpers.h"
#include "ViewGeometry.h"
#include "ViewerFiles.h"
#include "ViewerGlobals.h"
#include "resource.h"

// ---- CGIFPlayThread ----

BOOL CGIFPlayThread::InitInstance()
{
    m_pCanvas->Play(m_nStop);
    if (g_pPlayView && g_pPlayView->GetSafeHwnd())
        g_pPlayView->PostMessage(WM_PLAY_FINISHED, WPARAM(m_nStop.load()), 0);
    return FALSE;
}

void CGIFPlayThread::StopWith(int code)
{
    m_nStop = code;
    WaitFinished();
}

void CGIFPlayThread::WaitFinished()
{
    SetThreadPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    if (g_pPlayView && g_pPlayView->GetSafeHwnd())
        PumpMessagesUntil(nullptr, WM_PLAY_FINISHED);
    else
        PumpUntilThreadEnds(m_hThread);
}

// ---- CAnimationWnd ----

FW_BEGIN_MESSAGE_MAP(CAnimationWnd, CWnd)
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnSize(&ThisClass::OnSize),
    FwOnMouse(WM_LBUTTONDBLCLK, &ThisClass::OnLButtonDblClk),
    FwOnMouse(WM_MBUTTONUP, &ThisClass::OnMButtonUp),
    FwOnEraseBkgnd(&ThisClass::OnEraseBkgnd),
FW_END_MESSAGE_MAP()

CAnimationWnd::CAnimationWnd()
{
    g_pCanvas = this;
}

CAnimationWnd::~CAnimationWnd()
{
    if (g_pCanvas == this)
        g_pCanvas = nullptr;
}

BOOL CAnimationWnd::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    if (!CWnd::Create(nullptr, nullptr, style, rect, parent, id))
        return FALSE;
    SetBackground(COLORREF(ViewerSettings().BackgroundColor));
    return TRUE;
}

void CAnimationWnd::SetBackground(COLORREF color)
{
    CSettingsValues& settings = ViewerSettings();
    COLORREF hatchColor = 0xFFFFFF;
    UINT pattern = IDB_PATTERN_LIGHT;
    switch (settings.BackgroundTheme) {
    case 0:
        m_background.m_color = color;
        settings.BackgroundHatch = 0;
        settings.BackgroundColor = int(color);
        break;
    case 1:
        m_background.m_color = 0xFFFFFF;
        hatchColor = 0xE0E0E0;
        break;
    case 2:
        m_background.m_color = 0;
        hatchColor = 0x202020;
        pattern = IDB_PATTERN_DARK;
        break;
    default:
        break;
    }
    m_background.m_brush.DeleteObject();
    if (settings.BackgroundHatch == 1) {
        CBitmap bitmap;
        if (bitmap.LoadBitmap(pattern))
            m_background.m_brush.CreatePatternBrush(bitmap);
    } else if (settings.BackgroundHatch >= 2) {
        m_background.m_brush.CreateHatchBrush(settings.BackgroundHatch - 2, hatchColor);
    }
    if (!m_background.m_brush.GetSafeHandle())
        m_background.m_brush.CreateSolidBrush(m_background.m_color);
}

int CAnimationWnd::SetItem(CPlaylistItem* item)
{
    if (!item)
        return -1;
    Close();
    m_pItem = item;
    if (item->m_nLoadStatus == LOAD_DONE) {
        if (g_pPlayControlBar) {
            g_pPlayControlBar->SetFrameRange(0, item->FrameCount - 1);
            g_pPlayControlBar->SetFramePos(0, item->FrameCount - 1, TRUE);
        }
    } else {
        item->StartLoadThread();
    }
    if (CMainFrame* frame = GetMainFrame())
        frame->UpdateWindowTitle();
    return 0;
}

int CAnimationWnd::Close()
{
    StopPlayThread(STOP_CLOSE);
    if (m_pItem)
        m_pItem->StopLoading();
    m_pItem = nullptr;
    m_position.frameIndex = 0;
    m_position.repeatCounter = 0;
    if (GetSafeHwnd() && GetWindowTextLength() > 0)
        SetWindowText(L"");
    Redraw();
    if (g_pPlayControlBar) {
        for (int track : {0, 1}) {
            g_pPlayControlBar->SetFrameRange(track, -1);
            g_pPlayControlBar->SetFramePos(track, -1, TRUE);
        }
    }
    if (CMainFrame* frame = GetMainFrame())
        frame->UpdateWindowTitle();
    return 0;
}

int CAnimationWnd::StartPlayThread()
{
    if (m_pPlayThread)
        return 1;
    // An item that cannot be played still "plays": the loop shows why, then playback moves on.
    if (!m_pItem || (m_pItem->FrameCount <= 0 && !m_pItem->IsUnplayable()))
        return -1;
    m_nPlayThreadSerial++;
    return StartWorker(m_pPlayThread, new CGIFPlayThread(this));
}

int CAnimationWnd::PausePlayThread() { return StopPlayThread(STOP_PAUSE); }

int CAnimationWnd::StopPlayThread(int code)
{
    if (!m_pPlayThread)
        return 1;
    const unsigned serial = m_nPlayThreadSerial;
    m_pPlayThread->StopWith(code);
    // Without a play view nobody handled 0x5BD: the thread has ended, delete it here. A thread
    // started meanwhile (the next item) is not the one that was stopped.
    if (m_pPlayThread && serial == m_nPlayThreadSerial)
        WaitPlayThread();
    return 0;
}

int CAnimationWnd::WaitPlayThread()
{
    EndWorker(m_pPlayThread);
    return 0;
}

int CAnimationWnd::SeekFrame(int index, bool force)
{
    if (!m_pItem || index < 0 || index >= m_pItem->FrameCount)
        return -1;
    if (index == m_position.frameIndex && !force)
        return 1;
    m_position.frameIndex.exchange(index);
    Redraw();
    if (g_pPlayControlBar)
        g_pPlayControlBar->SetFramePos(1, index, TRUE);
    return 0;
}

void CAnimationWnd::SetZoom(int percent)
{
    m_nZoom = percent;
    if (m_position.playState != PLAY_PLAYING)
        Redraw();
}

int CAnimationWnd::SetPlayState(int state)
{
    m_position.playState = state;
    if (g_pPlayControlBar)
        g_pPlayControlBar->SetPlayState(state);
    if (g_pPlayView)
        g_pPlayView->OnPlayStateChanged(state);
    return state;
}

void CAnimationWnd::SetPositionRange(int last, int position)
{
    if (!g_pPlayControlBar)
        return;
    g_pPlayControlBar->SetFrameRange(1, last);
    g_pPlayControlBar->SetFramePos(1, position, TRUE);
}

void CAnimationWnd::ShowPosition(int index)
{
    if (g_pPlayControlBar)
        g_pPlayControlBar->SetFramePos(1, index, TRUE);
}

int CAnimationWnd::Redraw()
{
    if (GetSafeHwnd()) {
        InvalidateRect(nullptr, FALSE);
        UpdateWindow();
    }
    return 0;
}

int CAnimationWnd::Play(std::atomic<int>& stop)
{
    ShowWindow(SW_SHOW);
    m_rcLoopPicture.SetRectEmpty();
    // The frames are timed to the millisecond: the system's default timer would wake sleeps late.
    ::timeBeginPeriod(1);
    RunPlayLoop(m_pItem, m_position, stop, *this);
    ::timeEndPeriod(1);
    // A paused frame stays on the screen, and so does the word about a file that could not play.
    if (m_position.playState != PLAY_PAUSED && !(m_pItem && m_pItem->IsUnplayable()))
        ShowWindow(SW_HIDE);
    return 0;
}

void CAnimationWnd::ShowFrame(int index)
{
    // The loop has made it the current frame.
    RedrawPicture(index);
    ShowPosition(index);
}

void CAnimationWnd::RedrawPicture(int index)
{
    if (!GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const CRect picture = PictureRect(index, client);
    // Only the picture changes from frame to frame: the ground around it stays as painted, and
    // painting all of a large window many times a second would hold up the frames. The first
    // frame of a playback paints the whole window.
    if (m_rcLoopPicture.IsRectEmpty() || picture.IsRectEmpty()) {
        m_rcLoopPicture = picture;
        Redraw();
        return;
    }
    CRect area;
    area.UnionRect(picture, m_rcLoopPicture);   // a picture of another size leaves nothing behind
    m_rcLoopPicture = picture;
    InvalidateRect(area, FALSE);
    UpdateWindow();
}

CRect CAnimationWnd::PictureRect(int index, const CRect& client) const
{
    const CrImage* frame = m_pItem ? m_pItem->GetSourceFrame(index) : nullptr;
    if (!frame)
        return CRect(0, 0, 0, 0);
    ViewSize size{frame->GetWidth(), frame->GetHeight()};
    if ((m_pItem->RotateLeft != 0) != (m_pItem->RotateRight != 0))
        std::swap(size.cx, size.cy);
    const ViewRect r = FrameRect(m_nZoom, size, ViewRect{client.left, client.top, client.right, client.bottom});
    return CRect(r.left, r.top, r.right, r.bottom);
}

void CAnimationWnd::ShowProblem()
{
    // The window text carries the same words, for whoever reads windows rather than pixels.
    if (m_pItem)
        SetWindowText(ProblemMessage(*m_pItem));
    Redraw();
}

CString CAnimationWnd::ProblemMessage(const CPlaylistItem& item)
{
    return ViewerFiles::FileNamePart(item.m_strPath) + L": " + item.GetProblemText();
}

uint32_t CAnimationWnd::TickCount()
{
    // GetTickCount moves in steps of about 16 ms under some systems: too coarse for frame times.
    static const int64_t frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return int64_t(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    const int64_t ticks = now.QuadPart;
    return uint32_t(ticks / frequency * 1000 + ticks % frequency * 1000 / frequency);
}

int CAnimationWnd::RepeatMode() { return ViewerSettings().Repeat; }

void CAnimationWnd::OnPaint()
{
    CPaintDC paint(this);
    COffscreenDC dc(&paint);
    DrawCurrentFrame(&dc);
}

void CAnimationWnd::OnSize(UINT, int, int)
{
    Default();
    // The picture is centred (or fitted) in the whole window: a new size places all of it anew,
    // also while nothing plays to paint the next frame.
    InvalidateRect(nullptr, FALSE);
}

void CAnimationWnd::ForwardToParent(UINT message, UINT flags, CPoint point)
{
    HWND parent = ::GetParent(m_hWnd);
    if (!parent)
        return;
    ::MapWindowPoints(m_hWnd, parent, &point, 1);
    ::PostMessageW(parent, message, flags, MAKELPARAM(point.x, point.y));
}

void CAnimationWnd::OnDestroy()
{
    StopPlayThread(STOP_DESTROY);
    Default();
}

void CAnimationWnd::DrawCurrentFrame(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    FillBackground(dc, client);
    CPlaylistItem* item = m_pItem;
    if (item && item->IsUnplayable()) {
        DrawProblem(dc, client, *item);
        return;
    }
    const int index = m_position.frameIndex;
    if (!item || item->FrameCount <= 0 || index < 0 || index >= item->FrameCount || item->m_slots.GetSize() == 0)
        return;
    // Only a decoded frame is drawn: any other slot may be changing on the load thread.
    CFrameSlot* slot = item->m_slots.GetAt(index);
    if (!slot || slot->m_nState != SLOT_DECODED)
        return;
    if (CrImage* frame = item->GetFrame(index))
        DrawFrame(dc, frame, client);
}

void CAnimationWnd::DrawFrame(CDC* dc, CrImage* image, const CRect& client)
{
    ViewRect r = FrameRect(m_nZoom, ViewSize{image->GetWidth(), image->GetHeight()},
                           ViewRect{client.left, client.top, client.right, client.bottom});
    if (r.IsEmpty())
        return;
    image->Draw(dc->GetSafeHdc(), r.left, r.top, r.Width(), r.Height(), nullptr, false, false);
}

void CAnimationWnd::FillBackground(CDC* dc, const CRect& rect)
{
    HGDIOBJ oldBrush = dc->SelectObject(&m_background.m_brush);
    COLORREF oldColor = dc->SetBkColor(m_background.m_color);
    CPoint origin(0, 0);
    dc->LPtoDP(&origin);
    dc->SetBrushOrg(((origin.x % 16) + 16) % 16, ((origin.y % 16) + 16) % 16);
    dc->FillSolidRect(rect, m_background.m_color);
    dc->SetBkColor(m_background.m_color);
    dc->FillRect(rect, &m_background.m_brush);
    dc->SetBkColor(oldColor);
    dc->SelectObject(oldBrush);
}

void CAnimationWnd::DrawProblem(CDC* dc, const CRect& client, const CPlaylistItem& item)
{
    auto fontOf = [](CFont* font) {
        return font && font->GetSafeHandle() ? font->GetSafeHandle() : ::GetStockObject(DEFAULT_GUI_FONT);
    };
    HGDIOBJ nameFont = fontOf(g_pUIResources ? &g_pUIResources->m_fontLargeBold : nullptr);
    HGDIOBJ reasonFont = fontOf(g_pUIResources ? &g_pUIResources->m_fontNormal : nullptr);
    const CString name = ViewerFiles::FileNamePart(item.m_strPath);
    const CString reason = item.GetProblemText();
    // Light words on the dark backgrounds, dark ones on the light.
    const COLORREF back = m_background.m_color;
    const int luma = (GetRValue(back) * 299 + GetGValue(back) * 587 + GetBValue(back) * 114) / 1000;
    const COLORREF oldColor = dc->SetTextColor(luma < 128 ? RGB(224, 224, 224) : RGB(32, 32, 32));
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    HGDIOBJ oldFont = dc->SelectObject(nameFont);
    const int nameHeight = dc->GetTextExtent(L"Ag", 2).cy;
    dc->SelectObject(reasonFont);
    const int reasonHeight = dc->GetTextExtent(L"Ag", 2).cy;
    const int gap = reasonHeight / 2;
    const UINT format = DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    CRect line(client.left + 8, client.top + (client.Height() - nameHeight - gap - reasonHeight) / 2, client.right - 8, 0);
    line.bottom = line.top + nameHeight;
    dc->SelectObject(nameFont);
    dc->DrawText(name, &line, format);
    line.top = line.bottom + gap;
    line.bottom = line.top + reasonHeight;
    dc->SelectObject(reasonFont);
    dc->DrawText(reason, &line, format);
    dc->SelectObject(oldFont);
    dc->SetBkMode(oldMode);
    dc->SetTextColor(oldColor);
}
