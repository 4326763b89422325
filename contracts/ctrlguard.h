// Ctrlguard.dll: checks and blocks known unsafe ActiveX controls by their class identifier.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI CtrlguardStatus(const wchar_t* key);  // 0 when the control is not blocked
int WINAPI CtrlguardBlock(const wchar_t* key);

#ifdef __cplusplus
}
#endif
