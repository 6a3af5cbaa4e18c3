// The job list in a window of its own with a few GIF rows, checked on the screen and through
// its owner: drawn rows (box, thumbnail, name, links, info line, remove button, state image,
// progress line in both modes, percentage), the hand over links, the links' commands, the
// missing-file message, dragging rows to a new place, onto themselves, while converting and
// out of the list, in-place rename of a completed row's output, and the header's refusals.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <utility>
#include <vector>

#include "AppGlobals.h"
#include "AppPaths.h"
#include "AppSettings.h"
#include "ConvertListItem.h"
#include "FwTestSupport.h"
#include "GuiDriving.h"
#include "JobListCtrl.h"
#include "JobStates.h"
#include "TalvenaRes.h"
#include "TestPaths.h"

namespace {

constexpr int kListId = 1086;
constexpr COLORREF kRowFill = RGB(248, 248, 248);
constexpr COLORREF kSelectedFill = RGB(192, 240, 255);
constexpr COLORREF kRunColour = RGB(0, 128, 0);

CRect ToCRect(const RowRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }
RowRect ToRowRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// Notes the commands of the links instead of starting programs; the remove button and the
// open-folder message go on as they would.
class RecordingJobList : public CJobListCtrl {
public:
    int RunLink(int command, int row) override
    {
        m_commands.push_back({command, row});
        if (command == JOB_LINK_REMOVE || m_realLinks)
            return CJobListCtrl::RunLink(command, row);
        return 0;
    }
    std::vector<std::pair<int, int>> m_commands;
    bool m_realLinks = false;
};

// The job list's owner as the main dialog is: it removes rows with their items and lets the
// list rename a completed row's output in place.
class JobListHost : public CWnd, public CJobListOwner {
    FW_DECLARE_MESSAGE_MAP()
public:
    void RemoveRow(int row) override
    {
        m_removed.push_back(row);
        delete m_list.GetRowItem(row);
        m_list.DeleteItem(row);
    }
    void OnBeginEdit(NMHDR*, LRESULT* result) { *result = m_list.BeginRenameEdit() ? FALSE : TRUE; }
    void OnEndEdit(NMHDR* header, LRESULT* result)
    {
        const auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (info->item.pszText) {
            m_renamedTo = info->item.pszText;
            m_list.SetItemText(info->item.iItem, JOB_COLUMN_OUTPUT, info->item.pszText);
        }
        m_list.EndRenameEdit();
        *result = FALSE;
        ++m_edits;
    }

    RecordingJobList m_list;
    std::vector<int> m_removed;
    CString m_renamedTo;
    int m_edits = 0;
};

FW_BEGIN_MESSAGE_MAP(JobListHost, CWnd)
    FwOnNotify(LVN_BEGINLABELEDITW, kListId, &ThisClass::OnBeginEdit),
    FwOnNotify(LVN_ENDLABELEDITW, kListId, &ThisClass::OnEndEdit),
FW_END_MESSAGE_MAP()

class JobListCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestApp();
        g_pAppSettings = &m_settings;
        ASSERT_EQ(0, m_paths.LocateModules());
        m_paths.CreateFonts(nullptr);
        g_pAppPaths = &m_paths;
        g_nConvertRow = -1;
        m_folder = std::filesystem::temp_directory_path() / ("joblist test " + std::to_string(::GetTickCount()));
        std::filesystem::create_directories(m_folder);

