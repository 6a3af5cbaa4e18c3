#pragma once
// The converter's main window: the job list, the format and preset choice, the output folder,
// the two toolbars and the menus with every command, and the conversion run with the status of
// every row. Its members are defined by concern: TalvenaDlg.cpp (start-up and end), ...Layout,
// ...Formats, ...Commands, ...Menus, ...Files (adding files), ...Rows, ...Outputs and ...Run.
#include <atomic>
#include <map>
#include <vector>

#include "CDC.h"
#include "CImageList.h"
#include "CToolBar.h"
#include "Controls.h"
#include "DialogCommands.h"
#include "FormatComboBox.h"
#include "ColumnComboBox.h"
#include "FrameDlg.h"
#include "JobListCtrl.h"
#include "JobStatusSink.h"
#include "PathComboBoxEx.h"
#include "SkinButton.h"
#include "SkinCheckBox.h"
#include "StopFlag.h"

class CConvertItem;
class CConvertListItem;
class CMediaFormatInfo;
class CMediaPreset;
class CMyMediaConvertThread;
class CTalvenaCommandLine;

class CTalvenaDlg : public CFrameDlg, public CJobStatusSink, public CJobListOwner {
    FW_DECLARE_MESSAGE_MAP()
public:
    // Takes its choices from the settings (and gives them back when it goes); the command
    // line's files are added when it opens, its output folder is the first choice.
    explicit CTalvenaDlg(CTalvenaCommandLine* commandLine = nullptr, CWnd* parent = nullptr);
    ~CTalvenaDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A row for the GIF; its index, or -1 when the file cannot be read as a source. A file the
    // user named gets a row that says why it is no source; one found in a folder or a list
    // does not.
    int AddFile(const CString& path, bool named = true);
    // A GIF, or every entry of an .m3u or .pls list.
    void AddPath(const CString& path, bool named = true);
    // Folders are scanned with the default filter ("FolderDialog.DefaultFilter").
    void AddFiles(const CStringArray& paths, int scanSubfolders);
    void AddFolder(const CString& folder, const CString& patterns, int recursive);
    // The list's row and its item go; the row being converted stays until its run has ended
    // (whether the remove button, a command or a drag out of the list asked).
    void RemoveRow(int row) override;

    // 0 started, 1 already running, -1 refused (no output folder, it cannot be made, or the
    // thread cannot be started; the user has been told why).
    int StartConversion();
    // 0 stopped, 1 when nothing ran.
    int StopConversion();
    bool IsConverting() const { return m_thread != nullptr; }
    // The rows one after another, on the conversion thread; 1 when stopped, else 0. Rows of
    // files that are no source are passed over.
    int ConvertAll(CStopFlag* stop);
    // The program's exit status: 1 once the window closed itself after a run (or with nothing
    // to run) that left a row unconverted, else 0.
    int GetExitCode() const { return m_exitCode; }

    // The row being converted.
    void SetStateImage(int image) override;
    void SetTextColor(COLORREF colour) override;
    void SetOutputText(const CString& text) override;
    void SetSizes(int64_t inputBytes, int64_t outputBytes) override;
    void SetTimes(int64_t inputMicroseconds, int64_t outputMicroseconds) override;
    void SetStatusText(const CString& text) override;

    CConvertListItem* GetItem(int row) const;
    // What the enabling rules of the commands look at, as things stand.
    DialogCommandState GetCommandState() const;

    HACCEL m_accelerators = nullptr;
    CToolBar m_listToolBar;
    CToolBar m_menuToolBar;
    CImageList m_menuToolImages;
    CImageList m_listToolImages;
    CImageList m_listToolDisabledImages;
    CImageList m_rowHeightImages;
    CImageList m_stateImages;
    CImageList m_buttonSkinSmall;
    CImageList m_buttonSkinLarge;
    CImageList m_labelIcons;
    CBrush m_backgroundBrush;
    COLORREF m_backgroundColour = RGB(248, 248, 248);
    int m_topBandHeight = 48;
    int m_bottomBandHeight = 52;
    int m_alwaysOnTop = 0;
    int m_autoPlay = 0;
    int m_autoOpen = 0;
    int m_shutdown = 0;
    CMediaFormatInfo* m_currentFormat = nullptr;
    CMediaPreset* m_currentPreset = nullptr;
    CMyMediaConvertThread* m_thread = nullptr;
    int m_closing = 0;
    CJobListCtrl m_list;
    CSkinButton m_browseButton;
    CSkinButton m_openButton;
    CSkinButton m_advancedButton;
    CSkinButton m_closeButton;
    CSkinButton m_stopButton;
    CSkinButton m_convertButton;
    CSkinCheckBox m_closeCheck;
    CHistoryComboBoxEx m_outputCombo;
    CColumnComboBox m_presetCombo;
    CFormatComboBox m_formatCombo;
    CString m_outputFolder;
    int m_formatIndex = 1;
    int m_presetIndex = -1;
    int m_closeWhenDone = 0;
    int m_sameAsInput = 0;
    int m_addToITunes = 0;
    int m_autoStart = 0;

protected:
    // Seams for the tests: the thread's start and the shell's open verb.
    virtual BOOL BeginConvertThread(CMyMediaConvertThread* thread);
    virtual void ShellOpen(const CString& file);

