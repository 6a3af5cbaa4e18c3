// Harrowin: the converter's probe. "Harrowin INPUT -o XMLPATH [more options]" describes the
// input with the system's ffprobe (run through the unixrun helper beside it) and writes the
// "MediaInfo" XML document to XMLPATH. Options after these are accepted and not used.
// Exit codes: 0 written, 1 the input cannot be described, 2 bad command line, 3 cannot run ffprobe.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ProbeTranslation.h"
#include "UnixChild.h"

namespace {

void Report(const std::string& text)
{
    std::fprintf(stderr, "Harrowin: %s\n", text.c_str());
}

// The first argument that is no option, and the one after "-o".
bool ReadArguments(CString& input, CString& xmlPath)
{
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i < count; ++i) {
        const CString arg = argv[i];
        if (arg == L"-o" && i + 1 < count)
            xmlPath = argv[++i];
        else if (input.IsEmpty() && !arg.IsEmpty() && arg[0] != L'-')
            input = arg;
    }
    LocalFree(argv);
    return !input.IsEmpty() && !xmlPath.IsEmpty();
}

} // namespace

int main()
{
    CString input, xmlPath;
    if (!ReadArguments(input, xmlPath)) {
        Report("usage: Harrowin INPUT -o XMLPATH");
        return 2;
    }
    std::string unixInput;
    if (GetFileAttributesW(input) == INVALID_FILE_ATTRIBUTES || !CUnixChild::ToUnixPath(input, unixInput)) {
        Report("no such file: " + input.ToUtf8());
        return 1;
    }
    CUnixChild child;
    if (child.Create() != 0 ||
        child.Start({"ffprobe", "-v", "error", "-print_format", "xml", "-show_format", "-show_streams",
                     "-count_packets", unixInput},
                    {}) != 0) {
        Report(child.GetError().ToUtf8());
        return 3;
    }
    child.WaitDone(INFINITE);
    std::string xml;
    if (child.GetExitCode() != 0 || !TranslateProbeXml(child.ReadJobFile(L"stdout"), xml)) {
        Report(child.GetStatus() + ": " + child.ReadJobFile(L"stderr"));
        return 1;
    }
    if (!WriteWholeFile(xmlPath, xml)) {
        Report("cannot write " + xmlPath.ToUtf8());
        return 1;
    }
    return 0;
}
