// The main dialog with its conversion thread: start-up from the command line, a run over the
// rows with their states, rows added meanwhile, stopping during a run and during the prompt,
// and the status setters with their units.
#include <gtest/gtest.h>

#include "AppPaths.h"
#include "ConvertListItem.h"
#include "FileShell.h"
#include "InputLists.h"
#include "MediaConvertThread.h"
#include "JobStates.h"
#include "TalvenaCommandLine.h"
#include "TalvenaDlg.h"
#include "TalvenaRes.h"
#include "TalvenaDlgTestSupport.h"

namespace {

constexpr DWORD kRunLimitMs = kDialogRunLimitMs;

// Notes the rows the conversion thread reports as done.
class CountingDlg : public CTalvenaDlg {
public:
    using CTalvenaDlg::CTalvenaDlg;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CONVERT_ROW_DONE)
            m_rowsDone.push_back(static_cast<int>(wParam));
        return CTalvenaDlg::WindowProc(message, wParam, lParam);
    }
    std::vector<int> m_rowsDone;
};

using TalvenaDlgTest = MainDialogTest<CountingDlg>;

TEST_F(TalvenaDlgTest, OpensWithTheCommandLinesFilesAndFolder)
{
    const CString list = m_scratch.File("list.m3u");
    CM3uFile m3u;
    m3u.Add(PutSampleGif(m_scratch, "listed.gif"));
    m3u.Add(m_scratch.File("gone.gif"));
    ASSERT_EQ(1, m3u.Save(list));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "first.gif"));
    m_line.m_sources.Add(m_scratch.File("missing.gif"));
    m_line.m_sources.Add(list);
    m_line.m_sources.Add(PutSampleGif(m_scratch, "last.gif"));
    CTalvenaDlg& dialog = Open();

    ASSERT_EQ(4, dialog.m_list.GetItemCount()) << "a named file that is missing says so, a listed one gives no row";
    EXPECT_EQ(CString(L"first.gif"), Cell(0, 1));
    EXPECT_EQ(CString(L"missing.gif"), Cell(1, 1));
    EXPECT_EQ(CString(L"Failed: source file not exists."), Cell(1, 3));
    EXPECT_EQ(CString(L"listed.gif"), Cell(2, 1));
    EXPECT_EQ(CString(L""), Cell(2, 3));
    EXPECT_EQ(CString(L"last.gif"), Cell(3, 1));
    EXPECT_EQ(0, m_line.m_sources.GetSize()) << "the command line's files are taken once";
    EXPECT_EQ(OutFolder(), dialog.m_outputCombo.GetEditText());
    // The first format of the first group, with its first preset.
    ASSERT_NE(nullptr, dialog.m_currentFormat);
    EXPECT_EQ(CString(L"MC_mp4"), dialog.m_currentFormat->m_id);
    EXPECT_EQ(FirstPreset(L"MC_mp4"), dialog.m_currentPreset);
    EXPECT_EQ(CString(L"Video"), dialog.m_formatCombo.GetLBText(0));
    EXPECT_TRUE(m_dialog->GetDlgItem(IDC_CONVERT)->IsWindowVisible());
    EXPECT_FALSE(m_dialog->GetDlgItem(IDC_STOP)->IsWindowVisible());
}

TEST_F(TalvenaDlgTest, TheOutputFolderBoxStartsFromTheCommandLineOrTheRecentFolders)
{
    const CString recent = m_scratch.File("recent");
    ASSERT_TRUE(CreateDirectoryW(recent, nullptr));
    CString shouted = recent;
    shouted.MakeUpper();
    struct Case {
        CString commandLine;
        bool history;  // the recent folder in it
        CString text;
        int entries;   // the history's and the clear entry
        int selected;
    } const cases[] = {
        {OutFolder(), true, OutFolder(), 2, -1},
        {shouted, true, recent, 2, 0},
        {CString(), true, recent, 2, 0},
        {CString(), false, GetMyVideosFolder(false), 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine.ToUtf8());
        m_settings.m_recentFolders.RemoveAll();
        if (c.history)
            m_settings.m_recentFolders.Add(recent);
        m_line.m_outputFolder = c.commandLine;
        m_dialog = std::make_unique<CountingDlg>(&m_line);
        ASSERT_TRUE(m_dialog->Create(IDD_TALVENA_DIALOG));
        CHistoryComboBoxEx& box = m_dialog->m_outputCombo;
        EXPECT_EQ(c.text, box.GetEditText());
        EXPECT_EQ(c.entries, box.GetCount());
        EXPECT_EQ(c.selected, box.GetCurSel());
        if (c.entries > 0) {
            EXPECT_EQ(CString(L"Clear Recent List"), box.GetItemText(c.entries - 1));
            int icon = -1;
            box.GetItemImages(0, &icon, nullptr);
            EXPECT_GE(icon, 0) << "the folder's own icon";
        }
        m_dialog->DestroyWindow();
        m_dialog.reset();
    }
}

