#include "shell/ShellTreeCtrl.h"

#include "shell/ShellContextMenu.h"
#include "shell/ShellTreeLogic.h"

#include <vector>

namespace {

// Names of items outside the file system too (not in every SDK's headers).
constexpr DWORD kIncludeNonFileSystem = 0x2000;

LPITEMIDLIST SpecialFolder(int csidl)
{
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)))
        return nullptr;
    return list;
}

// The item's own element, as its parent folder knows it.
LPCITEMIDLIST ChildElement(const CShellTreeItemData& data) { return GetLastPidlItem(data.m_pidl); }

ULONG Attributes(const CShellTreeItemData& data, ULONG asked)
{
    LPCITEMIDLIST child = ChildElement(data);
    if (FAILED(data.m_pParentFolder->GetAttributesOf(1, &child, &asked)))
        return 0;
    return asked;
}

bool SameItem(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    HRESULT hr = folder->CompareIDs(0, a, b);
    return SUCCEEDED(hr) && static_cast<short>(HRESULT_CODE(hr)) == 0;
}

} // namespace

FW_BEGIN_MESSAGE_MAP(CShellTreeCtrl, CLoadingTreeCtrl)
    FwOnCreate(&ThisClass::OnCreate),
    FwOnPlain(WM_DESTROY, &ThisClass::OnDestroy),
    FwOnReflectNotify(TVN_DELETEITEMW, &ThisClass::OnDeleteItem),
    FwOnReflectNotify(TVN_GETDISPINFOW, &ThisClass::OnGetDispInfo),
FW_END_MESSAGE_MAP()

CShellTreeCtrl::~CShellTreeCtrl()
{
    // Destroyed here, while the item records can still be released by this class.
    if (m_hWnd && ::GetWindowThreadProcessId(m_hWnd, nullptr) == ::GetCurrentThreadId())
        DestroyWindow();
    DetachShell();
}

void CShellTreeCtrl::AttachShell()
{
    if (m_bHoldsDesktop)
        return;
    m_bHoldsDesktop = GetDesktopFolder() != nullptr;
    CPidl desktop(SpecialFolder(CSIDL_DESKTOP));
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(reinterpret_cast<LPCWSTR>(desktop.m_pidl), 0, &info,
                                                              sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_PIDL));
    PostMessage(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
}

void CShellTreeCtrl::DetachShell()
{
    if (m_bHoldsDesktop)
        ReleaseDesktopFolder();
    m_bHoldsDesktop = false;
}

void CShellTreeCtrl::PreSubclassWindow()
{
    AttachShell();
    CLoadingTreeCtrl::PreSubclassWindow();
}

int CShellTreeCtrl::OnCreate(LPCREATESTRUCTW)
{
    int result = static_cast<int>(Default());
    if (result != -1)
        AttachShell();
    return result;
}

void CShellTreeCtrl::OnDestroy()
{
    // The records go while this window still answers for them, whoever its parent is.
    std::vector<HTREEITEM> pending{GetRootItem()};
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        for (; item; item = GetNextSiblingItem(item)) {
            pending.push_back(GetChildItem(item));
            if (CShellTreeItemData* data = GetShellItem(item)) {
                SetItemData(item, 0);
                data->m_pParentFolder->Release();
                delete data;
            }
        }
    }
    DeleteAllItems();
    DetachShell();
    Default();
}

CShellTreeItemData* CShellTreeCtrl::GetShellItem(HTREEITEM item) const
{
    if (!item || item == TVI_ROOT)
        return nullptr;
    return reinterpret_cast<CShellTreeItemData*>(CTreeCtrl::GetItemData(item));
}

void CShellTreeCtrl::SetRoot(LPCITEMIDLIST list, DWORD options)
{
    if (list) {
        SetRedraw(FALSE);
        InsertChildren(TVI_ROOT, list, options);
        SetRedraw(TRUE);
        return;
    }
    CDesktopFolderRef desktop;
    CPidl desktopList(SpecialFolder(CSIDL_DESKTOP));
    if (desktop && desktopList.m_pidl)
        InsertShellItem(TVI_ROOT, desktop.Get(), nullptr, desktopList, options);
}

