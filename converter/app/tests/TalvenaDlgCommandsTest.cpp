// The main dialog's commands as a user meets them: drops and pasted lists, the removal rules,
// the states of the toolbar buttons, a run that cannot start, Play on several outputs, closing
// and Enter during a run, the activity line, the row under conversion, and the thumbnail of a
// one-frame GIF.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "AppPaths.h"
#include "ConvertListItem.h"
#include "JobStates.h"
#include "MediaConvertThread.h"
#include "MessageBoxAnswerer.h"
#include "TalvenaCommandLine.h"
#include "TalvenaDlg.h"
#include "TalvenaRes.h"
#include "TalvenaDlgTestSupport.h"

namespace {

constexpr DWORD kRunLimitMs = kDialogRunLimitMs;

// The dialog with its two seams noted: the thread's start can be refused, and what the shell
// was asked to open is kept instead of opened.
class SeamDlg : public CTalvenaDlg {
public:
    using CTalvenaDlg::CTalvenaDlg;
    BOOL BeginConvertThread(CMyMediaConvertThread* thread) override
    {
        if (m_refuseThread) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return FALSE;
        }
        return CTalvenaDlg::BeginConvertThread(thread);
    }
    void ShellOpen(const CString& file) override { m_opened.push_back(file); }

    bool m_refuseThread = false;
    std::vector<CString> m_opened;
};

// Processes of the fake encoder still alive.
int EncoderProcesses()
{
    return ProcessCount(std::filesystem::path(FAKE_SIBLING_PATH).filename().wstring().c_str());
}

