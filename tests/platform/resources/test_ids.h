// Resource numbers shared by test.rc and the tests.
#pragma once

#define IDS_TIME 1
#define IDS_LAP 17
#define IDS_NEUTRAL_ONLY 2
#define IDA_MAIN 1
#define IDM_GAME_NEW 200
#define IDM_GAME_EXIT 201
#define IDM_HELP 202
#define IDC_NAME 10
#define IDC_LABEL 11
#define IDM_MAIN 1
#define IDD_PAUSE 100
#define IDD_PAUSE_EX 101
#define IDR_TRACK 5
#define IDB_CAR 3
#define IDI_APP 1
