#pragma once
#define IDD_TEST_DIALOG     500
#define IDC_TEST_OWNERDRAW  501
#define IDC_TEST_LABEL      502
#define IDC_TEST_PLAIN      503
#define IDB_TEST_STRIP_84   510
#define IDB_TEST_STRIP_86   511
#define IDB_TEST_SKIN       512
#define IDB_TEST_SKIN_TRUNCATED 513
#define IDD_KIT_DIALOG      520
#define IDC_KIT_BUTTON      521
#define IDC_KIT_BUTTON2     522
#define IDC_KIT_STATIC      523
#define IDC_KIT_LIST        524
