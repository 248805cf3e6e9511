#pragma once
#define IDD_TEST_DIALOG     500
#define IDC_TEST_OWNERDRAW  501
#define IDC_TEST_LABEL      502
#define IDC_TEST_PLAIN      503