        ASSERT_TRUE(m_host.CreateEx(WS_EX_TOPMOST, nullptr, L"Job list test", WS_POPUP | WS_VISIBLE, 40, 40, 900, 420,
                                    nullptr, nullptr));
        CJobListCtrl& list = m_host.m_list;
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 900, 420), &m_host, kListId));
        list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
        ASSERT_TRUE(m_rowHeight.Create(16, m_settings.ThumbnailHeight() + 15, ILC_COLOR24, 0, 1));
        list.SetImageList(m_rowHeight, LVSIL_SMALL);
        ASSERT_TRUE(m_states.Create(IDB_JOB_STATES, 24, 1, RGB(255, 0, 255)));
        list.SetImageList(m_states, LVSIL_STATE);
        list.InsertColumn(JOB_COLUMN_STATE, L"", LVCFMT_LEFT, 36);
        list.InsertColumn(JOB_COLUMN_INPUT, L"Input", LVCFMT_LEFT, 330);
        list.InsertColumn(JOB_COLUMN_OUTPUT, L"Output", LVCFMT_LEFT, 330);
        list.InsertColumn(JOB_COLUMN_STATUS, L"Status", LVCFMT_LEFT, 180);
        for (const char* name : {"a.gif", "b.gif", "c.gif"})
            AddRow(name);
        Settle();
    }
    void TearDown() override
    {
        g_nConvertRow = -1;
        if (m_host.m_hWnd) {
            for (int row = m_host.m_list.GetItemCount() - 1; row >= 0; --row)
                delete m_host.m_list.GetRowItem(row);
            m_host.m_list.DeleteAllItems();
            m_host.DestroyWindow();
        }
        g_pAppPaths = nullptr;
        g_pAppSettings = nullptr;
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }

    CString FilePath(const std::string& name) const
    {
        return CString::FromUtf8((m_folder / name).u8string().c_str());
    }
    void AddRow(const std::string& name)
    {
        const CString path = FilePath(name);
        ASSERT_TRUE(::CopyFileW(CString::FromUtf8(SourcePath("tools/modules/tests/data/short.gif").c_str()), path, FALSE));
        auto* item = new CConvertListItem;
        ASSERT_EQ(0, item->SetSource(path));
        CJobListCtrl& list = m_host.m_list;
        const int row = list.InsertItem(list.GetItemCount(), L"");
        list.SetItemData(row, reinterpret_cast<DWORD_PTR>(item));
        list.SetItemState(row, 0xF000, LVIS_STATEIMAGEMASK);
        list.SetItemText(row, JOB_COLUMN_INPUT, CString::FromUtf8(name.c_str()));
    }
    // A completed row with an output file.
    void Complete(int row, const std::string& outputName)
    {
        CConvertListItem* item = m_host.m_list.GetRowItem(row);
        item->m_outputPath = FilePath(outputName);
        std::ofstream(m_folder / outputName) << "video";
        item->SetState(JOB_COMPLETED);
        m_host.m_list.SetItemText(row, JOB_COLUMN_OUTPUT, CString::FromUtf8(outputName.c_str()));
        m_host.m_list.SetItemText(row, JOB_COLUMN_STATUS, L"Completed.");
    }
    void Settle()
    {
        m_host.m_list.Invalidate(FALSE);
        m_host.m_list.UpdateWindow();
        PumpUntil([] { return false; }, 150);
    }
    CRect Bounds(int row) const
    {
        CRect bounds;
        m_host.m_list.GetItemRect(row, &bounds, LVIR_BOUNDS);
        return bounds;
    }
    RowRect Cell(int row, int column) const
    {
        const CRect b = Bounds(row);
        return CellRects({b.left, b.top, b.right, b.bottom}, {36, 330, 330, 180})[static_cast<size_t>(column)];
    }
    CPoint Screen(CPoint client) const
    {
        m_host.m_list.ClientToScreen(&client);
        return client;
    }
    CRect Screen(CRect client) const
    {
        m_host.m_list.ClientToScreen(&client);
        return client;
    }
    ScreenShot Shot() const
    {
        CRect window;
        m_host.m_list.GetWindowRect(&window);
        return ScreenShot(window);
    }
    int CountIn(const ScreenShot& shot, const CRect& client, const std::function<bool(COLORREF)>& match) const
    {
        const CRect r = Screen(client);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += match(shot.At(x, y)) ? 1 : 0;
        return n;
    }
    COLORREF PixelAt(const ScreenShot& shot, CPoint client) const
    {
        const CPoint p = Screen(client);
        return shot.At(p.x, p.y);
    }
    CRect PlayLink(int row, int column) const
    {
        return ToCRect(PlayLinkRect(FileTextArea(Cell(row, column), m_host.m_list.GetMetrics()), m_host.m_list.GetMetrics()));
    }
    CRect OpenFolderLink(int row, int column) const
    {
        const RowMetrics m = m_host.m_list.GetMetrics();
        return ToCRect(OpenFolderLinkRect(FileTextArea(Cell(row, column), m), m));
    }
    void Click(CPoint client)
    {
        const CPoint p = Screen(client);
        ClickAt(p.x, p.y);
        // Past the double-click time, so the next click on the same spot is a click of its own.
        PumpUntil([] { return false; }, ::GetDoubleClickTime() + 50);
    }
    // Presses at `from`, moves in steps to `to` (list coordinates, possibly outside), and lets go
    // unless asked to hold.
    void Drag(CPoint from, CPoint to, bool release = true)
    {
        const CPoint a = Screen(from), b = Screen(to);
        MoveMouseTo(a.x, a.y);
        PumpUntil([] { return false; }, 100);
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        PumpUntil([] { return false; }, 100);
        for (int i = 1; i <= 8; ++i) {
            MoveMouseTo(a.x + (b.x - a.x) * i / 8, a.y + (b.y - a.y) * i / 8);
            PumpUntil([] { return false; }, 60);
        }
        if (release) {
            SendMouse(MOUSEEVENTF_LEFTUP);
            PumpUntil([] { return false; }, 200);
        }
    }
    std::vector<CString> Names() const
    {
        std::vector<CString> names;
        for (int row = 0; row < m_host.m_list.GetItemCount(); ++row)
            names.push_back(m_host.m_list.GetItemText(row, JOB_COLUMN_INPUT));
        return names;
    }
    CPoint StatusPoint(int row, int dy) const
    {
        const RowRect cell = Cell(row, JOB_COLUMN_STATUS);
        const CRect b = Bounds(row);
        return CPoint(cell.left + 40, (b.top + b.bottom) / 2 + dy);
    }

    CAppSettings m_settings;
    CAppPaths m_paths;
    JobListHost m_host;
    CImageList m_rowHeight;
    CImageList m_states;
    std::filesystem::path m_folder;
};