// A drop of these paths, as the shell hands it over.
HDROP MakeDrop(const std::vector<CString>& paths)
{
    size_t chars = 1;
    for (const CString& path : paths)
        chars += static_cast<size_t>(path.GetLength()) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(drop + 1);
    for (const CString& path : paths) {
        memcpy(text, path.GetString(), static_cast<size_t>(path.GetLength()) * sizeof(wchar_t));
        text += path.GetLength() + 1;
    }
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

void PutTextOnClipboard(HWND owner, const CString& text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    const size_t bytes = (static_cast<size_t>(text.GetLength()) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text.GetString(), bytes);
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

class TalvenaDlgCommandsTest : public MainDialogTest<SeamDlg> {
protected:
    void SelectOnly(int row)
    {
        for (int i = 0; i < Rows(); ++i)
            m_dialog->m_list.SetItemState(i, i == row ? LVIS_SELECTED | LVIS_FOCUSED : 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // The buttons' states as the idle update leaves them.
    bool ToolEnabled(UINT id)
    {
        m_dialog->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        return m_dialog->m_listToolBar.IsButtonEnabled(id) != FALSE;
    }
    // The first row's run under way, its encoder telling its progress; else where it got to.
    ::testing::AssertionResult StartLongRun()
    {
        Command(IDC_CONVERT);
        const bool started = PumpUntil(
            [&] {
                const CConvertListItem* item = m_dialog->GetItem(0);
                return item && item->m_progress.m_time > 0;
            },
            kRunLimitMs);
        if (started)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no progress; state " << State(0) << ", status \""
                                             << Cell(0, 3).ToUtf8() << "\", converting " << m_dialog->IsConverting();
    }
};

TEST_F(TalvenaDlgCommandsTest, DroppedFilesFoldersAndLongNamesBecomeRows)
{
    std::filesystem::create_directories(m_scratch.Path("dropped"));
    PutSampleGif(m_scratch, "dropped/b.gif");
    PutSampleGif(m_scratch, "dropped/a.gif");
    WriteTextFile(m_scratch.Path("dropped") / "notes.txt", "no picture");
    // A name far past the old 1024-character buffer of a drop.
    const CString longMissing = m_scratch.File((std::string(1100, 'n') + ".gif").c_str());
    SeamDlg& dialog = Open();
    const HDROP drop = MakeDrop({PutSampleGif(m_scratch, "single.gif"), m_scratch.File("dropped"), longMissing});
    dialog.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop));

    ASSERT_EQ(4, Rows());
    EXPECT_EQ(CString(L"single.gif"), Cell(0, 1));
    EXPECT_EQ(CString(L"a.gif"), Cell(1, 1));
    EXPECT_EQ(CString(L"b.gif"), Cell(2, 1));
    EXPECT_EQ(CString(L'n', 1100) + L".gif", Cell(3, 1)) << "the whole name";
    EXPECT_EQ(CString(L"Failed: source file not exists."), Cell(3, 3));
    // The header of the first column counts the rows.
    HDITEMW header{};
    wchar_t text[16] = L"";
    header.mask = HDI_TEXT;
    header.pszText = text;
    header.cchTextMax = 16;
    Header_GetItem(dialog.m_list.GetHeaderCtrl(), 0, &header);
    EXPECT_STREQ(L"4", text);
}

TEST_F(TalvenaDlgCommandsTest, PastedListsOfPathsBecomeRows)
{
    SeamDlg& dialog = Open();
    const CString first = PutSampleGif(m_scratch, "pasted one.gif");
    const CString second = PutSampleGif(m_scratch, "second.gif");
    CString url = L"file:///" + second;
    url.Replace(L'\\', L'/');
    url.Replace(L" ", L"%20");
    PutTextOnClipboard(dialog.m_hWnd, L"\"" + first + L"\"\r\n\r\n  " + url + L"\n");
    Command(ID_EDIT_PASTE_FILES);
    ASSERT_EQ(2, Rows());
    EXPECT_EQ(CString(L"pasted one.gif"), Cell(0, 1));
    EXPECT_EQ(CString(L"second.gif"), Cell(1, 1));
}

TEST_F(TalvenaDlgCommandsTest, ToolbarButtonsFollowTheListAndTheRun)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    SeamDlg& dialog = Open();
    EXPECT_TRUE(ToolEnabled(ID_ADD_GIF));
    EXPECT_TRUE(ToolEnabled(ID_ADD_FOLDER));
    EXPECT_FALSE(ToolEnabled(ID_REMOVE)) << "nothing selected";
    EXPECT_FALSE(ToolEnabled(ID_REMOVE_ALL)) << "nothing there";
    EXPECT_FALSE(ToolEnabled(ID_LIST_TOOL_SPARE)) << "no handler";

    dialog.AddFile(PutSampleGif(m_scratch, "anim.gif"));
    dialog.AddFile(PutSampleGif(m_scratch, "second.gif"));
    dialog.AddFile(PutSampleGif(m_scratch, "third.gif"));
    SelectOnly(0);
    EXPECT_TRUE(ToolEnabled(ID_REMOVE));
    EXPECT_TRUE(ToolEnabled(ID_REMOVE_ALL));

    ASSERT_TRUE(StartLongRun());
    EXPECT_FALSE(ToolEnabled(ID_REMOVE)) << "the selected row is being converted";
    EXPECT_FALSE(dialog.GetDlgItem(IDC_FORMAT)->IsWindowEnabled());
    EXPECT_FALSE(dialog.GetDlgItem(IDC_BROWSE)->IsWindowEnabled());
    SelectOnly(1);
    EXPECT_TRUE(ToolEnabled(ID_REMOVE));

    // Remove All takes every row but the one under conversion, and the run goes on.
    Command(ID_REMOVE_ALL);
    EXPECT_TRUE(dialog.IsConverting());
    ASSERT_EQ(1, Rows());
    EXPECT_EQ(CString(L"anim.gif"), Cell(0, 1));
    EXPECT_FALSE(ToolEnabled(ID_REMOVE_ALL));
    Command(IDC_STOP);
    EXPECT_FALSE(dialog.IsConverting());
    EXPECT_TRUE(ToolEnabled(ID_REMOVE_ALL));
}

TEST_F(TalvenaDlgCommandsTest, TheRowUnderConversionIsNeitherRemovedMovedNorRenamed)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    SeamDlg& dialog = Open();
    ASSERT_TRUE(StartLongRun());
    CConvertListItem* running = dialog.GetItem(0);

    dialog.RemoveRow(0);  // as the row's remove button and a drag out of the list do
    ASSERT_EQ(2, Rows());
    EXPECT_EQ(running, dialog.GetItem(0));
    EXPECT_TRUE(dialog.IsConverting());
    SelectOnly(0);
    Command(ID_REMOVE);
    EXPECT_EQ(2, Rows());
    EXPECT_EQ(0, dialog.m_list.MoveRow(0, 2));
    EXPECT_EQ(running, dialog.GetItem(0));
    Command(ID_RENAME_OUTPUT);
    EXPECT_EQ(nullptr, dialog.m_list.GetEditControl());
    // Nor are its options edited or its media information read while the run writes them
    // (a dialog opened here would keep the command from returning).
    Command(ID_ADVANCED_OPTIONS);
    Command(ID_MEDIA_INFO);

    // Another row may go; the current row's index follows.
    dialog.AddFile(PutSampleGif(m_scratch, "third.gif"));
    SelectOnly(1);
    Command(ID_REMOVE);
    ASSERT_EQ(2, Rows());
    EXPECT_EQ(0, g_nConvertRow.load());
    EXPECT_EQ(CString(L"third.gif"), Cell(1, 1));
    Command(IDC_STOP);
    EXPECT_EQ(JOB_CANCELED, State(0));
}

