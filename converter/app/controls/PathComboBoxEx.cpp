#include "PathComboBoxEx.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "ControlRules.h"
#include "RecentList.h"
#include "UiHelpers.h"

namespace {

// Posted to itself once the combo box has finished with the clear entry's selection.
constexpr UINT WM_RESTORE_EDIT_TEXT = WM_APP + 0x2E1;

// No icon is I_IMAGENONE: -1 would have the box ask its parent for one.
int SmallIconOf(const wchar_t* path)
{
    if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return I_IMAGENONE;
    SHFILEINFOW info{};
    if (!::SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON))
        return I_IMAGENONE;
    return info.iIcon;
}

CString DroppedPath(HDROP drop, UINT index)
{
    UINT length = ::DragQueryFileW(drop, index, nullptr, 0);
    CString path;
    ::DragQueryFileW(drop, index, path.GetBuffer(static_cast<int>(length) + 1), length + 1);
    path.ReleaseBuffer(static_cast<int>(length));
    return path;
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CPathComboBoxEx, CImageComboBox)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnMessage(WM_DROPFILES, &ThisClass::OnDropFiles),
FW_END_MESSAGE_MAP()

void CPathComboBoxEx::PreSubclassWindow() { SetUpAutoComplete(); }

int CPathComboBoxEx::OnCreate(LPCREATESTRUCTW)
{
    if (Default() == -1)
        return -1;
    SetUpAutoComplete();
    return 0;
}

void CPathComboBoxEx::SetUpAutoComplete()
{
    if (m_autoComplete)
        return;
    DWORD flags = SHACF_FILESYSTEM;
    if (m_mode == MODE_FILES)
        flags = SHACF_FILESYS_ONLY;
    else if (m_mode == MODE_FOLDERS)
        flags = SHACF_FILESYS_DIRS;
    HWND edit = GetEditCtrl();
    if (edit && ShellAutoComplete(edit, flags | SHACF_AUTOSUGGEST_FORCE_ON | SHACF_AUTOAPPEND_FORCE_ON | SHACF_USETAB))
        m_autoComplete = 1;
}

int CPathComboBoxEx::FindStringExact(int start, const wchar_t* text) const
{
    const CString wanted(text);
    const int count = GetCount();
    for (int i = start < 0 ? 0 : start; i < count; i++) {
        if (PathsEqual(GetItemText(i), wanted))
            return i;
    }
    return -1;
}

int CPathComboBoxEx::InsertPath(int index, const wchar_t* path) { return InsertItem(index, path, SmallIconOf(path)); }

int CPathComboBoxEx::SelectPath(const wchar_t* path, BOOL insert)
{
    if (!path || !*path)
        return -1;
    int found = FindStringExact(0, path);
    if (found >= 0) {
        CString listed = GetItemText(found);
        DeleteItem(found);
        InsertPath(0, listed);
    } else if (insert) {
        InsertPath(0, path);
    } else {
        SetCurSel(-1);
        SetEditText(path);
        return -1;
    }
    SetCurSel(0);
    return 0;
}

bool CPathComboBoxEx::Accepts(const CString& path) const
{
    DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? (m_mode & MODE_FOLDERS) != 0 : (m_mode & MODE_FILES) != 0;
}

LRESULT CPathComboBoxEx::OnDropFiles(WPARAM wParam, LPARAM)
{
    auto drop = reinterpret_cast<HDROP>(wParam);
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; i++) {
        CString path = DroppedPath(drop, i);
        if (Accepts(path)) {
            SelectPath(path, FALSE);
            break;
        }
    }
    ::DragFinish(drop);
    SetForegroundWindow();
    return 0;
}

// ---- history ----------------------------------------------------------------------------------

FW_BEGIN_MESSAGE_MAP(CHistoryComboBoxEx, CPathComboBoxEx)
    FwOnReflectControl(CBN_DROPDOWN, &ThisClass::OnDropDownRefill),
    FwOnReflectControl(CBN_SELENDOK, &ThisClass::OnSelEndOk),
    FwOnMessage(WM_RESTORE_EDIT_TEXT, &ThisClass::OnRestoreText),
FW_END_MESSAGE_MAP()

void CHistoryComboBoxEx::SetHistory(CRecentListBase* history, const wchar_t* clearText)
{
    m_history = history;
    m_clearText = clearText ? clearText : L"";
    Refill();
}

void CHistoryComboBoxEx::Refill()
{
    if (!m_history)
        return;
    ResetContent();
    for (int i = 0; i < m_history->GetCount(); i++) {
        const CString& entry = m_history->GetAt(i);
        if (entry.IsEmpty())
            break;
        InsertPath(GetCount(), entry);
    }
    if (GetCount() > 0 && !m_clearText.IsEmpty())
        InsertItem(GetCount(), m_clearText, I_IMAGENONE);
}

bool CHistoryComboBoxEx::IsClearEntry(int index) const
{
    return m_history && !m_clearText.IsEmpty() && index >= 0 && index == GetCount() - 1 && GetItemText(index) == m_clearText;
}

int CHistoryComboBoxEx::SelectPath(const wchar_t* path, BOOL insert)
{
    Refill();
    return CPathComboBoxEx::SelectPath(path, insert);
}

void CHistoryComboBoxEx::OnDropDownRefill()
{
    // The refill empties the box: what it showed stays, selected when it is listed, and it is
    // what the box keeps when the clear entry is chosen (the edit shows each entry the mouse
    // passes over on the way).
    m_textBeforeClear = GetEditText();
    Refill();
    const int listed = FindStringExact(0, m_textBeforeClear);
    if (listed >= 0 && !IsClearEntry(listed))
        SetCurSel(listed);
    else
        SetEditText(m_textBeforeClear);
    AdjustDroppedWidth();
}

BOOL CHistoryComboBoxEx::OnSelEndOk()
{
    if (!IsClearEntry(GetCurSel()))
        return FALSE;
    m_history->RemoveAll();
    ResetContent();
    PostMessage(WM_RESTORE_EDIT_TEXT);
    return TRUE;
}

LRESULT CHistoryComboBoxEx::OnRestoreText(WPARAM, LPARAM)
{
    SetCurSel(-1);
    SetEditText(m_textBeforeClear);
    return 0;
}
