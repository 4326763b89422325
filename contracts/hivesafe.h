// Hivesafe.dll: whole-registry backups through the system registry editor, kept under
// Backup\Registry\FirstBackup and Backup\Registry\FullBackup of the current directory.
// File names are SharedString objects passed by value.
#pragma once
#include <windows.h>

#include "contracts/shared_string.h"

extern "C" {

// full nonzero: a later backup into FullBackup; 0: the first backup into FirstBackup.
int WINAPI HivesafeBackup(int full);
// 1 when FirstBackup already holds a backup file.
int WINAPI HivesafeCheckIfFirst(void);
// Merges the named backup file (a name only) of FullBackup (full nonzero) or FirstBackup; 1 only
// when the registry editor exited with success and a value of the file reads back from the registry.
int WINAPI HivesafeRestore(int full, SharedString fileName);
// Deletes the named backup file of FullBackup; 1 on success.
int WINAPI HivesafeRemove(SharedString fileName);

}