TEST_F(TalvenaDlgCommandsTest, ARunThatCannotStartPutsTheWindowBackAndSaysWhy)
{
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    SeamDlg& dialog = Open();
    dialog.m_refuseThread = true;
    MessageBoxAnswerer answers(dialog.m_hWnd, {IDOK});
    Command(IDC_CONVERT);
    EXPECT_FALSE(dialog.IsConverting());
    ASSERT_EQ(1u, answers.Texts().size());
    EXPECT_EQ(0u, answers.Texts()[0].find(L"The conversion cannot be started:\n"));
    EXPECT_TRUE(dialog.GetDlgItem(IDC_CONVERT)->IsWindowVisible());
    EXPECT_FALSE(dialog.GetDlgItem(IDC_STOP)->IsWindowVisible());
    EXPECT_TRUE(dialog.GetDlgItem(IDC_FORMAT)->IsWindowEnabled());
    EXPECT_TRUE(dialog.GetDlgItem(IDC_OUTPUT_FOLDER)->IsWindowEnabled());
    EXPECT_EQ(-1, g_nConvertRow.load());

    dialog.m_refuseThread = false;
    FakeScript script(L"-write-output 500");
    Command(IDC_CONVERT);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.IsConverting(); }, kRunLimitMs));
    EXPECT_EQ(JOB_COMPLETED, State(0)) << "the next try runs";
}

TEST_F(TalvenaDlgCommandsTest, PlayOpensEachOutputByItself)
{
    FakeScript script(L"-write-output 500");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    m_line.m_sources.Add(m_scratch.File("missing.gif"));
    SeamDlg& dialog = Open();
    Command(IDC_CONVERT);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.IsConverting(); }, kRunLimitMs));
    Command(ID_SELECT_ALL_ROWS);
    Command(ID_PLAY_OUTPUT);
    ASSERT_EQ(2u, dialog.m_opened.size());
    EXPECT_EQ(OutFile(L"anim.mp4"), dialog.m_opened[0]);
    EXPECT_EQ(OutFile(L"second.mp4"), dialog.m_opened[1]);

    dialog.m_opened.clear();
    SelectOnly(1);
    Command(ID_PLAY_OUTPUT);
    EXPECT_EQ((std::vector<CString>{OutFile(L"second.mp4")}), dialog.m_opened);
    dialog.m_opened.clear();
    Command(ID_PLAY_ALL_OUTPUTS);
    EXPECT_EQ(2u, dialog.m_opened.size());
}

TEST_F(TalvenaDlgCommandsTest, AutoPlayAtTheEndOpensEachOutputToo)
{
    FakeScript script(L"-write-output 500");
    m_settings.m_autoPlay = 1;
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    m_line.m_sources.Add(PutSampleGif(m_scratch, "second.gif"));
    SeamDlg& dialog = Open();
    Command(IDC_CONVERT);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.IsConverting(); }, kRunLimitMs));
    EXPECT_EQ((std::vector<CString>{OutFile(L"anim.mp4"), OutFile(L"second.mp4")}), dialog.m_opened);
}

TEST_F(TalvenaDlgCommandsTest, EnterDoesNotEndTheWindowDuringARun)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    SeamDlg& dialog = Open();
    ASSERT_TRUE(StartLongRun());
    Command(IDOK);
    EXPECT_TRUE(dialog.IsWindow());
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_TRUE(dialog.IsConverting());
    Command(IDC_STOP);
    Command(IDOK);
    EXPECT_TRUE(dialog.IsWindowVisible()) << "nor when idle: the window has no OK";
}

TEST_F(TalvenaDlgCommandsTest, ClosingDuringARunAsksAndThenStopsCleanly)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    SeamDlg& dialog = Open();
    ASSERT_TRUE(StartLongRun());
    {
        MessageBoxAnswerer answers(dialog.m_hWnd, {IDNO});
        dialog.SendMessage(WM_CLOSE);
        ASSERT_EQ(1u, answers.Texts().size());
        EXPECT_EQ(std::wstring(L"Converting is in progress. Stop converting and close this window?"), answers.Texts()[0]);
    }
    EXPECT_TRUE(dialog.IsConverting()) << "No keeps the run and the window";
    EXPECT_TRUE(dialog.IsWindowVisible());
    {
        MessageBoxAnswerer answers(dialog.m_hWnd, {IDYES});
        dialog.SendMessage(WM_CLOSE);
        EXPECT_EQ(1u, answers.Texts().size());
    }
    EXPECT_FALSE(dialog.IsConverting());
    EXPECT_TRUE(!dialog.IsWindow() || !dialog.IsWindowVisible());
    EXPECT_TRUE(PumpUntil([] { return EncoderProcesses() == 0; }, 10000)) << "no encoder left";
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_FALSE(FileExists(OutFile(L"anim.mp4")));
}

