// Talvena.exe's dialogs opened from their commands and driven through their controls: the
// settings reach the registry on OK only, the format manager's changes are in MediaFormats.xml
// and still there after a restart, the advanced options turn the output video (its first frame
// is the GIF's, turned the same way) and the media information dialog describes both files.
// With TALVENA_SHOTS naming a folder, the dialogs are held there for the README's screenshots.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstdlib>
#include <functional>
#include <vector>

#include "CodecChoiceRules.h"
#include "EncodeTask.h"
#include "MediaFormatInfo.h"
#include "MediaInfo.h"
#include "ShellMenuRegistrar.h"
#include "TalvenaProgramRun.h"
#include "TalvenaRes.h"
#include "TalvenaTestSupport.h"

namespace {

const wchar_t kSettingsKey[] = L"Software\\Brenmoor\\Talvena\\Settings";

// A DWORD of the program's settings; -1 when there is none.
long long SettingValue(const wchar_t* name)
{
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

void SetSetting(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, kSettingsKey, name, REG_DWORD, &value, sizeof(value));
}

CString CatalogueFolder()
{
    wchar_t appData[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE);
    return CString(appData) + L"\\Brenmoor\\Talvena";
}

CString CatalogueFile() { return CatalogueFolder() + L"\\MediaFormats.xml"; }

bool Checked(HWND dialog, int id)
{
    return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Presses a button whose handler opens a modal window: posted, so the test is not held.
void Press(HWND window, int id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool WaitGone(HWND window, DWORD timeoutMs = 15000)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < timeoutMs)
        Sleep(50);
    return !IsWindow(window);
}

int ComboSelection(HWND window, int id) { return static_cast<int>(SendMessageW(GetDlgItem(window, id), CB_GETCURSEL, 0, 0)); }

// With TALVENA_SHOTS naming a folder, the window is held for the screenshot script there:
// "<name>.ready" gives its screen rectangle (left top width height), and the script answers
// with "<name>.done" once it has grabbed the display.
void Capture(HWND window, const char* name)
{
    const char* folder = std::getenv("TALVENA_SHOTS");
    if (!folder || !*folder)
        return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(500);
    RECT area{};
    GetWindowRect(window, &area);
    const std::filesystem::path base = std::filesystem::path(folder) / name;
    WriteTextFile(base.string() + ".ready", std::to_string(area.left) + " " + std::to_string(area.top) + " " +
                                                std::to_string(area.right - area.left) + " " +
                                                std::to_string(area.bottom - area.top) + "\n");
    const DWORD start = GetTickCount();
    while (!std::filesystem::exists(base.string() + ".done") && GetTickCount() - start < 60000)
        Sleep(100);
}

// A picture read from a BMP file, top row first, as 0x00RRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture LoadPicture(const CString& path)
{
    Picture picture;
    auto* bitmap = static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!bitmap)
        return picture;
    BITMAP facts{};
    GetObjectW(bitmap, sizeof(facts), &facts);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = facts.bmWidth;
    info.bmiHeader.biHeight = -facts.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    picture.pixels.resize(static_cast<size_t>(facts.bmWidth) * facts.bmHeight);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, facts.bmHeight, picture.pixels.data(), &info, DIB_RGB_COLORS) == facts.bmHeight) {
        picture.width = facts.bmWidth;
        picture.height = facts.bmHeight;
    }
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    return picture;
}

// The mean difference of a channel (0 to 255) between the video's frame and the GIF's picture
// seen through `source` (the GIF pixel each frame pixel comes from), negated or not, over the
// area that the GIF fills (the frame may have one more column or row, repeated).
double MeanDifference(const Picture& frame, const Picture& gif, int areaWidth, int areaHeight,
                      const std::function<POINT(int x, int y)>& source, bool negated)
{
    double sum = 0;
    for (int y = 0; y < areaHeight; ++y) {
        for (int x = 0; x < areaWidth; ++x) {
            const POINT from = source(x, y);
            uint32_t expected = gif.At(from.x, from.y);
            if (negated)
                expected = ~expected;
            const uint32_t got = frame.At(x, y);
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((expected >> shift) & 0xFF));
        }
    }
    return sum / (3.0 * areaWidth * areaHeight);
}

