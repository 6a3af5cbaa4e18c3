// Talvena.exe itself: started with a GIF and "/o" an output folder, it converts the GIF through
// the stand-in encoder when its Convert command comes, shows the row's status, and leaves a
// playable video that the stand-in probe describes. A help switch shows the usage and ends it.
// Its output folder box offers the recent folders with their icons and forgets them on request;
// the folder chosen there takes the next video and is the history the program leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include <shlobj.h>

#include "JobRowLayout.h"
#include "MediaInfo.h"
#include "TalvenaRes.h"
#include "TalvenaProgramRun.h"
#include "TalvenaTestSupport.h"

namespace {

// Pixels of the screen rectangle that differ from its top-left one (the background): text
// drawn there shows as such pixels.
int InkPixels(const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return 0;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return static_cast<int>(std::count_if(pixels.begin(), pixels.end(),
                                          [&](uint32_t p) { return (p & 0xFFFFFF) != (pixels[0] & 0xFFFFFF); }));
}

// The band of a file cell beside its thumbnail box, where the name, the links and the info line
// go (the box of a fresh profile).
RECT FileTextOnScreen(const RECT& cell)
{
    const RowRect area = FileTextArea({cell.left, cell.top, cell.right, cell.bottom}, RowMetrics{});
    return RECT{area.left, area.top, area.right, area.bottom};
}

// Waits for the run to end: the Convert button shows again in place of Stop.
bool WaitForIdle(HWND window)
{
    const HWND convert = GetDlgItem(window, IDC_CONVERT);
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(convert) && GetTickCount() - start < 30000)
        Sleep(50);
    return IsWindowVisible(convert) != FALSE;
}

// The program's profile starts and ends empty.
class TalvenaProgramTest : public ConverterTest {
protected:
    void SetUp() override
    {
        ConverterTest::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
    }
    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey);
        ConverterTest::TearDown();
    }

    // "AutoStart" and "AutoClose" as the program reads them at start.
    static void SetUnattended(DWORD autoStart, DWORD autoClose)
    {
        const std::wstring settings = std::wstring(kProgramKey) + L"\\Settings";
        RegSetKeyValueW(HKEY_CURRENT_USER, settings.c_str(), L"AutoStart", REG_DWORD, &autoStart, sizeof(autoStart));
        RegSetKeyValueW(HKEY_CURRENT_USER, settings.c_str(), L"AutoClose", REG_DWORD, &autoClose, sizeof(autoClose));
    }
    // A missing GIF and a text file named like one, quoted for a command line.
    CString BadFiles() const
    {
        WriteTextFile(m_scratch.Path("notes.gif"), "no picture in here");
        return Quoted(m_scratch.File("missing.gif")) + L" " + Quoted(m_scratch.File("notes.gif"));
    }
};

TEST_F(TalvenaProgramTest, ConvertsAGifFromItsCommandLineIntoAVideo)
{
    const CString gif = PutSampleGif(m_scratch, "anim.gif");
    ProgramRun program(Quoted(gif) + L" /o " + Quoted(OutFolder()));
    ASSERT_TRUE(program.m_started);
    const HWND window = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, window);
    const HWND list = GetDlgItem(window, IDC_JOB_LIST);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(1, static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ(CString(L"anim.gif"), program.ListText(list, 0, 1));

    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED), 0);
    CString status;
    std::vector<CString> seen;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 120000) {
        status = program.ListText(list, 0, 3);
        if (seen.empty() || seen.back() != status)
            seen.push_back(status);
        if (status == L"Completed." || status.Left(7) == L"Failed:")
            break;
        Sleep(50);
    }
    EXPECT_EQ(CString(L"Completed."), status);
    EXPECT_NE(std::find(seen.begin(), seen.end(), CString(L"Converting...")), seen.end());
    EXPECT_EQ(CString(L"anim.mp4"), program.ListText(list, 0, 2));

    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitExit(30000));

    const CString video = OutFile(L"anim.mp4");
    ASSERT_TRUE(FileExists(video));
    CMediaInfo info;
    ASSERT_EQ(0, info.Probe(video, nullptr));
    EXPECT_NE(-1, info.m_format.Find(L"mp4"));
    const CMediaStreamInfo* stream = info.GetFirstVideoStream();
    ASSERT_NE(nullptr, stream);
    EXPECT_EQ(CString(L"h264"), stream->m_format);
    EXPECT_EQ(20, stream->m_frames);
    EXPECT_EQ(nullptr, info.GetFirstAudioStream()) << "GIFs become videos without sound";
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ((std::vector<std::string>{}), FilesStartingWith(m_scratch.Path("out"), "[Converting] "));

    // At exit the catalogue went to the per-user data folder and the settings to the profile.
    wchar_t appData[MAX_PATH] = L"";
    ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, appData, CSIDL_APPDATA, FALSE));
    EXPECT_TRUE(FileExists(CString(appData) + L"\\Brenmoor\\Talvena\\MediaFormats.xml"));
    DWORD overwrite = 99, size = sizeof(overwrite);
    EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Talvena\\Settings", L"Overwrite",
                                          RRF_RT_REG_DWORD, nullptr, &overwrite, &size));
    EXPECT_EQ(0u, overwrite);
}

