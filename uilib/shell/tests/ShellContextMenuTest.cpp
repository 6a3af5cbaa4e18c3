#include <gtest/gtest.h>

#include <vector>

#include "CFrameWnd.h"
#include "ShellTestSupport.h"
#include "shell/ShellContextMenu.h"

namespace {

// The structure's size as the shell checks it: 36 bytes in a 32-bit program, more where its
// handles and pointers are 8 bytes wide.
#ifdef _WIN64
constexpr DWORD kInvokeInfoSize = 56;
#else
constexpr DWORD kInvokeInfoSize = 36;
#endif
static_assert(sizeof(CMINVOKECOMMANDINFO) == kInvokeInfoSize, "the structure the shell expects");

// The shell's menu of an item, as far as the program sees it: three commands, the second made
// the default, help texts in wide or ANSI form, owner-drawn messages taken.
class CFakeContextMenu : public IContextMenu2 {
public:
    LONG m_refs = 1;
    std::vector<UINT> m_invokedVerbs;
    std::vector<UINT> m_menuMessages;
    HWND m_invokeOwner = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (riid == IID_IUnknown || riid == IID_IContextMenu || riid == IID_IContextMenu2) {
            *out = static_cast<IContextMenu2*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_refs; }
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT) override
    {
        const wchar_t* names[] = {L"Open", L"Copy", L"Properties"};
        for (UINT i = 0; i < 3; i++)
            ::InsertMenuW(menu, index + i, MF_BYPOSITION | MF_STRING, first + i, names[i]);
        ::SetMenuDefaultItem(menu, first + 1, FALSE);
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 3);
    }
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override
    {
        if (info->cbSize != kInvokeInfoSize || HIWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0)
            return E_INVALIDARG;
        m_invokedVerbs.push_back(LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)));
        m_invokeOwner = info->hwnd;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR id, UINT type, UINT*, LPSTR name, UINT size) override
    {
        if (type == GCS_HELPTEXTW && id == 0) {
            ::lstrcpynW(reinterpret_cast<wchar_t*>(name), L"Opens the item", size);
            return S_OK;
        }
        if (type == GCS_HELPTEXTA && id == 1) {
            ::lstrcpynA(name, "Copies the item", size);
            return S_OK;
        }
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE HandleMenuMsg(UINT message, WPARAM, LPARAM) override
    {
        m_menuMessages.push_back(message);
        return S_OK;
    }
};

