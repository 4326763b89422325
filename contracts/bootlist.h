// Bootlist.dll: the programs Windows starts at log-on. Entries are reported to the window as
// WM_COPYDATA 100001 "item|command line|kind" before BootlistGetStartupList returns.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI BootlistGetStartupList(HWND window);
// key: the command line for kind 2, the item text for every other kind.
int WINAPI BootlistRemoveStartupList(int kind, const wchar_t* key);

#ifdef __cplusplus
}
#endif
