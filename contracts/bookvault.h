// Bookvault.dll: one copy of the browser favorites under Backup\Favorites\Internet Explorer.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI BookvaultBackupIE(void);   // 1 on success
int WINAPI BookvaultRestoreIE(void);  // 1 on success; BookvaultRestoreIEKeeping without the name
// Restores the favorites from the backup. The favorites it replaces are moved into a new folder
// "Backup\Favorites\Replaced <local time %Y%m%d%H%M%S>" (" (2)", " (3)"… appended within one
// second), and those standing unchanged after the restore are dropped from it, so the folder stays
// only when it holds something the restore would otherwise have destroyed. replacedFolder, a
// caller-owned buffer of MAX_PATH (260) characters, receives that folder's name (for example
// "Replaced 20261208153000", no path) when it stays, else "". 1 when every backed-up entry was
// restored; 0 when anything failed (the favorites are then put back as far as possible, and what
// could not go back stays in the named folder).
int WINAPI BookvaultRestoreIEKeeping(wchar_t* replacedFolder);

#ifdef __cplusplus
}
#endif
