#include <cwchar>
#include <fstream>
#include <vector>

#include "DialogTestSupport.h"
#include "OCFileDialog.h"
#include "SysHelpers.h"

#include <dlgs.h>

namespace {

const wchar_t kTitle[] = L"Pick a GIF";
const wchar_t kGifFilter[] = L"GIF Files (*.gif)|*.gif|All Files (*.*)|*.*||";

// Records what the dialog says while it is still open.
class CWatchedFileDialog : public COCFileDialog {
public:
    using COCFileDialog::COCFileDialog;
    int m_nameOk = 0;
    CString m_pathWhileOpen, m_extWhileOpen;

    BOOL OnFileNameOK() override
    {
        m_nameOk++;
        m_pathWhileOpen = GetPathName();
        m_extWhileOpen = GetFileExt();
        return COCFileDialog::OnFileNameOK();
    }
};

std::vector<CString> AllPaths(const CFileDialog& dialog)
{
    std::vector<CString> paths;
    for (POSITION p = dialog.GetStartPosition(); p && paths.size() < 100000;)
        paths.push_back(dialog.GetNextPathName(p));
    return paths;
}

// The file-name box of an Explorer-style dialog: the edit of its combo box, or a plain edit.
HWND FileNameBox(HWND dialog)
{
    HWND combo = ::GetDlgItem(dialog, cmb13);
    HWND edit = combo ? ::FindWindowExW(combo, nullptr, L"Edit", nullptr) : nullptr;
    if (!edit && combo) {
        HWND inner = ::FindWindowExW(combo, nullptr, nullptr, nullptr);
        edit = inner ? ::FindWindowExW(inner, nullptr, L"Edit", nullptr) : nullptr;
    }
    if (!edit)
        edit = ::GetDlgItem(dialog, edt1);
    return edit ? edit : combo;
}

// As a user does it: click into the name box, replace its text, press a key to finish.
void TypeFileName(HWND dialog, const wchar_t* name, WORD finish = VK_RETURN)
{
    HWND box = FileNameBox(dialog);
    if (!box)
        return;
    ClickCentre(box);
    ::Sleep(100);
    PressKey(VK_HOME);
    PressKeyWith(VK_SHIFT, VK_END);
    TypeText(name);
    ::Sleep(100);
    PressKey(finish);
}

class FileDialogTest : public ScratchFolderTest {
protected:
    CTestOwner m_owner;

    void SetUp() override
    {
        TestApp();
        ScratchFolderTest::SetUp();
        ASSERT_TRUE(m_owner.Make(CRect(100, 80, 760, 640)));
    }
    CString MakeFile(const CString& name) const
    {
        std::ofstream(ToFsPath(Path(name)), std::ios::binary) << "GIF89a";
        return Path(name);
    }
    // The dialog in the scratch folder, titled so that the driver finds it.
    void Prepare(COCFileDialog& dialog)
    {
        dialog.m_pOFN->lpstrInitialDir = m_initialDir = Folder();
        dialog.m_pOFN->lpstrTitle = kTitle;
    }

private:
    CString m_initialDir;
};

} // namespace

TEST(COCFileDialog, RecordSizeFollowsTheSystem)
{
    struct Case {
        DWORD platform, major, size;
    };
#ifdef _WIN64
    const DWORD full = 152, older = 136;
#else
    const DWORD full = 88, older = 76;
#endif
    const Case cases[] = {
        {VER_PLATFORM_WIN32_NT, 6, full}, {VER_PLATFORM_WIN32_NT, 5, full}, {VER_PLATFORM_WIN32_NT, 4, older},
        {VER_PLATFORM_WIN32_WINDOWS, 4, older},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileDialogRecordSize(c.platform, c.major), c.size) << c.platform << "." << c.major;

    COSVersion version;
    version.Query();
    EXPECT_EQ(COCFileDialog(TRUE).m_pOFN->lStructSize, FileDialogRecordSize(version.m_info.dwPlatformId, version.m_info.dwMajorVersion));
    EXPECT_EQ(COCFileDialog(TRUE, nullptr, nullptr, 0, nullptr, nullptr, 76).m_pOFN->lStructSize, 76u);
}

TEST(COCFileDialog, FlagsAlwaysHookExplorerStyleAndSizing)
{
    struct Case {
        DWORD given, flags;
    };
    const Case cases[] = {
        {0, 0x880020},
        {OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, 0x880020 | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST},
        {OFN_ENABLESIZING, 0x880020},
        {OFN_ENABLETEMPLATE, 0x80020 | OFN_ENABLETEMPLATE},   // a template of the caller's is not sized
        {OFN_ENABLETEMPLATE | OFN_ENABLESIZING, 0x80020 | OFN_ENABLETEMPLATE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FileDialogFlags(c.given), c.flags) << std::hex << c.given;
        EXPECT_EQ(COCFileDialog(TRUE, nullptr, nullptr, c.given).m_pOFN->Flags, c.flags) << std::hex << c.given;
    }
}

