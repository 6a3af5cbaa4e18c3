#pragma once
// A light-weight item of a skinned bar: a rectangle in the bar's client area with a state word,
// its own painting and mouse handling. The bar's item list owns it.
#include <windows.h>

#include "CDC.h"
#include "CImageList.h"
#include "CWnd.h"
#include "FwTypes.h"

class CBarItemList;

// Item style bits (text alignment of text items; neither: centred).
constexpr DWORD BARITEM_TEXT_LEFT = 0x1;
constexpr DWORD BARITEM_TEXT_RIGHT = 0x4;

// Item state bits; the others are free for the owning bar.
constexpr DWORD BARITEM_DISABLED = 0x10;
constexpr DWORD BARITEM_HIDDEN = 0x20;

// Draw states: image index base and colour choice.
enum BarDrawState { BARSTATE_NORMAL = 0, BARSTATE_HOT = 1, BARSTATE_FOCUSED = 2, BARSTATE_PRESSED = 3, BARSTATE_DISABLED = 4 };

class CBarItem {
public:
    explicit CBarItem(CBarItemList* owner);
    CBarItem(const CBarItem&) = delete;
    CBarItem& operator=(const CBarItem&) = delete;

    virtual ~CBarItem() = default;
    virtual int GetCommandId() const { return 0; }
    virtual void GetRect(RECT* rect) const { *rect = m_rect; }
    virtual BOOL IsDisabled() const { return (m_dwState & BARITEM_DISABLED) != 0; }
    virtual BOOL IsHidden() const { return (m_dwState & BARITEM_HIDDEN) != 0; }
    virtual void SetRect(const RECT& rect, BOOL redraw);
    // Right and bottom edges are outside.
    virtual BOOL HitTest(POINT point) const;
    virtual BOOL ModifyState(DWORD remove, DWORD add, BOOL redraw);
    virtual void SetHidden(BOOL hidden);
    // 0 when the item already was in that state.
    virtual BOOL Enable(BOOL enable);
    virtual void Invalidate(BOOL update);
    // A mouse message of the bar (client coordinates); TRUE when the item took it.
    virtual BOOL OnMouseMessage(const MSG* msg);
    virtual void Paint(CDC* dc) = 0;

    const CRect& Rect() const { return m_rect; }
    DWORD GetState() const { return m_dwState; }
    DWORD GetStyle() const { return m_dwStyle; }
    void SetStyle(DWORD style) { m_dwStyle = style; }
    CBarItemList* GetOwnerList() const { return m_pList; }
    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }

protected:
    CBarItemList* m_pList;
    DWORD m_dwStyle = 0;
    CRect m_rect;
    DWORD m_dwState = 0;
    CWnd* m_pOwnerWnd;

    BOOL IsHot() const;
    BOOL IsPressed() const;
    // Mouse moves off the item or out of the bar: no longer hot nor pressed.
    void LeaveItem();
};

// The size of a list's image 0 (empty without a list or an image).
inline CSize BarImageSize(const CImageList* list)
{
    IMAGEINFO info{};
    if (!list || !list->GetImageInfo(0, &info))
        return CSize();
    return CSize(info.rcImage.right - info.rcImage.left, info.rcImage.bottom - info.rcImage.top);
}

// The client point of a mouse message.
inline CPoint BarMessagePoint(const MSG* msg) { return CPoint(msg->lParam); }