// A folder that hands out the fake menu and nothing else.
class CFakeFolder : public IShellFolder {
public:
    CFakeContextMenu* m_menu;
    explicit CFakeFolder(CFakeContextMenu* menu) : m_menu(menu) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override { *out = nullptr; return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, LPITEMIDLIST*, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(LPCITEMIDLIST, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToStorage(LPCITEMIDLIST, IBindCtx*, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, LPCITEMIDLIST, LPCITEMIDLIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, LPCITEMIDLIST*, SFGAOF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT count, LPCITEMIDLIST*, REFIID riid, UINT*, void** out) override
    {
        if (count != 1 || riid != IID_IContextMenu)
            return E_NOINTERFACE;
        return m_menu->QueryInterface(riid, out);
    }
    HRESULT STDMETHODCALLTYPE GetDisplayNameOf(LPCITEMIDLIST, SHGDNF, STRRET*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetNameOf(HWND, LPCITEMIDLIST, LPCWSTR, SHGDNF, LPITEMIDLIST*) override { return E_NOTIMPL; }
};

constexpr UINT kFirst = 3584, kLast = 4095, kOwnDefault = 7;

struct MenuFixture : ::testing::Test {
    CFakeContextMenu fake;
    CFakeFolder folder{&fake};
    USHORT emptyList = 0;
    HMENU popup = ::CreatePopupMenu();

    void SetUp() override { ::AppendMenuW(popup, MF_STRING, kOwnDefault, L"Own"); }
    void TearDown() override { ::DestroyMenu(popup); }
    LPCITEMIDLIST Child() const { return reinterpret_cast<LPCITEMIDLIST>(&emptyList); }
};

TEST_F(MenuFixture, CommandIdsMapToVerbs)
{
    {
        CShellContextMenu menu;
        EXPECT_FALSE(menu.QueryContextMenu(popup, 1, kFirst, kLast, 0));
        EXPECT_FALSE(menu.InvokeCommand(kFirst));
        ASSERT_TRUE(menu.Create(&folder, Child()));
        ::SetMenuDefaultItem(popup, kOwnDefault, FALSE);
        ASSERT_TRUE(menu.QueryContextMenu(popup, 1, kFirst, kLast, CMF_EXPLORE | CMF_NODEFAULT));
        EXPECT_EQ(menu.m_nFirstId, kFirst);
        EXPECT_EQ(menu.m_nLastId, kFirst + 2);
        EXPECT_EQ(::GetMenuItemCount(popup), 4);
        EXPECT_EQ(::GetMenuDefaultItem(popup, FALSE, GMDI_USEDISABLED), kOwnDefault);

        struct Case {
            UINT id;
            BOOL invoked;
            UINT verb;
        } cases[] = {{kFirst - 1, FALSE, 0}, {kFirst, TRUE, 0}, {kFirst + 2, TRUE, 2}, {kFirst + 3, FALSE, 0}, {kLast, FALSE, 0}};
        for (const Case& c : cases) {
            size_t before = fake.m_invokedVerbs.size();
            EXPECT_EQ(menu.InvokeCommand(c.id), c.invoked) << c.id;
            if (c.invoked) {
                ASSERT_EQ(fake.m_invokedVerbs.size(), before + 1);
                EXPECT_EQ(fake.m_invokedVerbs.back(), c.verb);
            } else {
                EXPECT_EQ(fake.m_invokedVerbs.size(), before);
            }
        }

        struct Help {
            UINT id;
            BOOL ok;
            const wchar_t* text;
        } help[] = {{kFirst, TRUE, L"Opens the item"}, {kFirst + 1, TRUE, L"Copies the item"}, {kFirst + 2, FALSE, L""},
                    {kFirst + 3, FALSE, L""}};
        for (const Help& h : help) {
            CString text;
            EXPECT_EQ(menu.GetCommandString(h.id, text), h.ok) << h.id;
            EXPECT_EQ(text, CString(h.text)) << h.id;
        }
    }
    EXPECT_EQ(fake.m_refs, 1);   // released with the menu object
}

TEST_F(MenuFixture, WithoutNoDefaultTheShellsDefaultStays)
{
    CShellContextMenu menu;
    ASSERT_TRUE(menu.Create(&folder, Child()));
    ::SetMenuDefaultItem(popup, kOwnDefault, FALSE);
    ASSERT_TRUE(menu.QueryContextMenu(popup, 0, kFirst, kLast, CMF_EXPLORE));
    EXPECT_EQ(::GetMenuDefaultItem(popup, FALSE, GMDI_USEDISABLED), kFirst + 1);
}

// Records which procedure the window has when it is finally destroyed.
class CProcWatch : public CWnd {
    FW_DECLARE_MESSAGE_MAP()
public:
    WNDPROC procAtNcDestroy = nullptr;
    int ownMeasures = 0;
    void OnNcDestroy()
    {
        procAtNcDestroy = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC));
        Default();
    }
    LRESULT OnMeasure(WPARAM, LPARAM)
    {
        ownMeasures++;
        return TRUE;
    }
};

FW_BEGIN_MESSAGE_MAP(CProcWatch, CWnd)
    FwOnPlain(WM_NCDESTROY, &ThisClass::OnNcDestroy),
    FwOnMessage(WM_MEASUREITEM, &ThisClass::OnMeasure),
FW_END_MESSAGE_MAP()

TEST_F(MenuFixture, OwnerHookForwardsMenuMessagesAndGoesWithTheWindow)
{
    CShellContextMenu menu;
    ASSERT_TRUE(menu.Create(&folder, Child()));
    CProcWatch owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"owner", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    auto framework = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(owner.m_hWnd, GWLP_WNDPROC));

