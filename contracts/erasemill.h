// Erasemill.dll: erases files beyond recovery.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI ErasemillKillFile(const wchar_t* path, int mode);  // the program passes mode 3

#ifdef __cplusplus
}
#endif
