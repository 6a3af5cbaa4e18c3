// The file-exists prompt, shown from a worker thread as the conversion thread shows it, and
// answered from the test's thread.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "FileExistsDlg.h"
#include "TalvenaRes.h"
#include "TalvenaTestSupport.h"

namespace {

const wchar_t kCaption[] = L"Rename, Overwrite, or Cancel?";

// One prompt on a thread of its own.
class PromptRun {
public:
    PromptRun(const CString& folder, const CString& title, const CString& extension, const CStopFlag* stop = nullptr,
              int countdown = 20)
    {
        m_worker = std::thread([=] {
            CFileExistsDlg dialog(folder, title, extension, nullptr, stop);
            dialog.m_countdown = countdown;
            m_answer = static_cast<int>(dialog.DoModal());
            m_newTitle = dialog.m_newTitle;
            m_done = true;
        });
        const DWORD start = GetTickCount();
        while (!(m_window = FindOwnWindow(kCaption, TitleMatch::Prefix)) && !m_done && GetTickCount() - start < 10000)
            Sleep(20);
    }
    ~PromptRun()
    {
        // Never left open, whatever the test found.
        if (!WaitDone(5000) && m_window)
            PostMessageW(m_window, WM_COMMAND, IDCANCEL, 0);
        m_worker.join();
    }

    bool WaitDone(DWORD milliseconds) const
    {
        const DWORD start = GetTickCount();
        while (!m_done && GetTickCount() - start < milliseconds)
            Sleep(20);
        return m_done;
    }
    CString Text(int id) const
    {
        wchar_t text[512] = L"";
        GetDlgItemTextW(m_window, id, text, 512);
        return text;
    }
    void Type(const wchar_t* text) const { SetDlgItemTextW(m_window, IDC_EXISTS_NEW_NAME, text); }
    void Click(int id) const
    {
        SendMessageW(m_window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(m_window, id)));
    }
    void Tick(int id, bool on) const
    {
        CheckDlgButton(m_window, id, on ? BST_CHECKED : BST_UNCHECKED);
        Click(id);
    }

    HWND m_window = nullptr;
    std::atomic<bool> m_done{false};
    int m_answer = 0;
    CString m_newTitle;

private:
    std::thread m_worker;
};

class FileExistsDlgTest : public ConverterTest {
protected:
    void SetUp() override
    {
        ConverterTest::SetUp();
        WriteTextFile(m_scratch.Path("out") / "anim.mp4", "old");
        WriteTextFile(m_scratch.Path("out") / "anim (1).mp4", "old");
    }
};

TEST_F(FileExistsDlgTest, ShowsTheFileAndSuggestsAFreeName)
{
    PromptRun prompt(OutFolder(), L"anim", L".mp4");
    ASSERT_NE(nullptr, prompt.m_window);
    EXPECT_EQ(CString(L"The file already exists:"), prompt.Text(IDC_EXISTS_HEADING));
    EXPECT_EQ(CString(L"anim.mp4"), prompt.Text(IDC_EXISTS_NAME));
    EXPECT_EQ(CString(L"anim (2)"), prompt.Text(IDC_EXISTS_NEW_NAME));
    DWORD first = 0, last = 0;
    SendDlgItemMessageW(prompt.m_window, IDC_EXISTS_NEW_NAME, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                        reinterpret_cast<LPARAM>(&last));
    EXPECT_EQ(4u, first) << "the part after the existing title is selected";
    EXPECT_EQ(8u, last);
    EXPECT_NE(nullptr, reinterpret_cast<HICON>(SendDlgItemMessageW(prompt.m_window, IDC_EXISTS_ICON, STM_GETICON, 0, 0)));
    prompt.Click(IDCANCEL);
    ASSERT_TRUE(prompt.WaitDone(5000));
    EXPECT_EQ(EXISTS_CANCEL, prompt.m_answer);
}

struct AnswerCase {
    const char* name;
    int button;
    bool remember;
    const wchar_t* typed;
    int answer;
    const wchar_t* newTitle;
};

class FileExistsAnswers : public FileExistsDlgTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(FileExistsAnswers, EachButtonGivesItsAnswer)
{
    const AnswerCase& c = GetParam();
    PromptRun prompt(OutFolder(), L"anim", L".mp4");
    ASSERT_NE(nullptr, prompt.m_window);
    if (c.typed)
        prompt.Type(c.typed);
    if (c.remember)
        CheckDlgButton(prompt.m_window, IDC_EXISTS_REMEMBER, BST_CHECKED);
    if (c.button == WM_CLOSE)
        PostMessageW(prompt.m_window, WM_CLOSE, 0, 0);
    else
        prompt.Click(c.button);
    ASSERT_TRUE(prompt.WaitDone(5000));
    EXPECT_EQ(c.answer, prompt.m_answer);
    EXPECT_EQ(CString(c.newTitle), prompt.m_newTitle);
}

