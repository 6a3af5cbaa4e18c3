#pragma once
// The window-free parts of the folder trees (portable): the steps of a walk down a path and the
// width of the loading bar.
#include "CString.h"
#include "Collections.h"

// The partial paths a walk from the computer folder passes on its way to `path`, one per
// component: "C:\\", "C:\\Users", "C:\\Users\\Ann". Forward slashes count as backslashes and
// trailing backslashes are dropped; an empty path gives none.
CStringArray ShellPathSteps(const wchar_t* path);

// Width of the loading bar's fill, 0 to kLoadingBarFill: current × 50 / total with a total;
// without one (total 0 or less) a curve that starts at 0, grows with every item and stays below
// the full width for any count.
constexpr int kLoadingBarFill = 50;
int LoadingBarFillWidth(int total, int current);