class TalvenaDialogsProgramTest : public ConverterTest {
protected:
    void SetUp() override
    {
        ConverterTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
        DeleteFileW(CatalogueFile());
        UnregisterShellMenu();
        // No update check at start: nothing but the test's own windows come up.
        SetSetting(L"AutoCheckUpdate", 0);
    }
    void TearDown() override
    {
        UnregisterShellMenu();
        DeleteFileW(CatalogueFile());
        RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
        ConverterTest::TearDown();
    }

    // The program's window once it shows; the test fails when it does not.
    static HWND MainWindow(const ProgramRun& program)
    {
        return program.m_started ? program.FindWindowTitled(L"Talvena", 60000) : nullptr;
    }
    // Sends the command to the main window and waits for the window it opens.
    static HWND OpenFromCommand(const ProgramRun& program, HWND window, UINT command, const wchar_t* caption)
    {
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        return program.FindWindowTitled(caption, 20000);
    }
    static void CloseProgram(ProgramRun& program, HWND window)
    {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program.WaitExit(30000)) << "the program ends when its window is closed";
    }
};

// The program stores its settings once the dialog has gone: give it a moment.
long long SettingWithin(const wchar_t* name, long long expected, DWORD timeoutMs = 5000)
{
    long long found = SettingValue(name);
    for (DWORD waited = 0; found != expected && waited < timeoutMs; waited += 50) {
        Sleep(50);
        found = SettingValue(name);
    }
    return found;
}

// Shell entry keys take a moment: regsvr32 runs on its own.
int ShellKeysWithin(int expected, DWORD timeoutMs)
{
    int found = IsShellMenuRegistered();
    for (DWORD waited = 0; found != expected && waited < timeoutMs; waited += 100) {
        Sleep(100);
        found = IsShellMenuRegistered();
    }
    return found;
}

TEST_F(TalvenaDialogsProgramTest, SettingsReachTheRegistryOnOkOnly)
{
    ProgramRun program(L"/o " + Quoted(OutFolder()));
    const HWND window = MainWindow(program);
    ASSERT_NE(nullptr, window);
    const long long overwriteBefore = SettingValue(L"Overwrite");

    // Changed, then cancelled: nothing moves.
    HWND settings = OpenFromCommand(program, window, ID_SETTINGS, L"Settings");
    ASSERT_NE(nullptr, settings);
    EXPECT_TRUE(Checked(settings, IDC_SETTINGS_PROMPT));
    EXPECT_FALSE(Checked(settings, IDC_SETTINGS_AUTO_UPDATE));
    EXPECT_FALSE(Checked(settings, IDC_SETTINGS_SHELL_MENU));
    Click(settings, IDC_SETTINGS_OVERWRITE);
    Click(settings, IDC_SETTINGS_AUTO_UPDATE);
    Click(settings, IDC_SETTINGS_SHELL_MENU);
    Press(settings, IDCANCEL);
    ASSERT_TRUE(WaitGone(settings));
    Sleep(500);
    EXPECT_EQ(overwriteBefore, SettingValue(L"Overwrite"));
    EXPECT_EQ(0, SettingValue(L"AutoCheckUpdate"));
    EXPECT_EQ(0, ShellKeysWithin(2, 2000)) << "no shell entry registered";

    // Changed and OK: in the registry at once, the shell entry there.
    settings = OpenFromCommand(program, window, ID_SETTINGS, L"Settings");
    ASSERT_NE(nullptr, settings);
    EXPECT_TRUE(Checked(settings, IDC_SETTINGS_PROMPT)) << "the cancelled choice was not kept";
    Click(settings, IDC_SETTINGS_OVERWRITE);
    Click(settings, IDC_SETTINGS_AUTO_UPDATE);
    Click(settings, IDC_SETTINGS_SHELL_MENU);
    Capture(settings, "talvena-settings");
    Press(settings, IDOK);
    ASSERT_TRUE(WaitGone(settings));
    EXPECT_EQ(12, SettingWithin(L"Overwrite", 12)) << "Always overwrite existing file";
    EXPECT_EQ(1, SettingWithin(L"AutoCheckUpdate", 1));
    EXPECT_EQ(2, ShellKeysWithin(2, 20000)) << "both handler keys of the shell entry";

    // Shown as stored; the shell entry cleared and another policy chosen.
    settings = OpenFromCommand(program, window, ID_SETTINGS, L"Settings");
    ASSERT_NE(nullptr, settings);
    EXPECT_TRUE(Checked(settings, IDC_SETTINGS_OVERWRITE));
    EXPECT_TRUE(Checked(settings, IDC_SETTINGS_AUTO_UPDATE));
    EXPECT_TRUE(Checked(settings, IDC_SETTINGS_SHELL_MENU));
    Click(settings, IDC_SETTINGS_SHELL_MENU);
    Click(settings, IDC_SETTINGS_CANCEL);
    Press(settings, IDOK);
    ASSERT_TRUE(WaitGone(settings));
    EXPECT_EQ(13, SettingWithin(L"Overwrite", 13)) << "Always cancel conversion";
    EXPECT_EQ(0, IsShellMenuRegistered());
    CloseProgram(program, window);
    EXPECT_EQ(13, SettingValue(L"Overwrite"));
    EXPECT_EQ(1, SettingValue(L"AutoCheckUpdate"));
}

