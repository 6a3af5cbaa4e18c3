#include "TalvenaCommandLine.h"

int CTalvenaCommandLine::Parse(int argc, const wchar_t* const* argv)
{
    if (argc < 2)
        return 0;
    for (int i = 1; i < argc; ++i) {
        const CString argument = argv[i] ? argv[i] : L"";
        if (argument.IsEmpty() || (argument[0] != L'-' && argument[0] != L'/')) {
            m_sources.Add(argument);
            continue;
        }
        const CString name = argument.Mid(1);
        if (name == L"?" || name == L"h") {
            m_usage = 1;
        } else if (name == L"o") {
            if (i + 1 < argc)
                m_outputFolder = argv[++i];
        } else if (name == L"s") {
            m_scanSubfolders = 1;
        }
    }
    return 1;
}

const wchar_t* CTalvenaCommandLine::UsageText()
{
    return L"Usage: Talvena <source file1> [<source file2> <source file3> ...] [/o <output folder>]";
}
