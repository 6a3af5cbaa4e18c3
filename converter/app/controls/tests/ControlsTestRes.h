#pragma once
// Resource ids of the controls' test program.
#define IDD_CONTROLS_TEST 100
#define IDR_TEST_MENU 110

#define IDC_TEST_LIST 1086
#define IDC_TEST_EDIT 1200
#define IDC_TEST_BUTTON 1201

// Commands with prompts in the string table.
#define ID_TEST_WITH_TIP 32781
#define ID_TEST_NO_NEWLINE 32782
#define ID_TEST_LONG_TIP 32783
#define ID_TEST_HANDLED 32790
#define ID_TEST_UNHANDLED 32791
#define ID_TEST_SUB_FIRST 32792