TEST_F(TalvenaDlgTest, FoldersOnTheCommandLineAreScanned)
{
    std::filesystem::create_directories(m_scratch.Path("gifs") / "deeper");
    PutSampleGif(m_scratch, "gifs/b.gif");
    PutSampleGif(m_scratch, "gifs/a.gif");
    PutSampleGif(m_scratch, "gifs/deeper/c.gif");
    WriteTextFile(m_scratch.Path("gifs") / "notes.txt", "no picture");
    m_line.m_sources.Add(m_scratch.File("gifs"));
    {
        CTalvenaDlg& dialog = Open();
        ASSERT_EQ(2, dialog.m_list.GetItemCount()) << "every file is tried, the text gives no row";
        EXPECT_EQ(CString(L"a.gif"), Cell(0, 1));
        EXPECT_EQ(CString(L"b.gif"), Cell(1, 1));
        m_dialog->DestroyWindow();
    }
    m_line.m_sources.Add(m_scratch.File("gifs"));
    m_line.m_scanSubfolders = 1;
    m_settings.m_folderDefaultFilter = L"c*.gif";
    CTalvenaDlg& dialog = Open();
    ASSERT_EQ(1, dialog.m_list.GetItemCount());
    EXPECT_EQ(CString(L"c.gif"), Cell(0, 1));
}

TEST_F(TalvenaDlgTest, TheStoredChoicesComeAndGoBack)
{
    m_settings.m_preset = m_catalog.FindFormat(L"MC_webm")->m_presets.back().get();
    m_settings.m_autoClose = 1;
    CTalvenaDlg& dialog = Open();
    EXPECT_EQ(m_settings.m_preset, dialog.m_currentPreset);
    EXPECT_EQ(CString(L"WEBM\t"), dialog.m_formatCombo.GetLBText(dialog.m_formatCombo.GetCurSel()).Left(5));
    EXPECT_EQ(BST_CHECKED, dialog.IsDlgButtonChecked(IDC_CLOSE_WHEN_DONE));

    dialog.CheckDlgButton(IDC_CLOSE_WHEN_DONE, BST_UNCHECKED);
    Command(IDC_CLOSE_WHEN_DONE);
    dialog.m_formatCombo.SetCurSel(1);
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_FORMAT, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(dialog.m_formatCombo.m_hWnd));
    EXPECT_EQ(FirstPreset(L"MC_mp4"), dialog.m_currentPreset);
    m_dialog->DestroyWindow();
    m_dialog.reset();
    EXPECT_EQ(0, m_settings.m_autoClose);
    EXPECT_EQ(FirstPreset(L"MC_mp4"), m_settings.m_preset);
}

