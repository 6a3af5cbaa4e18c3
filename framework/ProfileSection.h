#pragma once
// Typed reads and writes of one section of the application's profile. Truth values are stored
// as 0 or 1 and any non-zero stored number reads as true.
#include "CWinApp.h"

class CProfileSection {
public:
    explicit CProfileSection(const wchar_t* section) : m_section(section) {}

    int ReadInt(const wchar_t* key, int current) const { return FwGetApp()->GetProfileInt(m_section, key, current); }
    int ReadBool(const wchar_t* key, int current) const { return ReadInt(key, current) != 0 ? 1 : 0; }
    CString ReadString(const wchar_t* key, const CString& current) const
    {
        return FwGetApp()->GetProfileString(m_section, key, current);
    }
    void WriteInt(const wchar_t* key, int value) const { FwGetApp()->WriteProfileInt(m_section, key, value); }
    void WriteBool(const wchar_t* key, int value) const { WriteInt(key, value ? 1 : 0); }
    void WriteString(const wchar_t* key, const CString& value) const
    {
        FwGetApp()->WriteProfileString(m_section, key, value);
    }

private:
    const wchar_t* m_section;
};
