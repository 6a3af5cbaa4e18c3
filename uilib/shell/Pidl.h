#pragma once
// Item-identifier lists of the shell namespace: list functions, the shell allocator and desktop
// folder shared by reference counting, and owning holders for a list and for a display name.
#include <windows.h>
#include <shlobj.h>

#include "CString.h"

// Sum of the element counts without the terminator; 0 for null.
UINT GetPidlSize(LPCITEMIDLIST list);
// The element after the first, or null when the list is null, empty or has only one element.
LPITEMIDLIST GetNextPidlItem(LPCITEMIDLIST list);
// The last element; the list itself when it has one element or none.
LPITEMIDLIST GetLastPidlItem(LPCITEMIDLIST list);
// A new list (shell allocator) of both lists' elements; either may be null, both null gives null.
LPITEMIDLIST ConcatPidls(LPCITEMIDLIST first, LPCITEMIDLIST second);
// The desktop's parse of a path, or null; the caller frees it with the shell allocator.
LPITEMIDLIST PathToPidl(const wchar_t* path, HWND window);

// The shell allocator and the desktop folder, shared by all users of one thread (shell folders
// belong to the thread that made them). Each Get takes one reference, each Release drops one;
// the last Release lets the object go, so nothing outlives its users.
IMalloc* GetShellMalloc();
void ReleaseShellMalloc();
IShellFolder* GetDesktopFolder();
void ReleaseDesktopFolder();
// Tests hand in an allocator that counts; only while no allocator is in use on the thread.
bool UseShellMallocForTest(IMalloc* malloc);

// One reference for the lifetime of a scope (dropped on early exits too).
template <class T, T* (*Take)(), void (*Drop)()>
class CSharedShellRef {
public:
    CSharedShellRef() : m_p(Take()) {}
    ~CSharedShellRef() { if (m_p) Drop(); }
    CSharedShellRef(const CSharedShellRef&) = delete;
    CSharedShellRef& operator=(const CSharedShellRef&) = delete;
    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

private:
    T* m_p;
};
using CShellMallocRef = CSharedShellRef<IMalloc, GetShellMalloc, ReleaseShellMalloc>;
using CDesktopFolderRef = CSharedShellRef<IShellFolder, GetDesktopFolder, ReleaseDesktopFolder>;

// Frees a list with the shell allocator (null is fine).
void FreePidl(LPITEMIDLIST list);

// Owns one list (null allowed).
class CPidl {
public:
    LPITEMIDLIST m_pidl = nullptr;

    CPidl() = default;
    explicit CPidl(LPITEMIDLIST owned) : m_pidl(owned) {}
    CPidl(const CPidl&) = delete;
    CPidl& operator=(const CPidl&) = delete;
    virtual ~CPidl() { Free(); }

    operator LPITEMIDLIST() const { return m_pidl; }
    void Free();
    // Frees the held list, then holds a copy of `list` (none for null).
    void CopyFrom(LPCITEMIDLIST list);
    // Frees the held list and takes ownership of `list`.
    void Attach(LPITEMIDLIST list);
    // The file-system path, empty when the item has none.
    CString GetPath() const;
    // Index in the system image list (SHGFI_SMALLICON, SHGFI_OPENICON and the like in `flags`).
    int GetIconIndex(UINT flags) const;
};

// A display name that a folder's GetDisplayNameOf fills.
class CStrRet {
public:
    CPidl m_item;       // the item whose name is asked (STRRET_OFFSET points into it)
    STRRET m_strRet{};

    CStrRet() = default;
    CStrRet(const CStrRet&) = delete;
    CStrRet& operator=(const CStrRet&) = delete;
    virtual ~CStrRet() { FreeWideResult(); }

    // The record for GetDisplayNameOf of `item`, with `kind` preset.
    STRRET* Prepare(LPCITEMIDLIST item, UINT kind);
    CString GetString() const;

private:
    void FreeWideResult();
};
