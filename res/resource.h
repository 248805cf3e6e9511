// Resource identifiers of TiqoraDesk.exe: dialog templates, control ids,
// strings, icons. Control ids are those the dialogs and their callers share.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

// Dialog templates
#define IDD_ABOUTBOX            100
#define IDD_TIQORA_DIALOG       102
#define IDD_SYSTEM_ADMIN        144
#define IDD_FEEDBACK            171
#define IDD_POPUP               193

// Strings
#define IDS_ABOUTBOX            101

// Icons
#define IDR_MAINFRAME           128
#define IDI_TIQORA              138

// System menu command of the About box (masked with 0xFFF0 when received)
#define IDM_ABOUTBOX            0x0010

// Support request form (template 102)
#define IDC_REQUEST_CLOSE       1029
#define IDC_REQUEST_MIN         1030

// IT ticket form (template 144)
#define IDC_TICKET_CANCEL       1027
#define IDC_TICKET_X            1035

// Feedback (template 171)
#define IDC_FEEDBACK_X          1103

// Reply notification popup (template 193)
#define IDC_POPUP_OPEN          1027
#define IDC_POPUP_CLOSE         1008
#define IDC_POPUP_TEXT          1126

// About box (template 100)
#define IDC_ABOUT_TEXT          1200
