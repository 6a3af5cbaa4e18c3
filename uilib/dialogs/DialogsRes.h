#pragma once
// Resource ids of the library's dialogs (the templates are in AboutDlg.rc2).
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_DESCRIPTION 1001
#define IDC_ABOUT_WEB_SITE 1002
#define IDC_ABOUT_EMAIL 1004
#define IDC_ABOUT_TITLE 1022
#define IDC_ABOUT_RIGHTS 1024
#define IDC_ABOUT_VERSION 1026
