// Tracewipe.dll's exports: the bookkeeping of the "Evidence Cleaner", one scan per trace category,
// the dispatch the trace cleaner's worker calls once per category, and the cleaning of one trace.
#include "contracts/tracewipe.h"

#include <shlobj.h>

#include "contracts/messages.h"
#include "contracts/tools.h"
#include "engines/common/bookkeeping.h"
#include "engines/common/guarded.h"
#include "engines/common/reporter.h"
#include "engines/tracewipe/trace_scans.h"

namespace {

const cleaning::ScanBook kBook(L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Evidence Cleaner");

template <typename Scan>
int RunScan(HWND window, Scan&& scan) {
  return cleaning::Guarded([&] {
    cleaning::Reporter reporter(window, report_kind::kTraceItem);
    return static_cast<int>(scan(reporter));
  });
}

int ScanFolder(HWND window, int csidl) {
  return RunScan(window, [csidl](cleaning::Reporter& r) { return tracewipe::ScanShellFolder(r, csidl); });
}

int ScanList(HWND window, const wchar_t* key, const wchar_t* location) {
  return RunScan(window, [=](cleaning::Reporter& r) { return tracewipe::ScanValueList(r, key, location); });
}

// The body of the categories that are offered to the user but have no scanner.
int FindsNothing(HWND) { return 0; }

}  // namespace

extern "C" {

int WINAPI TracewipeCheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, int mode) {
  return cleaning::Guarded([&] { return cleaning::GuardValue(subKey, valueName, mode) ? 1 : 0; });
}
int WINAPI TracewipeGetLastScanTime(wchar_t* out) { return kBook.AppendLastScanTime(out); }
int WINAPI TracewipeGetLastScanDate(wchar_t* out) { return kBook.AppendLastScanDate(out); }
int WINAPI TracewipeSetLastScanTime(void) { return kBook.StoreLastScanTime(); }
int WINAPI TracewipeSetLastScanDate(void) { return kBook.StoreLastScanDate(); }

// The eleven categories with a scanner.
int WINAPI TracewipeScanWindowsRecentDocuments(HWND window) { return ScanFolder(window, CSIDL_RECENT); }
int WINAPI TracewipeScanWindowsStartMenuRun(HWND window) {
  return ScanList(window, tracewipe::kRunMruKey, tracewipe::kRunMruLocation);
}
int WINAPI TracewipeScanWindowsCommonDialog(HWND window) {
  return RunScan(window, [](cleaning::Reporter& r) { return tracewipe::ScanCommonDialog(r, CheckWindowsVersion()); });
}
int WINAPI TracewipeScanWindowsTemporaryFiles(HWND window) {
  return RunScan(window, [](cleaning::Reporter& r) { return tracewipe::ScanTemporaryFiles(r); });
}
int WINAPI TracewipeScanWindowsSearchFilesHistory(HWND window) {
  return RunScan(window, [](cleaning::Reporter& r) {
    return tracewipe::ScanHistoryKeys(r, tracewipe::kSearchAssistantKey, L"");
  });
}
int WINAPI TracewipeScanInternetExplorerHistory(HWND window) { return ScanFolder(window, CSIDL_HISTORY); }
int WINAPI TracewipeScanInternetExplorerCookie(HWND window) { return ScanFolder(window, CSIDL_COOKIES); }
int WINAPI TracewipeScanInternetExplorerCache(HWND window) { return ScanFolder(window, CSIDL_INTERNET_CACHE); }
int WINAPI TracewipeScanWindowsMediaPlayer(HWND window) {
  return ScanList(window, tracewipe::kMediaPlayerKey, tracewipe::kMediaPlayerLocation);
}
int WINAPI TracewipeScanMediaPlayerClassic(HWND window) {
  return ScanList(window, tracewipe::kMediaPlayerClassicKey, tracewipe::kMediaPlayerClassicLocation);
}
int WINAPI TracewipeScanMicrosoftManagementConsole(HWND window) {
  return ScanList(window, tracewipe::kManagementConsoleKey, tracewipe::kManagementConsoleLocation);
}

// The twenty-two offered to the user that find nothing.
int WINAPI TracewipeScanWindowsMappedNetworkDrives(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsLogoHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsSearchComputerHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsStartMenuClickHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsStartMenuOrderHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsAutoDialupHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsTelnetHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanInternetExplorerURLHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanInternetExplorerAutoCompleteData(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanInternetExplorerAutoCompletePasswords(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxCookie(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxInternetCache(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxSaveFormInformation(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxSavePasswords(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxDownloadManagerHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxSearchHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanRealPlayer(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanQuicktimePlayer(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMacromediaFlashPlayer(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMicrosoftPaint(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWinRAR(HWND window) { return FindsNothing(window); }

int WINAPI TracewipeGetEvidenceFile(HWND window, int group, int selected, int index) {
  // The categories in the order of the trace cleaner's list: group, and the scanner of the
  // eleven that have one.
  struct Category {
    int group;
    int(WINAPI* scan)(HWND);
  };
  static const Category kCategories[] = {
    {0, TracewipeScanWindowsRecentDocuments},
    {0, TracewipeScanWindowsStartMenuRun},
    {0, TracewipeScanWindowsCommonDialog},
    {0, TracewipeScanWindowsTemporaryFiles},
    {0, nullptr},  // 4 Windows Mapped Network Drives
    {0, nullptr},  // 5 Windows Logo History
    {0, nullptr},  // 6 Windows Search Computer History
    {0, TracewipeScanWindowsSearchFilesHistory},
    {0, nullptr},  // 8 Windows Start Menu Click History
    {0, nullptr},  // 9 Windows Start Menu Order History
    {0, nullptr},  // 10 Windows Auto Dial-up History
    {0, nullptr},  // 11 Windows Telnet History
    {1, nullptr},  // 12 Internet Explorer - URL History
    {1, TracewipeScanInternetExplorerHistory},
    {1, TracewipeScanInternetExplorerCookie},
    {1, nullptr},  // 15 Internet Explorer - Auto Complete Data
    {1, nullptr},  // 16 Internet Explorer - Auto Complete Passwords
    {1, TracewipeScanInternetExplorerCache},
    {2, nullptr},  // 18 Mozilla Firefox - History
    {2, nullptr},  // 19 Mozilla Firefox - Cookie
    {2, nullptr},  // 20 Mozilla Firefox - Internet Cache
    {2, nullptr},  // 21 Mozilla Firefox - Save Form Information
    {2, nullptr},  // 22 Mozilla Firefox - Save Passwords
    {2, nullptr},  // 23 Mozilla Firefox - Download Manager History
    {2, nullptr},  // 24 Mozilla Firefox - Search History
    {3, TracewipeScanWindowsMediaPlayer},
    {3, nullptr},  // 26 Real Player
    {3, nullptr},  // 27 Quicktime Player
    {3, TracewipeScanMediaPlayerClassic},
    {3, nullptr},  // 29 Macromedia Flash Player
    {3, TracewipeScanMicrosoftManagementConsole},
    {3, nullptr},  // 31 Microsoft Paint
    {3, nullptr},  // 32 WinRAR
  };
  const int kCount = static_cast<int>(sizeof(kCategories) / sizeof(kCategories[0]));
  if (selected != 1 || index < 0 || index >= kCount) return 0;
  const Category& category = kCategories[index];
  if (category.group != group || !category.scan) return 0;
  return category.scan(window);
}

int WINAPI TracewipeCleanEvidenceFile(const wchar_t* name, const wchar_t* location) {
  return cleaning::Guarded([&] {
    tracewipe::CleanEvidence(name, location);
    return 0;
  });
}

}  // extern "C"
