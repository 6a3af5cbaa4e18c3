#pragma once
// The converter's main window: the job list, the format and preset choice, the output folder,
// and the conversion run with the status of every row.
#include <map>

#include "CDialog.h"
#include "Controls.h"
#include "JobStatusSink.h"
#include "StopFlag.h"

class CConvertListItem;
class CMediaFormatInfo;
class CMediaPreset;
class CMyMediaConvertThread;
class CTalvenaCommandLine;

class CTalvenaDlg : public CDialog, public CJobStatusSink {
    FW_DECLARE_MESSAGE_MAP()
public:
    // Takes its choices from the settings (and gives them back when it goes); the command
    // line's files are added when it opens, its output folder is the first choice.
    explicit CTalvenaDlg(CTalvenaCommandLine* commandLine = nullptr, CWnd* parent = nullptr);
    ~CTalvenaDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
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

    // 0 started, 1 already running, -1 refused (no output folder, or it cannot be made).
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
    void SetOutputText(const CString& text) override;
    void SetSizes(int64_t inputBytes, int64_t outputBytes) override;
    void SetTimes(int64_t inputMicroseconds, int64_t outputMicroseconds) override;
    void SetStatusText(const CString& text) override;

    CConvertListItem* GetItem(int row) const;

    CListCtrl m_list;
    CComboBox m_formatCombo;
    CComboBox m_presetCombo;
    CComboBox m_outputCombo;

    int m_alwaysOnTop = 0;
    int m_autoPlay = 0;
    int m_autoOpen = 0;
    int m_shutdown = 0;
    CMediaFormatInfo* m_currentFormat = nullptr;
    CMediaPreset* m_currentPreset = nullptr;
    CMyMediaConvertThread* m_thread = nullptr;
    int m_closing = 0;
    CString m_outputFolder;
    int m_formatIndex = 1;
    int m_presetIndex = -1;
    int m_closeWhenDone = 0;
    int m_sameAsInput = 0;
    int m_addToITunes = 0;
    int m_autoStart = 0;

private:
    void OnConvert();
    void OnStop();
    void OnSameAsInput();
    void OnCloseWhenDone();
    void OnFormatChanged();
    void OnPresetChanged();
    void OnDestroy();
    LRESULT OnConvertFinished(WPARAM, LPARAM);
    LRESULT OnRowDone(WPARAM, LPARAM);
    LRESULT OnCheckUpdate(WPARAM wParam, LPARAM lParam);

    void FillFormatCombo();
    void SelectFormat(int index);
    void FillPresetCombo();
    void SelectPreset(int index);
    void InitOutputFolder();
    void SetBusy(bool busy);
    void SetRowText(int column, const CString& text);
    void ShowSourceFailure(int row, const CConvertListItem& item);
    bool AllRowsCompleted() const;
    // Closes the window on its own, telling the program whether every row was converted.
    void CloseWhenDone();
    // Quoted paths of the completed rows' existing outputs, one blank apart.
    CString CompletedOutputs() const;

    CTalvenaCommandLine* m_commandLine;
    int m_exitCode = 0;
    std::map<CMediaFormatInfo*, int> m_chosenPresets;
};
