// Options.dll: the program's start-with-Windows and automatic-update settings.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI OptionsCheckStartupRun(void);   // nonzero when the program starts with Windows
int WINAPI OptionsCheckLiveUpdata(void);   // nonzero when update checks are automatic
int WINAPI OptionsSetStartupRun(int flag);
int WINAPI OptionsSetLiveUpdate(int flag);

#ifdef __cplusplus
}
#endif
