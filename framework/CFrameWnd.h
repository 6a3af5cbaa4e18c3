#pragma once
// Frame, control bar, view and document, tied together by a single-document template.
#include <windows.h>

#include <vector>

#include "CWnd.h"

class CDocument;
class CDocTemplate;
class CFrameWnd;
class CView;

// Pane and bar ids of a frame.
constexpr UINT FW_IDW_PANE_FIRST = 0xE900;
constexpr UINT FW_IDW_STATUS_BAR = 0xE801;

// Control-bar alignment styles (in the low word of the bar style).
constexpr DWORD BAR_ALIGN_TOP = 0x2000;
constexpr DWORD BAR_ALIGN_BOTTOM = 0x8000;
constexpr DWORD BAR_STYLE_MASK = 0x40FFFF;

// What a frame needs to build its client area.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

// A bar docked at the top or the bottom of its frame. Its size comes from CalcFixedLayout;
// its items are updated from the frame at idle time through OnUpdateCmdUI.
class CControlBar : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    DWORD m_dwStyle = 0;   // alignment bits (BAR_ALIGN_...)

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) = 0;
    // `target` is the parent frame, or the parent window when the bar sits elsewhere (a dialog).
    virtual void OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler) = 0;
    void PostNcDestroy() override {}

protected:
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
};

class CFrameWnd : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    BOOL m_bAutoMenuEnable = TRUE;   // disable menu commands nobody handles
    HACCEL m_hAccelTable = nullptr;

    ~CFrameWnd() override;

    // Creates the frame with the menu, accelerators, icon and title of resource `resourceId`.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW, CWnd* parent = nullptr,
                           CCreateContext* context = nullptr);
    // Creates the view of the context as the first pane.
    virtual BOOL OnCreateClient(LPCREATESTRUCTW cs, CCreateContext* context);
    CWnd* CreateView(CCreateContext* context, UINT id = FW_IDW_PANE_FIRST);
    // Places the visible bars along the edges and the first pane in the rest.
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Sends the initial update to the views and makes the first one active.
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);

    // The status line's text (menu help): the child FW_IDW_STATUS_BAR, when the frame has one.
    virtual void SetMessageText(const wchar_t* text);

    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* view, BOOL notify = TRUE);
    CDocument* GetActiveDocument();

    // Active view (and its document), then the frame, then the application.
    BOOL OnCmdMsg(UINT id, int code, void* extra, bool probe = false) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PostNcDestroy() override { delete this; }

protected:
    CView* m_pActiveView = nullptr;
    UINT m_nIDResource = 0;

    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);
};

class CView : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    CDocument* GetDocument() const { return m_pDocument; }
    // Drawing hook of WM_PAINT.
    virtual void OnDraw(CDC* dc) {}
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) { Invalidate(); }
    virtual void OnActivateView(BOOL activate, CView* activated, CView* deactivated) {}

    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, void* context = nullptr) override;
    // The view's own map, then its document's.
    BOOL OnCmdMsg(UINT id, int code, void* extra, bool probe = false) override;
    void PostNcDestroy() override { delete this; }

protected:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;

    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnPaint();
    LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    LRESULT OnMouseActivate(WPARAM wParam, LPARAM lParam);
};

class CDocument : public CCmdTarget {
public:
    ~CDocument() override;

    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const wchar_t* path);
    virtual void OnCloseDocument();
    virtual void SetPathName(const wchar_t* path, BOOL addToRecent = TRUE);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetTitle(const wchar_t* title) { m_strTitle = title; }
    const CString& GetTitle() const { return m_strTitle; }
    // TRUE when the document may be closed.
    virtual BOOL SaveModified();
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    virtual void DeleteContents() {}

    void AddView(CView* view);
    void RemoveView(CView* view);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

protected:
    friend class CDocTemplate;
    friend class CSingleDocTemplate;
    CString m_strPathName;
    CString m_strTitle;
    BOOL m_bModified = FALSE;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
};

class CDocTemplate : public CCmdTarget {
public:
    CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                 const CRuntimeClass* viewClass);
    ~CDocTemplate() override;

    // Field `index` of the template's "\n"-separated document string (resource `resourceId`).
    CString GetDocString(int index) const;
    // A new document (null path) or the one at `path`; null when that fails.
    virtual CDocument* OpenDocumentFile(const wchar_t* path) = 0;
    CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
};

// One document, one frame (the main window) and its view, reused for every new or opened file.
class CSingleDocTemplate : public CDocTemplate {
public:
    using CDocTemplate::CDocTemplate;
    ~CSingleDocTemplate() override;
    CDocument* OpenDocumentFile(const wchar_t* path) override;
    CDocument* GetDocument() const { return m_pOnlyDoc; }

private:
    CDocument* m_pOnlyDoc = nullptr;
};