const AnswerCase kAnswerCases[] = {
    {"SaveAsNewName", IDC_EXISTS_SAVE_AS_NEW, false, L"fresh", EXISTS_NEW_NAME, L"fresh"},
    {"SaveAsNewNameRemembered", IDC_EXISTS_SAVE_AS_NEW, true, nullptr, OVERWRITE_NEW_NAME, L"anim (2)"},
    {"Overwrite", IDC_EXISTS_OVERWRITE, false, nullptr, EXISTS_OVERWRITE, L"anim (2)"},
    {"OverwriteRemembered", IDC_EXISTS_OVERWRITE, true, nullptr, OVERWRITE_ALWAYS, L"anim (2)"},
    {"Cancel", IDCANCEL, false, nullptr, EXISTS_CANCEL, L"anim (2)"},
    {"CancelRemembered", IDCANCEL, true, nullptr, OVERWRITE_CANCEL, L"anim (2)"},
    {"CloseBoxCancels", WM_CLOSE, false, nullptr, EXISTS_CANCEL, L"anim (2)"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FileExistsAnswers, ::testing::ValuesIn(kAnswerCases),
                         [](const ::testing::TestParamInfo<AnswerCase>& info) { return info.param.name; });

TEST_F(FileExistsDlgTest, NamesThatLeaveTheFolderAreRefused)
{
    PromptRun prompt(OutFolder(), L"anim", L".mp4");
    ASSERT_NE(nullptr, prompt.m_window);
    for (const wchar_t* bad : {L"", L"  ", L"..\\up", L"C:\\elsewhere", L"sub/name"}) {
        SCOPED_TRACE(CString(bad).ToUtf8());
        prompt.Type(bad);
        prompt.Click(IDC_EXISTS_SAVE_AS_NEW);
        EXPECT_FALSE(prompt.WaitDone(300));
        EXPECT_EQ(CString(L"anim (2)"), prompt.Text(IDC_EXISTS_NEW_NAME)) << "the suggestion is back";
    }
    prompt.Type(L"ok");
    prompt.Click(IDC_EXISTS_SAVE_AS_NEW);
    ASSERT_TRUE(prompt.WaitDone(5000));
    EXPECT_EQ(EXISTS_NEW_NAME, prompt.m_answer);
    EXPECT_EQ(CString(L"ok"), prompt.m_newTitle);
}

TEST_F(FileExistsDlgTest, TheCountdownAnswersWithTheSuggestion)
{
    PromptRun prompt(OutFolder(), L"anim", L".mp4", nullptr, 2);
    ASSERT_NE(nullptr, prompt.m_window);
    prompt.Type(L"..\\up");  // refused even when the countdown takes it
    bool sawCount = false;
    const DWORD start = GetTickCount();
    while (!prompt.m_done && GetTickCount() - start < 8000) {
        sawCount = sawCount || prompt.Text(IDC_EXISTS_AUTO_CLOSE) == CString(L"Auto close within 00:01");
        Sleep(50);
    }
    ASSERT_TRUE(prompt.m_done);
    EXPECT_TRUE(sawCount);
    EXPECT_EQ(EXISTS_NEW_NAME, prompt.m_answer);
    EXPECT_EQ(CString(L"anim (2)"), prompt.m_newTitle);
}

TEST_F(FileExistsDlgTest, WithoutAutoCloseItWaitsUntilTheBoxIsTicked)
{
    m_settings.m_autoSelect = 0;
    PromptRun prompt(OutFolder(), L"anim", L".mp4", nullptr, 1);
    ASSERT_NE(nullptr, prompt.m_window);
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(prompt.m_window, IDC_EXISTS_AUTO_CLOSE));
    EXPECT_EQ(CString(L"Auto close within 00:01"), prompt.Text(IDC_EXISTS_AUTO_CLOSE));
    EXPECT_FALSE(prompt.WaitDone(2500));
    prompt.Tick(IDC_EXISTS_AUTO_CLOSE, true);
    ASSERT_TRUE(prompt.WaitDone(5000));
    EXPECT_EQ(EXISTS_NEW_NAME, prompt.m_answer);
    EXPECT_EQ(1, m_settings.m_autoSelect.load()) << "the choice is kept for the next prompt";
}

TEST_F(FileExistsDlgTest, UntickingKeepsItOpenAndIsRemembered)
{
    PromptRun prompt(OutFolder(), L"anim", L".mp4", nullptr, 1);
    ASSERT_NE(nullptr, prompt.m_window);
    prompt.Tick(IDC_EXISTS_AUTO_CLOSE, false);
    EXPECT_FALSE(prompt.WaitDone(2500));
    prompt.Click(IDC_EXISTS_OVERWRITE);
    ASSERT_TRUE(prompt.WaitDone(5000));
    EXPECT_EQ(EXISTS_OVERWRITE, prompt.m_answer);
    EXPECT_EQ(0, m_settings.m_autoSelect.load());
}

TEST_F(FileExistsDlgTest, AStopEndsThePromptAsCancel)
{
    CStopFlag stop{0};
    PromptRun prompt(OutFolder(), L"anim", L".mp4", &stop);
    ASSERT_NE(nullptr, prompt.m_window);
    EXPECT_FALSE(prompt.WaitDone(300));
    stop = 2;
    ASSERT_TRUE(prompt.WaitDone(3000));
    EXPECT_EQ(EXISTS_CANCEL, prompt.m_answer);
}

} // namespace