    int OnCreate(LPCREATESTRUCTW create);
    void OnDestroy();
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* dc);
    LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnContextMenu(CWnd* wnd, CPoint point);
    LRESULT OnDropFiles(WPARAM wParam, LPARAM);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopupMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnIdleUpdate(WPARAM, LPARAM);
    LRESULT OnQueryEndSession(WPARAM, LPARAM);
    LRESULT OnSysColorChange(WPARAM, LPARAM);
    LRESULT OnConvertFinished(WPARAM, LPARAM);
    LRESULT OnRowDone(WPARAM, LPARAM);
    LRESULT OnCheckUpdate(WPARAM wParam, LPARAM lParam);

    void OnConvert();
    void OnStop();
    void OnConvertMenu();
    void OnStopMenu();
    void OnSameAsInput();
    void OnCloseWhenDone();
    void OnAddToITunesCheck();
    void OnFormatChanged();
    void OnPresetChanged();
    void OnBrowse();
    void OnOpenFolder();
    void OnAddGif();
    void OnAddFolder();
    void OnPasteFiles();
    void OnRemove();
    void OnRemoveAll();
    void OnPlayOutput();
    void OnPlayAllOutputs();
    void OnCopyOutput();
    void OnCopyAllOutputs();
    void OnRenameOutput();
    void OnPlayInput();
    void OnOpenInputFolder();
    void OnOpenOutputFolder();
    void OnSelectAll();
    void OnMinimizeRestore();
    void OnAutoPlay();
    void OnAutoOpen();
    void OnShutdownWhenDone();
    void OnAbout();
    void OnAdvanced();
    void OnFormatManager();
    void OnAdvancedOptions();
    void OnMediaInfo();
    void OnAddToITunesRow();
    void OnAddAllToITunes();
    void OnUpdateRule(CCmdUI* cmdUI);
    void OnUpdateAutoPlay(CCmdUI* cmdUI);
    void OnUpdateAutoOpen(CCmdUI* cmdUI);
    void OnUpdateShutdown(CCmdUI* cmdUI);

    void OnListDoubleClick(NMHDR* header, LRESULT* result);
    void OnListKeyDown(NMHDR* header, LRESULT* result);
    void OnListClick(NMHDR* header, LRESULT* result);
    void OnListBeginLabelEdit(NMHDR* header, LRESULT* result);
    void OnListEndLabelEdit(NMHDR* header, LRESULT* result);
    void OnListItemInserted(NMHDR* header, LRESULT* result);
    void OnListItemDeleted(NMHDR* header, LRESULT* result);
    void OnToolbarDropDown(UINT id, NMHDR* header, LRESULT* result);

private:
    int CreateToolBars();
    int CreateImageLists();
    void SetUpButtons();
    void SetUpList();
    void InitOutputFolder();
    void FillFormatCombo();
    void SelectFormat(int index);
    void FillPresetCombo();
    void SelectPreset(int index);
    void SetBusy(bool busy);
    void SetAlwaysOnTop(bool on);
    void LayOut(int cx, int cy);
    void PaintBackground(CDC& dc);
    void SetRowText(int column, const CString& text);
    void ShowSourceFailure(int row, const CConvertListItem& item);
    void ShowRowCount();
    void ShowMessage(const wchar_t* text);
    void ShowMenu(int popup, UINT flags, CPoint point, UINT defaultCommand, const RECT* exclude);
    // Starts the row's rename when its output exists.
    void StartRename(int row);
    bool AllRowsCompleted() const;
    // Closes the window on its own, telling the program whether every row was converted.
    void CloseWhenDone();
    // Asks before a run is cut short by closing; false keeps the window open.
    bool ConfirmCloseDuringRun();
    // Whether stopping the run now would cut a conversion short: a row still to come, or the
    // current one not at its end (after its end the run only finishes the row's item).
    bool RunHasWorkLeft() const;
    // The existing outputs of the completed rows (selected ones only, or all).
    void CompletedOutputs(bool selectedOnly, CStringArray& outputs) const;
    void PlayOutputs(bool selectedOnly);
    void CopyOutputs(bool selectedOnly);
    void AddOutputsToITunes(bool selectedOnly);
    // The rows' items in row order (selected ones only, or all).
    std::vector<const CConvertItem*> RowItems(bool selectedOnly) const;
    void OpenFolderWithExplorer(const CString& folder);
    bool IsRowSelected(int row) const;
    CConvertListItem* SelectedIdleItem() const;

    CTalvenaCommandLine* m_commandLine;
    int m_exitCode = 0;
    // The run's hand-over to iTunes failed; told when the run has ended.
    std::atomic<bool> m_iTunesFailed{false};
    // The run is past its last row: written by the run, before the current row goes back to -1.
    std::atomic<bool> m_runPastRows{false};
    // A stop is waiting for the run's end; a close asked for meanwhile comes after it.
    bool m_stopping = false;
    bool m_closeAfterStop = false;
    std::map<CMediaFormatInfo*, int> m_chosenPresets;
};