TEST(COCFileDialog, ConstructionFillsTheRecord)
{
    COCFileDialog dialog(FALSE, L"gif", L"start.gif", OFN_OVERWRITEPROMPT, L"GIF Files (*.gif)|*.gif");
    const OPENFILENAMEW& ofn = *dialog.m_pOFN;
    EXPECT_FALSE(dialog.m_bOpenFileDialog);
    EXPECT_EQ(ofn.nMaxFile, 0x100000u);
    EXPECT_STREQ(ofn.lpstrFile, L"start.gif");
    EXPECT_EQ(ofn.nMaxFileTitle, 64u);
    ASSERT_NE(ofn.lpstrFileTitle, nullptr);
    EXPECT_STREQ(ofn.lpstrDefExt, L"gif");
    EXPECT_EQ(ofn.lpfnHook, &CFileDialog::HookProc);
    EXPECT_EQ(ofn.hInstance, FwGetResourceHandle());
    // The filter as NUL-separated pairs, ended by an empty entry although the text had no "||".
    ASSERT_NE(ofn.lpstrFilter, nullptr);
    EXPECT_STREQ(ofn.lpstrFilter, L"GIF Files (*.gif)");
    EXPECT_STREQ(ofn.lpstrFilter + 18, L"*.gif");
    EXPECT_EQ(ofn.lpstrFilter[24], L'\0');
    EXPECT_EQ(COCFileDialog(TRUE).m_pOFN->lpstrFilter, nullptr);
    EXPECT_EQ(COCFileDialog(TRUE).m_pOFN->lpstrDefExt, nullptr);

    // An initial name longer than the buffer is cut to the buffer, still terminated.
    std::wstring huge(0x100000 + 10, L'x');
    COCFileDialog cut(TRUE, nullptr, huge.c_str());
    EXPECT_EQ(std::wcslen(cut.m_pOFN->lpstrFile), 0x100000u);

    // A record size below the fields we fill does not overrun; the system refuses the size.
    COCFileDialog tiny(TRUE, nullptr, nullptr, 0, nullptr, nullptr, 8);
    EXPECT_EQ(tiny.m_pOFN->lStructSize, 8u);
    EXPECT_EQ(tiny.m_pOFN->nMaxFile, 0x100000u);
    // What an earlier run left behind the name is cleared before the next one.
    std::wcscpy(tiny.m_pOFN->lpstrFile, L"old list");
    tiny.m_pOFN->lpstrFile[3] = 0;
    EXPECT_EQ(tiny.DoModal(), IDCANCEL);
    EXPECT_EQ(tiny.m_pOFN->lpstrFile[5], L'\0');
}

TEST(COCFileDialog, TheBufferHoldsThousandsOfSelectedFiles)
{
    COCFileDialog dialog(TRUE, nullptr, nullptr, OFN_ALLOWMULTISELECT);
    // What the dialog writes for 20000 names of 40 characters: 820000 characters.
    wchar_t* at = dialog.m_pOFN->lpstrFile;
    at += std::swprintf(at, 64, L"C:\\Pictures") + 1;
    for (int i = 0; i < 20000; i++)
        at += std::swprintf(at, 64, L"an animation with a long name %05d.gif", i) + 1;
    *at = 0;
    ASSERT_LT(at - dialog.m_pOFN->lpstrFile, 0x100000);
    std::vector<CString> paths = AllPaths(dialog);
    ASSERT_EQ(paths.size(), 20000u);
    EXPECT_EQ(paths.front(), L"C:\\Pictures\\an animation with a long name 00000.gif");
    EXPECT_EQ(paths.back(), L"C:\\Pictures\\an animation with a long name 19999.gif");

    // One selected file is the whole buffer, and the walk ends there.
    COCFileDialog single(TRUE, nullptr, L"C:\\Pictures\\one.gif", OFN_ALLOWMULTISELECT);
    EXPECT_EQ(AllPaths(single), std::vector<CString>{L"C:\\Pictures\\one.gif"});
}

TEST_F(FileDialogTest, ATypedNameComesBackAsThePath)
{
    MakeFile(L"a.gif");
    CString chosen = MakeFile(L"b.gif");
    CWatchedFileDialog dialog(TRUE, L"gif", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kGifFilter, &m_owner);
    Prepare(dialog);
    BOOL ownerEnabled = TRUE;
    CRect frame, owner;
    m_owner.GetWindowRect(&owner);
    INT_PTR result = 0;
    {
        DialogDriver driver(kTitle, [&](HWND dialogWindow) {
            ownerEnabled = ::IsWindowEnabled(m_owner);
            ::GetWindowRect(dialogWindow, &frame);
            TypeFileName(dialogWindow, L"b.gif");
        });
        result = dialog.DoModal();
    }
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), chosen);
    EXPECT_EQ(dialog.GetFileExt(), L"gif");
    EXPECT_EQ(AllPaths(dialog), std::vector<CString>{chosen});
    // Asked while the dialog was open, the dialog itself answered.
    EXPECT_EQ(dialog.m_nameOk, 1);
    EXPECT_EQ(dialog.m_pathWhileOpen, chosen);
    EXPECT_EQ(dialog.m_extWhileOpen, L"gif");
    // The owner was disabled meanwhile and is back now; the dialog stood over its middle.
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
    EXPECT_NEAR(frame.CenterPoint().x, owner.CenterPoint().x, 1);
    EXPECT_NEAR(frame.CenterPoint().y, owner.CenterPoint().y, 1);
}

