// Template and control identifiers of the file shredder page (shredder.rc). Plain #defines: the
// resource compiler reads this file too.
#pragma once

#define IDD_ERASEMILL_START 234

#define IDC_ERASEMILL_REMOVE 1038
#define IDC_ERASEMILL_ERASE 1114
#define IDC_ERASEMILL_ADD 1193
#define IDC_ERASEMILL_GROUP 1194  // hidden
#define IDC_ERASEMILL_LIST 1195   // made at run time
