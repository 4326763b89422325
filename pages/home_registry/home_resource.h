// Templates and control identifiers of the home page and its one-click scan page. Plain #defines:
// the resource compiler reads this file too.
#pragma once

#define IDD_HOME_START 227
#define IDD_HOME_SCAN 235

// Home page: "Start Scan", and the invisible boxes the scan's groups are bound to.
#define IDC_HOME_SELECT_ALL 1076
#define IDC_HOME_START_SCAN 1091
#define IDC_HOME_GROUP_REGISTRY 1095
#define IDC_HOME_GROUP_JUNK 1096
#define IDC_HOME_GROUP_EVIDENCE 1097
#define IDC_HOME_GROUP_FILEASSOC 1098
#define IDC_HOME_GROUP_BROWSER 1099
#define IDC_HOME_GROUP_ACTIVEX 1100

// One-click scan page. The tab control and the six result lists are created in code.
#define IDC_HOME_BACK 1115
#define IDC_HOME_TOTAL_PROGRESS 1116
#define IDC_HOME_GROUP_PROGRESS 1117
#define IDC_HOME_STATUS 1118
#define IDC_HOME_SUMMARY 1119
#define IDC_HOME_ABORT 1120
#define IDC_HOME_REPAIR_ALL 1121
#define IDC_HOME_TOTAL_LABEL 1122
#define IDC_HOME_TABS 1123
#define IDC_HOME_FIRST_LIST 1124  // + group 1-6 - 1
