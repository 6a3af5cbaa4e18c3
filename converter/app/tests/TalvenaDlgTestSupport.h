#pragma once
// The main dialog opened from a command line of the test's own, with the fake encoder, and the
// ways the tests drive and read it.
#include <memory>

#include "AppPaths.h"
#include "ConvertListItem.h"
#include "TalvenaCommandLine.h"
#include "TalvenaDlg.h"
#include "TalvenaRes.h"
#include "TalvenaTestSupport.h"

constexpr DWORD kDialogRunLimitMs = 120000;

template <class Dialog>
class MainDialogTest : public ConverterTest {
protected:
    void SetUp() override
    {
        ConverterTest::SetUp();
        ASSERT_EQ(0, m_paths.LocateModules());
        g_pAppPaths = &m_paths;
        SetModulePaths(FakeEncoderModules());
        m_settings.m_recentFolders.RemoveAll();
    }
    void TearDown() override
    {
        if (m_dialog) {
            m_dialog->StopConversion();
            if (m_dialog->m_hWnd)
                m_dialog->DestroyWindow();
            m_dialog.reset();
        }
        g_pAppPaths = nullptr;
        ConverterTest::TearDown();
    }

    Dialog& Open()
    {
        m_line.m_outputFolder = OutFolder();
        m_dialog = std::make_unique<Dialog>(&m_line);
        if (!m_dialog->Create(IDD_TALVENA_DIALOG))
            ADD_FAILURE() << "no dialog (is there a display?)";
        m_dialog->ShowWindow(SW_SHOW);
        return *m_dialog;
    }
    void Command(int id) { m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED)); }
    bool RunToEnd()
    {
        Command(IDC_CONVERT);
        return PumpUntil([&] { return !m_dialog->IsConverting(); }, kDialogRunLimitMs);
    }
    CString Cell(int row, int column) const { return m_dialog->m_list.GetItemText(row, column); }
    int Rows() const { return m_dialog->m_list.GetItemCount(); }
    int State(int row) const
    {
        const CConvertListItem* item = m_dialog->GetItem(row);
        return item ? item->m_state : -1;
    }

    CAppPaths m_paths;
    CTalvenaCommandLine m_line;
    std::unique_ptr<Dialog> m_dialog;
};
