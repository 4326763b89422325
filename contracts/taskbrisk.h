// Taskbrisk.dll: the application optimizer's settings. Text buffers hold 260 characters.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI TaskbriskGetDiskBuffer(void);        // slider position 0-10
int WINAPI TaskbriskSetDiskBuffer(int position);
int WINAPI TaskbriskGetMenuTime(void);          // slider position 0-10
int WINAPI TaskbriskSetMenuTime(int position);
int WINAPI TaskbriskGetAutoEndTasks(void);      // 0 or 1
int WINAPI TaskbriskSetAutoEndTasks(int flag);
int WINAPI TaskbriskGetSpeed(void);
int WINAPI TaskbriskSetSpeed(int value);
int WINAPI TaskbriskGetAuto(void);
int WINAPI TaskbriskSetAuto(int value);
int WINAPI TaskbriskGetDiskBufferString(int position, wchar_t* buffer);
int WINAPI TaskbriskGetMenuTimeString(int position, wchar_t* buffer);
// Keeps every setting's exact value (or its absence) before an optimization, and writes them all
// back when one of its changes was refused. 1 when each was kept / written back.
int WINAPI TaskbriskSaveSettings(void);
int WINAPI TaskbriskRestoreSettings(void);

#ifdef __cplusplus
}
#endif
