#include "CFileDialog.h"

#include "FileDialogNames.h"

namespace {

// The messages old-style dialogs send their hook, registered on the first dialog.
struct CommDlgMessages {
    UINT lbSelChanged = ::RegisterWindowMessageW(LBSELCHSTRINGW);
    UINT shareViolation = ::RegisterWindowMessageW(SHAREVISTRINGW);
    UINT fileNameOK = ::RegisterWindowMessageW(FILEOKSTRINGW);
    UINT help = ::RegisterWindowMessageW(HELPMSGSTRINGW);
    UINT setRgbColor = ::RegisterWindowMessageW(SETRGBSTRINGW);
};

const CommDlgMessages* g_messages = nullptr;

} // namespace

INT_PTR CFileDialog::DoModal()
{
    HWND owner = FindModalOwner();
    bool disabledOwner = owner && ::IsWindowEnabled(owner);
    if (disabledOwner)
        ::EnableWindow(owner, FALSE);
    HWND focus = ::GetFocus();

    m_pOFN->hwndOwner = owner;
    m_pOFN->lCustData = reinterpret_cast<LPARAM>(this);
    BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(m_pOFN) : ::GetSaveFileNameW(m_pOFN);

    if (disabledOwner)
        ::EnableWindow(owner, TRUE);
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        static const CommDlgMessages messages;
        g_messages = &messages;
        auto* dialog = reinterpret_cast<CFileDialog*>(reinterpret_cast<OPENFILENAMEW*>(lParam)->lCustData);
        if (!dialog || !dialog->SubclassWindow(hwnd))
            return TRUE;
        return static_cast<UINT_PTR>(dialog->OnInitDialog());
    }
    auto* dialog = dynamic_cast<CFileDialog*>(CWnd::FromHandlePermanent(hwnd));
    if (!dialog || !g_messages)
        return 0;
    if (message == g_messages->help || (message == WM_COMMAND && LOWORD(wParam) == pshHelp)) {
        dialog->SendHelpCommand();
        return 0;
    }
    // An Explorer-style dialog is told of these by CDN_SHAREVIOLATION and CDN_FILEOK as well:
    // answer each question once.
    bool explorer = (dialog->m_pOFN->Flags & OFN_EXPLORER) != 0;
    if (message == g_messages->shareViolation && !explorer)
        return dialog->OnShareViolation(reinterpret_cast<const wchar_t*>(lParam));
    if (message == g_messages->fileNameOK && !explorer)
        return static_cast<UINT_PTR>(dialog->OnFileNameOK());
    if (message == g_messages->lbSelChanged)
        dialog->OnLBSelChangedNotify(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    return 0;
}

LRESULT CFileDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    // The system dialog reads a notification's answer from the dialog's result word.
    if (message == WM_NOTIFY && m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return result;
}

BOOL CFileDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto* notify = reinterpret_cast<OFNOTIFYW*>(lParam);
    switch (notify->hdr.code) {
    case CDN_INITDONE:
        OnInitDone();
        return TRUE;
    case CDN_SELCHANGE:
        OnFileNameChange();
        return TRUE;
    case CDN_FOLDERCHANGE:
        OnFolderChange();
        return TRUE;
    case CDN_SHAREVIOLATION:
        *result = OnShareViolation(notify->pszFile);
        return TRUE;
    case CDN_HELP:
        SendHelpCommand();
        return TRUE;
    case CDN_FILEOK:
        *result = OnFileNameOK();
        return TRUE;
    case CDN_TYPECHANGE:
        OnTypeChange();
        return TRUE;
    default:
        return CDialog::OnNotify(wParam, lParam, result);
    }
}

bool CFileDialog::IsExplorerOpen() const { return m_hWnd && (m_pOFN->Flags & OFN_EXPLORER); }

CString CFileDialog::AskDialog(UINT message) const
{
    HWND frame = ::GetParent(m_hWnd);
    for (int size = MAX_PATH;;) {
        CString text;
        LRESULT needed = ::SendMessageW(frame, message, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text.GetBuffer(size)));
        if (needed <= 0) {
            text.ReleaseBuffer(0);
            return text;
        }
        if (needed <= size) {
            text.ReleaseBuffer();
            return text;
        }
        size = static_cast<int>(needed);
    }
}

CString CFileDialog::GetPathName() const
{
    if (IsExplorerOpen() && !AskDialog(CDM_GETSPEC).IsEmpty())
        return AskDialog(CDM_GETFILEPATH);
    return m_pOFN->lpstrFile;
}

CString CFileDialog::GetFileExt() const
{
    if (IsExplorerOpen()) {
        CString name = AskDialog(CDM_GETSPEC);
        int dot = name.ReverseFind(L'.');
        return dot < 0 ? CString() : name.Mid(dot + 1);
    }
    // A multiple selection has no extension offset.
    return m_pOFN->nFileExtension ? CString(m_pOFN->lpstrFile + m_pOFN->nFileExtension) : CString();
}

POSITION CFileDialog::GetStartPosition() const
{
    return reinterpret_cast<POSITION>(m_pOFN->lpstrFile);
}

CString CFileDialog::GetNextPathName(POSITION& position) const
{
    // Without multiple selection the buffer is one path, whatever follows its terminator
    // (the rest of a longer initial name, blanks in an old-style name).
    if (!(m_pOFN->Flags & OFN_ALLOWMULTISELECT)) {
        position = nullptr;
        return m_pOFN->lpstrFile;
    }
    const wchar_t* at = reinterpret_cast<const wchar_t*>(position);
    CString path = NextFileDialogPath(m_pOFN->lpstrFile, at, (m_pOFN->Flags & OFN_EXPLORER) != 0);
    position = reinterpret_cast<POSITION>(const_cast<wchar_t*>(at));
    return path;
}
