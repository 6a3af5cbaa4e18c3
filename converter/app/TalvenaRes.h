#pragma once
// Resource ids of the converter.

#define IDR_MAINFRAME 128
#define IDD_TALVENA_DIALOG 128
#define IDD_FILE_EXISTS 501
#define IDD_MEDIA_INFO 531

#define IDB_ICONS12 154
#define IDB_ICONS16 197
#define IDB_ICONS32 166
// The job list's header background, remove button, info-line bullet and state images.
#define IDB_LIST_HEADER 711
#define IDB_REMOVE_BUTTON 159
#define IDB_INFO_ICON 146
#define IDB_JOB_STATES 707
#define IDC_CURSOR_HAND 800
#define IDC_CURSOR_MOVE 136
#define IDC_CURSOR_REMOVE 192

// Main dialog controls.
#define IDC_CONVERT 1000
#define IDC_STOP 1003
#define IDC_PRESET 1008
#define IDC_OUTPUT_FOLDER 1010
#define IDC_ADVANCED 1021
#define IDC_ADD_TO_ITUNES 1038
#define IDC_CLOSE_WHEN_DONE 1043
#define IDC_SAVE_TO_LABEL 1047
#define IDC_FORMAT_LABEL 1049
#define IDC_SAME_AS_INPUT 1063
#define IDC_FORMAT 1073
#define IDC_JOB_LIST 1086

// File-exists prompt controls.
#define IDC_EXISTS_ICON 1002
#define IDC_EXISTS_NAME 1025
#define IDC_EXISTS_NEW_NAME 1029
#define IDC_EXISTS_HEADING 1052
#define IDC_EXISTS_REMEMBER 1078
#define IDC_EXISTS_OVERWRITE 1081
#define IDC_EXISTS_SAVE_AS_NEW 1109
#define IDC_EXISTS_AUTO_CLOSE 2151

// Media information dialog controls.
#define IDC_INFO_INPUT_PATH 1055
#define IDC_INFO_INPUT_LIST 1056
#define IDC_INFO_OUTPUT_LIST 1059
#define IDC_INFO_OUTPUT_PATH 1060

// Application commands.
#define ID_OPEN_NEW_WINDOW 32772
#define ID_SETTINGS 32777
#define ID_EMAIL_US 32814
#define ID_WEB_SITE 32815
#define ID_RECOMMEND 32822
#define ID_HELP_PAGE 32831
#define ID_CHECK_UPDATES 32834
#define ID_APP_ABOUT 57664
