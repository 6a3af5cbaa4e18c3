#pragma once
// Picks a folder in the shell tree, with a file-name pattern (typed or from presets) and whether
// subfolders are scanned.
#include <atomic>

#include "CDialog.h"
#include "CWinThread.h"
#include "controls/ImageComboBox.h"
#include "shell/ShellMenuTreeCtrl.h"

// Posted by the initial-selection worker when it ends.
constexpr UINT WM_FOLDER_SELECT_DONE = 0x5B8;
// Sent by that worker: carry out step wParam of the walk to the initial folder (0: start at the
// computer folder; the last one selects). Answers 1 while steps remain.
constexpr UINT WM_FOLDER_SELECT_STEP = WM_APP + 0x1B8;
// Posted to itself on a pattern-list choice: the combo box writes the entry's own text into its
// edit part after telling of the change, so the preset's patterns go in afterwards.
constexpr UINT WM_FOLDER_SHOW_PRESET = WM_APP + 0x1B9;

class CFolderDialog : public CDialog {
    FW_DECLARE_MESSAGE_MAP()
public:
    CString m_strTitle;            // replaces the caption when not empty
    CString m_strInitialFolder;    // selected at start when it exists
    int m_nInitialPreset = -1;
    CString m_strPresets;          // "name|patterns|name|patterns...", patterns separated by ";"
    CString m_strFolder;           // the chosen folder
    CString m_strPatternList;      // the pattern combo's entries, separated by "|"
    CString m_strPattern;
    CString m_strPrompt;
    int m_bScanSubfolders = 0;

    CShellMenuTreeCtrl m_tree;
    CImageComboBox m_comboPattern;
    CToolTipCtrl m_toolTip;
    CScrollBar m_sizeGrip;
    CWinThread* m_pSelectThread = nullptr;

    explicit CFolderDialog(CWnd* parent = nullptr);
    ~CFolderDialog() override;

    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    int OnCreate(LPCREATESTRUCTW cs);
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM lParam);
    void OnPresetButton();
    void OnPatternSelChange();
    LRESULT OnShowPreset(WPARAM, LPARAM);
    void ShowPresetPatterns();
    LRESULT OnSelectDone(WPARAM, LPARAM);
    LRESULT OnSelectStep(WPARAM step, LPARAM);
    void Layout();

private:
    // The worker's side: the dialog to send its steps to and the word that stops it.
    struct SelectJob {
        HWND dialog = nullptr;
        std::atomic<int> cancel{0};
    };
    SelectJob m_selectJob;
    CStringArray m_selectSteps;
    HTREEITEM m_hSelectItem = nullptr;

    void StartSelectThread();
    // Stops the worker (when `cancel`) and waits for it, serving the steps it still sends.
    void JoinSelectThread(bool cancel);
    static UINT SelectThreadProc(void* job);
    CString PresetPatterns(int index) const;
};
