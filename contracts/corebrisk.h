// Corebrisk.dll: the system optimizer's six service-configuration models (0-5).
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI CorebriskInitRegistry(void);
int WINAPI CorebriskGetType(void);                 // the model applied last, 0-5
int WINAPI CorebriskLoadFile(int model);           // applies the model's service settings
int WINAPI CorebriskSetType(const wchar_t* model); // "0" to "5"

#ifdef __cplusplus
}
#endif
