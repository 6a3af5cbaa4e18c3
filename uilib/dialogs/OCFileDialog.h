#pragma once
// The open and save dialog of both programs: a record in the size the running system expects
// and a name buffer that holds very large multiple selections (0x100000 characters).
#include <windows.h>
#include <commdlg.h>

#include <memory>
#include <string>

#include "CFileDialog.h"

class COCFileDialog : public CFileDialog {
public:
    static constexpr DWORD kMaxFileChars = 0x100000;

    // `filter` in the "GIF Files (*.gif)|*.gif||" form; `recordSize` 0: the system's size.
    // Raises the framework's memory exception when the buffers cannot be had.
    explicit COCFileDialog(BOOL openFileDialog, const wchar_t* defaultExt = nullptr, const wchar_t* fileName = nullptr,
                           DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const wchar_t* filter = nullptr,
                           CWnd* parent = nullptr, DWORD recordSize = 0);
    ~COCFileDialog() override = default;

    INT_PTR DoModal() override;
    // Centres the dialog on its owner.
    void OnInitDone() override;

private:
    std::unique_ptr<unsigned char[]> m_record;
    std::wstring m_strFilter;
    CString m_strDefExt;
    wchar_t m_szFileTitle[64] = {};
    std::unique_ptr<wchar_t[]> m_szFileName;
};

// The record size for a system: 88 bytes on the NT platform from version 5 on, 76 before.
DWORD FileDialogRecordSize(DWORD platformId, DWORD majorVersion);
// Given flags with what the dialog always needs: hook, Explorer style and sizing (not with a
// template of the caller's, which may not be sizable).
DWORD FileDialogFlags(DWORD flags);
