// Sorvik.exe driven as a user drives it: a GIF plays, is paused, stepped, filtered, zoomed,
// copied, saved and described, and what the viewer does is read off the screen, the clipboard,
// the files it writes and its dialogs.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "CrImage.h"
#include "GuiDriving.h"
#include "SorvikDriving.h"
#include "SorvikWindows.h"
#include "ViewGeometry.h"
#include "ViewerGuiSupport.h"

#include <commctrl.h>
#include <dlgs.h>

namespace {

constexpr int kWidth = 120, kHeight = 80;

// Each frame has a left half and a right half of its own colours, so that mirroring shows.
struct HalfFrame {
    COLORREF left, right;
};
const HalfFrame kFrames[] = {{RGB(220, 40, 40), RGB(40, 200, 60)},
                             {RGB(40, 80, 230), RGB(230, 210, 40)},
                             {RGB(200, 50, 200), RGB(40, 210, 210)},
                             {RGB(250, 150, 30), RGB(120, 60, 200)}};
constexpr int kFrameCount = 4;

COLORREF Negative(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

CrRgbQuad Quad(COLORREF c) { return CrRgbQuad{GetBValue(c), GetGValue(c), GetRValue(c), 0}; }

// Frames of one second each: a pause lands on one long before it changes.
bool WriteHalvesGif(const CString& path)
{
    std::vector<CrImage*> images;
    for (const HalfFrame& f : kFrames) {
        auto* image = new CrImage(kWidth, kHeight, 8, CRIMAGE_FORMAT_GIF);
        image->SetPaletteColor(0, Quad(f.left));
        image->SetPaletteColor(1, Quad(f.right));
        for (int y = 0; y < kHeight; y++)
            for (int x = 0; x < kWidth; x++)
                image->SetPixelIndex(x, y, x < kWidth / 2 ? 0 : 1);
        image->SetFrameDelay(100);
        images.push_back(image);
    }
    return WriteGifFrames(path, images);
}

struct CanvasSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindCanvasVisit(HWND wnd, LPARAM param)
{
    HWND parent = ::GetParent(wnd);
    if (::GetDlgCtrlID(wnd) == 1 && parent && ::GetDlgCtrlID(parent) == 0xE900 && ::IsWindowVisible(wnd)) {
        reinterpret_cast<CanvasSearch*>(param)->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The canvas: window 1 in the play pane, wherever the frame keeps that pane.
HWND FindCanvas(HWND main)
{
    CanvasSearch search;
    ::EnumChildWindows(main, FindCanvasVisit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The rectangle of the pixels that are not the black background, in the window's client terms.
RECT PictureBounds(HWND canvas)
{
    RECT r;
    ::GetWindowRect(canvas, &r);
    ScreenShot shot(r);
    RECT bounds{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            if (!NearColour(shot.At(x, y), RGB(0, 0, 0), 12)) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    return RECT{bounds.left - r.left, bounds.top - r.top, bounds.right - r.left, bounds.bottom - r.top};
}

// The colours at a quarter and three quarters across the middle row of the canvas.
HalfFrame ShownHalves(HWND canvas)
{
    RECT r;
    ::GetWindowRect(canvas, &r);
    ScreenShot shot(r);
    const int y = (r.top + r.bottom) / 2, centre = (r.left + r.right) / 2;
    return HalfFrame{shot.At(centre - kWidth / 4, y), shot.At(centre + kWidth / 4, y)};
}

// Which frame shows, plain (-1 when none matches).
int ShownFrame(HWND canvas)
{
    HalfFrame shown = ShownHalves(canvas);
    for (int i = 0; i < kFrameCount; i++)
        if (NearColour(shown.left, kFrames[i].left, 12) && NearColour(shown.right, kFrames[i].right, 12))
            return i;
    return -1;
}

bool WaitForHalves(HWND canvas, COLORREF left, COLORREF right, DWORD ms = 5000)
{
    return WaitFor([&] {
        HalfFrame shown = ShownHalves(canvas);
        return NearColour(shown.left, left, 12) && NearColour(shown.right, right, 12);
    }, ms);
}

struct ProcessWindowSearch {
    DWORD processId;
    const wchar_t* title;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindowVisit(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<ProcessWindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    wchar_t title[256] = L"", cls[64] = L"";
    ::GetWindowTextW(wnd, title, 256);
    ::GetClassNameW(wnd, cls, 64);
    if (pid == search->processId && ::IsWindowVisible(wnd) && ::lstrcmpW(title, search->title) == 0 &&
        (!search->className || ::lstrcmpW(cls, search->className) == 0)) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level dialog of the viewer with exactly this title.
HWND WaitForDialog(DWORD processId, const wchar_t* title, DWORD ms = 15000)
{
    ProcessWindowSearch search{processId, title, L"#32770", nullptr};
    WaitFor([&] {
        ::EnumWindows(FindProcessWindowVisit, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, ms);
    return search.found;
}

CString ControlText(HWND wnd)
{
    wchar_t text[1024] = L"";
    ::SendMessageW(wnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// A list view cell of another process: the request and its text live in that process.
CString ListViewText(HWND list, int row, int column)
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return L"?";
    const SIZE_T textChars = 512;
    auto* remote = static_cast<BYTE*>(::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + textChars * 2, MEM_COMMIT, PAGE_READWRITE));
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    item.cchTextMax = int(textChars);
    ::WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
    ::SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(remote));
    wchar_t text[textChars] = L"";
    ::ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text - 2, nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    ::CloseHandle(process);
    return text;
}

// The colour of one pixel of a packed bitmap (header, palette, rows from the bottom).
COLORREF DibPixel(const BYTE* dib, int x, int y)
{
    const auto* head = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    const int bpp = head->biBitCount;
    const DWORD colours = head->biClrUsed ? head->biClrUsed : (bpp <= 8 ? 1u << bpp : 0);
    const auto* palette = reinterpret_cast<const RGBQUAD*>(dib + head->biSize);
    const BYTE* bits = dib + head->biSize + colours * 4;
    const int rowBytes = ((head->biWidth * bpp + 31) / 32) * 4;
    const BYTE* row = bits + size_t(head->biHeight - 1 - y) * size_t(rowBytes);
    if (bpp == 24)
        return RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]);
    if (bpp == 32)
        return RGB(row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
    const RGBQUAD q = palette[row[x]];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

COLORREF ImagePixel(const CrImage& image, int x, int y)
{
    CrRgbQuad q = image.GetPixelColor(x, image.GetHeight() - 1 - y, false);
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

class SorvikPlayTest : public ScratchFolderTest {
protected:
    PROCESS_INFORMATION m_process{};
    HWND m_main = nullptr;
    HWND m_canvas = nullptr;

    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
        ASSERT_TRUE(WriteSorvikSetting(L"AutoCheckUpdate", 0));
        ASSERT_TRUE(WriteSorvikSetting(L"LoadLastPlaylist", 0));
        ASSERT_TRUE(WriteSorvikSetting(L"AutoAdvance", 0));
        // The GIF loops until it is paused, however slow the machine.
        ASSERT_TRUE(WriteSorvikSetting(L"Repeat", 1));
    }
    void TearDown() override
    {
        if (m_process.hProcess) {
            if (m_main)
                ::PostMessageW(m_main, WM_CLOSE, 0, 0);
            if (::WaitForSingleObject(m_process.hProcess, 15000) == WAIT_TIMEOUT)
                ::TerminateProcess(m_process.hProcess, 3);
            ::CloseHandle(m_process.hProcess);
            ::CloseHandle(m_process.hThread);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik");
        ScratchFolderTest::TearDown();
    }
    // Starts the viewer on the GIF and waits until it plays.
    void StartPlaying()
    {
        ASSERT_TRUE(WriteHalvesGif(Path("halves.gif")));
        std::wstring command = L"\"" + SorvikProgramPath() + L"\" \"" + Path("halves.gif").str() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        ASSERT_TRUE(::CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process));
        m_main = WaitForSorvikWindow(L"halves.gif - 1/1", m_process.dwProcessId, 30000);
        ASSERT_NE(m_main, nullptr);
        ASSERT_TRUE(WaitFor([&] { return (m_canvas = FindCanvas(m_main)) != nullptr; }));
        ASSERT_TRUE(WaitFor([&] { return ShownFrame(m_canvas) >= 0; })) << "no frame of the GIF on the screen";
    }
    // What only a menu reaches.
    void Command(UINT id) { ::PostMessageW(m_main, WM_COMMAND, id, 0); }
    // A key (with a modifier, or 0) typed into the viewer's window.
    void Key(WORD key, WORD modifier = 0) { TypeKeyInto(m_main, key, modifier); }
    // Pauses with Space and answers the frame that stays on the screen.
    int Pause()
    {
        Key(VK_SPACE);
        int shown = -1;
        // Paused: the same frame for well over a frame's time.
        EXPECT_TRUE(WaitFor([&] {
            int before = ShownFrame(m_canvas);
            ::Sleep(1300);
            shown = ShownFrame(m_canvas);
            return before >= 0 && shown == before;
        }, 8000));
        return shown;
    }
    // Saves the current frame through the save dialog, typing the name as a user does.
    void SaveFrameAs(const CString& path)
    {
        Key('F', VK_CONTROL);
        HWND dialog = WaitForDialog(m_process.dwProcessId, L"Save Current Frame to File");
        ASSERT_NE(dialog, nullptr) << "no save dialog";
        ASSERT_TRUE(EnterFileName(dialog, path)) << "no name box";
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); })) << "the dialog stayed";
    }
};

TEST_F(SorvikPlayTest, PauseStepFilterZoomCopyAndSave)
{
    StartPlaying();
    if (HasFatalFailure())
        return;
    int shown = Pause();
    ASSERT_GE(shown, 0);
    // Step forward and back (from the last frame: back first).
    const int step = shown < kFrameCount - 1 ? 1 : -1;
    Key(step > 0 ? VK_RIGHT : VK_LEFT);
    ASSERT_TRUE(WaitForHalves(m_canvas, kFrames[shown + step].left, kFrames[shown + step].right)) << "no step";
    Key(step > 0 ? VK_LEFT : VK_RIGHT);
    ASSERT_TRUE(WaitForHalves(m_canvas, kFrames[shown].left, kFrames[shown].right)) << "no step back";
    // In the playlist the arrows are the playlist's: back in the play view the frame is the same.
    Key(VK_F6);
    ::Sleep(300);
    Key(step > 0 ? VK_RIGHT : VK_LEFT);
    ::Sleep(300);
    Key(VK_F6);
    ASSERT_TRUE(WaitFor([&] { return (m_canvas = FindCanvas(m_main)) != nullptr; }));
    ::Sleep(300);
    EXPECT_EQ(ShownFrame(m_canvas), shown) << "an arrow meant for the playlist stepped the frame";

    // Mirrored, then also negative: on the screen at once.
    Command(32850);
    ASSERT_TRUE(WaitForHalves(m_canvas, kFrames[shown].right, kFrames[shown].left)) << "not mirrored";
    Command(32855);
    const COLORREF left = Negative(kFrames[shown].right), right = Negative(kFrames[shown].left);
    ASSERT_TRUE(WaitForHalves(m_canvas, left, right)) << "not negative";

    // Zoom: 100 %, 200 % and fit, each where the canvas's own rule puts it.
    RECT client;
    ::GetClientRect(m_canvas, &client);
    struct {
        WORD key;
        int zoom;
    } zooms[] = {{'2', 100}, {'3', 200}, {'0', 0}};
    for (auto z : zooms) {
        Key(z.key, VK_MENU);
        const int zoom = z.zoom;
        ViewRect want = FrameRect(zoom, {kWidth, kHeight}, {0, 0, client.right, client.bottom});
        RECT got{};
        EXPECT_TRUE(WaitFor([&] {
            got = PictureBounds(m_canvas);
            return got.left == want.left && got.top == want.top && got.right == want.right && got.bottom == want.bottom;
        }, 5000)) << "zoom " << zoom << ": " << got.left << "," << got.top << "-" << got.right << "," << got.bottom
                  << " instead of " << want.left << "," << want.top << "-" << want.right << "," << want.bottom;
        if (zoom == 0) {
            EXPECT_TRUE(want.Width() == client.right || want.Height() == client.bottom);
        }
    }
    Key('2', VK_MENU);

    // Copy: the clipboard holds the frame as shown, filters and all.
    ASSERT_TRUE(::OpenClipboard(nullptr));
    ::EmptyClipboard();
    ::CloseClipboard();
    Key('C', VK_CONTROL);
    ASSERT_TRUE(WaitFor([] { return ::IsClipboardFormatAvailable(CF_DIB) != FALSE; })) << "nothing on the clipboard";
    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE data = ::GetClipboardData(CF_DIB);
    ASSERT_NE(data, nullptr);
    const auto* dib = static_cast<const BYTE*>(::GlobalLock(data));
    ASSERT_NE(dib, nullptr);
    const auto* head = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    EXPECT_EQ(head->biWidth, kWidth);
    EXPECT_EQ(head->biHeight, kHeight);
    EXPECT_TRUE(NearColour(DibPixel(dib, 5, kHeight / 2), left, 2));
    EXPECT_TRUE(NearColour(DibPixel(dib, kWidth - 5, kHeight / 2), right, 2));
    ::GlobalUnlock(data);
    ::CloseClipboard();

    // Save as PNG and as BMP: files that decode to the frame as shown.
    struct Saved {
        const char* name;
        uint32_t format;
    } saves[] = {{"frame.png", CRIMAGE_FORMAT_PNG}, {"frame.bmp", CRIMAGE_FORMAT_BMP}};
    for (const Saved& s : saves) {
        SCOPED_TRACE(s.name);
        SaveFrameAs(Path(s.name));
        CrImage back;
        ASSERT_TRUE(WaitFor([&] { return back.Load(Path(s.name), s.format); })) << "not written";
        EXPECT_EQ(back.GetWidth(), kWidth);
        EXPECT_EQ(back.GetHeight(), kHeight);
        EXPECT_TRUE(NearColour(ImagePixel(back, 5, kHeight / 2), left, 0));
        EXPECT_TRUE(NearColour(ImagePixel(back, kWidth - 5, kHeight / 2), right, 0));
    }
    // The folder is remembered for the next save.
    ::PostMessageW(m_main, WM_CLOSE, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0);
    m_main = nullptr;
    wchar_t folder[1024] = L"";
    DWORD size = sizeof folder;
    ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", L"LastSaveFolder", RRF_RT_REG_SZ, nullptr,
                   folder, &size);
    EXPECT_EQ(CString(folder), Folder());
}

TEST_F(SorvikPlayTest, AFrameIsNeverSavedUnderAnotherTypesName)
{
    StartPlaying();
    if (HasFatalFailure())
        return;
    ASSERT_GE(Pause(), 0);
    SaveFrameAs(Path("frame.gif"));
    HWND refusal = WaitForDialog(m_process.dwProcessId, L"Sorvik");
    ASSERT_NE(refusal, nullptr) << "no word about the file type";
    ::SendMessageW(refusal, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(refusal); }));
    EXPECT_FALSE(std::filesystem::exists(m_folder / "frame.gif"));
    // Nothing at all was written beside the GIF.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder), std::filesystem::directory_iterator()), 1);
}

TEST_F(SorvikPlayTest, TheGifInformationDialogListsTheFacts)
{
    StartPlaying();
    if (HasFatalFailure())
        return;
    Command(32806);
    HWND dialog = WaitForDialog(m_process.dwProcessId, L"halves.gif");
    ASSERT_NE(dialog, nullptr) << "no GIF information dialog";
    EXPECT_EQ(ControlText(::GetDlgItem(dialog, 1039)), Path("halves.gif"));
    HWND list = ::GetDlgItem(dialog, 1032);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 7);
    struct Row {
        const wchar_t* name;
        CString value;
    } rows[] = {{L"File Name", L"halves.gif"},
                {L"File Size", L""},
                {L"Resolution", L"120x80"},
                {L"Frame Count", L"4"},
                {L"Duration", L""},
                {L"Looping", L"Infinite loop"},
                {L"Comment", L""}};
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(ListViewText(list, i, 0), CString(rows[i].name)) << i;
        if (!rows[i].value.IsEmpty()) {
            EXPECT_EQ(ListViewText(list, i, 1), rows[i].value) << i;
        }
    }
    EXPECT_FALSE(ListViewText(list, 1, 1).IsEmpty());
    EXPECT_FALSE(ListViewText(list, 4, 1).IsEmpty());   // the frames are loaded by now
    EXPECT_EQ(ControlText(::GetDlgItem(dialog, IDOK)), CString(L"Close"));
    ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
}

TEST_F(SorvikPlayTest, ASettingChangedInTheDialogIsInTheRegistry)
{
    StartPlaying();
    if (HasFatalFailure())
        return;
    Command(32803);
    HWND dialog = WaitForDialog(m_process.dwProcessId, L"Settings");
    ASSERT_NE(dialog, nullptr) << "no Settings dialog";
    EXPECT_EQ(ControlText(::GetDlgItem(dialog, 1027)), CString(L"200"));
    EXPECT_EQ(::SendMessageW(::GetDlgItem(dialog, 1025), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(::GetDlgItem(dialog, 1025), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(dialog, 1030), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"150"));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "the dialog stayed";
    // Written when the dialog closed, not only at the end of the program.
    auto value = [](const wchar_t* name) {
        DWORD data = 12345, size = sizeof data;
        ::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Brenmoor\\Sorvik\\Settings", name, RRF_RT_REG_DWORD, nullptr,
                       &data, &size);
        return data;
    };
    // The values are written one after another: wait for the last of those looked at.
    EXPECT_TRUE(WaitFor([&] { return value(L"AllowDuplicates") == 0 && value(L"Thumbnail.cy") == 150u; }, 5000));
    EXPECT_EQ(value(L"AllowDuplicates"), 0u);
    EXPECT_EQ(value(L"Thumbnail.cy"), 150u);
    EXPECT_EQ(value(L"Thumbnail.cx"), 200u);
}

} // namespace
