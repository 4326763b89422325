// Dialog templates and control identifiers of the trace and junk cleaner pages (cleaning.rc).
#pragma once

#define IDD_TRACEWIPE_START 208
#define IDD_TRACEWIPE_SCAN 209
#define IDD_LITTERBIN_START 210
#define IDD_LITTERBIN_SCAN 211

#define IDC_SELECT_ALL 1001     // result pages: the select-all box; start pages: "Select All"
#define IDC_START_SCAN 1033
#define IDC_CATEGORY_TREE 1034  // the trace categories
#define IDC_DRIVE_LIST 1035     // the fixed drives (made at run time)
#define IDC_RESULT_LIST 1036    // made by the result pages at run time
#define IDC_DRIVES_PROGRESS 1037  // the junk scan's drives done
#define IDC_CLEAN 1113
#define IDC_ABORT 1120
#define IDC_BACK 1192
