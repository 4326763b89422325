// Tools.dll: the suite's utility library.
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Generation of the running Windows: 5 for NT 5.x (2000, XP, Server 2003), 6 for NT 6.x and later.
int WINAPI CheckWindowsVersion(void);
// Deletes the file at path, read-only or not; 1 when it was removed, 0 otherwise. A name ending in
// a dot or a space is deleted as named (not as the name without them). mode: callers pass 0.
int WINAPI DeleteFileType(const wchar_t* path, int mode);
// A uniform pseudo-random number from 0 to 9 (so 1 about one time in ten).
int WINAPI GetRandNumber(void);
// "Good morning", "Good afternoon" or "Good evening" by the local hour, into a 100-character buffer.
int WINAPI GetNowShowTimeString(wchar_t* buffer);
// flag 1 locks the main window's button menu, 0 unlocks it; window is the main window or any window
// inside it.
int WINAPI LockMenu(HWND window, int flag);
// A byte count (low half, high half) as text such as "512 bytes" or "1.50 KB", into 260 characters.
int WINAPI MakeFileSize(DWORD low, DWORD high, wchar_t* buffer);
// Creates HKEY_CURRENT_USER\subKey when needed and sets valueName to text as REG_SZ.
int WINAPI CheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, const wchar_t* text);

#ifdef __cplusplus
}
#endif
