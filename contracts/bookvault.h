// Bookvault.dll: one copy of the browser favorites under Backup\Favorites\Internet Explorer.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI BookvaultBackupIE(void);   // 1 on success
int WINAPI BookvaultRestoreIE(void);  // 1 on success

#ifdef __cplusplus
}
#endif
