#pragma once
// Resource and control ids of the library's shell windows (UiShell.rc).
#define IDD_FOLDER_DIALOG 104
// Programs include these resources in their own module: the ids stay clear of theirs (Sorvik's
// drag-remove cursor is 135).
#define IDC_LOADING_ANIMATION 105

#define IDC_FOLDER_PATTERN 1018
#define IDC_FOLDER_TREE 1019
#define IDC_FOLDER_PROMPT 1022
#define IDC_FOLDER_SCAN_SUBFOLDERS 1025
#define IDC_FOLDER_PATTERN_LABEL 1028
#define IDC_FOLDER_PRESETS 1032