TEST_F(TalvenaProgramTest, FilesThatAreNoGifsSayWhyInTheirRows)
{
    SetUnattended(1, 0);
    ProgramRun program(BadFiles() + L" /o " + Quoted(OutFolder()));
    ASSERT_TRUE(program.m_started);
    const HWND window = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, window);
    const HWND list = GetDlgItem(window, IDC_JOB_LIST);
    ASSERT_EQ(2, static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    const CString expected[][2] = {{L"missing.gif", L"Failed: source file not exists."},
                                   {L"notes.gif", L"Failed: source file not supported."}};
    for (int row = 0; row < 2; ++row) {
        EXPECT_EQ(expected[row][0], program.ListText(list, row, 1));
        EXPECT_EQ(expected[row][1], program.ListText(list, row, 3));
    }
    // The automatic run passes over both and ends; the window stays, as it was not asked to close.
    EXPECT_TRUE(WaitForIdle(window)) << "the run ended";
    EXPECT_FALSE(program.WaitExit(500));
    EXPECT_EQ(expected[1][1], program.ListText(list, 1, 3)) << "the run keeps the reason";

    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    WaitFor([&] { return InkPixels(program.CellOnScreen(list, 0, 3)) > 20; }, 3000);
    EXPECT_GT(InkPixels(program.CellOnScreen(list, 0, 3)), 20) << "the reason is on the screen";
    // The output cell keeps its empty thumbnail box, with nothing beside it.
    EXPECT_TRUE(program.ListText(list, 0, 2).IsEmpty());
    EXPECT_EQ(0, InkPixels(FileTextOnScreen(program.CellOnScreen(list, 0, 2)))) << "no output";
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitExit(30000));
    EXPECT_EQ(0u, program.ExitCode()) << "closed by the user";
}

