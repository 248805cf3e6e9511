// Resource identifiers of startup_floor.exe.
#pragma once

#define IDD_FLOOR_DIALOG 102
#define IDC_FLOOR_CLOSE  1029
#define IDC_FLOOR_MIN    1030
