#include "AnimationWnd.h"

#include "CrImage.h"
#include "MainFrame.h"
#include "OffscreenDC.h"
#include "PlayView.h"
#include "PlaylistItem.h"
#include "Settings.h"
#include "SysHelpers.h"
#include "ViewGeometry.h"
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
    if (item->m_nLoadStatus != LOAD_DONE)
        item->StartLoadThread();
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
    Redraw();
    if (CMainFrame* frame = GetMainFrame())
        frame->UpdateWindowTitle();
    return 0;
}

int CAnimationWnd::StartPlayThread()
{
    if (m_pPlayThread)
        return 1;
    if (!m_pItem || m_pItem->FrameCount <= 0)
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
    return state;
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
    RunPlayLoop(m_pItem, m_position, stop, *this);
    if (m_position.playState != PLAY_PAUSED)
        ShowWindow(SW_HIDE);
    return 0;
}

void CAnimationWnd::ShowFrame(int index)
{
    (void)index;   // the loop has made it the current frame
    Redraw();
}

int CAnimationWnd::RepeatMode() { return ViewerSettings().Repeat; }

void CAnimationWnd::OnPaint()
{
    CPaintDC paint(this);
    COffscreenDC dc(&paint);
    DrawCurrentFrame(&dc);
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
