#pragma once
// The hint: a translucent pop-up over the top of the main window that shows a short text for a
// few seconds (or until clicked).
#include "CDC.h"
#include "CImageList.h"
#include "CWnd.h"

class CMessageWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    CImageList m_images;    // left end, middle, right end of the panel
    CBitmap m_bitmap;       // the rendered hint, 32 bits a pixel
    int m_nSecondsLeft = 5;

    ~CMessageWnd() override;

    virtual BOOL Create(CWnd* owner);
    // Null hides the hint.
    void ShowMessage(const wchar_t* text);
    // Back over the owner, its width kept.
    void Reposition();
    void Render(BYTE alpha);

protected:
    CWnd* m_pOwner = nullptr;

    int OnCreate(LPCREATESTRUCTW cs);
    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    void Hide();
    void PlaceAt(int width);
};
