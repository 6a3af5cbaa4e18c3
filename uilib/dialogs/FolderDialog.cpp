#include "dialogs/FolderDialog.h"

#include <shlwapi.h>

#include "CMenu.h"
#include "SysHelpers.h"
#include "res/UiShellRes.h"
#include "shell/ShellTreeLogic.h"

namespace {

constexpr UINT kFirstPresetCommand = 40000;
constexpr int kMargin = 10;
constexpr int kMinTrackWidth = 320;
constexpr int kMinTrackHeight = 280;
constexpr DWORD kSizeGripStyle = WS_CHILD | WS_VISIBLE | SBS_SIZEBOX | SBS_SIZEBOXBOTTOMRIGHTALIGN | SBS_SIZEGRIP;
constexpr UINT kSizeGripId = 0xE900;

// Piece `index` of a "|"-separated text; false past the last piece (an empty text has none).
bool Piece(const CString& text, int index, CString& piece)
{
    piece.Empty();
    if (text.IsEmpty())
        return false;
    int start = 0;
    for (int i = 0; i < index; i++) {
        start = text.Find(L'|', start);
        if (start < 0)
            return false;
        start++;
    }
    int end = text.Find(L'|', start);
    piece = text.Mid(start, (end < 0 ? text.GetLength() : end) - start);
    return true;
}

CRect ChildRect(const CWnd* parent, HWND child)
{
    CRect r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CFolderDialog, CDialog)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnSize(&ThisClass::OnSize),
    FwOnMessage(WM_GETMINMAXINFO, &ThisClass::OnGetMinMaxInfo),
    FwOnControl(BN_CLICKED, IDC_FOLDER_PRESETS, &ThisClass::OnPresetButton),
    FwOnControl(CBN_SELCHANGE, IDC_FOLDER_PATTERN, &ThisClass::OnPatternSelChange),
    FwOnMessage(WM_FOLDER_SELECT_DONE, &ThisClass::OnSelectDone),
    FwOnMessage(WM_FOLDER_SELECT_STEP, &ThisClass::OnSelectStep),
    FwOnMessage(WM_FOLDER_SHOW_PRESET, &ThisClass::OnShowPreset),
FW_END_MESSAGE_MAP()

CFolderDialog::CFolderDialog(CWnd* parent) : CDialog(IDD_FOLDER_DIALOG, parent) {}

CFolderDialog::~CFolderDialog() { JoinSelectThread(true); }

void CFolderDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_FOLDER_PATTERN, m_comboPattern);
    DDX_Control(dx, IDC_FOLDER_TREE, m_tree);
    // The pattern lives in the combo's edit part.
    dx->PrepareCtrl(IDC_FOLDER_PATTERN);
    if (dx->m_bSaveAndValidate)
        m_strPattern = m_comboPattern.GetEditText();
    else
        m_comboPattern.SetEditText(m_strPattern);
    DDX_Text(dx, IDC_FOLDER_PROMPT, m_strPrompt);
    DDX_Check(dx, IDC_FOLDER_SCAN_SUBFOLDERS, m_bScanSubfolders);
}

int CFolderDialog::OnCreate(LPCREATESTRUCTW)
{
    if (static_cast<int>(Default()) == -1)
        return -1;
    if (!m_sizeGrip.Create(kSizeGripStyle, CRect(0, 0, 200, 200), this, kSizeGripId))
        return -1;
    if (!m_toolTip.Create(this))
        return -1;
    return 0;
}

BOOL CFolderDialog::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CDialog::PreTranslateMessage(msg);
}

BOOL CFolderDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    ModifyStyleEx(0, WS_EX_DLGMODALFRAME);
    if (CMenu* system = GetSystemMenu(FALSE)) {
        for (UINT command : {SC_RESTORE, SC_MINIMIZE, SC_MAXIMIZE})
            system->DeleteMenu(command, MF_BYCOMMAND);
    }
    m_toolTip.AddTool(GetDlgItem(IDC_FOLDER_PRESETS), L"Preset including filters");
    if (!m_strTitle.IsEmpty())
        SetWindowText(m_strTitle);

    m_tree.SetRoot(nullptr, 0);
    if (HTREEITEM root = m_tree.GetRootItem())
        m_tree.Expand(root, TVE_EXPAND);

    CString piece;
    for (int i = 0; Piece(m_strPatternList, i, piece) && !piece.IsEmpty(); i++)
        m_comboPattern.InsertItem(i, piece, -1);
    if (m_nInitialPreset != -1 && (m_strPattern.IsEmpty() || m_strPattern == L"*")) {
        m_comboPattern.SetCurSel(m_nInitialPreset);
        ShowPresetPatterns();
    }
    if (m_comboPattern.GetEditText().IsEmpty())
        m_comboPattern.SetCurSel(0);

    // A longer path would have to be cut, and a cut path names another folder.
    if (m_strInitialFolder.GetLength() <= kMaxHelperPath && ::PathFileExistsW(m_strInitialFolder)) {
        wchar_t pretty[kMaxHelperPath + 1] = L"";
        ::lstrcpynW(pretty, m_strInitialFolder, kMaxHelperPath + 1);
        ::PathMakePrettyW(pretty);
        m_strInitialFolder = pretty;
        StartSelectThread();
    }
    Layout();
    return TRUE;
}

