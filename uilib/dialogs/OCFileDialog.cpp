#include "OCFileDialog.h"

#include <algorithm>
#include <cwchar>
#include <new>

#include "CWinApp.h"
#include "FileDialogNames.h"
#include "SysHelpers.h"

namespace {

template <class T>
std::unique_ptr<T[]> ZeroedOrThrow(size_t count)
{
    std::unique_ptr<T[]> block(new (std::nothrow) T[count]());
    if (!block)
        throw new CMemoryException;
    return block;
}

DWORD SystemRecordSize()
{
    COSVersion version;
    version.Query();
    return FileDialogRecordSize(version.m_info.dwPlatformId, version.m_info.dwMajorVersion);
}

} // namespace

DWORD FileDialogRecordSize(DWORD platformId, DWORD majorVersion)
{
    // 88 and 76 bytes in a 32-bit program; the system refuses any other size for its build.
    return platformId == VER_PLATFORM_WIN32_NT && majorVersion > 4 ? DWORD(sizeof(OPENFILENAMEW))
                                                                   : DWORD(OPENFILENAME_SIZE_VERSION_400W);
}

DWORD FileDialogFlags(DWORD flags)
{
    DWORD result = flags | OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLESIZING;
    if (flags & OFN_ENABLETEMPLATE)
        result &= ~static_cast<DWORD>(OFN_ENABLESIZING);
    return result;
}

COCFileDialog::COCFileDialog(BOOL openFileDialog, const wchar_t* defaultExt, const wchar_t* fileName, DWORD flags,
                             const wchar_t* filter, CWnd* parent, DWORD recordSize)
    : CFileDialog(openFileDialog, parent), m_strFilter(FileDialogFilterList(filter)), m_strDefExt(defaultExt)
{
    if (recordSize == 0)
        recordSize = SystemRecordSize();
    // Never less room than the fields we fill; the system judges the size we state.
    m_record = ZeroedOrThrow<unsigned char>(std::max<size_t>(recordSize, sizeof(OPENFILENAMEW)));
    m_pOFN = reinterpret_cast<OPENFILENAMEW*>(m_record.get());
    m_pOFN->lStructSize = recordSize;

    m_szFileName = ZeroedOrThrow<wchar_t>(kMaxFileChars + 1);
    m_pOFN->lpstrFile = m_szFileName.get();
    m_pOFN->nMaxFile = kMaxFileChars;
    if (fileName)
        std::wcsncpy(m_szFileName.get(), fileName, kMaxFileChars);

    m_pOFN->lpstrFileTitle = m_szFileTitle;
    m_pOFN->nMaxFileTitle = 64;
    m_pOFN->lpstrDefExt = defaultExt ? m_strDefExt.GetString() : nullptr;

    m_pOFN->Flags = FileDialogFlags(flags);
    m_pOFN->hInstance = FwGetResourceHandle();
    m_pOFN->lpfnHook = &CFileDialog::HookProc;
    m_pOFN->lpstrFilter = filter ? m_strFilter.c_str() : nullptr;
}

INT_PTR COCFileDialog::DoModal()
{
    // A clean list behind the initial name, so that a multiple selection reads right.
    size_t used = std::wcslen(m_szFileName.get()) + 1;
    std::wmemset(m_szFileName.get() + used, 0, kMaxFileChars + 1 - used);
    return CFileDialog::DoModal();
}

void COCFileDialog::OnInitDone()
{
    if (CWnd* frame = GetParent())
        frame->CenterWindow();
}
