#include "FolderBrowser.h"

#include <shlobj.h>

#include "CWnd.h"

namespace {

constexpr UINT kAddedFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_BROWSEINCLUDEURLS;

} // namespace

CFolderBrowser::CFolderBrowser(const wchar_t* title, UINT flags, CWnd* owner)
    : m_hOwner(FwHwnd(owner)), m_flags(flags | kAddedFlags), m_title(title ? title : L"")
{
}

int CALLBACK CFolderBrowser::BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data)
{
    auto* self = reinterpret_cast<CFolderBrowser*>(data);
    if (message == BFFM_INITIALIZED && !self->m_initialFolder.IsEmpty()) {
        ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(self->m_initialFolder.GetString()));
    } else if (message == BFFM_SELCHANGED) {
        // No fixed buffer: a long path shows whole.
        std::wstring path(32768, L'\0');
        if (lParam && ::SHGetPathFromIDListEx(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam), &path[0], static_cast<DWORD>(path.size()), GPFIDL_DEFAULT))
            ::SendMessageW(window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
    return 0;
}

INT_PTR CFolderBrowser::DoModal()
{
    m_folder.Empty();
    wchar_t displayName[MAX_PATH] = L"";
    BROWSEINFOW info{};
    info.hwndOwner = m_hOwner;
    info.pszDisplayName = displayName;
    info.lpszTitle = m_title;
    info.ulFlags = m_flags;
    info.lpfn = &CFolderBrowser::BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
    if (!chosen)
        return IDCANCEL;
    m_image = info.iImage;
    std::wstring path(32768, L'\0');
    BOOL got = ::SHGetPathFromIDListEx(chosen, &path[0], static_cast<DWORD>(path.size()), GPFIDL_DEFAULT);
    ::CoTaskMemFree(chosen);
    if (!got)
        return IDCANCEL;
    m_folder = path.c_str();
    return IDOK;
}
