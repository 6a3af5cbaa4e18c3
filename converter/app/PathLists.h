#pragma once
// Paths handed over as text: a pasted list (one path a line, quoted or not, or file URLs as
// file managers put them on the clipboard) and the quoted list the viewer takes. Portable.
#include "CString.h"
#include "Collections.h"

// Every path of the text in order; blank lines, and lines that name nothing, are left out.
void ParsePathList(const CString& text, CStringArray& paths);
// "file:///C:/a%20b.gif" as the path it names ("C:\a b.gif"); other texts unchanged.
CString PathFromFileUrl(const CString& text);
// Each path in double quotes, one blank apart, for a program's command line.
CString QuotePathList(const CStringArray& paths);