TEST_F(TalvenaProgramTest, AnUnattendedRunEndsAndTellsWhetherEveryFileWasConverted)
{
    SetUnattended(1, 1);
    struct Case {
        const char* good;  // a GIF besides the bad files, or none
        DWORD exitCode;
    } const cases[] = {{nullptr, 1}, {"good.gif", 1}};
    for (const Case& c : cases) {
        CString arguments = BadFiles();
        if (c.good)
            arguments += L" " + Quoted(PutSampleGif(m_scratch, c.good));
        ProgramRun program(arguments + L" /o " + Quoted(OutFolder()));
        ASSERT_TRUE(program.m_started);
        ASSERT_TRUE(program.WaitExit(90000)) << "still running: " << (c.good ? c.good : "bad files only");
        EXPECT_EQ(c.exitCode, program.ExitCode());
        EXPECT_EQ(c.good != nullptr, FileExists(OutFile(L"good.mp4")));
    }
    // Every file converted: success.
    DeleteFileW(OutFile(L"good.mp4"));
    ProgramRun program(Quoted(PutSampleGif(m_scratch, "good.gif")) + L" /o " + Quoted(OutFolder()));
    ASSERT_TRUE(program.WaitExit(90000));
    EXPECT_EQ(0u, program.ExitCode());
    EXPECT_TRUE(FileExists(OutFile(L"good.mp4")));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(TalvenaProgramTest, AHelpSwitchShowsTheUsageAndEnds)
{
    ProgramRun program(L"clip.gif /?");
    ASSERT_TRUE(program.m_started);
    const HWND box = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(nullptr, GetDlgItem(box, IDC_JOB_LIST)) << "no main window, only the message";
    wchar_t text[256] = L"";
    struct Visit {
        static BOOL CALLBACK Child(HWND child, LPARAM data)
        {
            wchar_t found[256] = L"";
            GetWindowTextW(child, found, 256);
            if (wcsncmp(found, L"Usage:", 6) == 0)
                lstrcpynW(reinterpret_cast<wchar_t*>(data), found, 256);
            return TRUE;
        }
    };
    EnumChildWindows(box, &Visit::Child, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Usage: Talvena <source file1> [<source file2> <source file3> ...] [/o <output folder>]", text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(program.WaitExit(30000));
}

// ---- the output folder box ----------------------------------------------------------------------

const wchar_t kRecentFoldersKey[] = L"Software\\Brenmoor\\Talvena\\Recent\\Folders";

CString RecentFolder(const wchar_t* entry)
{
    wchar_t value[MAX_PATH] = L"";
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, kRecentFoldersKey, entry, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return CString();
    return CString(value);
}

CString EditText(HWND edit)
{
    // Asked of the edit itself: the window text another process sees is not an edit's.
    wchar_t text[MAX_PATH] = L"";
    SendMessageW(edit, WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
    return CString(text);
}

// A click of the left button at a screen point of the program's window: it sees the mouse
// arrive before the button goes down.
void ClickOnScreen(int x, int y)
{
    MoveMouseTo(x, y);
    Sleep(100);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
}

// The part of a row from `left` to `right` pixels in, less a pixel above and below.
RECT RowPart(const RECT& row, int left, int right) { return RECT{row.left + left, row.top + 2, row.left + right, row.bottom - 2}; }

// The visible drop-down list of a process, or null.
HWND DroppedList(DWORD process)
{
    struct Search {
        DWORD process;
        HWND found;
        static BOOL CALLBACK Visit(HWND window, LPARAM data)
        {
            auto* search = reinterpret_cast<Search*>(data);
            wchar_t name[32] = L"";
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            GetClassNameW(window, name, 32);
            if (owner == search->process && IsWindowVisible(window) && wcscmp(name, L"ComboLBox") == 0) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        }
    } search{process, nullptr};
    EnumWindows(&Search::Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The box dropped down with a click on its arrow; the list's rows on the screen, one a row.
std::vector<RECT> DropDown(const ProgramRun& program, HWND box)
{
    const HWND combo = reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETCOMBOCONTROL, 0, 0));
    RECT field{};
    GetWindowRect(combo, &field);
    // A window only just shown on the screen may miss the first click.
    HWND list = nullptr;
    for (int attempt = 0; attempt < 3 && !list; ++attempt) {
        ClickOnScreen(field.right - 6, (field.top + field.bottom) / 2);
        const DWORD start = GetTickCount();
        while (!(list = DroppedList(program.m_process.dwProcessId)) && GetTickCount() - start < 2000)
            Sleep(50);
    }
    std::vector<RECT> rows;
    if (!list)
        return rows;
    RECT client{};
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const int height = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    const int count = static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0));
    for (int row = 0; row < count && height > 0; ++row)
        rows.push_back(RECT{client.left, client.top + row * height, client.right, client.top + (row + 1) * height});
    // The program paints the list in its own time: every row shows its text first.
    WaitFor([&] {
        for (const RECT& row : rows)
            if (InkPixels(RowPart(row, 22, 140)) <= 20)
                return false;
        return true;
    }, 3000);
    return rows;
}

void ClickRow(const RECT& row) { ClickOnScreen(row.left + 60, (row.top + row.bottom) / 2); }

TEST_F(TalvenaProgramTest, TheOutputFolderBoxOffersTheRecentFoldersAndForgetsThemOnRequest)
{
    const CString first = m_scratch.File("first"), second = m_scratch.File("second");
    ASSERT_TRUE(CreateDirectoryW(first, nullptr) && CreateDirectoryW(second, nullptr));
    RegSetKeyValueW(HKEY_CURRENT_USER, kRecentFoldersKey, L"01", REG_SZ, first.GetString(),
                    static_cast<DWORD>((first.GetLength() + 1) * sizeof(wchar_t)));
    RegSetKeyValueW(HKEY_CURRENT_USER, kRecentFoldersKey, L"02", REG_SZ, second.GetString(),
                    static_cast<DWORD>((second.GetLength() + 1) * sizeof(wchar_t)));
    SetUnattended(0, 1);
    ProgramRun program(Quoted(PutSampleGif(m_scratch, "anim.gif")));
    ASSERT_TRUE(program.m_started);
    const HWND window = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, window);
    const HWND box = GetDlgItem(window, IDC_OUTPUT_FOLDER);
    const HWND edit = reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETEDITCONTROL, 0, 0));
    ASSERT_NE(nullptr, edit);
    EXPECT_EQ(first, EditText(edit)) << "the latest folder";

    // Both folders with their icons, then the entry that clears them, which has none.
    std::vector<RECT> rows = DropDown(program, box);
    ASSERT_EQ(3u, rows.size());
    for (int row = 0; row < 3; ++row) {
        SCOPED_TRACE(row);
        EXPECT_GT(InkPixels(RowPart(rows[row], 22, 140)), 20) << "its text";
        if (row < 2)
            EXPECT_GT(InkPixels(RowPart(rows[row], 0, 20)), 40) << "the folder's icon";
        else
            EXPECT_EQ(0, InkPixels(RowPart(rows[row], 0, 20))) << "no icon";
    }
    ClickRow(rows[1]);
    EXPECT_TRUE(PumpUntil([&] { return !DroppedList(program.m_process.dwProcessId); }, 5000)) << "chosen, the list closes";
    EXPECT_EQ(second, EditText(edit));

    // "Clear Recent List": nothing left in the box, the chosen folder stays.
    rows = DropDown(program, box);
    ASSERT_EQ(3u, rows.size());
    ClickRow(rows[2]);
    const auto entries = [&] { return static_cast<int>(SendMessageW(box, CB_GETCOUNT, 0, 0)); };
    EXPECT_TRUE(PumpUntil([&] { return entries() == 0; }, 5000)) << entries();
    EXPECT_TRUE(PumpUntil([&] { return EditText(edit) == second; }, 5000)) << EditText(edit).ToUtf8();
    EXPECT_EQ(nullptr, DroppedList(program.m_process.dwProcessId));

    // The next conversion goes there, and at the end that folder alone is the history.
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED), 0);
    ASSERT_TRUE(program.WaitExit(120000)) << "closes itself when completed";
    EXPECT_TRUE(FileExists(second + L"\\anim.mp4"));
    EXPECT_FALSE(FileExists(first + L"\\anim.mp4"));
    EXPECT_EQ(second, RecentFolder(L"01"));
    EXPECT_EQ(CString(), RecentFolder(L"02"));
}

} // namespace

