// The settings, advanced options and media information dialogs, opened as the main dialog opens
// them and driven through their controls from a second thread: what they show, what OK stores
// (the settings down to the registry) and what Cancel leaves alone.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "AdvancedOptionsDlg.h"
#include "AppFormatCatalog.h"
#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "CatalogTestSupport.h"
#include "ConvertItem.h"
#include "CodecInfo.h"
#include "FwTestSupport.h"
#include "MediaFormatsXml.h"
#include "GuiDriving.h"
#include "FormatManagerDlg.h"
#include "FormatSettingsDlg.h"
#include "MediaInfoDlg.h"
#include "PresetSettingsDlg.h"
#include "SettingsDlg.h"
#include "TalvenaRes.h"

namespace {

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
void ClickButton(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// Runs the modal dialog while `drive` works its window (found by caption) from another thread,
// which ends it with the given button.
INT_PTR RunDriven(CDialog& dialog, const wchar_t* caption, const std::function<void(HWND)>& drive, int button)
{
    std::thread driver([&] {
        const HWND window = WaitForOwnWindow(caption);
        if (!window)
            return;
        drive(window);
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
    const INT_PTR result = dialog.DoModal();
    driver.join();
    return result;
}

class ConverterDialogsTest : public FwProfileTest {
protected:
    void SetUp() override
    {
        FwProfileTest::SetUp();
        g_pAppSettings = &m_settings;
        ASSERT_EQ(0, m_paths.LocateModules());
        m_paths.CreateFonts(nullptr);
        g_pAppPaths = &m_paths;
    }
    void TearDown() override
    {
        g_pAppPaths = nullptr;
        g_pAppSettings = nullptr;
        FwProfileTest::TearDown();
    }

    CAppSettings m_settings;
    CAppPaths m_paths;
};

TEST_F(ConverterDialogsTest, SettingsShowAndStoreThePolicyAndTheUpdateCheck)
{
    m_settings.m_overwrite = 12;
    m_settings.m_autoCheckUpdate = 0;
    bool shown = false;
    CSettingsDlg dialog;
    const INT_PTR result = RunDriven(dialog, L"Settings", [&](HWND window) {
        shown = Checked(window, IDC_SETTINGS_OVERWRITE) && !Checked(window, IDC_SETTINGS_PROMPT) &&
                !Checked(window, IDC_SETTINGS_AUTO_UPDATE) && !Checked(window, IDC_SETTINGS_SHELL_MENU);
        ClickButton(window, IDC_SETTINGS_CANCEL);
        ClickButton(window, IDC_SETTINGS_AUTO_UPDATE);
    }, IDOK);
    EXPECT_EQ(IDOK, result);
    EXPECT_TRUE(shown) << "overwrite chosen, no update check, no shell entry";
    EXPECT_EQ(13, m_settings.m_overwrite.load());
    EXPECT_EQ(1, m_settings.m_autoCheckUpdate);
    m_settings.Save();
    EXPECT_EQ(13u, TestApp().GetProfileInt(L"Settings", L"Overwrite", 0));
    EXPECT_EQ(1u, TestApp().GetProfileInt(L"Settings", L"AutoCheckUpdate", 0));
}

TEST_F(ConverterDialogsTest, AnUnknownPolicyShowsPromptAndStoresZero)
{
    m_settings.m_overwrite = 7;
    bool prompt = false;
    CSettingsDlg dialog;
    RunDriven(dialog, L"Settings", [&](HWND window) { prompt = Checked(window, IDC_SETTINGS_PROMPT); }, IDOK);
    EXPECT_TRUE(prompt);
    EXPECT_EQ(0, m_settings.m_overwrite.load());

    m_settings.m_overwrite = 11;
    CSettingsDlg cancelled;
    RunDriven(cancelled, L"Settings", [&](HWND window) { ClickButton(window, IDC_SETTINGS_OVERWRITE); }, IDCANCEL);
    EXPECT_EQ(11, m_settings.m_overwrite.load()) << "Cancel stores nothing";
}

TEST_F(ConverterDialogsTest, AdvancedOptionsEditTheItemsPictureOptions)
{
    CConvertItem item;
    item.m_settings.m_rotation = 270;
    item.m_settings.m_vflip = 1;
    bool shown = false, angleFollows = false;
    CAdvancedOptionsDlg dialog(&item);
    RunDriven(dialog, L"Advanced Conversion Options", [&](HWND window) {
        const HWND angle = ::GetDlgItem(window, IDC_ADVANCED_ANGLE);
        wchar_t text[32] = L"";
        ::GetWindowTextW(angle, text, 32);
        shown = Checked(window, IDC_ADVANCED_ROTATE) && ::IsWindowEnabled(angle) && wcscmp(text, L"270 degrees") == 0 &&
                Checked(window, IDC_ADVANCED_VFLIP) && !Checked(window, IDC_ADVANCED_HFLIP) &&
                ::SendMessageW(angle, CB_GETCOUNT, 0, 0) == 3;
        ClickButton(window, IDC_ADVANCED_ROTATE);
        angleFollows = !::IsWindowEnabled(angle);
        ClickButton(window, IDC_ADVANCED_HFLIP);
        ClickButton(window, IDC_ADVANCED_GREY);
    }, IDOK);
    EXPECT_TRUE(shown) << "rotated by 270 degrees and flipped vertically";
    EXPECT_TRUE(angleFollows) << "the angle is chosen only while rotating";
    EXPECT_EQ(0, item.m_settings.m_rotation);
    EXPECT_EQ(1, item.m_settings.m_hflip);
    EXPECT_EQ(1, item.m_settings.m_vflip);
    EXPECT_EQ(1, item.m_settings.m_grey);
    EXPECT_EQ(0, item.m_settings.m_negate);

    CAdvancedOptionsDlg cancelled(&item);
    RunDriven(cancelled, L"Advanced Conversion Options", [&](HWND window) {
        ClickButton(window, IDC_ADVANCED_ROTATE);
        ClickButton(window, IDC_ADVANCED_NEGATE);
    }, IDCANCEL);
    EXPECT_EQ(0, item.m_settings.m_rotation) << "Cancel leaves the item";
    EXPECT_EQ(0, item.m_settings.m_negate);
}

TEST_F(ConverterDialogsTest, MediaInfoListsTheProbedFileOnly)
{
    CConvertItem item;
    item.m_settings.m_source = L"C:\\gifs\\a.gif";
    item.m_outputPath = L"C:\\videos\\a.mp4";
    item.m_flags = ITEM_SOURCE_PROBED;
    item.m_inputInfo.m_format = L"gif";
    auto video = std::make_unique<CMediaStreamInfo>();
    video->m_type = MEDIA_STREAM_VIDEO;
    video->m_width = 65;
    video->m_height = 49;
    item.m_inputInfo.m_streams.push_back(std::move(video));
    CMediaInfoDlg dialog(&item);
    ASSERT_TRUE(dialog.Create(IDD_MEDIA_INFO));
    EXPECT_EQ(CString(L"Media Info"), dialog.GetWindowText());
    EXPECT_EQ(CString(L"C:\\gifs\\a.gif"), dialog.GetDlgItemText(IDC_INFO_INPUT_PATH));
    EXPECT_EQ(CString(L"C:\\videos\\a.mp4"), dialog.GetDlgItemText(IDC_INFO_OUTPUT_PATH));
    ASSERT_EQ(10, dialog.m_inputList.GetItemCount());
    EXPECT_EQ(CString(L"File Name"), dialog.m_inputList.GetItemText(0, 0));
    EXPECT_EQ(CString(L"a.gif"), dialog.m_inputList.GetItemText(0, 1));
    EXPECT_EQ(CString(L"Stream #1"), dialog.m_inputList.GetItemText(5, 0));
    EXPECT_EQ(CString(L"65 x 49"), dialog.m_inputList.GetItemText(7, 1));
    EXPECT_EQ(0, dialog.m_outputList.GetItemCount()) << "the output was never probed";
    LVCOLUMNW column{};
    wchar_t title[16] = L"";
    column.mask = LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = 16;
    dialog.m_outputList.GetColumn(1, &column);
    EXPECT_STREQ(L"Output", title);
    dialog.DestroyWindow();
}

TEST_F(ConverterDialogsTest, APresetsNameStreamsAndCodecsAreEdited)
{
    CAppFormatCatalog catalog;
    LoadBuiltins(catalog);
    g_pFormatCatalog = &catalog;
    catalog.m_modified = 0;
    CMediaFormatInfo* format = catalog.FindFormat(L"MC_mp4");
    ASSERT_NE(nullptr, format);
    ASSERT_FALSE(format->m_presets.empty());
    CMediaPreset& preset = *format->m_presets.front();
    // Without audio, but not locked so: the user may switch it on.
    preset.m_settings.audioFlags = MEDIA_NO_STREAM;
    preset.m_settings.videoFlags &= ~MEDIA_STREAM_LOCKED;
    const CString codecName = preset.m_videoCodec ? preset.m_videoCodec->m_name : CString();
    bool shown = false, videoHeld = false, videoFreed = false;
    CPresetSettingsDlg dialog(&preset);
    RunDriven(dialog, L"Preset Settings", [&](HWND window) {
        wchar_t name[64] = L"", codec[64] = L"";
        ::GetDlgItemTextW(window, IDC_PRESET_NAME, name, 64);
        ::GetDlgItemTextW(window, IDC_CODEC_VIDEO_CODEC, codec, 64);
        shown = CString(name) == CString(preset.m_settings.name) && CString(codec) == codecName &&
                Checked(window, IDC_CODEC_VIDEO) && !Checked(window, IDC_CODEC_AUDIO) &&
                !::IsWindowEnabled(::GetDlgItem(window, IDC_CODEC_AUDIO_CODEC));
        videoHeld = !::IsWindowEnabled(::GetDlgItem(window, IDC_CODEC_VIDEO));
        ClickButton(window, IDC_CODEC_AUDIO);
        videoFreed = ::IsWindowEnabled(::GetDlgItem(window, IDC_CODEC_VIDEO)) &&
                     ::IsWindowEnabled(::GetDlgItem(window, IDC_CODEC_AUDIO_CODEC));
        ::SetDlgItemTextW(window, IDC_PRESET_NAME, L"Mine");
    }, IDOK);
    g_pFormatCatalog = nullptr;
    EXPECT_TRUE(shown) << "name, codec and the video-only streams";
    EXPECT_TRUE(videoHeld) << "video cannot go while audio is off";
    EXPECT_TRUE(videoFreed) << "with audio on, either may go";
    EXPECT_STREQ(L"Mine", preset.m_settings.name);
    EXPECT_FALSE(preset.m_settings.audioFlags & MEDIA_NO_STREAM);
    EXPECT_FALSE(preset.m_settings.videoFlags & MEDIA_NO_STREAM);
    EXPECT_NE(nullptr, preset.m_audioCodec) << "the chosen audio codec entry";
    EXPECT_EQ(1, catalog.m_modified);
}

TEST_F(ConverterDialogsTest, ALockedStreamStaysAsTheCatalogueSays)
{
    CAppFormatCatalog catalog;
    LoadBuiltins(catalog);
    CMediaPreset& preset = *catalog.FindFormat(L"MC_mp4")->m_presets.front();
    preset.m_settings.audioFlags = MEDIA_NO_STREAM | MEDIA_STREAM_LOCKED;
    bool locked = false;
    CPresetSettingsDlg dialog(&preset);
    RunDriven(dialog, L"Preset Settings", [&](HWND window) {
        locked = !::IsWindowEnabled(::GetDlgItem(window, IDC_CODEC_AUDIO)) && !Checked(window, IDC_CODEC_AUDIO);
        ClickButton(window, IDC_CODEC_AUDIO);
    }, IDOK);
    EXPECT_TRUE(locked) << "the audio box cannot be used";
    EXPECT_EQ(uint32_t(MEDIA_NO_STREAM | MEDIA_STREAM_LOCKED), preset.m_settings.audioFlags) << "and OK keeps the lock";
}

TEST_F(ConverterDialogsTest, FormatSettingsStepOverHeadingsAndStoreTheCustomPreset)
{
    CAppFormatCatalog catalog;
    LoadBuiltins(catalog);
    g_pFormatCatalog = &catalog;
    catalog.m_modified = 0;
    int formatRow = -1, presetRows = -1, headingIsBold = -1;
    CMediaFormatInfo* shown = nullptr;
    CFormatSettingsDlg dialog(0, 0);
    RunDriven(dialog, L"Format Settings", [&](HWND) {
        formatRow = dialog.m_formatCombo.GetCurSel();
        shown = dialog.GetFormat();
        presetRows = dialog.m_presetCombo.GetCount();
        headingIsBold = dialog.m_formatCombo.IsHeading(0);
    }, IDOK);
    g_pFormatCatalog = nullptr;
    EXPECT_EQ(1, formatRow) << "row 0 is the first group's heading";
    EXPECT_EQ(1, headingIsBold);
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(static_cast<int>(shown->m_presets.size()) + (shown->m_customPreset ? 1 : 0), presetRows)
        << "the presets, then Custom";
    EXPECT_EQ(1, dialog.m_formatIndex);
    EXPECT_EQ(1, catalog.m_modified);
}

TEST_F(ConverterDialogsTest, TheFormatManagerReordersPresetsAndHidesFormats)
{
    CAppFormatCatalog catalog;
    LoadBuiltins(catalog);
    g_pFormatCatalog = &catalog;
    catalog.m_modified = 0;
    CMediaFormatInfo* first = catalog.m_groups.front()->m_formats.front().get();
    ASSERT_GE(first->m_presets.size(), 2u);
    first->m_defaultPreset = 0;
    CMediaPreset* top = first->m_presets[0].get();
    CMediaPreset* second = first->m_presets[1].get();
    CFormatManagerDlg dialog;
    // The main dialog's chosen preset may not go.
    dialog.m_isPresetInUse = [second](const CMediaPreset* preset) { return preset == second; };
    int rows = -1;
    bool upDisabled = false, deleteOfChosenDisabled = false;
    RunDriven(dialog, L"Video/Audio Format Settings", [&](HWND window) {
        rows = dialog.m_list.GetItemCount();
        ListView_SetItemState(dialog.m_list.m_hWnd, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        upDisabled = !::IsWindowEnabled(::GetDlgItem(window, IDC_MANAGER_UP));
        ClickButton(window, IDC_MANAGER_DOWN);
        // Now the chosen preset is on top, and selecting it alone leaves nothing to delete.
        ListView_SetItemState(dialog.m_list.m_hWnd, -1, 0, LVIS_SELECTED);
        ListView_SetItemState(dialog.m_list.m_hWnd, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        deleteOfChosenDisabled = !::IsWindowEnabled(::GetDlgItem(window, IDC_MANAGER_DELETE));
        const HTREEITEM group = TreeView_GetRoot(dialog.m_tree.m_hWnd);
        TreeView_SetCheckState(dialog.m_tree.m_hWnd, TreeView_GetChild(dialog.m_tree.m_hWnd, group), FALSE);
    }, IDOK);
    g_pFormatCatalog = nullptr;
    EXPECT_EQ(static_cast<int>(first->m_presets.size()), rows);
    EXPECT_TRUE(upDisabled) << "the first row cannot move up";
    EXPECT_TRUE(deleteOfChosenDisabled);
    EXPECT_EQ(second, first->m_presets[0].get()) << "the list's order is stored";
    EXPECT_EQ(top, first->m_presets[1].get());
    EXPECT_EQ(1, first->m_defaultPreset) << "the default follows its preset";
    EXPECT_TRUE(first->m_flags & MEDIA_ITEM_HIDDEN) << "an unchecked format is hidden";
    EXPECT_EQ(1, catalog.m_modified);
}

// The catalogue as its file would hold it.
std::string CatalogueText(const CMediaFormatCatalog& catalog)
{
    ScratchFolder folder;
    if (CMediaFormatsXml::Write(folder.File("MediaFormats.xml"), catalog) != 0)
        return std::string();
    return ReadTextFile(folder.Path("MediaFormats.xml"));
}

// A preset of the catalogue whose video codec takes any bit rate (an edit combo in the dialogs).
CMediaPreset* FreeBitRatePreset(CMediaFormatCatalog& catalog)
{
    for (const auto& group : catalog.m_groups)
        for (const auto& format : group->m_formats)
            for (const auto& preset : format->m_presets)
                if (preset->m_videoCodec && (preset->m_videoCodec->m_flags & VIDEO_ANY_BIT_RATE) &&
                    !(preset->m_settings.videoFlags & MEDIA_NO_STREAM) && format->m_presets.size() >= 2)
                    return preset.get();
    return nullptr;
}

// OK pressed while a value is wrong: the message box that says so (its text), answered; the
// dialog stays.
struct Refusal {
    CString caption;
    CString text;
    bool dialogStays = false;
};
Refusal PressOkExpectingRefusal(HWND dialog, const wchar_t* caption)
{
    Refusal refusal;
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    const HWND box = WaitForOwnWindow(caption, 5000);
    if (!box)
        return refusal;
    refusal.caption = caption;
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(box, 0xFFFF, text, 512);
    refusal.text = text;
    ::SendMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    WaitFor([&] { return !::IsWindow(box); }, 5000);
    refusal.dialogStays = ::IsWindowVisible(dialog) != FALSE;
    return refusal;
}

class CatalogueDialogsTest : public ConverterDialogsTest {
protected:
    void SetUp() override
    {
        ConverterDialogsTest::SetUp();
        LoadBuiltins(m_catalog);
        m_catalog.m_modified = 0;
        g_pFormatCatalog = &m_catalog;
    }
    void TearDown() override
    {
        g_pFormatCatalog = nullptr;
        ConverterDialogsTest::TearDown();
    }
    CAppFormatCatalog m_catalog;
};

TEST_F(CatalogueDialogsTest, TypedValuesOutOfRangeAreRefusedWithAMessage)
{
    CMediaPreset* preset = FreeBitRatePreset(m_catalog);
    ASSERT_NE(nullptr, preset);
    const std::string before = CatalogueText(m_catalog);
    struct Case {
        const wchar_t* bitRate;
        const wchar_t* expected;
    } const cases[] = {
        {L"99999999", L"The bit rate must be a whole number of kbps from 1 to 100000, or Auto."},
        {L"-20", L"The bit rate must be a whole number of kbps from 1 to 100000, or Auto."},
        {L"fast", L"The bit rate must be a whole number of kbps from 1 to 100000, or Auto."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CString(c.bitRate).ToUtf8());
        Refusal refusal;
        CPresetSettingsDlg dialog(preset);
        const INT_PTR result = RunDriven(dialog, L"Preset Settings", [&](HWND window) {
            ::SetDlgItemTextW(window, IDC_CODEC_VIDEO_RATE_EDIT, c.bitRate);
            refusal = PressOkExpectingRefusal(window, L"Invalid Value");
        }, IDCANCEL);
        EXPECT_EQ(IDCANCEL, result);
        EXPECT_EQ(CString(c.expected), refusal.text);
        EXPECT_TRUE(refusal.dialogStays);
    }
    EXPECT_EQ(0, m_catalog.m_modified);
    EXPECT_EQ(before, CatalogueText(m_catalog)) << "nothing reached the catalogue";

    // The same in the format settings dialog; a value in range is then taken.
    CFormatSettingsDlg settings(0, 0);
    settings.m_fixedFormat = 1;
    Refusal refusal;
    int shownFree = 0;
    CMediaFormatInfo* format = nullptr;
    RunDriven(settings, L"Format Settings", [&](HWND window) {
        format = settings.GetFormat();
        shownFree = ::IsWindowVisible(::GetDlgItem(window, IDC_CODEC_VIDEO_RATE_EDIT));
        if (!shownFree)
            return;
        ::SetDlgItemTextW(window, IDC_CODEC_VIDEO_RATE_EDIT, L"250000");
        refusal = PressOkExpectingRefusal(window, L"Invalid Value");
        ::SetDlgItemTextW(window, IDC_CODEC_VIDEO_RATE_EDIT, L"2500");
    }, IDOK);
    ASSERT_TRUE(shownFree) << "the first format's codec takes any bit rate";
    EXPECT_TRUE(refusal.dialogStays);
    EXPECT_FALSE(refusal.text.IsEmpty());
    ASSERT_NE(nullptr, format);
    const CMediaPreset* target = format->m_customPreset ? format->m_customPreset.get()
                                                        : format->m_presets[static_cast<size_t>(settings.m_presetIndex)].get();
    EXPECT_EQ(2500000, target->m_settings.videoBitRate);
}

TEST_F(CatalogueDialogsTest, APresetNameTakenInItsFormatIsRefused)
{
    CMediaPreset* preset = FreeBitRatePreset(m_catalog);
    ASSERT_NE(nullptr, preset);
    CMediaFormatInfo* format = preset->m_format;
    ASSERT_NE(nullptr, format->m_customPreset) << "its lists end with \"Custom\"";
    const CMediaPreset* other = format->m_presets[0].get() == preset ? format->m_presets[1].get() : format->m_presets[0].get();
    const CString ownName = preset->m_settings.name;
    CString otherName = other->m_settings.name;
    struct Case {
        CString name;
        CString expected;  // the message, or empty when the name is taken
    } const cases[] = {
        {otherName, L"The format already has a preset named \"" + otherName + L"\". Please type another name."},
        {CString(otherName).MakeLower(), L"The format already has a preset named \"" + CString(otherName).MakeLower() +
                                             L"\". Please type another name."},
        {L"   ", L"Please type a name for the preset."},
        {L"Custom", L"The format already has a preset named \"Custom\". Please type another name."},
        {ownName, L""},
        {L"  Mine  ", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.ToUtf8());
        Refusal refusal;
        CPresetSettingsDlg dialog(preset);
        const INT_PTR result = RunDriven(dialog, L"Preset Settings", [&](HWND window) {
            ::SetDlgItemTextW(window, IDC_PRESET_NAME, c.name);
            if (!c.expected.IsEmpty())
                refusal = PressOkExpectingRefusal(window, L"Preset Name");
        }, c.expected.IsEmpty() ? IDOK : IDCANCEL);
        if (c.expected.IsEmpty()) {
            EXPECT_EQ(IDOK, result);
            EXPECT_EQ(CString(c.name).Trim(), CString(preset->m_settings.name));
        } else {
            EXPECT_EQ(IDCANCEL, result);
            EXPECT_EQ(c.expected, refusal.text);
            EXPECT_TRUE(refusal.dialogStays);
            EXPECT_NE(CString(c.name), CString(preset->m_settings.name));
        }
    }
    EXPECT_STREQ(L"Mine", preset->m_settings.name);
}

TEST_F(CatalogueDialogsTest, CancelLeavesTheCatalogueAsItWas)
{
    const std::string before = CatalogueText(m_catalog);
    ASSERT_FALSE(before.empty());
    CMediaPreset* preset = FreeBitRatePreset(m_catalog);
    ASSERT_NE(nullptr, preset);
    struct Case {
        const char* what;
        std::function<std::unique_ptr<CDialog>()> make;
        const wchar_t* caption;
        std::function<void(HWND)> drive;
    } const cases[] = {
        {"preset settings", [&] { return std::make_unique<CPresetSettingsDlg>(preset); }, L"Preset Settings",
         [](HWND window) {
             ::SetDlgItemTextW(window, IDC_PRESET_NAME, L"Changed");
             ::SetDlgItemTextW(window, IDC_CODEC_VIDEO_RATE_EDIT, L"1234");
             ClickButton(window, IDC_CODEC_VIDEO_SAME);
         }},
        {"format settings", [] { return std::make_unique<CFormatSettingsDlg>(1, 0); }, L"Format Settings",
         [](HWND window) {
             ::SetDlgItemTextW(window, IDC_CODEC_VIDEO_RATE_EDIT, L"1234");
             ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CODEC_VIDEO_RATE_EDIT, CBN_EDITCHANGE),
                            reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_CODEC_VIDEO_RATE_EDIT)));
             ClickButton(window, IDC_CODEC_VIDEO_SAME);
             const HWND presets = ::GetDlgItem(window, IDC_PRESET);
             ::SendMessageW(presets, CB_SETCURSEL, 1, 0);
             ::SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PRESET, CBN_SELCHANGE), reinterpret_cast<LPARAM>(presets));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<CDialog> dialog = c.make();
        EXPECT_EQ(IDCANCEL, RunDriven(*dialog, c.caption, c.drive, IDCANCEL));
        EXPECT_EQ(0, m_catalog.m_modified);
        EXPECT_EQ(before, CatalogueText(m_catalog));
    }
}

TEST_F(CatalogueDialogsTest, TheFormatManagersPresetDialogCancelledAddsAndChangesNothing)
{
    CMediaFormatInfo* first = m_catalog.m_groups.front()->m_formats.front().get();
    const size_t presets = first->m_presets.size();
    const CString firstName = first->m_presets[0]->m_settings.name;
    CFormatManagerDlg dialog;
    int rowsAfterAdd = -1, rowsAfterOk = -1;
    CString editedRow;
    RunDriven(dialog, L"Video/Audio Format Settings", [&](HWND window) {
        ListView_SetItemState(dialog.m_list.m_hWnd, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        // "Add Preset", then Cancel in its dialog; then "Edit", then Cancel.
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_ADD, BN_CLICKED), 0);
        if (HWND edit = WaitForOwnWindow(L"Preset Settings", 5000)) {
            ::SetDlgItemTextW(edit, IDC_PRESET_NAME, L"Not Wanted");
            ::SendMessageW(edit, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            WaitFor([&] { return !::IsWindow(edit); }, 5000);
        }
        rowsAfterAdd = dialog.m_list.GetItemCount();
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_EDIT, BN_CLICKED), 0);
        if (HWND edit = WaitForOwnWindow(L"Preset Settings", 5000)) {
            ::SetDlgItemTextW(edit, IDC_PRESET_NAME, L"Renamed");
            ::SendMessageW(edit, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            WaitFor([&] { return !::IsWindow(edit); }, 5000);
        }
        editedRow = dialog.m_list.GetItemText(0, 0);
        // "Add Preset" with OK: a second "New Preset" is refused by name until it is made unique.
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_MANAGER_ADD, BN_CLICKED), 0);
        if (HWND edit = WaitForOwnWindow(L"Preset Settings", 5000)) {
            ::SetDlgItemTextW(edit, IDC_PRESET_NAME, firstName);
            PressOkExpectingRefusal(edit, L"Preset Name");
            ::SetDlgItemTextW(edit, IDC_PRESET_NAME, L"Mine");
            ::SendMessageW(edit, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            WaitFor([&] { return !::IsWindow(edit); }, 5000);
        }
        rowsAfterOk = dialog.m_list.GetItemCount();
    }, IDOK);
    EXPECT_EQ(static_cast<int>(presets), rowsAfterAdd) << "a cancelled new preset is not added";
    EXPECT_EQ(firstName, editedRow) << "a cancelled edit renames nothing";
    EXPECT_EQ(static_cast<int>(presets) + 1, rowsAfterOk);
    ASSERT_EQ(presets + 1, first->m_presets.size());
    EXPECT_EQ(firstName, CString(first->m_presets[0]->m_settings.name));
    EXPECT_STREQ(L"Mine", first->m_presets[1]->m_settings.name) << "after the selected row";
}

} // namespace
