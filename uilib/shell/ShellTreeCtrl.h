#pragma once
// A folder tree over the shell namespace: names, icons and overlays from the shell, children
// read when a branch opens, items found and selected by path.
#include <windows.h>
#include <shlobj.h>

#include "shell/LoadingTreeCtrl.h"
#include "shell/Pidl.h"

class CShellContextMenu;

// Bits of CShellTreeCtrl's option word: fields the tree asks for when they are shown instead of
// computing them when the item goes in.
constexpr DWORD SHELLTREE_CALLBACK_TEXT = 0x1;
constexpr DWORD SHELLTREE_CALLBACK_IMAGE = 0x2;
constexpr DWORD SHELLTREE_CALLBACK_SELECTEDIMAGE = 0x20;
constexpr DWORD SHELLTREE_CALLBACK_CHILDREN = 0x40;

// Bits of an item's options.
constexpr DWORD SHELLITEM_FILES = 0x1;          // list files as well as folders
constexpr DWORD SHELLITEM_HIDDEN = 0x2;         // include hidden items
constexpr DWORD SHELLITEM_FULL_NAMES = 0x10;    // SHGDN_NORMAL names instead of SHGDN_INFOLDER
constexpr DWORD SHELLITEM_PATH_TEXT = 0x20;     // file-system paths as item text

// What every shell item of the tree carries as its parameter.
struct CShellTreeItemData {
    IShellFolder* m_pParentFolder = nullptr;   // own reference
    CPidl m_pidl;                              // full list from the desktop
    DWORD m_dwOptions = 0;
};

class CShellTreeCtrl : public CLoadingTreeCtrl {
    FW_DECLARE_MESSAGE_MAP()
public:
    DWORD m_dwOptions = 0;   // SHELLTREE_CALLBACK_... bits

    CShellTreeCtrl() = default;
    ~CShellTreeCtrl() override;

    // With a list: that folder's children become the top-level items. Without: the desktop is
    // the single top-level item.
    void SetRoot(LPCITEMIDLIST list, DWORD options);
    CString GetItemPath(HTREEITEM item) const;
    CString GetSelectedPath() const;
    // Selects the item of `path` (its branches are opened on the way); 0 when not found.
    BOOL SelectPath(const wchar_t* path);
    HTREEITEM FindPath(const wchar_t* path);
    HTREEITEM FindChildItem(LPCITEMIDLIST list, HTREEITEM parent) const;
    // A walk to a path one component at a time (FindPath is one whole walk): the computer
    // folder under the desktop, then each partial path of ShellPathSteps under the last item.
    HTREEITEM FindPathStart();
    HTREEITEM FindPathStep(HTREEITEM current, const wchar_t* partialPath);
    BOOL CreateContextMenu(HTREEITEM item, CShellContextMenu& menu) const;
    CShellTreeItemData* GetShellItem(HTREEITEM item) const;

protected:
    void PreSubclassWindow() override;
    BOOL FillChildren(HTREEITEM item) override;
    int InsertChildren(HTREEITEM parent, LPCITEMIDLIST list, DWORD options);
    HTREEITEM InsertShellItem(HTREEITEM parent, IShellFolder* folder, LPCITEMIDLIST parentList, LPCITEMIDLIST element,
                              DWORD options);
    // Fills the fields of `item` named by its mask; text goes into its buffer.
    void FillItemInfo(const CShellTreeItemData& data, TVITEMW& item) const;

    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnDeleteItem(NMHDR* header, LRESULT* result);
    void OnGetDispInfo(NMHDR* header, LRESULT* result);

private:
    bool m_bHoldsDesktop = false;

    void AttachShell();
    void DetachShell();
    static int CALLBACK CompareItems(LPARAM first, LPARAM second, LPARAM);
};
