#include <gtest/gtest.h>

#include "FrameworkTestRes.h"
#include "FwTestSupport.h"

// A small program: single-document template, a frame with its view, commands routed to the
// view, the document and the application, and a dialog opened from a menu command.
namespace {

int g_docCommands = 0;

class CSampleDoc : public CDocument {
    FW_DECLARE_MESSAGE_MAP()
protected:
    void OnDocCommand() { g_docCommands++; }
};

FW_BEGIN_MESSAGE_MAP(CSampleDoc, CDocument)
    FwOnCommand(ID_DOC_COMMAND, &ThisClass::OnDocCommand),
FW_END_MESSAGE_MAP()

// Names itself in its timer and closes with OK.
class CQuickDlg : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CString name;
    explicit CQuickDlg(CWnd* parent) : CDialog(IDD_ENTRY, parent) {}
    void DoDataExchange(CDataExchange* dx) override { DDX_Text(dx, IDC_NAME, name); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 30);
        return TRUE;
    }

protected:
    void OnTimer(UINT_PTR)
    {
        KillTimer(1);
        SetDlgItemText(IDC_NAME, L"from the view");
        PostMessage(WM_COMMAND, IDOK);
    }
};

FW_BEGIN_MESSAGE_MAP(CQuickDlg, CDialog)
    FwOnTimer(&ThisClass::OnTimer),
FW_END_MESSAGE_MAP()

class CSampleView : public CView {
    FW_DECLARE_MESSAGE_MAP()
public:
    static CSampleView* s_last;
    int initialUpdates = 0;
    int viewCommands = 0;
    INT_PTR dialogResult = 0;
    CString dialogName;
    bool ownerDisabledDuringDialog = false;

    CSampleView() { s_last = this; }
    ~CSampleView() override { s_last = nullptr; }
    void OnInitialUpdate() override { initialUpdates++; }
    void OnDraw(CDC* dc) override
    {
        CRect r;
        GetClientRect(&r);
        dc->FillSolidRect(r, RGB(0, 128, 0));
    }

protected:
    void OnViewCommand() { viewCommands++; }
    void OnOpenDialog()
    {
        CQuickDlg dlg(this);
        dialogResult = dlg.DoModal();
        dialogName = dlg.name;
    }
    void OnUpdateOpenDialog(CCmdUI* ui) { ui->SetCheck(1); }
};

CSampleView* CSampleView::s_last = nullptr;

FW_BEGIN_MESSAGE_MAP(CSampleView, CView)
    FwOnCommand(ID_VIEW_COMMAND, &ThisClass::OnViewCommand),
    FwOnCommand(ID_OPEN_DIALOG, &ThisClass::OnOpenDialog),
    FwOnUpdateCommand(ID_OPEN_DIALOG, &ThisClass::OnUpdateOpenDialog),
FW_END_MESSAGE_MAP()

class CSampleFrame : public CFrameWnd {};


} // namespace

TEST(DocumentTemplate, SampleProgramRunsFrameViewAndDialog)
{
    CWinApp& app = TestApp();
    auto* docTemplate = new CSingleDocTemplate(IDR_SAMPLE, RuntimeClassOf<CSampleDoc>(), RuntimeClassOf<CSampleFrame>(),
                                               RuntimeClassOf<CSampleView>());
    app.AddDocTemplate(docTemplate);
    app.OnFileNew();
    auto* frame = dynamic_cast<CSampleFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    CSampleView* view = CSampleView::s_last;
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetDocument(), docTemplate->GetDocument());
    EXPECT_EQ(frame->GetActiveView(), view);
    EXPECT_EQ(view->initialUpdates, 1);
    EXPECT_EQ(frame->GetWindowText(), L"Sample");
    EXPECT_EQ(docTemplate->GetDocString(2), L"Sample");
    EXPECT_TRUE(frame->IsWindowVisible());

    // The view fills the client area.
    CRect client, pane;
    frame->GetClientRect(&client);
    view->GetClientRect(&pane);
    EXPECT_EQ(pane.Size(), client.Size());

    // Routing: the active view, its document, the frame, the application.
    frame->SendMessage(WM_COMMAND, ID_VIEW_COMMAND);
    frame->SendMessage(WM_COMMAND, ID_DOC_COMMAND);
    EXPECT_EQ(view->viewCommands, 1);
    EXPECT_EQ(g_docCommands, 1);
    MSG key{view->m_hWnd, WM_KEYDOWN, VK_F5, 0, 0, {0, 0}};
    EXPECT_TRUE(frame->PreTranslateMessage(&key));   // the accelerator
    EXPECT_EQ(view->viewCommands, 2);

    // The menu's popup is updated when it opens.
    CMenu* popup = frame->GetMenu()->GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup->m_hMenu), 0);
    EXPECT_EQ(popup->GetMenuState(ID_VIEW_COMMAND, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(popup->GetMenuState(ID_DOC_COMMAND, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(popup->GetMenuState(ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(popup->GetMenuState(ID_OPEN_DIALOG, MF_BYCOMMAND) & MF_CHECKED, 0u);

    // A dialog from a menu command, owned by the frame, driven by its own timer.
    frame->PostMessage(WM_COMMAND, ID_OPEN_DIALOG);
    ASSERT_TRUE(PumpUntil([&] { return view->dialogResult != 0; }));
    EXPECT_EQ(view->dialogResult, IDOK);
    EXPECT_EQ(view->dialogName, L"from the view");
    EXPECT_TRUE(frame->IsWindowEnabled());

    // Closing the main frame ends the message loop; frame and view delete themselves.
    frame->PostMessage(WM_CLOSE);
    bool quit = false;
    EXPECT_TRUE(PumpUntil([&] { return quit; }, 10000, &quit));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(CSampleView::s_last, nullptr);
}
