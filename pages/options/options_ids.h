// Templates, control identifiers and messages of the options page. Plain #defines: the resource
// compiler reads this file too.
#pragma once

#define IDD_OPTIONS_PAGE 131  // the program's plain page template: the page draws and makes the rest
#define IDD_OPTIONS_TAB1 224

#define IDC_OPTIONS_TAB 1066
#define IDC_STARTUP_RUN 1013
#define IDC_LIVE_UPDATE 1067
#define IDC_OPTIONS_WEBSITE 1069
#define IDC_OPTIONS_SUPPORT 1070
#define IDC_CHECK_UPDATE 1071
// The settings tab's automatic cleaning (pages/options/clean_schedule.h).
#define IDC_CLEAN_AUTO 1090
#define IDC_CLEAN_FREQUENCY 1091
#define IDC_CLEAN_JUNK 1092
#define IDC_CLEAN_TRACES 1093
#define IDC_CLEAN_REGISTRY 1094

// Sent by the settings tab to the options page: a box was clicked (wParam: its new check state; the
// page answers with the state now stored), or "Check for Update" was pressed.
#define OPTIONS_MSG_STARTUP_RUN 1013
#define OPTIONS_MSG_LIVE_UPDATE 1067
#define OPTIONS_MSG_CHECK_UPDATE 1071

// The exclusions tab.
#define IDD_OPTIONS_EXCLUSIONS 225
#define IDC_EXCLUSION_LIST_PLACE 1072
#define IDC_EXCLUSION_LIST 1073
#define IDC_EXCLUSION_ADD_FOLDER 1074
#define IDC_EXCLUSION_REMOVE 1075
