#pragma once
// Combo boxes of paths: shell auto-completion in the edit part, entries with their system
// icons found under the file system's comparison, dropped files and folders, and a history
// kept in a recent-items list with an entry that clears it.
#include "controls/ImageComboBox.h"

class CRecentListBase;

class CPathComboBoxEx : public CImageComboBox {
    FW_DECLARE_MESSAGE_MAP()
public:
    enum { MODE_FILES = 0x1, MODE_FOLDERS = 0x2 };

    // Before creation or subclassing: which paths it completes and accepts when dropped.
    void SetMode(int mode) { m_mode = mode; }

    // Paths compare as the file system does (case ignored).
    int FindStringExact(int start, const wchar_t* text) const override;
    // The path with its small system icon when it exists, else with none.
    virtual int InsertPath(int index, const wchar_t* path);
    // -1 for an empty path. A listed path moves to the top with its icon; an unlisted one is
    // added at the top with `insert`, else it only becomes the edit text (and -1 is answered).
    // The top entry is selected.
    virtual int SelectPath(const wchar_t* path, BOOL insert);

    int m_mode = 0;
    int m_autoComplete = 0;

protected:
    void PreSubclassWindow() override;
    int OnCreate(LPCREATESTRUCTW create);
    LRESULT OnDropFiles(WPARAM wParam, LPARAM);
    void SetUpAutoComplete();
    bool Accepts(const CString& path) const;
};

class CHistoryComboBoxEx : public CPathComboBoxEx {
    FW_DECLARE_MESSAGE_MAP()
public:
    // The history (not owned) and the text of the last entry that clears it; refills.
    void SetHistory(CRecentListBase* history, const wchar_t* clearText);
    // Every non-empty history entry in order with its icon, then the clear entry (when there is
    // at least one entry and a clear text).
    virtual void Refill();
    int SelectPath(const wchar_t* path, BOOL insert) override;
    // Whether `index` is the entry that clears the history.
    bool IsClearEntry(int index) const;

    CRecentListBase* m_history = nullptr;
    CString m_clearText;

protected:
    void OnDropDownRefill();
    BOOL OnSelEndOk();
    LRESULT OnRestoreText(WPARAM, LPARAM);

private:
    // The text shown when the box last dropped down.
    CString m_textBeforeClear;
};