void CFolderDialog::StartSelectThread()
{
    m_selectJob.dialog = m_hWnd;
    m_selectJob.cancel = 0;
    auto* thread = new CWinThread(&SelectThreadProc, &m_selectJob);
    thread->m_bAutoDelete = FALSE;
    if (!thread->CreateThread(CREATE_SUSPENDED)) {
        delete thread;
        m_tree.SelectPath(m_strInitialFolder);
        return;
    }
    thread->SetThreadPriority(THREAD_PRIORITY_NORMAL);
    m_pSelectThread = thread;
    thread->ResumeThread();
}

// The walk itself runs on the dialog's thread, one step per message: the tree's shell folders
// belong to that thread, and between steps the dialog stays responsive and can stop the walk.
UINT CFolderDialog::SelectThreadProc(void* param)
{
    auto* job = static_cast<SelectJob*>(param);
    for (WPARAM step = 0; !job->cancel; step++)
        if (!::SendMessageW(job->dialog, WM_FOLDER_SELECT_STEP, step, 0))
            break;
    ::PostMessageW(job->dialog, WM_FOLDER_SELECT_DONE, 0, 0);
    return 0;
}

LRESULT CFolderDialog::OnSelectStep(WPARAM step, LPARAM)
{
    if (m_selectJob.cancel)
        return 0;
    if (step == 0) {
        m_selectSteps = ShellPathSteps(m_strInitialFolder);
        m_hSelectItem = m_tree.FindPathStart();
        return m_hSelectItem && !m_selectSteps.IsEmpty();
    }
    int component = static_cast<int>(step) - 1;
    if (!m_hSelectItem)
        return 0;
    if (component < m_selectSteps.GetSize()) {
        m_hSelectItem = m_tree.FindPathStep(m_hSelectItem, m_selectSteps[component]);
        return m_hSelectItem != nullptr;
    }
    m_tree.Expand(m_hSelectItem, TVE_EXPAND);
    m_tree.Select(m_hSelectItem, TVGN_CARET);
    return 0;
}

LRESULT CFolderDialog::OnSelectDone(WPARAM, LPARAM)
{
    JoinSelectThread(false);
    return 0;
}

void CFolderDialog::JoinSelectThread(bool cancel)
{
    if (!m_pSelectThread)
        return;
    if (cancel) {
        m_selectJob.cancel = 1;
        m_pSelectThread->SetThreadPriority(THREAD_PRIORITY_ABOVE_NORMAL);
    }
    WaitForThreadServingSentMessages(m_pSelectThread->m_hThread);
    delete m_pSelectThread;
    m_pSelectThread = nullptr;
}

void CFolderDialog::OnDestroy()
{
    JoinSelectThread(true);
    Default();
}

CString CFolderDialog::PresetPatterns(int index) const
{
    CString patterns;
    Piece(m_strPresets, 2 * index + 1, patterns);
    return patterns;
}

void CFolderDialog::OnPatternSelChange() { PostMessage(WM_FOLDER_SHOW_PRESET); }

LRESULT CFolderDialog::OnShowPreset(WPARAM, LPARAM)
{
    ShowPresetPatterns();
    return 0;
}

void CFolderDialog::ShowPresetPatterns()
{
    int index = m_comboPattern.GetCurSel();
    if (index < 0)
        return;
    m_comboPattern.SetEditText(PresetPatterns(index));
}

