#include "shell/Pidl.h"

#include <cstring>
#include <string>

#include "SysHelpers.h"

namespace {

// One shared object of a thread: the users are counted by us, since a shared system object's
// Release need not say when it has really gone.
template <class T>
struct SharedObject {
    T* object = nullptr;
    int users = 0;

    template <class Make>
    T* Get(Make make)
    {
        if (!object && FAILED(make(&object)))
            object = nullptr;
        if (!object)
            return nullptr;
        if (users++ > 0)
            object->AddRef();
        return object;
    }

    void Release()
    {
        if (!object || users <= 0)
            return;
        object->Release();
        if (--users == 0)
            object = nullptr;
    }
};

thread_local SharedObject<IMalloc> t_malloc;
thread_local SharedObject<IShellFolder> t_desktop;

USHORT ElementSize(LPCITEMIDLIST element)
{
    USHORT size = 0;
    std::memcpy(&size, element, sizeof(size));
    return size;
}

LPITEMIDLIST Advance(LPCITEMIDLIST element)
{
    return reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(reinterpret_cast<const BYTE*>(element) + ElementSize(element)));
}

} // namespace

IMalloc* GetShellMalloc() { return t_malloc.Get([](IMalloc** p) { return SHGetMalloc(p); }); }

void ReleaseShellMalloc() { t_malloc.Release(); }

IShellFolder* GetDesktopFolder() { return t_desktop.Get([](IShellFolder** p) { return SHGetDesktopFolder(p); }); }

void ReleaseDesktopFolder() { t_desktop.Release(); }

bool UseShellMallocForTest(IMalloc* malloc)
{
    if (t_malloc.users > 0)
        return false;
    // The next Get adds the reference its first user holds.
    t_malloc.object = malloc;
    if (malloc)
        malloc->AddRef();
    return true;
}

UINT GetPidlSize(LPCITEMIDLIST list)
{
    UINT size = 0;
    for (LPCITEMIDLIST element = list; element && ElementSize(element); element = Advance(element))
        size += ElementSize(element);
    return size;
}

LPITEMIDLIST GetNextPidlItem(LPCITEMIDLIST list)
{
    if (!list || !ElementSize(list))
        return nullptr;
    LPITEMIDLIST next = Advance(list);
    return ElementSize(next) ? next : nullptr;
}

LPITEMIDLIST GetLastPidlItem(LPCITEMIDLIST list)
{
    LPITEMIDLIST last = const_cast<LPITEMIDLIST>(list);
    for (LPITEMIDLIST next = GetNextPidlItem(last); next; next = GetNextPidlItem(next))
        last = next;
    return last;
}

LPITEMIDLIST ConcatPidls(LPCITEMIDLIST first, LPCITEMIDLIST second)
{
    if (!first && !second)
        return nullptr;
    CShellMallocRef malloc;
    if (!malloc)
        return nullptr;
    UINT size1 = GetPidlSize(first), size2 = GetPidlSize(second);
    auto* list = static_cast<BYTE*>(malloc->Alloc(size1 + size2 + sizeof(USHORT)));
    if (!list)
        return nullptr;
    if (size1)
        std::memcpy(list, first, size1);
    if (size2)
        std::memcpy(list + size1, second, size2);
    std::memset(list + size1 + size2, 0, sizeof(USHORT));
    return reinterpret_cast<LPITEMIDLIST>(list);
}

LPITEMIDLIST PathToPidl(const wchar_t* path, HWND window)
{
    CDesktopFolderRef desktop;
    if (!desktop || !path)
        return nullptr;
    std::wstring text(path);   // ParseDisplayName wants a writable string
    LPITEMIDLIST list = nullptr;
    if (FAILED(desktop->ParseDisplayName(window, nullptr, &text[0], nullptr, &list, nullptr)))
        return nullptr;
    return list;
}

void FreePidl(LPITEMIDLIST list)
{
    if (!list)
        return;
    CShellMallocRef malloc;
    if (malloc)
        malloc->Free(list);
}

void CPidl::Free()
{
    FreePidl(m_pidl);
    m_pidl = nullptr;
}

void CPidl::Attach(LPITEMIDLIST list)
{
    if (list == m_pidl)
        return;
    Free();
    m_pidl = list;
}

void CPidl::CopyFrom(LPCITEMIDLIST list)
{
    LPITEMIDLIST copy = nullptr;
    if (list) {
        // Measured rather than asked of the allocator: the list may start inside a longer one.
        UINT size = GetPidlSize(list) + sizeof(USHORT);
        CShellMallocRef malloc;
        if (malloc && (copy = static_cast<LPITEMIDLIST>(malloc->Alloc(size))) != nullptr)
            std::memcpy(copy, list, size);
    }
    // Copied before the old list goes, so that a list may be copied over itself.
    Free();
    m_pidl = copy;
}

CString CPidl::GetPath() const
{
    wchar_t path[MAX_PATH] = L"";
    if (!m_pidl || !SHGetPathFromIDListW(m_pidl, path))
        return CString();
    return CString(path);
}

int CPidl::GetIconIndex(UINT flags) const
{
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(m_pidl), 0, &info, sizeof(info), SHGFI_PIDL | SHGFI_SYSICONINDEX | flags))
        return -1;
    return info.iIcon;
}

void CStrRet::FreeWideResult()
{
    if (m_strRet.uType == STRRET_WSTR && m_strRet.pOleStr) {
        CShellMallocRef malloc;
        if (malloc)
            malloc->Free(m_strRet.pOleStr);
    }
    m_strRet.uType = STRRET_CSTR;
    m_strRet.pOleStr = nullptr;
}

STRRET* CStrRet::Prepare(LPCITEMIDLIST item, UINT kind)
{
    FreeWideResult();
    std::memset(&m_strRet, 0, sizeof(m_strRet));
    m_item.CopyFrom(item);
    m_strRet.uType = kind;
    return &m_strRet;
}

CString CStrRet::GetString() const
{
    CString text;
    switch (m_strRet.uType) {
    case STRRET_WSTR:
        return CString(m_strRet.pOleStr);
    case STRRET_OFFSET:
        if (m_item.m_pidl)
            AnsiToWide(reinterpret_cast<const char*>(m_item.m_pidl) + m_strRet.uOffset, text);
        return text;
    case STRRET_CSTR: {
        char bounded[sizeof(m_strRet.cStr) + 1] = {};
        std::memcpy(bounded, m_strRet.cStr, sizeof(m_strRet.cStr));
        AnsiToWide(bounded, text);
        return text;
    }
    default:
        return text;
    }
}
