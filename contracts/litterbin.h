// Litterbin.dll: finds and deletes junk files, one drive at a time. Reports go to the given window
// as WM_COPYDATA (contracts/messages.h): 20000 progress, 20001 "name|full path|size".
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Last-scan bookkeeping under HKCU\SOFTWARE\Lumaspan Software\KeepLumaspan\Junk File Cleaner.
int WINAPI LitterbinCheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, int mode);
int WINAPI LitterbinGetLastScanTime(wchar_t* out);
int WINAPI LitterbinGetLastScanDate(wchar_t* out);
int WINAPI LitterbinSetLastScanTime(void);
int WINAPI LitterbinSetLastScanDate(void);

// Scans one drive root such as "C:\". A real fixed drive whose Recycle Bin holds anything also
// gives one item "Recycle Bin|X:\Recycle Bin|bytes in the bin".
int WINAPI LitterbinGetJunkFile(HWND window, const wchar_t* drive);
// Deletes the file location + name (location ends with a backslash), but only one the junk scan
// would report now: on a system drive it lies in one of the system drive's sources and meets its
// rule (nothing a day old or younger from a temporary folder, only dumps from a dump folder) or
// bears a junk name below the profile folder outside the user's data folders; elsewhere it bears a
// junk name and lies outside the drive's protected folders. The name "Recycle Bin" with a drive
// root as location empties that drive's bin. Returns 1 when the named file was removed (the bin
// emptied) and 0 when it was not: refused, denied, in use, missing, or too long a path.
int WINAPI LitterbinCleanJunkFile(const wchar_t* name, const wchar_t* location, int mode);

#ifdef __cplusplus
}
#endif