void CFolderDialog::OnPresetButton()
{
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    CString name;
    for (int k = 0; Piece(m_strPresets, 2 * k, name) && !name.IsEmpty(); k++)
        menu.AppendMenu(MF_STRING, kFirstPresetCommand + k, name);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    UINT chosen = static_cast<UINT>(menu.TrackPopupMenu(TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, this));
    if (chosen >= kFirstPresetCommand)
        m_comboPattern.SetEditText(PresetPatterns(static_cast<int>(chosen - kFirstPresetCommand)));
}

void CFolderDialog::OnOK()
{
    // The user's choice counts, not where the walk to the initial folder would have gone.
    JoinSelectThread(true);
    if (!UpdateData(TRUE))
        return;
    m_strFolder = m_tree.GetSelectedPath();
    if (m_strPattern.IsEmpty())
        m_strPattern = L"*";
    EndDialog(IDOK);
}

void CFolderDialog::OnSize(UINT, int, int)
{
    Default();
    if (m_sizeGrip.m_hWnd)
        Layout();
}

LRESULT CFolderDialog::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    info->ptMinTrackSize.x = kMinTrackWidth;
    info->ptMinTrackSize.y = kMinTrackHeight;
    return 0;
}

void CFolderDialog::Layout()
{
    HWND prompt = ::GetDlgItem(m_hWnd, IDC_FOLDER_PROMPT), ok = ::GetDlgItem(m_hWnd, IDOK),
         cancel = ::GetDlgItem(m_hWnd, IDCANCEL), check = ::GetDlgItem(m_hWnd, IDC_FOLDER_SCAN_SUBFOLDERS),
         combo = ::GetDlgItem(m_hWnd, IDC_FOLDER_PATTERN), presets = ::GetDlgItem(m_hWnd, IDC_FOLDER_PRESETS),
         label = ::GetDlgItem(m_hWnd, IDC_FOLDER_PATTERN_LABEL), tree = ::GetDlgItem(m_hWnd, IDC_FOLDER_TREE);
    if (!prompt || !ok || !cancel || !check || !combo || !presets || !label || !tree || !m_sizeGrip.m_hWnd)
        return;
    CRect c;
    GetClientRect(&c);
    CRect rPrompt = ChildRect(this, prompt), rOk = ChildRect(this, ok), rCheck = ChildRect(this, check),
          rCombo = ChildRect(this, combo), rPresets = ChildRect(this, presets), rLabel = ChildRect(this, label),
          rTree = ChildRect(this, tree), rGrip = ChildRect(this, m_sizeGrip.m_hWnd);
    int okWidth = rOk.Width(), okHeight = rOk.Height(), comboHeight = rCombo.Height(), labelHeight = rLabel.Height();
    bool hasPresets = !m_strPresets.IsEmpty();

    HDWP dwp = ::BeginDeferWindowPos(9);
    auto place = [&dwp](HWND wnd, int left, int top, int right, int bottom, UINT extra = 0) {
        if (dwp)
            dwp = ::DeferWindowPos(dwp, wnd, nullptr, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE | extra);
    };
    place(prompt, rPrompt.left, rPrompt.top, c.right - kMargin, rPrompt.bottom);
    int cancelRight = c.right - kMargin, buttonBottom = c.bottom - kMargin, buttonTop = buttonBottom - okHeight;
    place(cancel, cancelRight - okWidth, buttonTop, cancelRight, buttonBottom);
    int okRight = cancelRight - okWidth - 6;
    place(ok, okRight - okWidth, buttonTop, okRight, buttonBottom);
    int checkTop = buttonTop + 2 + (okHeight - rCheck.Height()) / 2;
    place(check, rCheck.left, checkTop, rCheck.right, checkTop + rCheck.Height());
    int comboRight = hasPresets ? c.right - rPresets.Width() - 16 : c.right - kMargin;
    int comboBottom = c.bottom - okHeight - 19, comboTop = comboBottom - comboHeight;
    place(combo, rCombo.left, comboTop, comboRight, comboBottom);
    place(presets, comboRight + 6, comboTop, c.right - kMargin, comboBottom, hasPresets ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    int labelTop = c.bottom - okHeight - comboHeight - labelHeight - 21;
    place(label, rLabel.left, labelTop, rLabel.right, labelTop + labelHeight);
    place(tree, rTree.left, rTree.top, c.right - kMargin, c.bottom - okHeight - comboHeight - labelHeight - 27);
    place(m_sizeGrip.m_hWnd, c.right - rGrip.Width(), c.bottom - rGrip.Height(), c.right, c.bottom);
    if (dwp)
        ::EndDeferWindowPos(dwp);
}
