#pragma once
// Resource ids of the framework's test program.
#define IDD_ENTRY 100
#define IDC_NAME 1001
#define IDC_COUNT 1002
#define IDC_FLAG 1003
#define IDC_CHOICE_A 1004
#define IDC_CHOICE_B 1005
#define IDC_PICK 1006

#define IDR_SAMPLE 128
#define ID_VIEW_COMMAND 32771
#define ID_DOC_COMMAND 32772
#define ID_OPEN_DIALOG 32773
#define ID_NOBODY 32774
#define ID_APP_COMMAND 32775

#define IDR_TEST_TOOLBAR 300
#define IDR_BAD_TOOLBAR 301
#define ID_TOOL_ADD 32781
#define ID_TOOL_REMOVE 32791
#define ID_TOOL_MORE 32829
