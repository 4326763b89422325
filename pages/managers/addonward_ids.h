// Template and control identifiers of the browser add-on manager page. Plain #defines: the resource
// compiler reads this file too.
#pragma once

#define IDD_ADDONWARD_START 226
#define IDC_ADDONWARD_SELECT_ALL 1001  // hidden; ticks or unticks every row
#define IDC_ADDONWARD_REMOVE 1038
#define IDC_ADDONWARD_LIST 1039        // made at run time
