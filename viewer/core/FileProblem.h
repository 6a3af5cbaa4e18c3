#pragma once
// Why a file cannot be played, told to the user in place of the picture (portable).
#include "CString.h"

enum : int {
    PROBLEM_NONE = 0,
    PROBLEM_MISSING,
    PROBLEM_UNREADABLE,
    PROBLEM_EMPTY,
    PROBLEM_DAMAGED_GIF,
    PROBLEM_PNG,
    PROBLEM_JPEG,
    PROBLEM_BMP,
    PROBLEM_ICO,
    PROBLEM_NOT_GIF,
};

// Looks at the file itself (its presence and its first bytes) to say why it did not play.
int DiagnoseUnplayableFile(const CString& path);
// The sentence for a problem; PROBLEM_NONE gives the general one.
const wchar_t* ProblemText(int problem);
