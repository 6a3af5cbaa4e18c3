#pragma once
// The shell's own folder browser, starting at a given folder and showing the selected path as
// its status text.
#include <windows.h>

#include "CString.h"

class CWnd;

class CFolderBrowser {
public:
    // Flags are the shell's BIF_ values; file-system folders only, the new dialog style and
    // URLs are always added.
    CFolderBrowser(const wchar_t* title, UINT flags, CWnd* owner);

    void SetInitialFolder(const wchar_t* path) { m_initialFolder = path ? path : L""; }
    // IDOK when a folder was chosen, else IDCANCEL (and the result stays empty).
    INT_PTR DoModal();
    const CString& GetFolder() const { return m_folder; }

    CString m_initialFolder;
    HWND m_hOwner = nullptr;
    UINT m_flags = 0;
    CString m_title;
    CString m_folder;
    int m_image = 0;

private:
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data);
};
