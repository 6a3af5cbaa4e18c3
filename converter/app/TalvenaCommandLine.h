#pragma once
// The converter's command line: source files, "/o <folder>" for the output folder, "/s" to scan
// given folders' subfolders, "/?" or "/h" for the usage message. Portable.
#include "CString.h"
#include "Collections.h"

class CTalvenaCommandLine {
public:
    virtual ~CTalvenaCommandLine() = default;
    // Arguments 1 to argc-1: "-" or "/" starts a switch, compared whole and case-sensitively;
    // unknown switches are ignored. 0 when there are no arguments, else 1.
    virtual int Parse(int argc, const wchar_t* const* argv);

    static const wchar_t* UsageText();

    int m_usage = 0;
    CStringArray m_sources;
    CString m_outputFolder;
    int m_scanSubfolders = 0;
};
