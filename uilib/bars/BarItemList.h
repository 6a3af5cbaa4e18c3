#pragma once
// The items of a skinned bar: which one is hot (under the mouse), pressed, focused or capturing
// the mouse; mouse messages handed to them, their enabled state updated through command-update,
// their painting. The list owns its items.
#include <windows.h>

#include "BarItem.h"
#include "CCmdTarget.h"
#include "Collections.h"

class CBarItemList {
public:
    explicit CBarItemList(CWnd* ownerWnd) : m_pOwnerWnd(ownerWnd) {}
    CBarItemList(const CBarItemList&) = delete;
    CBarItemList& operator=(const CBarItemList&) = delete;

    virtual ~CBarItemList();
    // Index of the appended item.
    virtual int Add(CBarItem* item);
    virtual void RemoveAll();
    // Null outside 0..count-1.
    virtual CBarItem* GetAt(int index) const;
    virtual int FindItem(const CBarItem* item) const;
    // The first item (array order) under the point, hidden and disabled ones included; -1 for none.
    virtual int HitTest(POINT point) const;
    virtual void ModifyItemState(int index, DWORD remove, DWORD add, BOOL redraw);
    // Every item with a command id asks its enabled state: the bar's own handlers first, then
    // the target (disabled without a handler when asked). Then the bar's child controls.
    virtual void UpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler);
    // Asked before a press of an item whose command id is -1.
    virtual BOOL OnItemNotify(CBarItem* item) { return TRUE; }
    // Hands a queued message of the bar to the items; TRUE when one took it.
    virtual BOOL RelayMouseMessage(const MSG* msg);
    virtual void PaintItems(CDC* dc);

    int GetCount() const { return m_items.GetSize(); }
    CWnd* GetOwnerWnd() const { return m_pOwnerWnd; }
    CBarItem* GetHotItem() const { return m_pHotItem; }
    CBarItem* GetFocusItem() const { return m_pFocusItem; }
    CBarItem* GetPressedItem() const { return m_pPressedItem; }
    CBarItem* GetCaptureItem() const { return m_pCaptureItem; }
    BOOL IsTrackingMouseLeave() const { return m_bTrackingLeave != 0; }

    void SetHotItem(CBarItem* item);
    // Pressed, hot and focused at once (null clears all three).
    void SetTrackedItem(CBarItem* item);
    void SetCaptureItem(CBarItem* item);
    void SetHotIndex(int index) { SetHotItem(GetAt(index)); }
    void SetTrackedIndex(int index) { SetTrackedItem(GetAt(index)); }
    // Asks once per hover for the bar's WM_MOUSELEAVE.
    void TrackMouseLeave();
    void ResetHotState(BOOL clearPressed);

protected:
    CWnd* m_pOwnerWnd;
    CBarItem* m_pHotItem = nullptr;
    CBarItem* m_pFocusItem = nullptr;
    CBarItem* m_pPressedItem = nullptr;
    CBarItem* m_pCaptureItem = nullptr;
    CPtrArray m_items;
    LONG m_bTrackingLeave = 0;
};