int CShellTreeCtrl::InsertChildren(HTREEITEM parent, LPCITEMIDLIST list, DWORD options)
{
    CDesktopFolderRef desktop;
    if (!desktop)
        return 0;
    IShellFolder* folder = nullptr;
    if (GetPidlSize(list) == 0) {
        folder = desktop.Get();
        folder->AddRef();
    } else if (FAILED(desktop->BindToObject(list, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&folder))) || !folder) {
        return 0;
    }
    DWORD flags = SHCONTF_FOLDERS;
    if (options & SHELLITEM_FILES)
        flags |= SHCONTF_NONFOLDERS;
    if (options & SHELLITEM_HIDDEN)
        flags |= SHCONTF_INCLUDEHIDDEN;

    SetProgress(0, 0);
    IEnumIDList* items = nullptr;
    if (folder->EnumObjects(m_hWnd, flags, &items) == S_OK && items) {
        LPITEMIDLIST element = nullptr;
        ULONG fetched = 0;
        while (items->Next(1, &element, &fetched) == S_OK) {
            InsertShellItem(parent, folder, list, element, options & 0xF);
            FreePidl(element);
            AddProgress(1);
        }
        items->Release();
    }
    if (GetProgress(nullptr) > 0) {
        TVSORTCB sort{};
        sort.hParent = parent;
        sort.lpfnCompare = &CompareItems;
        SortChildrenCB(&sort);
    }
    SetProgress(1, 1);
    folder->Release();
    return 1;
}

