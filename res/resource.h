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
#define IDD_MESSAGE             160
#define IDD_FEEDBACK            171
#define IDD_TICKET_HISTORY      166
#define IDD_POPUP               193

// Strings
#define IDS_ABOUTBOX            101

// Icons
#define IDR_MAINFRAME           128
#define IDI_TIQORA              138

// Bitmaps: dialog skins
#define IDB_SKIN_REQUEST        139
#define IDB_SKIN_HISTORY        142
#define IDB_SKIN_TICKET         146
#define IDB_MESSAGE_POSITIVE    164
#define IDB_MESSAGE_NEGATIVE    165
#define IDB_SKIN_FEEDBACK       172
#define IDB_SKIN_TRACK          192
#define IDB_SKIN_POPUP          206

// Bitmaps: hover button strips (normal, pressed, mouse over side by side)
#define IDB_STRIP_CLOSE         140
#define IDB_STRIP_MIN           141
#define IDB_STRIP_CANCEL        150
#define IDB_STRIP_SCREENSHOT    152
#define IDB_STRIP_SUBMIT        155
#define IDB_STRIP_OK            162
#define IDB_STRIP_X             167
#define IDB_STRIP_HISTORY       170
#define IDB_STRIP_WHATSAPP      179
#define IDB_STRIP_REMOTE        187
#define IDB_STRIP_OPEN_TICKET   194

// Cursor
#define IDC_HAND_CURSOR         190

// System menu command of the About box (masked with 0xFFF0 when received)
#define IDM_ABOUTBOX            0x0010

// Support request form (template 102)
#define IDC_REQUEST_NAME        1000
#define IDC_REQUEST_MOBILE      1001
#define IDC_REQUEST_CITY        1002
#define IDC_REQUEST_STATE       1003
#define IDC_REQUEST_CUSTOMER    1005
#define IDC_REQUEST_ISSUE       1006
#define IDC_REQUEST_DESCRIPTION 1007
#define IDC_REQUEST_SUBMIT      1008
#define IDC_REQUEST_EMAIL       1009
#define IDC_REQUEST_NAME_MARK   1012
#define IDC_REQUEST_MOBILE_MARK 1013
#define IDC_REQUEST_DESC_MARK   1015
#define IDC_REQUEST_CITY_LABEL  1017
#define IDC_REQUEST_EMAIL_LABEL 1018
#define IDC_REQUEST_STATE_LABEL 1019
#define IDC_REQUEST_CUST_LABEL  1020
#define IDC_REQUEST_ISSUE_LABEL 1021
#define IDC_REQUEST_NAME_LABEL  1022
#define IDC_REQUEST_MOBILE_LABEL 1023
#define IDC_REQUEST_HISTORY     1027
#define IDC_REQUEST_CLOSE       1029
#define IDC_REQUEST_MIN         1030
#define IDC_REQUEST_ISSUE_MARK  1031
#define IDC_REQUEST_FOOTNOTE    1032
#define IDC_REQUEST_COUNTER     1033
#define IDC_REQUEST_EMAIL_MARK  1034
#define IDC_REQUEST_DESC_GROUP  1035

// Request history (template 137)
#define IDD_REQUEST_HISTORY     137
#define IDC_HISTORY_LIST        1026
#define IDC_HISTORY_CLOSE       1031

// Small field pictures of the request form
#define IDB_FIELD_DESCRIPTION   129
#define IDB_FIELD_NAME          130
#define IDB_FIELD_EMAIL         131
#define IDB_FIELD_CONTACT       132
#define IDB_FIELD_CITY          133
#define IDB_FIELD_STATE         134
#define IDB_FIELD_ISSUE         135
#define IDB_FIELD_CUSTOMER      136
#define IDB_FIELD_PRIORITY      147
#define IDB_FIELD_TICKET        149

// IT ticket form (template 144)
#define IDC_TICKET_EMAIL          1002  // contact customer only
#define IDC_TICKET_COUNTER        1003
#define IDC_TICKET_PRIORITY       1005
#define IDC_TICKET_ISSUE          1006
#define IDC_TICKET_SUBMIT         1008
#define IDC_TICKET_HOST_LABEL     1012
#define IDC_TICKET_SCREENSHOT     1029  // hover button, never shown
#define IDC_TICKET_HISTORY        1030  // hover button, hidden
#define IDC_TICKET_CANCEL         1027
#define IDC_TICKET_DESCRIPTION    1033
#define IDC_TICKET_NOTE           1034
#define IDC_TICKET_X              1035
#define IDC_TICKET_PRIORITY_MARK  1036
#define IDC_TICKET_DESC_MARK      1037
#define IDC_TICKET_USER_NAME      1038  // the "Host Name" field: the logon user name
#define IDC_TICKET_LICENCE        1039
#define IDC_TICKET_ISSUE_LABEL    1042
#define IDC_TICKET_PRIORITY_LABEL 1043
#define IDC_TICKET_KEY_LABEL      1044
#define IDC_TICKET_DESC_LABEL     1045
#define IDC_TICKET_CORP_LABEL     1111
#define IDC_TICKET_CORP_ID        1112
#define IDC_TICKET_SCREENSHOT_LINK 1122
#define IDC_TICKET_HISTORY_LINK   1123
#define IDC_TICKET_MODE           1124
#define IDC_TICKET_MOBILE         1130  // contact customer only
#define IDC_TICKET_EMAIL_LABEL    1131
#define IDC_TICKET_CONTACT_LABEL  1132
#define IDC_TICKET_EMAIL_ICON     1133
#define IDC_TICKET_CONTACT_ICON   1134