TEST_F(TalvenaDialogsProgramTest, FormatManagerChangesAreInTheCatalogueFileAfterARestart)
{
    ProgramRun program(Quoted(PutSampleGif(m_scratch, "waiting.gif")) + L" /o " + Quoted(OutFolder()));
    const HWND window = MainWindow(program);
    ASSERT_NE(nullptr, window);
    ASSERT_EQ(1, ComboSelection(window, IDC_FORMAT)) << "the first format, below its group's heading";
    const int chosenRow = ComboSelection(window, IDC_PRESET);
    ASSERT_GE(chosenRow, 0);

    const HWND manager = OpenFromCommand(program, window, ID_FORMAT_MANAGER, L"Video/Audio Format Settings");
    ASSERT_NE(nullptr, manager);
    const HWND tree = GetDlgItem(manager, IDC_MANAGER_TREE);
    const HWND list = GetDlgItem(manager, IDC_MANAGER_LIST);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    ASSERT_GE(rows, 2);
    std::vector<CString> names;
    for (int row = 0; row < rows; ++row)
        names.push_back(program.ListText(list, row, 0));

    // The preset the waiting row will be converted with can be neither deleted nor reset.
    ASSERT_TRUE(program.SelectOnlyRow(list, chosenRow));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(manager, IDC_MANAGER_DELETE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(manager, IDC_MANAGER_RESET)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(manager, IDC_MANAGER_RESET_ALL)));

    // The first preset moved down, a preset added (its first name is taken), a format unchecked.
    ASSERT_TRUE(program.SelectOnlyRow(list, 0));
    Click(manager, IDC_MANAGER_DOWN);
    Press(manager, IDC_MANAGER_ADD);
    const HWND preset = program.FindWindowTitled(L"Preset Settings", 20000);
    ASSERT_NE(nullptr, preset);
    SetDlgItemTextW(preset, IDC_PRESET_NAME, names[0]);
    Press(preset, IDOK);
    const HWND refusal = program.FindWindowTitled(L"Preset Name", 20000);
    ASSERT_NE(nullptr, refusal) << "a name the format has already is refused";
    Press(refusal, IDOK);
    ASSERT_TRUE(WaitGone(refusal));
    ASSERT_TRUE(IsWindowVisible(preset));
    SetDlgItemTextW(preset, IDC_PRESET_NAME, L"H.264 - 576p");
    Press(preset, IDOK);
    ASSERT_TRUE(WaitGone(preset));
    EXPECT_EQ(rows + 1, static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    const HTREEITEM group = TreeView_GetRoot(tree);
    const HTREEITEM hidden = TreeView_GetNextSibling(tree, TreeView_GetChild(tree, group));
    ASSERT_NE(nullptr, hidden);
    ASSERT_TRUE(program.SetTreeCheck(tree, hidden, false));
    // Every format of the last group listed in the main window unchecked: the group goes.
    const HWND formatCombo = GetDlgItem(window, IDC_FORMAT);
    auto listed = [](HWND combo, const CString& text) {
        return SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.GetString())) !=
               CB_ERR;
    };
    int emptied = -1;
    for (int i = static_cast<int>(m_catalog.m_groups.size()) - 1; i > 0 && emptied < 0; --i)
        if (listed(formatCombo, m_catalog.m_groups[static_cast<size_t>(i)]->m_name))
            emptied = i;
    ASSERT_GT(emptied, 0);
    HTREEITEM emptiedItem = TreeView_GetRoot(tree);
    for (int i = 0; i < emptied; ++i)
        emptiedItem = TreeView_GetNextSibling(tree, emptiedItem);
    ASSERT_EQ(m_catalog.m_groups[static_cast<size_t>(emptied)]->m_name, program.TreeText(tree, emptiedItem));
    for (HTREEITEM child = TreeView_GetChild(tree, emptiedItem); child; child = TreeView_GetNextSibling(tree, child))
        ASSERT_TRUE(program.SetTreeCheck(tree, child, false));
    if (std::getenv("TALVENA_SHOTS"))
        TreeView_Select(tree, TreeView_GetRoot(tree), TVGN_FIRSTVISIBLE);   // the first group's heading in the shot
    Capture(manager, "talvena-format-manager");
    Press(manager, IDOK);
    ASSERT_TRUE(WaitGone(manager));
    const int movedChoice = chosenRow == 0 ? 1 : (chosenRow == 1 ? 0 : chosenRow);
    EXPECT_EQ(movedChoice, ComboSelection(window, IDC_PRESET)) << "the main window keeps its preset where it went";
    CloseProgram(program, window);

    // The file, read as the program reads it.
    const CMediaFormatInfo* builtFirst = m_catalog.m_groups.front()->m_formats[0].get();
    const CMediaFormatInfo* builtHidden = m_catalog.m_groups.front()->m_formats[1].get();
    ASSERT_TRUE(FileExists(CatalogueFile()));
    CAppFormatCatalog saved;
    ASSERT_EQ(0, saved.LoadDefault(CatalogueFolder()));
    const CMediaFormatInfo* first = saved.FindFormat(builtFirst->m_id);
    ASSERT_NE(nullptr, first);
    ASSERT_EQ(static_cast<size_t>(rows) + 1, first->m_presets.size());
    EXPECT_EQ(names[1], CString(first->m_presets[0]->m_settings.name));
    EXPECT_EQ(names[0], CString(first->m_presets[1]->m_settings.name));
    EXPECT_EQ(CString(L"H.264 - 576p"), CString(first->m_presets[2]->m_settings.name)) << "added after the selected row";
    EXPECT_TRUE(saved.FindFormat(builtHidden->m_id)->m_flags & MEDIA_ITEM_HIDDEN);

    // Started again: the format lists and the manager show it so.
    ProgramRun again(L"/o " + Quoted(OutFolder()));
    const HWND second = MainWindow(again);
    ASSERT_NE(nullptr, second);
    const CString hiddenRow = builtHidden->m_name + L"\t" + builtHidden->m_formatName;
    const CString firstRow = builtFirst->m_name + L"\t" + builtFirst->m_formatName;
    EXPECT_EQ(CB_ERR, SendMessageW(GetDlgItem(second, IDC_FORMAT), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(hiddenRow.GetString())));
    EXPECT_NE(CB_ERR, SendMessageW(GetDlgItem(second, IDC_FORMAT), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(firstRow.GetString())));
    const CMediaFormatGroup& gone = *m_catalog.m_groups[static_cast<size_t>(emptied)];
    EXPECT_FALSE(listed(GetDlgItem(second, IDC_FORMAT), gone.m_name)) << "no heading for a group without a shown format";
    for (const auto& format : gone.m_formats) {
        const CMediaFormatInfo* kept = saved.FindFormat(format->m_id);
        ASSERT_NE(nullptr, kept) << "its formats stay in the catalogue";
        EXPECT_TRUE(kept->m_flags & MEDIA_ITEM_HIDDEN);
    }
    const HWND reopened = OpenFromCommand(again, second, ID_FORMAT_MANAGER, L"Video/Audio Format Settings");
    ASSERT_NE(nullptr, reopened);
    const HWND list2 = GetDlgItem(reopened, IDC_MANAGER_LIST);
    const HWND tree2 = GetDlgItem(reopened, IDC_MANAGER_TREE);
    EXPECT_EQ(names[1], again.ListText(list2, 0, 0));
    EXPECT_EQ(CString(L"H.264 - 576p"), again.ListText(list2, 2, 0));
    const HTREEITEM hidden2 = TreeView_GetNextSibling(tree2, TreeView_GetChild(tree2, TreeView_GetRoot(tree2)));
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), TreeView_GetItemState(tree2, hidden2, TVIS_STATEIMAGEMASK)) << "unchecked";
    Press(reopened, IDOK);
    ASSERT_TRUE(WaitGone(reopened));
    CloseProgram(again, second);
}

