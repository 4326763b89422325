// Tracewipe.dll: finds and removes privacy traces. Reports go to the given window as WM_COPYDATA
// (contracts/messages.h): 20000 progress, 30001 "name|location|size".
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// Last-scan bookkeeping under HKCU\SOFTWARE\Lumaspan Software\KeepLumaspan\Evidence Cleaner.
int WINAPI TracewipeCheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, int mode);
int WINAPI TracewipeGetLastScanTime(wchar_t* out);  // appends the age, or "Not Scanned" (100 chars)
int WINAPI TracewipeGetLastScanDate(wchar_t* out);  // appends the date, or "Not Scanned" (100 chars)
int WINAPI TracewipeSetLastScanTime(void);
int WINAPI TracewipeSetLastScanDate(void);

// Runs the scanner of category index (0-32) of group (0-3) when selected is 1.
int WINAPI TracewipeGetEvidenceFile(HWND window, int group, int selected, int index);

int WINAPI TracewipeScanWindowsRecentDocuments(HWND window);
int WINAPI TracewipeScanWindowsStartMenuRun(HWND window);
int WINAPI TracewipeScanWindowsCommonDialog(HWND window);
int WINAPI TracewipeScanWindowsTemporaryFiles(HWND window);
int WINAPI TracewipeScanWindowsMappedNetworkDrives(HWND window);
int WINAPI TracewipeScanWindowsLogoHistory(HWND window);
int WINAPI TracewipeScanWindowsSearchComputerHistory(HWND window);
int WINAPI TracewipeScanWindowsSearchFilesHistory(HWND window);
int WINAPI TracewipeScanWindowsStartMenuClickHistory(HWND window);
int WINAPI TracewipeScanWindowsStartMenuOrderHistory(HWND window);
int WINAPI TracewipeScanWindowsAutoDialupHistory(HWND window);
int WINAPI TracewipeScanWindowsTelnetHistory(HWND window);
int WINAPI TracewipeScanInternetExplorerURLHistory(HWND window);
int WINAPI TracewipeScanInternetExplorerHistory(HWND window);
int WINAPI TracewipeScanInternetExplorerCookie(HWND window);
int WINAPI TracewipeScanInternetExplorerAutoCompleteData(HWND window);
int WINAPI TracewipeScanInternetExplorerAutoCompletePasswords(HWND window);
int WINAPI TracewipeScanInternetExplorerCache(HWND window);
int WINAPI TracewipeScanMozillaFirefoxHistory(HWND window);
int WINAPI TracewipeScanMozillaFirefoxCookie(HWND window);
int WINAPI TracewipeScanMozillaFirefoxInternetCache(HWND window);
int WINAPI TracewipeScanMozillaFirefoxSaveFormInformation(HWND window);
int WINAPI TracewipeScanMozillaFirefoxSavePasswords(HWND window);
int WINAPI TracewipeScanMozillaFirefoxDownloadManagerHistory(HWND window);
int WINAPI TracewipeScanMozillaFirefoxSearchHistory(HWND window);
int WINAPI TracewipeScanWindowsMediaPlayer(HWND window);
int WINAPI TracewipeScanRealPlayer(HWND window);
int WINAPI TracewipeScanQuicktimePlayer(HWND window);
int WINAPI TracewipeScanMediaPlayerClassic(HWND window);
int WINAPI TracewipeScanMacromediaFlashPlayer(HWND window);
int WINAPI TracewipeScanMicrosoftManagementConsole(HWND window);
int WINAPI TracewipeScanMicrosoftPaint(HWND window);
int WINAPI TracewipeScanWinRAR(HWND window);

// Removes one trace: a value of a HKEY_CURRENT_USER key, or the file location + name, but only one
// a scan would report now (the item is judged again: its key is one a registry category scans, its
// folder lies inside a root a category may walk today). Returns 1 when the named item was removed
// and 0 when it was not: refused, in use, missing, or too long a path.
int WINAPI TracewipeCleanEvidenceFile(const wchar_t* name, const wchar_t* location);

#ifdef __cplusplus
}
#endif
