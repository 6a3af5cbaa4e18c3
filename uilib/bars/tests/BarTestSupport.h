#pragma once
// Bars of the bar tests: a skinned bar with an item list of its own (as the programs' control
// bars are), a host window for it, solid-colour image strips and a memory canvas to paint on.
#include <vector>

#include "BarItemList.h"
#include "FwTestSupport.h"
#include "SkinBar.h"

// A plain hidden pop-up window that bars can be put in.
class CBarHost : public CWnd {
public:
    bool Make(int width = 400, int height = 60)
    {
        return CreateEx(0, nullptr, L"bar test", WS_POPUP | WS_CLIPCHILDREN, 0, 0, width, height, nullptr, nullptr) != FALSE;
    }
    ~CBarHost() override
    {
        if (GetSafeHwnd())
            DestroyWindow();
    }
};

class CItemBar : public CSkinBar, public CBarItemList {
    FW_DECLARE_MESSAGE_MAP()
public:
    BOOL notifyAnswer = TRUE;
    int notifies = 0;
    std::vector<int> positions;        // 0x676 from the slider
    std::vector<LPARAM> positionItems;

    CItemBar() : CBarItemList(this) {}
    BOOL OnItemNotify(CBarItem*) override
    {
        notifies++;
        return notifyAnswer;
    }
    void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) override { UpdateCmdUI(target, disableIfNoHandler); }
    // Commands the items posted to the bar, taken out of the queue.
    std::vector<int> TakeCommands()
    {
        std::vector<int> ids;
        MSG msg;
        while (::PeekMessageW(&msg, m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            ids.push_back(LOWORD(msg.wParam));
        return ids;
    }

protected:
    LRESULT OnSliderPos(WPARAM wParam, LPARAM lParam)
    {
        positions.push_back(static_cast<int>(wParam));
        positionItems.push_back(lParam);
        return 0;
    }
    // The bar's own update handler answers before the frame's.
    void OnUpdateOwn(CCmdUI* ui) { ui->Enable(TRUE); }
};

// An image list of 20 x 24 (or the given size) solid-colour images, one per colour.
inline void MakeStrip(CImageList& list, const std::vector<COLORREF>& colours, int width = 20, int height = 24)
{
    list.Create(width, height, ILC_COLOR24, static_cast<int>(colours.size()), 0);
    CClientDC screen(nullptr);
    CDC dc;
    dc.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(screen.m_hDC, width * static_cast<int>(colours.size()), height);
    HGDIOBJ old = dc.SelectObject(&bitmap);
    for (size_t i = 0; i < colours.size(); i++)
        dc.FillSolidRect(CRect(static_cast<int>(i) * width, 0, static_cast<int>(i + 1) * width, height), colours[i]);
    dc.SelectObject(old);
    list.Add(&bitmap, static_cast<CBitmap*>(nullptr));
}

// A 400 x 60 colour bitmap in a memory context, painted white.
class CCanvas {
public:
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ old = nullptr;

    CCanvas()
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(screen.m_hDC, 400, 60);
        old = dc.SelectObject(&bitmap);
        Clear();
    }
    ~CCanvas() { dc.SelectObject(old); }
    void Clear() { dc.FillSolidRect(CRect(0, 0, 400, 60), RGB(255, 255, 255)); }
    COLORREF At(int x, int y) { return dc.GetPixel(x, y); }
    int Count(const RECT& r, COLORREF colour)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                n += At(x, y) == colour;
        return n;
    }
};

inline MSG MouseMessage(HWND bar, UINT message, int x, int y, WPARAM flags = 0)
{
    MSG msg{};
    msg.hwnd = bar;
    msg.message = message;
    msg.wParam = flags;
    msg.lParam = MAKELPARAM(x, y);
    return msg;
}
