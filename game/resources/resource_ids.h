// The program's resource, command and control numbers, shared by the resource script
// and the code; plain #defines so the resource compiler reads them too.
#pragma once

// Strings.
#define IDS_APP_TITLE 1
#define IDS_APP_CLASS 2
#define IDS_OK_LABEL 103
#define IDS_HELP_LABEL 104

// Pictures and the icon.
#define IDB_CAR_SHEET 129
#define IDB_MARKER 131
#define IDB_DIAL 132
#define IDI_APP 101

// The soft-key bar (RCDATA) and the menu of its pop-ups share a number.
#define IDR_MENU_BAR 102
#define IDR_MENU 102

#define IDA_SHORTCUTS 2

#define IDD_ABOUT 105
#define IDD_ABOUT_OLD 106
#define IDC_ABOUT_ICON 201
#define IDC_ABOUT_VERSION 202
#define IDC_ABOUT_HINT 203

// Commands: the soft keys, the help menu and the shortcuts.
#define CMD_OK 40000
#define CMD_HELP 40001
#define CMD_ABOUT 40002