    menu.Attach(&owner);
    EXPECT_NE(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(owner.m_hWnd, GWLP_WNDPROC)), framework);
    EXPECT_EQ(::GetPropW(owner.m_hWnd, L"ShellContextMenu"), &menu);

    MEASUREITEMSTRUCT forMenu{ODT_MENU, 0, kFirst, 0, 0, 0};
    EXPECT_EQ(owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&forMenu)), 1);
    MEASUREITEMSTRUCT forList{ODT_LISTBOX, 5, 0, 0, 0, 0};
    owner.SendMessage(WM_MEASUREITEM, 5, reinterpret_cast<LPARAM>(&forList));
    EXPECT_EQ(owner.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0), 0);
    ASSERT_EQ(fake.m_menuMessages.size(), 2u);
    EXPECT_EQ(fake.m_menuMessages[0], static_cast<UINT>(WM_MEASUREITEM));
    EXPECT_EQ(fake.m_menuMessages[1], static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(owner.ownMeasures, 1);   // the list box's measure went on to the window

    ::SetMenuDefaultItem(popup, kOwnDefault, FALSE);
    ASSERT_TRUE(menu.QueryContextMenu(popup, 0, kFirst, kLast, CMF_NODEFAULT));
    EXPECT_TRUE(menu.InvokeCommand(kFirst + 1));
    EXPECT_EQ(fake.m_invokeOwner, owner.m_hWnd);

    menu.Attach(nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(owner.m_hWnd, GWLP_WNDPROC)), framework);
    EXPECT_EQ(::GetPropW(owner.m_hWnd, L"ShellContextMenu"), nullptr);

    menu.Attach(&owner);
    owner.DestroyWindow();
    EXPECT_EQ(owner.procAtNcDestroy, framework);
    EXPECT_EQ(menu.m_pOwner, nullptr);
}

// A frame hook shows the command's help text in the frame's status line.
TEST_F(MenuFixture, MenuSelectionShowsHelpInTheFrame)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->CreateEx(0, nullptr, L"frame", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr));
    CStatic status;
    ASSERT_TRUE(status.Create(L"", WS_CHILD | WS_VISIBLE, CRect(0, 150, 300, 170), frame, FW_IDW_STATUS_BAR));
    CShellContextMenu menu;
    ASSERT_TRUE(menu.Create(&folder, Child()));
    ASSERT_TRUE(menu.QueryContextMenu(popup, 0, kFirst, kLast, CMF_NODEFAULT));
    menu.Attach(frame);

    struct Case {
        WPARAM wParam;
        BOOL consumed;
        const wchar_t* status;
    } cases[] = {
        {MAKEWPARAM(kFirst, MF_STRING), TRUE, L"Opens the item"},
        {MAKEWPARAM(kFirst + 1, MF_STRING), TRUE, L"Copies the item"},
        {MAKEWPARAM(0, MF_SEPARATOR), TRUE, L""},
        {MAKEWPARAM(kOwnDefault, MF_STRING), FALSE, L""},
        {MAKEWPARAM(0, 0xFFFF), FALSE, L""},
    };
    for (const Case& c : cases) {
        status.SetWindowText(L"before");
        LRESULT result = -1;
        EXPECT_EQ(menu.HandleMenuMessage(WM_MENUSELECT, c.wParam, reinterpret_cast<LPARAM>(popup), &result), c.consumed);
        EXPECT_EQ(status.GetWindowText(), CString(c.consumed ? c.status : L"before")) << LOWORD(c.wParam);
    }
    menu.Attach(nullptr);
    frame->DestroyWindow();
}

} // namespace
