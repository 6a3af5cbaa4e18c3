// The entry of the framework's GUI programs: the one application object runs the program.
#include "CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand)
{
    CWinApp* app = FwGetApp();
    return app ? app->Main(instance, commandLine, showCommand) : -1;
}