namespace {

// Sends a WM_DROPFILES of these paths to the program's window, the drop record written into the
// program's own memory (the form the shell hands over, fixed memory).
bool DropOnProgram(const ProgramRun& program, HWND window, const std::vector<CString>& paths)
{
    std::vector<char> record(sizeof(DROPFILES));
    for (const CString& path : paths) {
        const char* chars = reinterpret_cast<const char*>(path.GetString());
        record.insert(record.end(), chars, chars + (path.GetLength() + 1) * sizeof(wchar_t));
    }
    record.insert(record.end(), sizeof(wchar_t), 0);
    auto* drop = reinterpret_cast<DROPFILES*>(record.data());
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, program.m_process.dwProcessId);
    if (!process)
        return false;
    void* remote = VirtualAllocEx(process, nullptr, record.size(), MEM_COMMIT, PAGE_READWRITE);
    const bool written = remote && WriteProcessMemory(process, remote, record.data(), record.size(), nullptr);
    CloseHandle(process);
    DWORD_PTR answer = 0;
    return written && SendMessageTimeoutW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0, SMTO_ABORTIFHUNG,
                                          30000, &answer);
}

int ProgramRows(HWND list)
{
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// Picks the combo box's entry as a user's choice does: selection, then the change notice.
void ChooseInCombo(HWND window, int comboId, int index)
{
    const HWND combo = GetDlgItem(window, comboId);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

CString RegistryText(const wchar_t* name)
{
    wchar_t value[256] = L"";
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Talvena\\Settings", name, RRF_RT_REG_SZ, nullptr, value, &size);
    return CString(value);
}

TEST_F(TalvenaProgramTest, ADroppedGifInTheChosenFormatBecomesThatVideo)
{
    const CString gif = PutSampleGif(m_scratch, "anim.gif");
    ProgramRun program(L"/o " + Quoted(OutFolder()));
    ASSERT_TRUE(program.m_started);
    const HWND window = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, window);
    const HWND list = GetDlgItem(window, IDC_JOB_LIST);
    EXPECT_EQ(0, ProgramRows(list));
    ASSERT_TRUE(DropOnProgram(program, window, {gif}));
    ASSERT_EQ(1, ProgramRows(list));
    EXPECT_EQ(CString(L"anim.gif"), program.ListText(list, 0, 1));

    const HWND formats = GetDlgItem(window, IDC_FORMAT);
    const int webm = static_cast<int>(SendMessageW(formats, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(L"WEBM\t")));
    ASSERT_GE(webm, 0);
    ChooseInCombo(window, IDC_FORMAT, webm);
    EXPECT_EQ(webm, static_cast<int>(SendMessageW(formats, CB_GETCURSEL, 0, 0)));
    const HWND presets = GetDlgItem(window, IDC_PRESET);
    ASSERT_GT(static_cast<int>(SendMessageW(presets, CB_GETCOUNT, 0, 0)), 0);
    ChooseInCombo(window, IDC_PRESET, 0);

    PostMessageW(window, WM_COMMAND, MAKEWPARAM(ID_CONVERT_MENU, 0), 0);
    std::vector<CString> seen;
    EXPECT_EQ(CString(L"Completed."), WaitForEnd(program, list, 0, &seen));
    EXPECT_NE(std::find(seen.begin(), seen.end(), CString(L"Converting...")), seen.end());
    EXPECT_EQ(CString(L"anim.webm"), program.ListText(list, 0, 2));

    // Again, with the file there: the prompt's Overwrite, then Save as New Name.
    struct Answer {
        int button;
        const wchar_t* output;
    } const answers[] = {{IDC_EXISTS_OVERWRITE, L"anim.webm"}, {IDC_EXISTS_SAVE_AS_NEW, L"anim (1).webm"}};
    for (const Answer& answer : answers) {
        // The row shows its end before the run has finished with it: Convert is back only then.
        ASSERT_TRUE(WaitForIdle(window));
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED), 0);
        const HWND prompt = program.FindWindowTitled(L"Rename, Overwrite, or Cancel?", 30000);
        ASSERT_NE(nullptr, prompt);
        PostMessageW(prompt, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED), 0);
        EXPECT_EQ(CString(L"Completed."), WaitForEnd(program, list, 0));
        EXPECT_EQ(CString(answer.output), program.ListText(list, 0, 2));
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitExit(30000));

    for (const wchar_t* name : {L"anim.webm", L"anim (1).webm"}) {
        SCOPED_TRACE(CString(name).ToUtf8());
        CMediaInfo info;
        ASSERT_EQ(0, info.Probe(OutFile(name), nullptr));
        const CMediaStreamInfo* stream = info.GetFirstVideoStream();
        ASSERT_NE(nullptr, stream);
        EXPECT_TRUE(stream->m_format == L"vp8" || stream->m_format == L"vp9") << stream->m_format.ToUtf8();
        EXPECT_EQ(66, stream->m_width) << "65 x 49 padded to even sizes";
        EXPECT_EQ(50, stream->m_height);
        EXPECT_NEAR(2000000, static_cast<double>(info.m_duration), 200000);
    }
    EXPECT_TRUE(Leftovers().empty());
    EXPECT_EQ(CString(L"MC_webm"), RegistryText(L"Media.Codec"));
    EXPECT_FALSE(RegistryText(L"Media.Format").IsEmpty());
}

