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

#define IDD_SKIN_TEST 200
#define IDC_SKIN_BUTTON 1301
#define IDC_SKIN_CHECK 1302
#define IDC_SKIN_STATIC 1303
#define IDC_COLUMN_COMBO 1304
#define IDC_PATH_COMBO 1305
#define IDC_SIZE_COMBO 1306
#define IDC_HEADER_LIST 1307
#define IDC_FORMAT_COMBO 1308
#define IDC_TREE 1309
