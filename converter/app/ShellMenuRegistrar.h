#pragma once
// The file manager's "Convert with" entry: the library Pellmot.dll beside the program,
// registered with regsvr32, and the two handler keys it makes (for all files and for folders).
#include "CString.h"

class CShellMenuRegistrar {
public:
    virtual ~CShellMenuRegistrar() = default;

    // On: registers the library (without waiting); off: removes the handler keys. 0 or -1.
    int Register(bool on);
    // Runs "regsvr32.exe /s /c <library>" hidden; -1 when the library is missing.
    int RegisterDll();

    CString m_library = L"Pellmot.dll";
};

// Removes the handler keys; the number removed (0 to 2).
int UnregisterShellMenu();
// The number of handler keys that can be opened (0 to 2).
int IsShellMenuRegistered();
