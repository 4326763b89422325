// Templates and control identifiers of the registry and favorites backup pages (backup.rc). Plain
// #defines: the resource compiler reads this file too.
#pragma once

#define IDD_HIVESAFE_START 216
#define IDD_BOOKVAULT_START 217
#define IDD_HIVESAFE_WAIT 222
#define IDD_HIVESAFE_RESTORE 223

#define IDC_BACKUP_RESTORE 1034
#define IDC_BACKUP_REMOVE 1038
#define IDC_BACKUP_NOW 1041
#define IDC_BACKUP_TREE 1042     // the favorites
#define IDC_BACKUP_LIST 1043     // the registry backups
#define IDC_BACKUP_WAIT_TITLE 1046
#define IDC_BACKUP_WAIT_NOTE 1047
#define IDC_BACKUP_REFRESH 1055

// The Rescue Center page (its other buttons are IDC_BACKUP_REFRESH's).
#define IDD_RESCUE_CENTER 261
#define IDC_RESCUE_LIST 1301
#define IDC_RESCUE_UNDO 1302
#define IDC_RESCUE_DELETE 1303
#define IDC_RESCUE_LINK 1304
