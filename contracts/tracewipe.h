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

// Runs the scanner of category index (0-52) of group (0-6) when selected is 1: 0-32 the classic
// categories of groups 0-3, 33-37 the Windows traces of Vista to 11 (group 0), 38-42 Google Chrome
// (group 4), 43-47 Microsoft Edge (5), 48-52 the other Chromium-family browsers (6).
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
int WINAPI TracewipeScanWindowsExplorerSearchHistory(HWND window);
int WINAPI TracewipeScanWindowsExplorerTypedPaths(HWND window);
int WINAPI TracewipeScanWindowsRecentDocumentsList(HWND window);
int WINAPI TracewipeScanWindowsCommonDialogFolders(HWND window);
int WINAPI TracewipeScanWindowsThumbnailCache(HWND window);
int WINAPI TracewipeScanGoogleChromeHistory(HWND window);
int WINAPI TracewipeScanGoogleChromeCookies(HWND window);
int WINAPI TracewipeScanGoogleChromeInternetCache(HWND window);
int WINAPI TracewipeScanGoogleChromeSessions(HWND window);
int WINAPI TracewipeScanGoogleChromePasswords(HWND window);
int WINAPI TracewipeScanMicrosoftEdgeHistory(HWND window);
int WINAPI TracewipeScanMicrosoftEdgeCookies(HWND window);
int WINAPI TracewipeScanMicrosoftEdgeInternetCache(HWND window);
int WINAPI TracewipeScanMicrosoftEdgeSessions(HWND window);
int WINAPI TracewipeScanMicrosoftEdgePasswords(HWND window);
int WINAPI TracewipeScanOtherBrowsersHistory(HWND window);
int WINAPI TracewipeScanOtherBrowsersCookies(HWND window);
int WINAPI TracewipeScanOtherBrowsersInternetCache(HWND window);
int WINAPI TracewipeScanOtherBrowsersSessions(HWND window);
int WINAPI TracewipeScanOtherBrowsersPasswords(HWND window);

// Removes one trace: a value of a HKEY_CURRENT_USER key, or the file location + name, but only one
// a scan would report now (the item is judged again: its key is one a registry category scans, its
// folder lies inside a root a category may walk today). Returns 1 when the named item was removed,
// 2 when it was left because a running program holds it (another program has the file open, or
// it is a file of a running Chromium-family browser), and 0 when it was not removed otherwise:
// refused, denied, missing, or too long a path.
int WINAPI TracewipeCleanEvidenceFile(const wchar_t* name, const wchar_t* location);

#ifdef __cplusplus
}
#endif