// The fill of a row's box, selected or not.
bool RowBoxColour(COLORREF c) { return NearColour(c, kRowFill, 2) || NearColour(c, kSelectedFill, 2); }
bool Dark(COLORREF c) { return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100; }
bool Greenish(COLORREF c) { return GetGValue(c) > 120 && GetGValue(c) > GetRValue(c) + 60 && GetGValue(c) > GetBValue(c) + 40; }

TEST_F(JobListCtrlTest, RowsAreDrawnWithThumbnailTextsLinksAndButton)
{
    CJobListCtrl& list = m_host.m_list;
    list.SelectItem(1, TRUE, TRUE);
    Settle();
    const ScreenShot shot = Shot();
    const CRect bounds = Bounds(0);
    const RowMetrics metrics = list.GetMetrics();
    EXPECT_EQ(100, metrics.thumbnailHeight);
    EXPECT_EQ(115, bounds.Height()) << "the row is as high as the thumbnail box and 15 more";
    EXPECT_EQ(m_rowHeight.GetSafeHandle(), list.GetImageList(LVSIL_SMALL)) << "the list it was given";

    // The row box: a light fill inside a border with cut corners; the selected row is blue.
    const RowRect box = RowBox({bounds.left, bounds.top, bounds.right, bounds.bottom});
    EXPECT_TRUE(NearColour(kRowFill, PixelAt(shot, CPoint(box.left + 30, box.top + 4)), 2));
    EXPECT_TRUE(NearColour(RGB(240, 240, 240), PixelAt(shot, CPoint(box.left + 30, box.top)), 2));
    EXPECT_TRUE(NearColour(RGB(255, 255, 255), PixelAt(shot, CPoint(box.left, box.top)), 2)) << "the corner is cut";
    EXPECT_TRUE(NearColour(kSelectedFill, PixelAt(shot, CPoint(box.left + 30, Bounds(1).top + 6)), 2));

    // The thumbnail: the GIF's own pixels framed in dark grey, centred in its box.
    const RowRect thumbnail = ThumbnailRect(Cell(0, JOB_COLUMN_INPUT), metrics);
    const int x = thumbnail.left + (100 - 65) / 2, y = thumbnail.top + (100 - 49) / 2;
    EXPECT_TRUE(NearColour(RGB(32, 32, 32), PixelAt(shot, CPoint(x - 1, y + 20)), 2));
    EXPECT_GT(CountIn(shot, CRect(x, y, x + 65, y + 49), [](COLORREF c) { return !NearColour(c, kRowFill, 4); }), 65 * 49 / 2);
    // No output yet: a white box with a light frame.
    const RowRect empty = ThumbnailRect(Cell(0, JOB_COLUMN_OUTPUT), metrics);
    EXPECT_TRUE(NearColour(RGB(255, 255, 255), PixelAt(shot, CPoint(empty.left + 50, empty.top + 50)), 2));
    EXPECT_TRUE(NearColour(RGB(240, 240, 240), PixelAt(shot, CPoint(empty.left, empty.top + 50)), 2));

    // The bold name at the top, blue links at the bottom, the info line between.
    const RowRect area = FileTextArea(Cell(0, JOB_COLUMN_INPUT), metrics);
    EXPECT_GT(CountIn(shot, ToCRect(NameRect(area, metrics)), Dark), 10);
    EXPECT_GT(CountIn(shot, PlayLink(0, JOB_COLUMN_INPUT), Bluish), 5);
    EXPECT_GT(CountIn(shot, OpenFolderLink(0, JOB_COLUMN_INPUT), Bluish), 10);
    EXPECT_EQ(0, CountIn(shot, PlayLink(0, JOB_COLUMN_OUTPUT), Bluish)) << "no output links before completion";
    const CRect band(area.left, area.top + 40, area.right, area.top + 60);
    EXPECT_GT(CountIn(shot, band, [](COLORREF c) { return NearColour(c, RGB(64, 64, 64), 24); }), 20)
        << "size, frames and size in pixels of the source";

    // The remove button at the top-right of every row.
    const CRect button = ToCRect(RemoveButtonRect({bounds.left, bounds.top, bounds.right, bounds.bottom}));
    EXPECT_GT(CountIn(shot, button, [](COLORREF c) { return NearColour(c, RGB(128, 128, 128), 10); }), 10);

    // After completion the output cell has its links too.
    Complete(0, "a.mp4");
    Settle();
    EXPECT_GT(CountIn(Shot(), OpenFolderLink(0, JOB_COLUMN_OUTPUT), Bluish), 10);
}