// Feedback (template 171)
#define IDC_FEEDBACK_DESCRIPTION      1033
#define IDC_FEEDBACK_COUNTER          1038
#define IDC_FEEDBACK_HEADING          1077
#define IDC_FEEDBACK_RATING_1         1079  // rating buttons B1-B5, worst to best
#define IDC_FEEDBACK_RATING_2         1080
#define IDC_FEEDBACK_RATING_3         1081
#define IDC_FEEDBACK_RATING_4         1082
#define IDC_FEEDBACK_RATING_5         1083
#define IDC_FEEDBACK_CHOSEN_1         1084  // their selected-rating images
#define IDC_FEEDBACK_CHOSEN_2         1085
#define IDC_FEEDBACK_CHOSEN_3         1086
#define IDC_FEEDBACK_CHOSEN_4         1087
#define IDC_FEEDBACK_CHOSEN_5         1088
#define IDC_FEEDBACK_MARK             1089
#define IDC_FEEDBACK_SUPPORT          1090  // issue type boxes
#define IDC_FEEDBACK_SCANNING         1091
#define IDC_FEEDBACK_UPDATE           1092
#define IDC_FEEDBACK_VIRUS            1093
#define IDC_FEEDBACK_SLOW_PC          1094
#define IDC_FEEDBACK_SOFTWARE_BLOCK   1095
#define IDC_FEEDBACK_MALWARE          1096
#define IDC_FEEDBACK_POPUP            1097
#define IDC_FEEDBACK_ERROR_SCREEN     1098
#define IDC_FEEDBACK_OTHER            1099
#define IDC_FEEDBACK_RATING_WORD      1100
#define IDC_FEEDBACK_DESCRIPTION_LABEL 1102
#define IDC_FEEDBACK_X          1103
#define IDC_FEEDBACK_PHONE            1104
#define IDC_FEEDBACK_WHATSAPP         1105
#define IDC_FEEDBACK_REMOTE_SUPPORT   1106
#define IDC_FEEDBACK_HOVER_WORD       1107
#define IDC_FEEDBACK_ISSUE_TYPE_LABEL 1108
#define IDC_FEEDBACK_ACTIVATION       1109
#define IDC_FEEDBACK_RENEWAL          1110
// Rating strips: the five ratings and their selected images
#define IDB_RATING_1                  173
#define IDB_RATING_2                  174
#define IDB_RATING_3                  175
#define IDB_RATING_4                  176
#define IDB_RATING_5                  177
#define IDB_RATING_1_CHOSEN           186
#define IDB_RATING_2_CHOSEN           183
#define IDB_RATING_3_CHOSEN           182
#define IDB_RATING_4_CHOSEN           185
#define IDB_RATING_5_CHOSEN           184

// Ticket history (template 166)
#define IDC_TRACK_BUTTON1       1008  // hidden, no role
#define IDC_TRACK_SPARE_LIST    1026  // hidden, no role
#define IDC_TRACK_CLOSE         1027
#define IDC_TRACK_DESCRIPTION   1033
#define IDC_TRACK_LIST          1051
#define IDC_TRACK_ID_LABEL      1053
#define IDC_TRACK_ID            1054
#define IDC_TRACK_TITLE         1055
#define IDC_TRACK_TITLE_LABEL   1060
#define IDC_TRACK_DESC_LABEL    1063
#define IDC_TRACK_DETAILS       1064
#define IDC_TRACK_STATUS_LABEL  1066
#define IDC_TRACK_STATUS        1067
#define IDC_TRACK_REPLY_LABEL   1114  // the admin's reply, note and date: never shown
#define IDC_TRACK_NOTE_LABEL    1116
#define IDC_TRACK_DATE_LABEL    1117
#define IDC_TRACK_REPLY         1118
#define IDC_TRACK_DATE          1119
#define IDC_TRACK_SPARE_TEXT    1120

// Reply notification popup (template 193)
#define IDC_POPUP_OPEN          1027
#define IDC_POPUP_CLOSE         1008
#define IDC_POPUP_TEXT          1126
#define IDC_POPUP_BLINK         1127
#define IDC_POPUP_BANNER        1128
#define IDC_POPUP_SPARE         1129

// Message dialog (template 160)
#define IDC_MESSAGE_OK          1008
#define IDC_MESSAGE_LARGE       1048
#define IDC_MESSAGE_SMALL       1049

// About box (template 100)
#define IDC_ABOUT_TEXT          1200