TEST_F(TalvenaProgramTest, StopHalfWayLeavesNoEncoderAndNoPartialOutput)
{
    const CString gif = m_scratch.File("long.gif");
    CopyFileW(CString::FromUtf8(SourcePath("tools/modules/tests/data/long.gif").c_str()), gif, FALSE);
    CString arguments = Quoted(gif);
    for (const char* name : {"long2.gif", "long3.gif"}) {
        const CString copy = m_scratch.File(name);
        CopyFileW(gif, copy, FALSE);
        arguments += L" " + Quoted(copy);
    }
    ProgramRun program(arguments + L" /o " + Quoted(OutFolder()));
    ASSERT_TRUE(program.m_started);
    const HWND window = program.FindWindowTitled(L"Talvena", 60000);
    ASSERT_NE(nullptr, window);
    const HWND list = GetDlgItem(window, IDC_JOB_LIST);
    ASSERT_EQ(3, ProgramRows(list));
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_CONVERT, BN_CLICKED), 0);
    const DWORD start = GetTickCount();
    while (program.ListText(list, 0, 3) != L"Converting..." && GetTickCount() - start < 60000)
        Sleep(20);
    ASSERT_EQ(CString(L"Converting..."), program.ListText(list, 0, 3));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_STOP)));

    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_STOP, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForIdle(window));
    const CString first = program.ListText(list, 0, 3);
    EXPECT_TRUE(first == L"Canceled." || first == L"Completed.") << first.ToUtf8();
    EXPECT_TRUE(program.ListText(list, 2, 3).IsEmpty()) << "the rows after keep their state";
    EXPECT_EQ((std::vector<std::string>{}), FilesStartingWith(m_scratch.Path("out"), "[Converting] "));
    if (first == L"Canceled.") {
        EXPECT_FALSE(FileExists(OutFile(L"long.mp4")));
    }
    const DWORD stopped = GetTickCount();
    while (ProcessCount(L"Tollwick.exe") > 0 && GetTickCount() - stopped < 10000)
        Sleep(100);
    EXPECT_EQ(0, ProcessCount(L"Tollwick.exe")) << "the encoder was ended with the run";
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(program.WaitExit(30000));
    EXPECT_TRUE(Leftovers().empty());
}

} // namespace