TEST_F(JobListCtrlTest, StateImagesFollowTheStateBits)
{
    CJobListCtrl& list = m_host.m_list;
    // A point inside each image's disc, away from its white sign.
    const RowRect place0 = StateImageRect(Cell(0, JOB_COLUMN_STATE));
    const RowRect place1 = StateImageRect(Cell(1, JOB_COLUMN_STATE));
    const CPoint centre0(place0.left + 12, place0.top + 3);
    const CPoint centre1(place1.left + 12, place1.top + 3);
    EXPECT_TRUE(NearColour(kRowFill, PixelAt(Shot(), centre0), 2)) << "new rows carry 15: no image";

    list.SetItemState(0, 1 << 12, LVIS_STATEIMAGEMASK);  // completed
    list.SetItemState(1, 3 << 12, LVIS_STATEIMAGEMASK);  // failed
    Settle();
    const ScreenShot shot = Shot();
    EXPECT_TRUE(Greenish(PixelAt(shot, centre0)));
    EXPECT_TRUE(Reddish(PixelAt(shot, centre1)));
}

TEST_F(JobListCtrlTest, TheCurrentRowShowsItsProgress)
{
    CJobListCtrl& list = m_host.m_list;
    const CRect bounds = Bounds(0);
    const RowRect line = ProgressLineRect({bounds.left, bounds.top, bounds.right, bounds.bottom});
    g_nConvertRow = 0;
    list.GetRowItem(0)->SetState(JOB_CONVERTING);
    list.SetCurrentRowColour(kRunColour);
    list.SetBusy(1);
    list.SetProgress(50, 100);
    Settle();
    ScreenShot shot = Shot();
    const int half = line.left + line.Width() / 2;
    EXPECT_TRUE(NearColour(kRunColour, PixelAt(shot, CPoint(line.left + 10, line.top)), 4)) << "solid in the row's colour";
    EXPECT_TRUE(Reddish(PixelAt(shot, CPoint(half - 1, line.top)))) << "ending in red";
    EXPECT_FALSE(NearColour(kRunColour, PixelAt(shot, CPoint(half + 20, line.top)), 40)) << "nothing past the value";
    const RowRect status = Cell(0, JOB_COLUMN_STATUS);
    EXPECT_GT(CountIn(shot, ToCRect(status), [](COLORREF c) { return NearColour(c, RGB(96, 96, 96), 30); }), 20)
        << "the percentage in the status cell";
    EXPECT_EQ(0, CountIn(shot, ToCRect(ProgressLineRect(ToRowRect(Bounds(1)))), [](COLORREF c) { return Reddish(c); }))
        << "other rows show none";

    // The activity line: three short pieces moving along, no percentage.
    list.SetIndeterminate(1);
    list.SetProgress(50, 100);
    Settle();
    shot = Shot();
    std::vector<ProgressPiece> pieces = ProgressPieces(line, 50, 100, true);
    ASSERT_EQ(3u, pieces.size());
    for (const ProgressPiece& piece : pieces) {
        EXPECT_TRUE(NearColour(kRunColour, PixelAt(shot, CPoint(piece.left, line.top)), 40));
        EXPECT_TRUE(Reddish(PixelAt(shot, CPoint(piece.right - 1, line.top))));
    }
    EXPECT_FALSE(Reddish(PixelAt(shot, CPoint(pieces[0].right + 2, line.top))));
    EXPECT_EQ(0, CountIn(shot, ToCRect(status), [](COLORREF c) { return NearColour(c, RGB(96, 96, 96), 30); }));

    // A range that is not positive draws nothing.
    list.SetProgress(0, -1);
    Settle();
    EXPECT_EQ(0, CountIn(Shot(), ToCRect(line), [](COLORREF c) { return Reddish(c); }));
}

