#include "CFrameWnd.h"

#include <algorithm>

#include "CDC.h"
#include "CMenu.h"
#include "CWinApp.h"

// ---- control bar ----------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    FwOnMessage(WM_IDLEUPDATECMDUI, &ThisClass::OnIdleUpdateCmdUI),
FW_END_MESSAGE_MAP()

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsWindowVisible())
        return 0;
    CCmdTarget* target = GetParentFrame();
    if (!target)
        target = GetParent();
    if (target)
        OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    return 0;
}

// ---- frame ----------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnPlain(WM_CLOSE, &ThisClass::OnClose),
    FwOnSize(&ThisClass::OnSize),
    FwOnMessage(WM_INITMENUPOPUP, &ThisClass::OnInitMenuPopup),
    FwOnMessage(WM_SETFOCUS, &ThisClass::OnSetFocus),
FW_END_MESSAGE_MAP()

CFrameWnd::~CFrameWnd()
{
    if (FwGetApp() && FwGetApp()->m_pMainWnd == this)
        FwGetApp()->m_pMainWnd = nullptr;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = FwRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW),
                                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                          ::LoadIconW(FwGetResourceHandle(), MAKEINTRESOURCEW(m_nIDResource)));
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    m_nIDResource = resourceId;
    CString title = FwLoadString(resourceId);
    int newline = title.Find(L'\n');
    if (newline >= 0)
        title = title.Left(newline);
    HMENU menu = ::LoadMenuW(FwGetResourceHandle(), MAKEINTRESOURCEW(resourceId));
    if (!CreateEx(0, nullptr, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FwHwnd(parent),
                  menu, context)) {
        if (menu)
            ::DestroyMenu(menu);
        return FALSE;
    }
    m_hAccelTable = ::LoadAcceleratorsW(FwGetResourceHandle(), MAKEINTRESOURCEW(resourceId));
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTW cs)
{
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (!OnCreateClient(cs, context))
        return -1;
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTW, CCreateContext* context)
{
    if (context && context->m_pNewViewClass)
        return CreateView(context) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    CObject* object = context->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (!view) {
        delete object;
        return nullptr;
    }
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, context))
        return nullptr;   // a view that failed in WM_CREATE has deleted itself
    return view;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* bar = dynamic_cast<CControlBar*>(FromHandlePermanent(child));
        if (!bar || !bar->IsWindowVisible())
            continue;
        CSize size = bar->CalcFixedLayout(TRUE, TRUE);
        if (bar->m_dwStyle & BAR_ALIGN_BOTTOM) {
            bar->SetWindowPos(HWND(nullptr), client.left, client.bottom - size.cy, client.Width(), size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            client.bottom -= size.cy;
        } else {
            bar->SetWindowPos(HWND(nullptr), client.left, client.top, client.Width(), size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
            client.top += size.cy;
        }
    }
    if (HWND pane = ::GetDlgItem(m_hWnd, FW_IDW_PANE_FIRST))
        ::SetWindowPos(pane, nullptr, client.left, client.top, std::max(0, static_cast<int>(client.Width())),
                       std::max(0, static_cast<int>(client.Height())), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameWnd::OnSize(UINT type, int, int)
{
    Default();
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    CView* first = nullptr;
    if (doc) {
        for (CView* view : doc->GetViews()) {
            view->SendMessage(WM_INITIALUPDATE);
            if (!first)
                first = view;
        }
    }
    if (!m_pActiveView && first)
        SetActiveView(first, FALSE);
    if (makeVisible) {
        ShowWindow(FwGetApp() ? FwGetApp()->m_nCmdShow : SW_SHOW);
        UpdateWindow();
    }
}

void CFrameWnd::SetActiveView(CView* view, BOOL notify)
{
    CView* old = m_pActiveView;
    if (old == view)
        return;
    m_pActiveView = view;
    if (!notify)
        return;
    if (old)
        old->OnActivateView(FALSE, view, old);
    if (view) {
        view->OnActivateView(TRUE, view, old);
        view->SetFocus();
    }
}

CDocument* CFrameWnd::GetActiveDocument() { return m_pActiveView ? m_pActiveView->GetDocument() : nullptr; }

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, void* extra, bool probe)
{
    if (m_pActiveView && m_pActiveView->OnCmdMsg(id, code, extra, probe))
        return TRUE;
    if (CWnd::OnCmdMsg(id, code, extra, probe))
        return TRUE;
    CWinApp* app = FwGetApp();
    return app && app->OnCmdMsg(id, code, extra, probe);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (m_hAccelTable && msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST)
        return ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, msg) != 0;
    return FALSE;
}

void CFrameWnd::OnDestroy()
{
    CWinApp* app = FwGetApp();
    if (app && app->m_pMainWnd == this) {
        app->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    Default();
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    if (doc && !doc->SaveModified())
        return;
    DestroyWindow();
}

LRESULT CFrameWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    Default();
    if (HIWORD(lParam))
        return 0;   // the window menu is the system's
    FwUpdateMenuPopup(this, CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), m_bAutoMenuEnable);
    return 0;
}

