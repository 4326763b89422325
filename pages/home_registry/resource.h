// Templates and control identifiers of the registry cleaner's pages. Plain #defines: the resource
// compiler reads this file too.
#pragma once

// The start page, its scan progress page and its results page.
#define IDD_HIVESCRUB_START 200
#define IDD_HIVESCRUB_SCAN 203
#define IDD_HIVESCRUB_RESULTS 204

// Start page: one check box per category (the numbers are not in category order), the hidden
// "Select All" box and "Start Scan".
#define IDC_SELECT_ALL 1001
#define IDC_CHECK_ACTIVEX 1006
#define IDC_CHECK_SHARED 1007
#define IDC_CHECK_EXTENSIONS 1008
#define IDC_CHECK_SOFTWARE 1009
#define IDC_CHECK_SOUNDS 1010
#define IDC_CHECK_MRU 1011
#define IDC_CHECK_HELP 1012
#define IDC_CHECK_STARTUP 1013
#define IDC_CHECK_PATHS 1014
#define IDC_CHECK_ASSOCIATIONS 1015
#define IDC_CHECK_SERVICES 1016
#define IDC_CHECK_FONTS 1017
#define IDC_CHECK_FOLDERS 1018
#define IDC_CHECK_OBSOLETE 1019
#define IDC_CHECK_EMPTY 1020
#define IDC_START_SCAN 1033

// Scan progress page.
#define IDC_SCAN_PROGRESS 1021
#define IDC_ABORT 1120

// Results page (its list is created in code).
#define IDC_CLEAN 1113
#define IDC_BACK 1192
#define IDC_PROBLEM_LIST 1193
