// The controls' test program: the common control classes and OLE, as the converter starts them
// (auto-completion and the folder browser need OLE on the window thread).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "TestProgramEnd.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::OleInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    EndTestProgram(result);
}
