// The viewer's Settings and GIF information dialogs, run modally and driven from a thread of
// their own as a user would: texts typed, boxes ticked, OK pressed.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "GIFInfoDlg.h"
#include "GuiDriving.h"
#include "PlaylistItem.h"
#include "SettingsValues.h"
#include "ViewerGuiSupport.h"
#include "ViewerSettingsDlg.h"

#include <commctrl.h>

namespace {

// Acts on the dialog with this title while the test thread runs its modal loop; cancels it at
// the end when the steps did not close it, so that a failed step cannot hang the test.
class DialogDriver {
public:
    DialogDriver(const wchar_t* title, std::function<void(HWND)> steps)
        : m_thread([title, steps] {
              HWND dialog = WaitForOwnWindow(title);
              if (!dialog)
                  return;
              ::Sleep(200);
              steps(dialog);
              if (!WaitFor([dialog] { return !::IsWindow(dialog); }, 10000))
                  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
          })
    {
    }
    ~DialogDriver() { m_thread.join(); }

private:
    std::thread m_thread;
};

struct OwnedBoxSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND wnd, LPARAM param)
{
    auto* search = reinterpret_cast<OwnedBoxSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(wnd, &pid);
    if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(wnd) && ::GetWindow(wnd, GW_OWNER) == search->owner) {
        search->found = wnd;
        return FALSE;
    }
    return TRUE;
}

// The message box a dialog shows over itself, waited for.
HWND WaitForBoxOver(HWND dialog)
{
    OwnedBoxSearch search{dialog, nullptr};
    WaitFor([&] {
        ::EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    }, 5000);
    return search.found;
}

CString ItemText(HWND dialog, int id)
{
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

class ViewerDialogsTest : public ScratchFolderTest {
protected:
    CSettingsValues m_settings;
    CTestHost m_owner;

    void SetUp() override
    {
        TestApp();
        ScratchFolderTest::SetUp();
        ASSERT_TRUE(m_owner.Make(640, 480));
    }
};

TEST_F(ViewerDialogsTest, SettingsShowTheValuesAndTakeTheChanges)
{
    CViewerSettingsDlg dialog(&m_owner);
    dialog.FillFrom(m_settings);
    dialog.m_bAssociateGif = 1;
    struct Seen {
        CString width, height;
        UINT reload = 9, duplicates = 9, bar = 9, update = 9, gif = 9;
        std::vector<CString> taken;   // refused values the dialog took
    } seen;
    // Each box refuses the values next to its bounds: width 40..400, height 30..300.
    const struct {
        int box;
        const wchar_t* value;
    } refused[] = {{1027, L"39"}, {1027, L"401"}, {1030, L"29"}, {1030, L"301"}};
    {
        DialogDriver driver(L"Settings", [&](HWND d) {
            seen.width = ItemText(d, 1027);
            seen.height = ItemText(d, 1030);
            seen.reload = ::IsDlgButtonChecked(d, 1035);
            seen.duplicates = ::IsDlgButtonChecked(d, 1025);
            seen.bar = ::IsDlgButtonChecked(d, 1033);
            seen.update = ::IsDlgButtonChecked(d, 1008);
            seen.gif = ::IsDlgButtonChecked(d, 1009);
            // A size out of its box's bounds keeps the dialog open with a word.
            for (const auto& bad : refused) {
                ::SetDlgItemTextW(d, 1027, L"200");
                ::SetDlgItemTextW(d, 1030, L"200");
                ::SetDlgItemTextW(d, bad.box, bad.value);
                ::PostMessageW(d, WM_COMMAND, IDOK, 0);
                HWND box = WaitForBoxOver(d);
                if (box)
                    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                WaitFor([&] { return !::IsWindow(box); }, 5000);
                if (!box || !::IsWindow(d))
                    seen.taken.push_back(bad.value);
            }
            ::SetDlgItemTextW(d, 1027, L"40");
            ::SetDlgItemTextW(d, 1030, L"300");
            ::SendMessageW(::GetDlgItem(d, 1025), BM_CLICK, 0, 0);
            ::SendMessageW(::GetDlgItem(d, 1008), BM_CLICK, 0, 0);
            ::PostMessageW(d, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(seen.width, CString(L"200"));
    EXPECT_EQ(seen.height, CString(L"200"));
    EXPECT_EQ(seen.reload, UINT(BST_CHECKED));
    EXPECT_EQ(seen.duplicates, UINT(BST_CHECKED));
    EXPECT_EQ(seen.bar, UINT(BST_CHECKED));
    EXPECT_EQ(seen.update, UINT(BST_CHECKED));
    EXPECT_EQ(seen.gif, UINT(BST_CHECKED));
    for (const CString& value : seen.taken)
        ADD_FAILURE() << "the dialog took " << value.ToUtf8();
    EXPECT_TRUE(dialog.StoreTo(m_settings));
    EXPECT_EQ(m_settings.ThumbnailCx, 40);
    EXPECT_EQ(m_settings.ThumbnailCy, 300);
    EXPECT_EQ(m_settings.AllowDuplicates, 0);
    EXPECT_EQ(m_settings.AutoCheckUpdate, 0);
    EXPECT_EQ(m_settings.LoadLastPlaylist, 1);
    EXPECT_EQ(m_settings.AlwaysShowControlBar, 1);
    EXPECT_TRUE(AreThumbnailSizesValid(m_settings.ThumbnailCx, m_settings.ThumbnailCy));
    // The same again changes no size.
    EXPECT_FALSE(dialog.StoreTo(m_settings));
}

TEST_F(ViewerDialogsTest, GifInformationListsTheFactsUnderTheItemsName)
{
    ASSERT_TRUE(WriteTestGif(Path("facts.gif"), 30, 20, ColourFrames(3, 10)));
    CPlaylistItem item;
    ASSERT_EQ(item.Open(Path("facts.gif")), 0);
    CGIFInfoDlg dialog(&item, &m_owner);
    CString path, close;
    std::vector<std::pair<CString, CString>> rows;
    {
        DialogDriver driver(L"facts.gif", [&](HWND d) {
            path = ItemText(d, 1039);
            close = ItemText(d, IDOK);
            HWND list = ::GetDlgItem(d, 1032);
            const int count = int(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
            for (int i = 0; i < count; i++) {
                wchar_t name[128] = L"", value[128] = L"";
                ListView_GetItemText(list, i, 0, name, 128);
                ListView_GetItemText(list, i, 1, value, 128);
                rows.emplace_back(name, value);
            }
            ::PostMessageW(d, WM_COMMAND, IDOK, 0);
        });
        EXPECT_EQ(dialog.DoModal(), IDOK);
    }
    EXPECT_EQ(path, Path("facts.gif"));
    EXPECT_EQ(close, CString(L"Close"));
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0], std::make_pair(CString(L"File Name"), CString(L"facts.gif")));
    EXPECT_EQ(rows[2], std::make_pair(CString(L"Resolution"), CString(L"30x20")));
    EXPECT_EQ(rows[3], std::make_pair(CString(L"Frame Count"), CString(L"3")));
    EXPECT_EQ(rows[5], std::make_pair(CString(L"Looping"), CString(L"Infinite loop")));
}

} // namespace
