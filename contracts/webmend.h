// Webmend.dll: 22 browser settings by display name ("Start Page", ...): read, write, shipped
// default, compare. Value buffers hold 260 characters.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI WebmendGetSetting(const wchar_t* name, wchar_t* value);
int WINAPI WebmendSetSetting(const wchar_t* name, const wchar_t* value);
int WINAPI WebmendDefaultSetting(const wchar_t* name, wchar_t* value);
int WINAPI WebmendCompare(const wchar_t* name);  // 1 when the current value equals the default

#ifdef __cplusplus
}
#endif
