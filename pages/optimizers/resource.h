// Templates and control identifiers of the system and application optimizer pages. Plain #defines:
// the resource compiler reads this file too.
#pragma once

#define IDD_COREBRISK_START 228
#define IDD_TASKBRISK_START 229

// Both pages.
#define IDC_OPTIMIZE 1040

// System optimizer: one radio button per model 0-5, and the model's description.
#define IDC_MODEL_DEFAULT 1048
#define IDC_MODEL_INTERNET_CAFE 1049
#define IDC_MODEL_NOTEBOOK 1050
#define IDC_MODEL_CAMPUS 1051
#define IDC_MODEL_OFFICE 1052
#define IDC_MODEL_HOME 1053
#define IDC_MODEL_DESCRIPTION 1054

// Application optimizer: the two sliders and their text lines, the check box, the number fields and
// their up-down controls.
#define IDC_MENU_TEXT 1000
#define IDC_DISK_BUFFER 1074
#define IDC_MENU_DELAY 1075
#define IDC_AUTO_END_TASKS 1104
#define IDC_SPEED 1105
#define IDC_SPEED_SPIN 1106
#define IDC_AUTO_SPIN 1108
#define IDC_AUTO 1109
#define IDC_DISK_TEXT 1110