TEST_F(TalvenaDlgTest, ARunConvertsEveryRowAndShowsItsState)
{
    FakeScript script(L"-write-output 500");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "third.gif"));
    CTalvenaDlg& dialog = Open();
    DeleteFileW(m_scratch.File("second.gif"));  // goes missing after it was added

    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(JOB_COMPLETED, State(0));
    EXPECT_EQ(JOB_SOURCE_MISSING, State(1));
    EXPECT_EQ(JOB_COMPLETED, State(2)) << "a failed row does not end the run";
    EXPECT_EQ((std::vector<int>{0, 1, 2}), m_dialog->m_rowsDone);
    EXPECT_EQ(CString(L"Completed."), Cell(0, 3));
    EXPECT_EQ(CString(L"Failed: source file not exists."), Cell(1, 3));
    EXPECT_EQ(CString(L"anim.mp4"), Cell(0, 2));
    EXPECT_EQ(CString(L"third.mp4"), Cell(2, 2));
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(1), dialog.m_list.GetItemState(0, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(3), dialog.m_list.GetItemState(1, LVIS_STATEIMAGEMASK));
    EXPECT_TRUE(FileExists(OutFile(L"anim.mp4")));
    EXPECT_EQ(-1, g_nConvertRow.load());
    EXPECT_TRUE(dialog.GetDlgItem(IDC_CONVERT)->IsWindowVisible());
    ASSERT_GE(m_settings.m_recentFolders.GetCount(), 1);
    EXPECT_EQ(OutFolder(), m_settings.m_recentFolders.GetAt(0));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(TalvenaDlgTest, RowsOfFilesThatAreNoSourceArePassedOver)
{
    FakeScript script(L"-write-output 500");
    WriteTextFile(m_scratch.Path("notes.gif"), "no picture in here");
    m_line.m_sources.Add(m_scratch.File("notes.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_settings.m_autoClose = 1;
    CTalvenaDlg& dialog = Open();
    ASSERT_EQ(2, dialog.m_list.GetItemCount());
    EXPECT_EQ(-1, dialog.AddFile(m_scratch.File("gone.gif"))) << "a row, but no source";
    ASSERT_EQ(3, dialog.m_list.GetItemCount());

    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ((std::vector<int>{1}), m_dialog->m_rowsDone);
    EXPECT_EQ(CString(L"Failed: source file not supported."), Cell(0, 3));
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(3), dialog.m_list.GetItemState(0, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(CString(L"Failed: source file not exists."), Cell(2, 3));
    EXPECT_EQ(JOB_COMPLETED, State(1));
    EXPECT_EQ(1, dialog.GetExitCode()) << "closed by itself with rows left unconverted";
}

TEST_F(TalvenaDlgTest, AMissingEncoderFailsEveryRowAndTheRunGoesOn)
{
    CModulePaths modules = StandInModules();
    modules.m_encoder = m_scratch.File("Modules\\Tollwick.exe");
    SetModulePaths(modules);
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    Open();
    ASSERT_TRUE(RunToEnd());
    for (int row : {0, 1}) {
        EXPECT_EQ(JOB_ENCODE_FAILED, State(row));
        EXPECT_EQ(CString(L"Failed: can't convert to the specified format."), Cell(row, 3));
    }
    EXPECT_EQ((std::vector<int>{0, 1}), m_dialog->m_rowsDone);
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(TalvenaDlgTest, BesideTheSourcesNoOutputFolderIsNeeded)
{
    FakeScript script(L"-write-output 500");
    m_settings.m_sameAsInput = 1;
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    CTalvenaDlg& dialog = Open();
    dialog.m_outputCombo.SetEditText(L"");
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(JOB_COMPLETED, State(0));
    EXPECT_TRUE(FileExists(m_scratch.File("anim.mp4")));
    EXPECT_EQ(0, m_settings.m_recentFolders.GetCount());
}

TEST_F(TalvenaDlgTest, RowsAddedDuringTheRunAreConvertedToo)
{
    FakeScript script(L"-sleep 1500 -write-output 500");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    CTalvenaDlg& dialog = Open();
    Command(IDC_CONVERT);
    ASSERT_TRUE(dialog.IsConverting());
    dialog.AddFile(PutSampleGif(m_scratch, "later.gif"));
    ASSERT_TRUE(PumpUntil([&] { return !dialog.IsConverting(); }, kRunLimitMs));
    EXPECT_EQ(JOB_COMPLETED, State(0));
    EXPECT_EQ(JOB_COMPLETED, State(1));
}

TEST_F(TalvenaDlgTest, AnEmptyListStartsNothing)
{
    CTalvenaDlg& dialog = Open();
    Command(IDC_CONVERT);
    EXPECT_FALSE(dialog.IsConverting());
}

TEST_F(TalvenaDlgTest, StopEndsTheRunAndLeavesTheRowsAfter)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    CTalvenaDlg& dialog = Open();
    Command(IDC_CONVERT);
    ASSERT_TRUE(PumpUntil(
        [&] {
            const CConvertListItem* item = dialog.GetItem(0);
            return item && item->m_progress.m_time > 0;
        },
        kRunLimitMs));
    EXPECT_EQ(CString(L"Converting..."), Cell(0, 3));
    EXPECT_TRUE(dialog.GetDlgItem(IDC_STOP)->IsWindowVisible());

    Command(IDC_STOP);
    EXPECT_FALSE(dialog.IsConverting()) << "Stop returns once the thread has ended";
    EXPECT_EQ(JOB_CANCELED, State(0));
    EXPECT_EQ(CString(L"Canceled."), Cell(0, 3));
    EXPECT_EQ(0, State(1));
    EXPECT_TRUE(Cell(1, 3).IsEmpty());
    EXPECT_EQ(CString(L"Stop"), dialog.GetDlgItem(IDC_STOP)->GetWindowText());
    EXPECT_FALSE(FileExists(OutFile(L"anim.mp4")));
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ(1, dialog.StopConversion()) << "nothing runs any more";
}

TEST_F(TalvenaDlgTest, StopWhileThePromptIsShownEndsIt)
{
    FakeScript script(L"-write-output 500");
    WriteTextFile(m_scratch.Path("out") / "anim.mp4", "old");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    CTalvenaDlg& dialog = Open();
    Command(IDC_CONVERT);
    ASSERT_TRUE(PumpUntil([] { return FindOwnWindow(L"Rename, Overwrite, or Cancel?", TitleMatch::Prefix) != nullptr; }, 20000));

    Command(IDC_STOP);
    EXPECT_FALSE(dialog.IsConverting());
    EXPECT_EQ(nullptr, FindOwnWindow(L"Rename, Overwrite, or Cancel?", TitleMatch::Prefix));
    EXPECT_EQ(JOB_CANCELED, State(0));
    EXPECT_EQ(0, State(1));
    EXPECT_EQ("old", ReadFileText(OutFile(L"anim.mp4")));
    EXPECT_FALSE(FileExists(OutFile(L"anim (1).mp4")));
}

TEST_F(TalvenaDlgTest, SettersWriteTheCurrentRowInItsUnits)
{
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    CTalvenaDlg& dialog = Open();
    CConvertListItem* item = dialog.GetItem(0);
    ASSERT_NE(nullptr, item);

    g_nConvertRow = -1;
    dialog.SetStatusText(L"nowhere");
    dialog.SetTimes(-1, 90000000);
    EXPECT_TRUE(Cell(0, 3).IsEmpty());
    EXPECT_TRUE(item->GetOutputText(CConvertListItem::TEXT_DURATION).IsEmpty());

    g_nConvertRow = 0;
    dialog.SetStatusText(L"Converting...");
    dialog.SetOutputText(L"anim.mp4");
    dialog.SetTimes(5000000, 90000000);  // microseconds
    dialog.SetSizes(7814, 2048 * 1024);
    dialog.SetStateImage(2);
    EXPECT_EQ(CString(L"Converting..."), Cell(0, 3));
    EXPECT_EQ(CString(L"anim.mp4"), Cell(0, 2));
    EXPECT_EQ(CString(L"1:30"), item->GetOutputText(CConvertListItem::TEXT_DURATION));
    EXPECT_EQ(FormatKilobytes(2048 * 1024), item->GetOutputText(CConvertListItem::TEXT_SIZE));
    EXPECT_EQ(INDEXTOSTATEIMAGEMASK(2), dialog.m_list.GetItemState(0, LVIS_STATEIMAGEMASK));

    dialog.SetTimes(-1, -1);
    dialog.SetSizes(-1, -1);
    EXPECT_EQ(CString(L"1:30"), item->GetOutputText(CConvertListItem::TEXT_DURATION)) << "-1 leaves the text";
    g_nConvertRow = -1;
}

TEST_F(TalvenaDlgTest, OnlyEncoderMessagesReachTheRuns)
{
    CTalvenaDlg& dialog = Open();
    CEncoderMessage message{};
    message.m_context = 0x7FFFFFF0;  // names no run
    message.m_kind = ENCODER_MESSAGE_PROGRESS;
    COPYDATASTRUCT data{kEncoderMessageId, kEncoderMessageSize, &message};
    EXPECT_EQ(-1, dialog.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    data.dwData = 7;
    EXPECT_EQ(0, dialog.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
}

TEST_F(TalvenaDlgTest, SharedResourcesAreMade)
{
    EXPECT_EQ(CString(L"\\Modules\\Tollwick.exe"), m_paths.GetEncoderPath().Right(21));
    EXPECT_EQ(CString(L"\\Modules\\Harrowin.exe"), m_paths.GetProbePath().Right(21));
    EXPECT_EQ(CString(L"\\Modules\\Presets"), m_paths.GetPresetsFolder().Right(16));
    for (HCURSOR cursor : m_paths.m_cursors)
        EXPECT_NE(nullptr, cursor);
    EXPECT_EQ(2, m_paths.m_images12.GetImageCount());
    EXPECT_EQ(2, m_paths.m_images16.GetImageCount());
    EXPECT_EQ(2, m_paths.m_images32.GetImageCount());
    EXPECT_NE(nullptr, m_paths.GetList(CSysImageList::SMALL_ICONS));
    Open();
    LOGFONTW normal{}, bold{}, large{}, huge{};
    m_paths.m_fontNormal.GetLogFont(&normal);
    m_paths.m_fontBold.GetLogFont(&bold);
    m_paths.m_fontLargeBold.GetLogFont(&large);
    m_paths.m_fontHugeLight.GetLogFont(&huge);
    EXPECT_EQ(FW_BOLD, bold.lfWeight);
    EXPECT_EQ(normal.lfHeight + normal.lfHeight / 3, large.lfHeight);
    EXPECT_EQ(normal.lfHeight * 2, huge.lfHeight);
    EXPECT_EQ(FW_THIN, huge.lfWeight);
}

} // namespace
