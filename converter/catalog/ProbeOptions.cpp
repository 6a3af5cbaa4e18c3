#include "ProbeOptions.h"

#include "CommandLineBuilder.h"

CString BuildProbeCommandLine(const CString& program, const CProbeOptions& options)
{
    CCommandLineBuilder line;
    line.Append(program, CCommandLineBuilder::QUOTE_PROGRAM);
    line.AppendQuoted(options.m_input);
    line.Append(L"-o");
    line.AppendQuoted(options.m_xmlPath);
    line.Append(options.m_extraOptions, CCommandLineBuilder::VERBATIM);
    return line.GetText();
}

int CheckProbeInput(const CString& input)
{
    const int dot = input.ReverseFind(L'.');
    if (dot < 0)
        return 0;
    CString extension = input.Mid(dot);
    extension.MakeLower();
    return extension == L".log" || extension == L".txt" ? -1 : 0;
}
