#include "SizeComboBox.h"

#include "ControlRules.h"

// ---- the two fields -----------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CSizeFieldEdit, CEdit)
    FwOnMessage(WM_GETDLGCODE, &ThisClass::OnGetDlgCode),
    FwOnKey(WM_KEYDOWN, &ThisClass::OnKeyDown),
    FwOnKey(WM_CHAR, &ThisClass::OnChar),
FW_END_MESSAGE_MAP()

LRESULT CSizeFieldEdit::OnGetDlgCode(WPARAM, LPARAM) { return Default() | DLGC_WANTTAB; }

void CSizeFieldEdit::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_TAB && m_pOwner) {
        m_pOwner->OnFieldTab(this, (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
        return;
    }
    Default();
}

void CSizeFieldEdit::OnChar(UINT key, UINT, UINT)
{
    if (key != L'\t')
        Default();
}

// ---- the combo box --------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CSizeComboBox, CComboBox)
    FwOnSize(&ThisClass::OnSize),
    FwOnMessage(WM_SETFOCUS, &ThisClass::OnSetFocus),
    FwOnMessage(WM_ENABLE, &ThisClass::OnEnable),
    FwOnControl(EN_CHANGE, ID_WIDTH_EDIT, &ThisClass::OnFieldChanged),
    FwOnControl(EN_CHANGE, ID_HEIGHT_EDIT, &ThisClass::OnFieldChanged),
    FwOnReflectControl(CBN_SELCHANGE, &ThisClass::OnSelChange),
FW_END_MESSAGE_MAP()

void CSizeComboBox::PreSubclassWindow() { CreateFields(); }

void CSizeComboBox::CreateFields()
{
    HWND edit = ComboEdit();
    if (!edit || m_widthEdit.m_hWnd)
        return;
    ::ShowWindow(edit, SW_HIDE);
    const DWORD field = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL;
    const CRect none(0, 0, 0, 0);
    m_widthEdit.Create(field | WS_GROUP, none, this, ID_WIDTH_EDIT);
    m_heightEdit.Create(field, none, this, ID_HEIGHT_EDIT);
    m_separator.Create(m_separatorText, WS_CHILD | WS_VISIBLE | SS_CENTER, none, this);
    m_widthEdit.m_pOwner = this;
    m_heightEdit.m_pOwner = this;
    HFONT font = GetFont();
    m_widthEdit.SetFont(font, FALSE);
    m_heightEdit.SetFont(font, FALSE);
    m_separator.SetFont(font, FALSE);
    Layout();
}

void CSizeComboBox::Layout()
{
    HWND edit = ComboEdit();
    if (!edit || !m_widthEdit.m_hWnd)
        return;
    CRect r;
    ::GetWindowRect(edit, &r);
    ScreenToClient(&r);
    const int half = (r.Width() - 12) / 2;
    m_widthEdit.MoveWindow(r.left, r.top, half, r.Height());
    m_separator.MoveWindow(r.left + half, r.top - 1, 12, r.Height() + 2);
    m_heightEdit.MoveWindow(r.left + half + 12, r.top, r.right - (r.left + half + 12), r.Height());
}

void CSizeComboBox::OnSize(UINT, int cx, int cy)
{
    Default();
    if (cx > 0 && cy > 0)
        Layout();
}

LRESULT CSizeComboBox::OnSetFocus(WPARAM, LPARAM)
{
    if (m_widthEdit.m_hWnd) {
        m_widthEdit.SetFocus();
        return 0;
    }
    return Default();
}

LRESULT CSizeComboBox::OnEnable(WPARAM wParam, LPARAM)
{
    LRESULT result = Default();
    if (m_widthEdit.m_hWnd) {
        m_widthEdit.EnableWindow(static_cast<BOOL>(wParam));
        m_heightEdit.EnableWindow(static_cast<BOOL>(wParam));
        m_separator.EnableWindow(static_cast<BOOL>(wParam));
    }
    return result;
}

void CSizeComboBox::SetFrameSize(int width, int height)
{
    m_settingSize = true;
    m_widthEdit.SetWindowText(FrameSizeField(width));
    m_heightEdit.SetWindowText(FrameSizeField(height));
    m_settingSize = false;
}

CIntPair CSizeComboBox::GetFrameSize() const
{
    CIntPair size;
    size.first = ReadFrameSizeField(m_widthEdit.GetWindowText());
    size.second = ReadFrameSizeField(m_heightEdit.GetWindowText());
    return size;
}

void CSizeComboBox::OnFieldChanged()
{
    if (m_settingSize)
        return;
    CIntPair size = GetFrameSize();
    // Through the combo, so that it does not announce the change a second time.
    SetWindowText(FormatFrameSize(size.first, size.second));
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CBN_EDITCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

BOOL CSizeComboBox::OnSelChange()
{
    int selected = GetCurSel();
    int width = 0;
    int height = 0;
    if (selected >= 0 && ParseFrameSize(GetLBText(selected), width, height))
        SetFrameSize(width, height);
    HWND focus = ::GetFocus();
    if (focus != m_widthEdit.m_hWnd && focus != m_heightEdit.m_hWnd)
        m_widthEdit.SetFocus();
    return FALSE;   // the parent hears of it too
}

void CSizeComboBox::OnFieldTab(CSizeFieldEdit* field, bool shift)
{
    if (field == &m_widthEdit && !shift) {
        m_heightEdit.SetFocus();
        return;
    }
    if (field == &m_heightEdit && shift) {
        m_widthEdit.SetFocus();
        return;
    }
    // Out of the pair: the dialog's own order.
    HWND dialog = ::GetParent(m_hWnd);
    if (dialog)
        ::SendMessageW(dialog, WM_NEXTDLGCTL, shift ? 1 : 0, FALSE);
}

void DDX_FrameSize(CDataExchange* dx, int id, CIntPair& size)
{
    HWND hwnd = dx->PrepareCtrl(id);
    if (!hwnd)
        return;
    if (dx->m_bSaveAndValidate) {
        int width = 0;
        int height = 0;
        ParseFrameSize(CWnd::FromHandle(hwnd)->GetWindowText(), width, height);
        size.first = width;
        size.second = height;
        return;
    }
    ::SetWindowTextW(hwnd, FormatFrameSize(size.first, size.second));
    if (auto* combo = dynamic_cast<CSizeComboBox*>(CWnd::FromHandlePermanent(hwnd)))
        combo->SetFrameSize(size.first, size.second);
}