TEST_F(TalvenaDialogsProgramTest, FormatSettingsRefuseOutOfRangeValuesAndCancelKeepsTheCatalogue)
{
    ProgramRun program(L"/o " + Quoted(OutFolder()));
    const HWND window = MainWindow(program);
    ASSERT_NE(nullptr, window);
    // The catalogue file as it stands before the dialog (written when the program saves it).
    const HWND manager = OpenFromCommand(program, window, ID_FORMAT_MANAGER, L"Video/Audio Format Settings");
    ASSERT_NE(nullptr, manager);
    Press(manager, IDOK);
    ASSERT_TRUE(WaitGone(manager));
    ASSERT_TRUE(FileExists(CatalogueFile()));
    const std::string before = ReadTextFile(std::filesystem::path(CatalogueFile().GetString()));

    const HWND settings = OpenFromCommand(program, window, IDC_ADVANCED, L"Format Settings");
    ASSERT_NE(nullptr, settings);
    const HWND bitRate = GetDlgItem(settings, IDC_CODEC_VIDEO_RATE_EDIT);
    ASSERT_TRUE(IsWindowVisible(bitRate)) << "the first format's codec takes any bit rate";
    Capture(settings, "talvena-format-settings");
    for (const wchar_t* typed : {L"99999999", L"-5", L"quick"}) {
        SCOPED_TRACE(CString(typed).ToUtf8());
        SetDlgItemTextW(settings, IDC_CODEC_VIDEO_RATE_EDIT, typed);
        Press(settings, IDOK);
        const HWND refusal = program.FindWindowTitled(L"Invalid Value", 20000);
        ASSERT_NE(nullptr, refusal);
        Press(refusal, IDOK);
        ASSERT_TRUE(WaitGone(refusal));
        EXPECT_TRUE(IsWindowVisible(settings)) << "the dialog stays open";
    }
    Press(settings, IDCANCEL);
    ASSERT_TRUE(WaitGone(settings));
    CloseProgram(program, window);
    EXPECT_EQ(before, ReadTextFile(std::filesystem::path(CatalogueFile().GetString())))
        << "Cancel left the catalogue as it was";

    // A value in range with OK: the format's custom preset has it, in the file and after a restart.
    const CMediaFormatInfo* builtFirst = m_catalog.m_groups.front()->m_formats[0].get();
    ASSERT_NE(nullptr, builtFirst->m_customPreset) << "the first format has a custom preset";
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "typed" : "after a restart");
        ProgramRun again(L"/o " + Quoted(OutFolder()));
        const HWND main = MainWindow(again);
        ASSERT_NE(nullptr, main);
        const HWND dialog = OpenFromCommand(again, main, IDC_ADVANCED, L"Format Settings");
        ASSERT_NE(nullptr, dialog);
        const HWND presets = GetDlgItem(dialog, IDC_PRESET);
        const int custom = static_cast<int>(SendMessageW(presets, CB_GETCOUNT, 0, 0)) - 1;
        SendMessageW(presets, CB_SETCURSEL, static_cast<WPARAM>(custom), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_PRESET, CBN_SELCHANGE), reinterpret_cast<LPARAM>(presets));
        if (run == 0) {
            SetDlgItemTextW(dialog, IDC_CODEC_VIDEO_RATE_EDIT, L"2500");
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_CODEC_VIDEO_RATE_EDIT, CBN_EDITCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_CODEC_VIDEO_RATE_EDIT)));
        } else {
            wchar_t shown[64] = L"";
            GetDlgItemTextW(dialog, IDC_CODEC_VIDEO_RATE_EDIT, shown, 64);
            EXPECT_EQ(2500000, ParseTypedBitRate(shown)) << CString(shown).ToUtf8();
        }
        Press(dialog, run == 0 ? IDOK : IDCANCEL);
        ASSERT_TRUE(WaitGone(dialog));
        CloseProgram(again, main);
        CAppFormatCatalog saved;
        ASSERT_EQ(0, saved.LoadDefault(CatalogueFolder()));
        const CMediaFormatInfo* first = saved.FindFormat(builtFirst->m_id);
        ASSERT_NE(nullptr, first);
        ASSERT_NE(nullptr, first->m_customPreset);
        EXPECT_EQ(2500000, first->m_customPreset->m_settings.videoBitRate);
    }
}