TEST_F(TalvenaDlgCommandsTest, ACloseWhileTheRunIsBeingStoppedClosesOnceItHasEnded)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    SeamDlg& dialog = Open();
    ASSERT_TRUE(StartLongRun());
    {
        MessageBoxAnswerer answers(dialog.m_hWnd, {IDYES});
        // The close is waiting in the queue when Stop starts waiting for the run's end.
        dialog.PostMessage(WM_CLOSE);
        Command(IDC_STOP);
        EXPECT_TRUE(answers.Texts().empty()) << "a run being stopped asks nothing";
    }
    EXPECT_FALSE(dialog.IsConverting());
    EXPECT_TRUE(!dialog.IsWindow() || !dialog.IsWindowVisible()) << "the close came after the stop";
    EXPECT_TRUE(PumpUntil([] { return EncoderProcesses() == 0; }, 10000)) << "no encoder left";
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(TalvenaDlgCommandsTest, TheActivityLineMovesOnTheWindowsOwnTimer)
{
    FakeScript script(L"-write-output 300 -progress-for 30000");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    SeamDlg& dialog = Open();
    ASSERT_TRUE(StartLongRun());
    EXPECT_TRUE(dialog.m_list.IsIndeterminate());
    EXPECT_EQ(100, dialog.m_list.GetProgressRange());
    std::vector<int64_t> values;
    PumpUntil(
        [&] {
            const int64_t value = dialog.m_list.GetProgressValue();
            if (values.empty() || values.back() != value)
                values.push_back(value);
            return values.size() >= 4;
        },
        10000);
    ASSERT_GE(values.size(), 4u) << "the timer moves the line";
    for (int64_t value : values)
        EXPECT_TRUE(value >= 0 && value <= 100);
    // The timer belongs to the window: killing it there stops the line.
    EXPECT_TRUE(KillTimer(dialog.m_hWnd, 3));
    Command(IDC_STOP);
    EXPECT_EQ(-1, dialog.m_list.GetProgressRange());
}

TEST_F(TalvenaDlgCommandsTest, TheMediaInformationOfARowShowsItsFiles)
{
    FakeScript script(L"-write-output 500");
    m_line.m_sources.Add(PutSampleGif(m_scratch, "anim.gif"));
    Open();
    ASSERT_TRUE(RunToEnd());
    SelectOnly(0);
    std::wstring input, output;
    std::thread reader([&] {
        HWND info = nullptr;
        for (int tries = 0; tries < 1000 && !info; ++tries) {
            info = FindOwnWindow(L"Media Info", TitleMatch::Prefix);
            Sleep(20);
        }
        if (!info)
            return;
        wchar_t text[1024] = L"";
        GetDlgItemTextW(info, 1055, text, 1024);
        input = text;
        GetDlgItemTextW(info, 1060, text, 1024);
        output = text;
        PostMessageW(info, WM_COMMAND, IDOK, 0);
    });
    Command(ID_MEDIA_INFO);
    reader.join();
    EXPECT_EQ(m_scratch.File("anim.gif").str(), input);
    EXPECT_EQ(OutFile(L"anim.mp4").str(), output);
}

// A one-frame GIF becomes a one-frame video; its thumbnail is grabbed at its start.
TEST_F(TalvenaDlgCommandsTest, AOneFrameGifGetsAThumbnail)
{
    SetModulePaths(StandInModules());
    const CString gif = m_scratch.File("still.gif");
    CopyFileW(CString::FromUtf8(SourcePath("converter/app/tests/data/one-frame.gif").c_str()), gif, FALSE);
    m_line.m_sources.Add(gif);
    SeamDlg& dialog = Open();
    Command(IDC_CONVERT);
    ASSERT_TRUE(PumpUntil([&] { return !dialog.IsConverting(); }, kRunLimitMs));
    ASSERT_EQ(JOB_COMPLETED, State(0));
    const CConvertListItem* item = dialog.GetItem(0);
    auto lock = item->LockDisplay();
    EXPECT_TRUE(item->m_outputThumbnail.IsValid());
    EXPECT_EQ(64, item->m_outputThumbnail.GetWidth());
    EXPECT_EQ(48, item->m_outputThumbnail.GetHeight());
}

} // namespace
