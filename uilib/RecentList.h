#pragma once
// Most-recently-used lists of texts kept in a profile section and shown as a run of menu
// commands.
#include "CCmdTarget.h"
#include "CString.h"
#include "Collections.h"

class CRecentListBase {
public:
    CStringArray m_items;            // most recent first
    int m_nMaxCount = 10;
    CString m_strSection;            // profile section, e.g. "Recent\\Files"
    CString m_strEntryFormat;        // value names from the 1-based entry number, e.g. "%02d"

    virtual ~CRecentListBase() = default;
    // Puts the trimmed text in front, dropping an equal entry and what exceeds the maximum.
    virtual void Add(const wchar_t* text);
    virtual void Remove(int index);
    virtual void Load();
    // Replaces the profile section with the items.
    virtual void Save();
    // Equal entries: exact comparison here.
    virtual bool Compare(const CString& a, const CString& b) const { return a == b; }

    int GetCount() const { return m_items.GetSize(); }
    const CString& GetAt(int index) const { return m_items[index]; }
    void RemoveAll() { m_items.RemoveAll(); }

protected:
    CString EntryName(int number) const;
    void CutToMaximum();
};

class CRecentList : public CRecentListBase {
public:
    int m_bFullPath = 1;            // 0: the menu shows file names only
    CString m_strEmptyText;         // placeholder text when the list is empty

    // Paths compare without regard to letter case.
    bool Compare(const CString& a, const CString& b) const override;
    // Rebuilds the menu's run of commands from the update record of its first command (the
    // placeholder); returns the entries shown, or -1 without a menu.
    virtual int UpdateMenu(CCmdUI* ui, int insertPos = -1);
};