TEST_F(FileDialogTest, EscapeCancels)
{
    COCFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, kGifFilter, &m_owner);
    Prepare(dialog);
    INT_PTR result = 0;
    {
        DialogDriver driver(kTitle, [](HWND dialogWindow) {
            ClickCentre(FileNameBox(dialogWindow));
            PressKey(VK_ESCAPE);
        });
        result = dialog.DoModal();
    }
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(m_owner.IsWindowEnabled());
}

TEST_F(FileDialogTest, AMultipleSelectionReturnsEveryFile)
{
    CString a = MakeFile(L"a.gif");
    MakeFile(L"b.gif");
    CString c = MakeFile(L"c c.gif");
    COCFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, kGifFilter,
                         &m_owner);
    Prepare(dialog);
    INT_PTR result = 0;
    {
        DialogDriver driver(kTitle, [](HWND dialogWindow) { TypeFileName(dialogWindow, L"\"a.gif\" \"c c.gif\""); });
        result = dialog.DoModal();
    }
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(AllPaths(dialog), (std::vector<CString>{a, c}));
    EXPECT_EQ(dialog.GetFileExt(), L"");   // no single extension for several files
}

TEST_F(FileDialogTest, ThousandsOfSelectedFilesAllComeBack)
{
    const int count = 2000;
    std::wstring names;
    std::vector<CString> expected;
    for (int i = 0; i < count; i++) {
        wchar_t name[64];
        std::swprintf(name, 64, L"animation number %04d.gif", i);
        expected.push_back(MakeFile(name));
        names += L"\"" + std::wstring(name) + L"\" ";
    }
    COCFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT, kGifFilter, &m_owner);
    Prepare(dialog);
    INT_PTR result = 0;
    {
        // Far more than anyone types: the list goes into the box as one text.
        DialogDriver driver(kTitle, [&names](HWND dialogWindow) {
            HWND box = FileNameBox(dialogWindow);
            ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(names.c_str()));
            ClickCentre(box);
            PressKey(VK_RETURN);
        });
        result = dialog.DoModal();
    }
    ASSERT_EQ(result, IDOK);
    std::vector<CString> paths = AllPaths(dialog);
    ASSERT_EQ(paths.size(), expected.size());
    EXPECT_EQ(paths, expected);
}

TEST_F(FileDialogTest, ALongerInitialNameLeavesNoTrace)
{
    CString chosen = MakeFile(L"b.gif");
    // The rest of the initial name stays in the buffer behind the chosen one.
    for (DWORD flags : {DWORD(OFN_HIDEREADONLY), DWORD(OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT)}) {
        COCFileDialog dialog(TRUE, nullptr, L"a much longer initial name than the chosen one.gif", flags, kGifFilter,
                             &m_owner);
        Prepare(dialog);
        INT_PTR result = 0;
        {
            DialogDriver driver(kTitle, [](HWND dialogWindow) { TypeFileName(dialogWindow, L"b.gif"); });
            result = dialog.DoModal();
        }
        ASSERT_EQ(result, IDOK) << std::hex << flags;
        EXPECT_EQ(dialog.GetPathName(), chosen) << std::hex << flags;
        EXPECT_EQ(AllPaths(dialog), std::vector<CString>{chosen}) << std::hex << flags;
    }
}

TEST_F(FileDialogTest, SavingANewNameAddsTheDefaultExtension)
{
    COCFileDialog dialog(FALSE, L"gif", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kGifFilter, &m_owner);
    Prepare(dialog);
    INT_PTR result = 0;
    {
        DialogDriver driver(kTitle, [](HWND dialogWindow) { TypeFileName(dialogWindow, L"new animation"); });
        result = dialog.DoModal();
    }
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), Path(L"new animation.gif"));
    EXPECT_EQ(dialog.GetFileExt(), L"gif");
}

TEST_F(FileDialogTest, ANameLongerThanTheTitleBufferOpens)
{
    CString name = CString(L'x', 100) + L".gif";
    CString chosen = MakeFile(name);
    COCFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kGifFilter, &m_owner);
    Prepare(dialog);
    INT_PTR result = 0;
    {
        DialogDriver driver(kTitle, [&name](HWND dialogWindow) { TypeFileName(dialogWindow, name); });
        result = dialog.DoModal();
    }
    ASSERT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), chosen);
}
