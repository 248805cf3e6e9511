#pragma once
#define IDD_DRIVER_TARGET   600
#define IDC_TARGET_EDIT     601
#define IDC_TARGET_COMBO    602
#define IDC_TARGET_LINK     603
#define IDC_TARGET_ASK      604
#define IDC_TARGET_STATUS   605
