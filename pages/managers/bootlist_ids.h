// Template and control identifiers of the startup manager page (bootlist.rc). Plain #defines: the
// resource compiler reads this file too.
#pragma once

#define IDD_BOOTLIST_START 214
#define IDC_BOOTLIST_REMOVE 1038
#define IDC_BOOTLIST_REFRESH 1055
#define IDC_BOOTLIST_LIST 1058    // the start-up list, made at run time
#define IDC_BOOTLIST_DETAIL 1059  // the static the detail pane takes over
