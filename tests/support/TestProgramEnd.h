#pragma once
// How a windows test program ends once its tests have run. Windows only.
#include <windows.h>

#include <cstdio>

// Ends the program at once with the tests' result, its output written out. The runtime's
// teardown at exit can wait for ever under Wine: a static destructor deletes a key of the
// threads library and waits for a lock that a thread ending at the same moment left taken. Nothing
// is left to do by then: the tests' files are closed and their result is known.
[[noreturn]] inline void EndTestProgram(int result)
{
    std::fflush(nullptr);
    ::TerminateProcess(::GetCurrentProcess(), static_cast<UINT>(result));
    ::ExitProcess(static_cast<UINT>(result));
}