TEST_F(TalvenaDialogsProgramTest, AdvancedOptionsTurnTheOutputAndMediaInfoDescribesBothFiles)
{
    const CString gif = PutSampleGif(m_scratch, "turned.gif");
    ProgramRun program(Quoted(gif) + L" /o " + Quoted(OutFolder()));
    const HWND window = MainWindow(program);
    ASSERT_NE(nullptr, window);
    const HWND list = GetDlgItem(window, IDC_JOB_LIST);
    ASSERT_TRUE(program.SelectOnlyRow(list, 0));

    // A flip chosen and cancelled, then a quarter turn clockwise and negation.
    HWND options = OpenFromCommand(program, window, ID_ADVANCED_OPTIONS, L"Advanced Conversion Options");
    ASSERT_NE(nullptr, options);
    Click(options, IDC_ADVANCED_HFLIP);
    Press(options, IDCANCEL);
    ASSERT_TRUE(WaitGone(options));
    options = OpenFromCommand(program, window, ID_ADVANCED_OPTIONS, L"Advanced Conversion Options");
    ASSERT_NE(nullptr, options);
    EXPECT_FALSE(Checked(options, IDC_ADVANCED_HFLIP)) << "the cancelled flip was not kept";
    Click(options, IDC_ADVANCED_ROTATE);
    SendMessageW(GetDlgItem(options, IDC_ADVANCED_ANGLE), CB_SETCURSEL, 0, 0);
    Click(options, IDC_ADVANCED_NEGATE);
    Press(options, IDOK);
    ASSERT_TRUE(WaitGone(options));

    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED), 0);
    ASSERT_EQ(CString(L"Completed."), WaitForEnd(program, list, 0));
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(GetDlgItem(window, IDC_CONVERT)) && GetTickCount() - start < 30000)
        Sleep(50);

    ASSERT_TRUE(program.SelectOnlyRow(list, 0));
    const HWND info = OpenFromCommand(program, window, ID_MEDIA_INFO, L"Media Info");
    ASSERT_NE(nullptr, info);
    const HWND input = GetDlgItem(info, IDC_INFO_INPUT_LIST);
    const HWND output = GetDlgItem(info, IDC_INFO_OUTPUT_LIST);
    // Each list: label and value by row, as the dialog lays them out.
    auto value = [&](HWND facts, const wchar_t* label) {
        const int count = static_cast<int>(SendMessageW(facts, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < count; ++row)
            if (program.ListText(facts, row, 0) == label)
                return program.ListText(facts, row, 1);
        return CString(L"(no row)");
    };
    EXPECT_EQ(CString(L"turned.gif"), value(input, L"File Name"));
    EXPECT_EQ(CString(L"65 x 49"), value(input, L"Width x Height"));
    EXPECT_EQ(CString(L"turned.mp4"), value(output, L"File Name"));
    EXPECT_EQ(CString(L"50 x 66"), value(output, L"Width x Height")) << "turned, then made even";
    EXPECT_EQ(CString(L"h264"), program.ListText(output, 6, 1)) << "the video stream's format";
    for (HWND facts : {input, output}) {
        EXPECT_EQ(CString(L"0:00:02"), value(facts, L"Length").Left(7));
        EXPECT_EQ(CString(L"10 fps"), value(facts, L"Frame Rate"));
    }
    Capture(info, "talvena-media-info");
    Press(info, IDOK);
    ASSERT_TRUE(WaitGone(info));
    CloseProgram(program, window);

    // The output's first frame is the GIF's first one turned clockwise and negated, and not
    // one turned another way or left as it was.
    const CString video = OutFile(L"turned.mp4");
    CMediaInfo probed;
    ASSERT_EQ(0, probed.Probe(video, nullptr));
    ASSERT_NE(nullptr, probed.GetFirstVideoStream());
    EXPECT_EQ(50, probed.GetFirstVideoStream()->m_width);
    EXPECT_EQ(66, probed.GetFirstVideoStream()->m_height);
    const CString gifFrame = m_scratch.File("gif-frame.bmp"), videoFrame = m_scratch.File("video-frame.bmp");
    ASSERT_EQ(0, GrabVideoFrame(gif, gifFrame, 0, 0, 0, L"image2", nullptr));
    ASSERT_EQ(0, GrabVideoFrame(video, videoFrame, 0, 0, 0, L"image2", nullptr));
    const Picture source = LoadPicture(gifFrame), frame = LoadPicture(videoFrame);
    ASSERT_GE(source.width, 65);
    ASSERT_GE(source.height, 49);
    ASSERT_EQ(50, frame.width);
    ASSERT_EQ(66, frame.height);
    const int w = 65, h = 49;  // the GIF's own picture
    struct Candidate {
        const char* what;
        std::function<POINT(int, int)> source;
        bool negated;
    } const candidates[] = {
        {"clockwise, negated", [&](int x, int y) { return POINT{y, h - 1 - x}; }, true},
        {"clockwise", [&](int x, int y) { return POINT{y, h - 1 - x}; }, false},
        {"counter-clockwise, negated", [&](int x, int y) { return POINT{w - 1 - y, x}; }, true},
        {"transposed, negated", [&](int x, int y) { return POINT{y, x}; }, true},
    };
    std::vector<double> differences;
    for (const Candidate& c : candidates)
        differences.push_back(MeanDifference(frame, source, h, w, c.source, c.negated));
    // A small picture of sharp colour bars in a lossy 4:2:0 video: about 17 apart when right,
    // 56 and more when turned or flipped wrongly.
    EXPECT_LT(differences[0], 25.0) << "close to the GIF turned and negated";
    for (size_t i = 1; i < differences.size(); ++i)
        EXPECT_GT(differences[i], differences[0] + 25.0) << candidates[i].what;
}

} // namespace
