#pragma once
// Registers a document type of the running program and binds a file extension to it,
// remembering the extension's previous binding so that it can be restored.
#include <windows.h>

#include "CString.h"

class CFileAssociation {
public:
    CString m_strExtension;     // ".gif"
    CString m_strTypeKey;       // the type's key name
    CString m_strDescription;
    int m_nIconIndex;           // icon of the program file, -1 for none
    int m_reserved1 = 0;
    int m_reserved2 = 0;

    CFileAssociation(const wchar_t* extension, const wchar_t* typeKey, const wchar_t* description, int iconIndex);
    virtual ~CFileAssociation() = default;

    // Where a classes key lives: the user's classes from Vista on, else the machine's.
    static void GetClassesKey(const wchar_t* name, HKEY& root, CString& path);

    virtual bool IsAssociated();
    // Binds the extension to the type; `previous` gets the binding it had.
    virtual bool GetAssociation(CString& previous);
    // Gives the extension back to `previous` (or clears its binding); false when the extension
    // is not bound to this type, so nothing was changed.
    virtual bool SetAssociation(const wchar_t* previous);
    virtual bool IsTypeRegistered();
    virtual bool RegisterType(const wchar_t* programPath);
    virtual bool UnregisterType();

private:
    bool Usable() const { return !m_strExtension.IsEmpty() && !m_strTypeKey.IsEmpty(); }
    // The classes key `name` has `expected` as its default value.
    bool DefaultIs(const CString& name, const CString& expected);
};