TEST_F(JobListCtrlTest, TheHandShowsOverLinks)
{
    HCURSOR hand = m_paths.m_cursors[CAppPaths::CURSOR_HAND];
    auto cursorAt = [&](CPoint client) {
        const CPoint p = Screen(client);
        MoveMouseTo(p.x, p.y);
        PumpUntil([] { return false; }, 200);
        CURSORINFO info{};
        info.cbSize = sizeof(info);
        ::GetCursorInfo(&info);
        return info.hCursor;
    };
    EXPECT_EQ(hand, cursorAt(PlayLink(1, JOB_COLUMN_INPUT).CenterPoint()));
    EXPECT_NE(hand, cursorAt(StatusPoint(1, 0)));
    EXPECT_EQ(hand, cursorAt(ToCRect(RemoveButtonRect(ToRowRect(Bounds(2)))).CenterPoint()));
    EXPECT_NE(hand, cursorAt(PlayLink(1, JOB_COLUMN_OUTPUT).CenterPoint())) << "no output link before completion";
}

TEST_F(JobListCtrlTest, ClicksOnLinksRunTheirCommands)
{
    RecordingJobList& list = m_host.m_list;
    Click(PlayLink(1, JOB_COLUMN_INPUT).CenterPoint());
    Click(OpenFolderLink(0, JOB_COLUMN_INPUT).CenterPoint());
    Click(PlayLink(2, JOB_COLUMN_OUTPUT).CenterPoint());
    Complete(2, "c.mp4");
    Settle();
    Click(PlayLink(2, JOB_COLUMN_OUTPUT).CenterPoint());
    Click(OpenFolderLink(2, JOB_COLUMN_OUTPUT).CenterPoint());
    const std::vector<std::pair<int, int>> expected{{JOB_LINK_PLAY_INPUT, 1},
                                                    {JOB_LINK_OPEN_INPUT_FOLDER, 0},
                                                    {JOB_LINK_PLAY_OUTPUT, 2},
                                                    {JOB_LINK_OPEN_OUTPUT_FOLDER, 2}};
    EXPECT_EQ(expected, list.m_commands);

    // The remove button asks the owner to remove that row.
    Click(ToCRect(RemoveButtonRect(ToRowRect(Bounds(1)))).CenterPoint());
    EXPECT_EQ(std::vector<int>{1}, m_host.m_removed);
    EXPECT_EQ((std::vector<CString>{L"a.gif", L"c.gif"}), Names());
}