LRESULT CFrameWnd::OnSetFocus(WPARAM, LPARAM)
{
    if (m_pActiveView && m_pActiveView->m_hWnd)
        m_pActiveView->SetFocus();
    else
        Default();
    return 0;
}

// ---- view -----------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CView, CWnd)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnPlain(WM_PAINT, &ThisClass::OnPaint),
    FwOnMessage(WM_INITIALUPDATE, &ThisClass::OnInitialUpdateMessage),
    FwOnMessage(WM_MOUSEACTIVATE, &ThisClass::OnMouseActivate),
FW_END_MESSAGE_MAP()

BOOL CView::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                   UINT id, void* context)
{
    return CWnd::Create(className, windowName, style, rect, parent, id, context);
}

int CView::OnCreate(LPCREATESTRUCTW cs)
{
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
        frame->SetActiveView(nullptr, FALSE);
    if (m_pDocument)
        m_pDocument->RemoveView(this);
    Default();
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

LRESULT CView::OnMouseActivate(WPARAM, LPARAM)
{
    LRESULT result = Default();
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetActiveView(this);
    return result;
}

BOOL CView::OnCmdMsg(UINT id, int code, void* extra, bool probe)
{
    if (CWnd::OnCmdMsg(id, code, extra, probe))
        return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(id, code, extra, probe);
}

// ---- document -------------------------------------------------------------------------------

CDocument::~CDocument()
{
    for (CView* view : m_views)
        view->m_pDocument = nullptr;
}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const wchar_t*)
{
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    std::vector<CFrameWnd*> frames;
    for (CView* view : m_views)
        if (CFrameWnd* frame = view->GetParentFrame(); frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    for (CFrameWnd* frame : frames)
        frame->DestroyWindow();
    DeleteContents();
}

void CDocument::SetPathName(const wchar_t* path, BOOL)
{
    m_strPathName = path ? path : L"";
    m_strTitle = m_strPathName.Mid(m_strPathName.ReverseFind(L'\\') + 1);
}

// Documents of these programs hold nothing to save: closing is always allowed.
BOOL CDocument::SaveModified() { return TRUE; }

void CDocument::AddView(CView* view)
{
    m_views.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
    view->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (CView* view : m_views)
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
}

// ---- templates ------------------------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT resourceId, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                           const CRuntimeClass* viewClass)
    : m_nIDResource(resourceId), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass)
{
}

CDocTemplate::~CDocTemplate() = default;

CString CDocTemplate::GetDocString(int index) const
{
    CString text = FwLoadString(m_nIDResource);
    int start = 0;
    for (int i = 0; i < index && start >= 0; i++) {
        start = text.Find(L'\n', start);
        if (start >= 0)
            start++;
    }
    if (start < 0)
        return CString();
    int end = text.Find(L'\n', start);
    return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd*)
{
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = doc;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass->CreateObject();
    auto* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    context.m_pCurrentFrame = frame;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context))
        return nullptr;   // the frame window deleted itself when it was destroyed
    return frame;
}

CSingleDocTemplate::~CSingleDocTemplate() { delete m_pOnlyDoc; }

CDocument* CSingleDocTemplate::OpenDocumentFile(const wchar_t* path)
{
    bool created = false;
    if (!m_pOnlyDoc) {
        CObject* object = m_pDocClass->CreateObject();
        m_pOnlyDoc = dynamic_cast<CDocument*>(object);
        if (!m_pOnlyDoc) {
            delete object;
            return nullptr;
        }
        m_pOnlyDoc->m_pDocTemplate = this;
        created = true;
    } else if (!m_pOnlyDoc->SaveModified()) {
        return nullptr;
    }
    CWinApp* app = FwGetApp();
    CFrameWnd* frame = app ? dynamic_cast<CFrameWnd*>(app->m_pMainWnd) : nullptr;
    if (!frame) {
        frame = CreateNewFrame(m_pOnlyDoc, nullptr);
        if (!frame) {
            if (created) {
                delete m_pOnlyDoc;
                m_pOnlyDoc = nullptr;
            }
            return nullptr;
        }
        if (app)
            app->m_pMainWnd = frame;
    }
    BOOL ok = path ? m_pOnlyDoc->OnOpenDocument(path) : m_pOnlyDoc->OnNewDocument();
    if (!ok)
        return nullptr;
    if (path)
        m_pOnlyDoc->SetPathName(path);
    frame->InitialUpdateFrame(m_pOnlyDoc, TRUE);
    return m_pOnlyDoc;
}

void CFrameWnd::SetMessageText(const wchar_t* text)
{
    if (HWND bar = ::GetDlgItem(m_hWnd, FW_IDW_STATUS_BAR))
        ::SetWindowTextW(bar, text ? text : L"");
}