int CALLBACK CShellTreeCtrl::CompareItems(LPARAM first, LPARAM second, LPARAM)
{
    auto* a = reinterpret_cast<CShellTreeItemData*>(first);
    auto* b = reinterpret_cast<CShellTreeItemData*>(second);
    if (!a || !b)
        return 0;
    HRESULT hr = b->m_pParentFolder->CompareIDs(0, ChildElement(*a), ChildElement(*b));
    if (FAILED(hr))
        return 0;
    short order = static_cast<short>(HRESULT_CODE(hr));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

HTREEITEM CShellTreeCtrl::InsertShellItem(HTREEITEM parent, IShellFolder* folder, LPCITEMIDLIST parentList,
                                          LPCITEMIDLIST element, DWORD options)
{
    auto* data = new CShellTreeItemData;
    data->m_pParentFolder = folder;
    folder->AddRef();
    data->m_pidl.Attach(ConcatPidls(parentList, element));
    data->m_dwOptions = options;

    wchar_t text[MAX_PATH] = L"";
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    TVITEMW& item = insert.item;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    if (!(m_dwOptions & SHELLTREE_CALLBACK_TEXT))
        item.mask |= TVIF_TEXT;
    if (!(m_dwOptions & SHELLTREE_CALLBACK_IMAGE))
        item.mask |= TVIF_IMAGE;
    if (!(m_dwOptions & SHELLTREE_CALLBACK_SELECTEDIMAGE))
        item.mask |= TVIF_SELECTEDIMAGE;
    if (!(m_dwOptions & SHELLTREE_CALLBACK_CHILDREN))
        item.mask |= TVIF_CHILDREN;
    FillItemInfo(*data, item);
    if (m_dwOptions & SHELLTREE_CALLBACK_TEXT)
        item.pszText = LPSTR_TEXTCALLBACKW;
    if (m_dwOptions & SHELLTREE_CALLBACK_IMAGE)
        item.iImage = I_IMAGECALLBACK;
    if (m_dwOptions & SHELLTREE_CALLBACK_SELECTEDIMAGE)
        item.iSelectedImage = I_IMAGECALLBACK;
    if (m_dwOptions & SHELLTREE_CALLBACK_CHILDREN)
        item.cChildren = I_CHILDRENCALLBACK;
    item.mask |= TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    item.lParam = reinterpret_cast<LPARAM>(data);
    HTREEITEM inserted = InsertItem(&insert);
    if (!inserted) {
        folder->Release();
        delete data;
    }
    return inserted;
}

void CShellTreeCtrl::FillItemInfo(const CShellTreeItemData& data, TVITEMW& item) const
{
    if ((item.mask & TVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
        CString text;
        if (data.m_dwOptions & SHELLITEM_PATH_TEXT) {
            text = data.m_pidl.GetPath();
            int slash = text.ReverseFind(L'\\');
            if (!(data.m_dwOptions & SHELLITEM_FULL_NAMES) && slash >= 0 && slash < text.GetLength() - 1)
                text = text.Mid(slash + 1);
        }
        if (text.IsEmpty()) {
            CStrRet name;
            LPCITEMIDLIST child = ChildElement(data);
            DWORD kind = (data.m_dwOptions & SHELLITEM_FULL_NAMES) ? SHGDN_NORMAL : SHGDN_INFOLDER;
            if (SUCCEEDED(data.m_pParentFolder->GetDisplayNameOf(child, kind | kIncludeNonFileSystem,
                                                                 name.Prepare(child, STRRET_WSTR))))
                text = name.GetString();
        }
        ::lstrcpynW(item.pszText, text, item.cchTextMax);
    }
    if (item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) {
        ULONG attributes = Attributes(data, SFGAO_FOLDER | SFGAO_SHARE | SFGAO_LINK | SFGAO_GHOSTED);
        item.mask |= TVIF_STATE;
        item.stateMask |= TVIS_CUT | TVIS_OVERLAYMASK;
        if (attributes & SFGAO_GHOSTED)
            item.state |= TVIS_CUT;
        if (attributes & SFGAO_SHARE)
            item.state |= INDEXTOOVERLAYMASK(1);
        else if (attributes & SFGAO_LINK)
            item.state |= INDEXTOOVERLAYMASK(2);
        item.iImage = item.iSelectedImage = data.m_pidl.GetIconIndex(SHGFI_SMALLICON);
        if (attributes & SFGAO_FOLDER)
            item.iSelectedImage = data.m_pidl.GetIconIndex(SHGFI_SMALLICON | SHGFI_OPENICON);
    }
    if (item.mask & TVIF_CHILDREN) {
        ULONG attributes = Attributes(data, SFGAO_FOLDER | SFGAO_REMOVABLE | SFGAO_HASSUBFOLDER);
        bool children = false;
        if (attributes & SFGAO_FOLDER)
            children = (data.m_dwOptions & SHELLITEM_FILES) || (attributes & (SFGAO_REMOVABLE | SFGAO_HASSUBFOLDER));
        item.cChildren = children ? 1 : 0;
    }
}

void CShellTreeCtrl::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
    if (CShellTreeItemData* data = reinterpret_cast<CShellTreeItemData*>(info->item.lParam)) {
        // The tree takes no states from here.
        UINT asked = info->item.mask;
        FillItemInfo(*data, info->item);
        info->item.mask = asked;
    }
}

void CShellTreeCtrl::OnDeleteItem(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* tree = reinterpret_cast<NMTREEVIEWW*>(header);
    if (auto* data = reinterpret_cast<CShellTreeItemData*>(tree->itemOld.lParam)) {
        data->m_pParentFolder->Release();
        delete data;
    }
}

BOOL CShellTreeCtrl::FillChildren(HTREEITEM item)
{
    CShellTreeItemData* data = GetShellItem(item);
    if (!data)
        return TRUE;
    InsertChildren(item, data->m_pidl, data->m_dwOptions);
    CString path = data->m_pidl.GetPath();
    if (!path.IsEmpty())
        return ::GetDriveTypeW(path.Left(3)) == DRIVE_FIXED;
    return TRUE;
}

CString CShellTreeCtrl::GetItemPath(HTREEITEM item) const
{
    CShellTreeItemData* data = GetShellItem(item);
    return data ? data->m_pidl.GetPath() : CString();
}

CString CShellTreeCtrl::GetSelectedPath() const
{
    HTREEITEM item = GetSelectedItem();
    return item ? GetItemPath(item) : CString();
}

BOOL CShellTreeCtrl::SelectPath(const wchar_t* path)
{
    HTREEITEM item = FindPath(path);
    return item ? Select(item, TVGN_CARET) : 0;
}

HTREEITEM CShellTreeCtrl::FindPathStart()
{
    HTREEITEM desktop = GetRootItem();
    if (!desktop)
        return nullptr;
    Expand(desktop, TVE_EXPAND);
    CPidl computer(SpecialFolder(CSIDL_DRIVES));
    return FindChildItem(computer, desktop);
}

HTREEITEM CShellTreeCtrl::FindPathStep(HTREEITEM current, const wchar_t* partialPath)
{
    if (!current)
        return nullptr;
    Expand(current, TVE_EXPAND);
    CPidl list(PathToPidl(partialPath, m_hWnd));
    return FindChildItem(list, current);
}

HTREEITEM CShellTreeCtrl::FindPath(const wchar_t* path)
{
    CStringArray steps = ShellPathSteps(path);
    if (steps.IsEmpty())
        return nullptr;
    HTREEITEM item = FindPathStart();
    for (const CString& step : steps)
        item = FindPathStep(item, step);
    if (item)
        Expand(item, TVE_EXPAND);
    return item;
}

HTREEITEM CShellTreeCtrl::FindChildItem(LPCITEMIDLIST list, HTREEITEM parent) const
{
    if (!list)
        return nullptr;
    LPCITEMIDLIST wanted = GetLastPidlItem(list);
    for (HTREEITEM child = GetChildItem(parent); child; child = GetNextSiblingItem(child)) {
        CShellTreeItemData* data = GetShellItem(child);
        if (data && SameItem(data->m_pParentFolder, ChildElement(*data), wanted))
            return child;
    }
    return nullptr;
}

BOOL CShellTreeCtrl::CreateContextMenu(HTREEITEM item, CShellContextMenu& menu) const
{
    CShellTreeItemData* data = GetShellItem(item);
    return data && menu.Create(data->m_pParentFolder, ChildElement(*data));
}