TEST_F(JobListCtrlTest, AMissingFileSaysSo)
{
    RecordingJobList& list = m_host.m_list;
    ::DeleteFileW(FilePath("b.gif"));
    std::wstring seen;
    std::thread closer([&] {
        HWND box = nullptr;
        WaitFor([&] {
            box = ::FindWindowW(L"#32770", nullptr);
            // Visible only once the box has filled in its text.
            return box && ::IsWindowVisible(box) &&
                   ::GetWindowThreadProcessId(box, nullptr) == ::GetWindowThreadProcessId(m_host.m_hWnd, nullptr);
        });
        if (!box)
            return;
        wchar_t text[128] = L"";
        ::GetDlgItemTextW(box, 0xFFFF, text, 128);
        seen = text;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(-1, list.OpenInputFolder(1));
    closer.join();
    EXPECT_EQ(L"Folder/file does not exist!", seen);
    EXPECT_EQ(-1, list.PlayInput(1)) << "nothing to play";
    EXPECT_EQ(-1, list.PlayOutput(0)) << "not completed";
    EXPECT_EQ(-1, list.OpenOutputFolder(0));
}

TEST_F(JobListCtrlTest, DraggingARowMovesIt)
{
    CJobListCtrl& list = m_host.m_list;
    // Hold it below the last row: the row is left empty and a red line marks where it goes.
    Drag(StatusPoint(0, 0), StatusPoint(2, 30), false);
    EXPECT_TRUE(list.IsDragging());
    CImageList::DragShowNolock(FALSE);
    const ScreenShot held = Shot();
    CImageList::DragShowNolock(TRUE);
    const CRect last = Bounds(2);
    const CRect marker(last.left + 40, last.bottom - 1, last.right - 40, last.bottom);
    EXPECT_GT(CountIn(held, marker, Reddish), 100);
    EXPECT_EQ(0, CountIn(held, Bounds(0), RowBoxColour)) << "the dragged row is empty";
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpUntil([] { return false; }, 200);

    EXPECT_FALSE(list.IsDragging());
    EXPECT_EQ((std::vector<CString>{L"b.gif", L"c.gif", L"a.gif"}), Names());
    EXPECT_EQ(2, list.GetFirstSelected()) << "the moved row is selected alone";
    EXPECT_EQ(1u, list.GetSelectedCount());
    EXPECT_EQ(FilePath("a.gif"), list.GetRowItem(2)->m_settings.m_source) << "with its item";
    // Only where the marker was: the GIFs' thumbnails have red of their own.
    EXPECT_EQ(0, CountIn(Shot(), CRect(last.left, marker.top - 1, last.right, marker.bottom + 1), Reddish))
        << "the marker is gone";

    // Up again, before the first row.
    Drag(StatusPoint(2, 0), StatusPoint(0, -30));
    EXPECT_EQ((std::vector<CString>{L"a.gif", L"b.gif", L"c.gif"}), Names());
}

TEST_F(JobListCtrlTest, DraggingOntoItsOwnPlaceOrWhileConvertingChangesNothing)
{
    CJobListCtrl& list = m_host.m_list;
    list.SetItemState(1, 3 << 12, LVIS_STATEIMAGEMASK);
    Drag(StatusPoint(1, 0), StatusPoint(1, 30));
    Drag(StatusPoint(1, 0), StatusPoint(0, 40));
    Drag(StatusPoint(1, 0), StatusPoint(2, -40));
    EXPECT_EQ((std::vector<CString>{L"a.gif", L"b.gif", L"c.gif"}), Names());
    EXPECT_EQ(UINT(3 << 12), list.GetItemState(1, LVIS_STATEIMAGEMASK));

    g_nConvertRow = 0;
    Drag(StatusPoint(0, 0), StatusPoint(2, 30));
    EXPECT_EQ((std::vector<CString>{L"a.gif", L"b.gif", L"c.gif"}), Names()) << "the row being converted stays";
    Settle();
    EXPECT_GT(CountIn(Shot(), Bounds(0), RowBoxColour), 1000) << "and is drawn again";
}

TEST_F(JobListCtrlTest, DraggingARowOutOfTheListRemovesIt)
{
    CRect window;
    m_host.m_list.GetClientRect(&window);
    Drag(StatusPoint(1, 0), CPoint(window.right / 2, window.bottom + 60));
    EXPECT_EQ(std::vector<int>{1}, m_host.m_removed);
    EXPECT_EQ((std::vector<CString>{L"a.gif", L"c.gif"}), Names());
}

TEST_F(JobListCtrlTest, MoveRowCopiesStateAndTexts)
{
    CJobListCtrl& list = m_host.m_list;
    CConvertListItem* item = list.GetRowItem(0);
    list.SetItemState(0, 1 << 12, LVIS_STATEIMAGEMASK);
    list.SetItemText(0, JOB_COLUMN_OUTPUT, L"a.mp4");
    list.SetItemText(0, JOB_COLUMN_STATUS, L"Completed.");
    EXPECT_EQ(0, list.MoveRow(0, 0));
    EXPECT_EQ(0, list.MoveRow(0, 1));
    EXPECT_EQ(1, list.MoveRow(0, 3));
    EXPECT_EQ(item, list.GetRowItem(2));
    EXPECT_EQ(UINT(1 << 12), list.GetItemState(2, LVIS_STATEIMAGEMASK));
    EXPECT_EQ(CString(L"a.mp4"), list.GetItemText(2, JOB_COLUMN_OUTPUT));
    EXPECT_EQ(CString(L"Completed."), list.GetItemText(2, JOB_COLUMN_STATUS));
    EXPECT_EQ((std::vector<CString>{L"b.gif", L"c.gif", L"a.gif"}), Names());
}

TEST_F(JobListCtrlTest, ACompletedOutputIsRenamedInPlace)
{
    CJobListCtrl& list = m_host.m_list;
    Complete(1, "b.mp4");
    // Only column 2 of a completed row is edited.
    list.SetEditTarget(0, JOB_COLUMN_OUTPUT);
    list.StartEdit();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(nullptr, list.GetEditControl()) << "row 0 is not completed";

    list.SetEditTarget(1, JOB_COLUMN_OUTPUT);
    list.StartEdit();
    PumpUntil([] { return false; }, 200);
    const HWND edit = list.GetEditControl();
    ASSERT_NE(nullptr, edit);
    wchar_t text[64] = L"";
    ::GetWindowTextW(edit, text, 64);
    EXPECT_STREQ(L"b.mp4", text);
    CRect placed;
    ::GetWindowRect(edit, &placed);
    list.ScreenToClient(&placed);
    EXPECT_EQ(ToCRect(RenameEditRect(Cell(1, JOB_COLUMN_OUTPUT), list.GetMetrics())), placed) << "over the output's text";
    ::SetWindowTextW(edit, L"renamed.mp4");
    ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    PumpUntil([&] { return m_host.m_edits > 0; }, 2000);
    EXPECT_EQ(CString(L"renamed.mp4"), m_host.m_renamedTo);
    EXPECT_EQ(CString(L"renamed.mp4"), list.GetItemText(1, JOB_COLUMN_OUTPUT));
    EXPECT_EQ(-1, list.GetEditRow()) << "the target is cleared";
}

TEST_F(JobListCtrlTest, AClickOnASelectedRowsLabelTargetsItsCell)
{
    CJobListCtrl& list = m_host.m_list;
    list.SelectItem(1, TRUE, TRUE);
    Settle();
    const RowRect area = FileTextArea(Cell(1, JOB_COLUMN_OUTPUT), list.GetMetrics());
    Click(CPoint(area.left + 20, area.top + 30));
    EXPECT_EQ(1, list.GetEditRow());
    EXPECT_EQ(JOB_COLUMN_OUTPUT, list.GetEditColumn());
    Click(PlayLink(1, JOB_COLUMN_INPUT).CenterPoint());
    EXPECT_EQ(1, list.GetEditRow()) << "a link leaves the target";
    const RowRect state = Cell(0, JOB_COLUMN_STATE);
    Click(CPoint((state.left + state.right) / 2, (state.top + state.bottom) / 2));
    EXPECT_EQ(-1, list.GetEditRow()) << "a click on the first column clears it";
}

TEST_F(JobListCtrlTest, TheHeaderIs24HighAndTheFirstColumnKeepsItsWidth)
{
    CJobListCtrl& list = m_host.m_list;
    const HWND header = list.GetHeaderCtrl();
    auto notify = [&](UINT code, int item) {
        HDITEMW fields{};
        NMHEADERW info{};
        info.pitem = &fields;
        info.hdr.hwndFrom = header;
        info.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(header));
        info.hdr.code = code;
        info.iItem = item;
        return list.SendMessage(WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    };
    EXPECT_EQ(TRUE, notify(HDN_BEGINTRACKW, 0)) << "no dragging of column 0's divider";
    EXPECT_EQ(FALSE, notify(HDN_BEGINTRACKW, 1));
    notify(HDN_DIVIDERDBLCLICKW, 1);
    EXPECT_EQ(330, list.GetColumnWidth(1)) << "a double click on a divider sizes nothing";
    CRect placed;
    ::GetWindowRect(header, &placed);
    EXPECT_EQ(24, placed.Height()) << "the header's own height";
}

} // namespace
