#pragma once
// Splits a command line the way the Windows C runtime and CommandLineToArgvW do, so tests can
// check what the started program will see as its arguments.
#include <vector>

#include "CString.h"

inline std::vector<CString> SplitCommandLine(const CString& line)
{
    std::vector<CString> args;
    const wchar_t* p = line.GetString();
    // Program name: up to the closing quote, or to the first blank; no escapes.
    CString program;
    if (*p == L'"') {
        for (++p; *p && *p != L'"'; ++p)
            program += *p;
        if (*p)
            ++p;
    } else {
        for (; *p && *p != L' ' && *p != L'\t'; ++p)
            program += *p;
    }
    args.push_back(program);
    for (;;) {
        while (*p == L' ' || *p == L'\t')
            ++p;
        if (!*p)
            break;
        CString arg;
        bool quoted = false;
        while (*p && (quoted || (*p != L' ' && *p != L'\t'))) {
            int backslashes = 0;
            while (*p == L'\\') {
                ++backslashes;
                ++p;
            }
            if (*p == L'"') {
                arg += CString(L'\\', backslashes / 2);
                if (backslashes % 2) {
                    arg += L'"';
                } else if (quoted && p[1] == L'"') {
                    arg += L'"';
                    ++p;
                } else {
                    quoted = !quoted;
                }
                ++p;
            } else {
                arg += CString(L'\\', backslashes);
                if (*p && (quoted || (*p != L' ' && *p != L'\t')))
                    arg += *p++;
            }
        }
        args.push_back(arg);
    }
    return args;
}
