// Tracewipe.dll's exports: the bookkeeping of the "Evidence Cleaner", one scan per trace category,
// the dispatch the trace cleaner's worker calls once per category, and the cleaning of one trace.
#include "contracts/tracewipe.h"

#include <shlobj.h>

#include "base/export_guard.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "engines/common/bookkeeping.h"
#include "engines/common/reporter.h"
#include "engines/tracewipe/chromium_traces.h"
#include "engines/tracewipe/file_traces.h"
#include "engines/tracewipe/registry_traces.h"
#include "engines/tracewipe/trace_scans.h"

namespace {

const cleaning::ScanBook kBook(L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Evidence Cleaner");

template <typename Scan>
int RunScan(HWND window, Scan&& scan) {
  return base::Guarded([&] {
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

int ScanRegistry(HWND window, tracewipe::RegistryTrace trace) {
  return RunScan(window, [trace](cleaning::Reporter& r) { return tracewipe::ScanRegistryTrace(r, trace); });
}

// A scan of files below the current user's application data folders.
template <typename Scan>
int ScanDataFolders(HWND window, Scan&& scan) {
  return RunScan(window, [&](cleaning::Reporter& r) {
    tracewipe::DataFolders folders;
    LONG status = ERROR_SUCCESS;
    return tracewipe::CurrentDataFolders(&folders, &status) ? scan(r, folders) : status;
  });
}

int ScanFirefox(HWND window, tracewipe::FirefoxTrace trace) {
  return ScanDataFolders(window, [trace](cleaning::Reporter& r, const tracewipe::DataFolders& folders) {
    return tracewipe::ScanFirefox(r, folders, trace);
  });
}

int ScanChromium(HWND window, int group, tracewipe::ChromiumTrace trace) {
  return ScanDataFolders(window, [=](cleaning::Reporter& r, const tracewipe::DataFolders& folders) {
    return tracewipe::ScanChromium(r, folders, group, trace);
  });
}

// The body of the categories that are offered to the user but have no scanner. No trace could be
// pinned to the Windows logo history. Firefox keeps its browsing and search histories as rows of
// databases shared with what the user keeps (the bookmarks, the form data), and RealPlayer keeps
// its recent clips as the unnamed values of keys: a clean removes named values and whole files
// only, so none of these could be cleaned without destroying more than the trace.
int FindsNothing(HWND) { return 0; }

}  // namespace

extern "C" {

int WINAPI TracewipeCheckRegistryKey(const wchar_t* subKey, const wchar_t* valueName, int mode) {
  return base::Guarded([&] { return cleaning::GuardValue(subKey, valueName, mode) ? 1 : 0; });
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

using tracewipe::ChromiumTrace;
using tracewipe::FirefoxTrace;
using tracewipe::RegistryTrace;

int WINAPI TracewipeScanWindowsMappedNetworkDrives(HWND window) {
  return ScanRegistry(window, RegistryTrace::MappedDrives);
}
int WINAPI TracewipeScanWindowsLogoHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanWindowsSearchComputerHistory(HWND window) {
  return ScanRegistry(window, RegistryTrace::SearchComputer);
}
int WINAPI TracewipeScanWindowsStartMenuClickHistory(HWND window) {
  return ScanRegistry(window, RegistryTrace::StartMenuClicks);
}
int WINAPI TracewipeScanWindowsStartMenuOrderHistory(HWND window) {
  return ScanRegistry(window, RegistryTrace::StartMenuOrder);
}
int WINAPI TracewipeScanWindowsAutoDialupHistory(HWND window) { return ScanRegistry(window, RegistryTrace::AutoDial); }
int WINAPI TracewipeScanWindowsTelnetHistory(HWND window) { return ScanRegistry(window, RegistryTrace::Telnet); }
int WINAPI TracewipeScanInternetExplorerURLHistory(HWND window) {
  return ScanRegistry(window, RegistryTrace::TypedUrls);
}
int WINAPI TracewipeScanInternetExplorerAutoCompleteData(HWND window) {
  return ScanRegistry(window, RegistryTrace::AutoCompleteData);
}
int WINAPI TracewipeScanInternetExplorerAutoCompletePasswords(HWND window) {
  return ScanRegistry(window, RegistryTrace::AutoCompletePasswords);
}
int WINAPI TracewipeScanMozillaFirefoxHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanMozillaFirefoxCookie(HWND window) { return ScanFirefox(window, FirefoxTrace::Cookies); }
int WINAPI TracewipeScanMozillaFirefoxInternetCache(HWND window) { return ScanFirefox(window, FirefoxTrace::Cache); }
int WINAPI TracewipeScanMozillaFirefoxSaveFormInformation(HWND window) {
  return ScanFirefox(window, FirefoxTrace::FormData);
}
int WINAPI TracewipeScanMozillaFirefoxSavePasswords(HWND window) {
  return ScanFirefox(window, FirefoxTrace::Passwords);
}
int WINAPI TracewipeScanMozillaFirefoxDownloadManagerHistory(HWND window) {
  return ScanFirefox(window, FirefoxTrace::Downloads);
}
int WINAPI TracewipeScanMozillaFirefoxSearchHistory(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanRealPlayer(HWND window) { return FindsNothing(window); }
int WINAPI TracewipeScanQuicktimePlayer(HWND window) { return ScanRegistry(window, RegistryTrace::QuickTimeMovies); }
int WINAPI TracewipeScanMacromediaFlashPlayer(HWND window) {
  return ScanDataFolders(window, [](cleaning::Reporter& r, const tracewipe::DataFolders& folders) {
    return tracewipe::ScanFlashObjects(r, folders);
  });
}
int WINAPI TracewipeScanMicrosoftPaint(HWND window) { return ScanRegistry(window, RegistryTrace::PaintFiles); }
int WINAPI TracewipeScanWinRAR(HWND window) { return ScanRegistry(window, RegistryTrace::WinRarHistory); }

// The traces of Windows Vista to 11 and of the Chromium-family browsers.
int WINAPI TracewipeScanWindowsExplorerSearchHistory(HWND window) {
  return ScanRegistry(window, RegistryTrace::ExplorerSearches);
}
int WINAPI TracewipeScanWindowsExplorerTypedPaths(HWND window) { return ScanRegistry(window, RegistryTrace::TypedPaths); }
int WINAPI TracewipeScanWindowsRecentDocumentsList(HWND window) {
  return ScanRegistry(window, RegistryTrace::RecentDocsList);
}
int WINAPI TracewipeScanWindowsCommonDialogFolders(HWND window) {
  return ScanRegistry(window, RegistryTrace::DialogFolders);
}
int WINAPI TracewipeScanWindowsThumbnailCache(HWND window) {
  return ScanDataFolders(window, [](cleaning::Reporter& r, const tracewipe::DataFolders& folders) {
    return tracewipe::ScanThumbnailCaches(r, folders);
  });
}
int WINAPI TracewipeScanGoogleChromeHistory(HWND window) { return ScanChromium(window, 4, ChromiumTrace::History); }
int WINAPI TracewipeScanGoogleChromeCookies(HWND window) { return ScanChromium(window, 4, ChromiumTrace::Cookies); }
int WINAPI TracewipeScanGoogleChromeInternetCache(HWND window) { return ScanChromium(window, 4, ChromiumTrace::Cache); }
int WINAPI TracewipeScanGoogleChromeSessions(HWND window) { return ScanChromium(window, 4, ChromiumTrace::Sessions); }
int WINAPI TracewipeScanGoogleChromePasswords(HWND window) { return ScanChromium(window, 4, ChromiumTrace::Passwords); }
int WINAPI TracewipeScanMicrosoftEdgeHistory(HWND window) { return ScanChromium(window, 5, ChromiumTrace::History); }
int WINAPI TracewipeScanMicrosoftEdgeCookies(HWND window) { return ScanChromium(window, 5, ChromiumTrace::Cookies); }
int WINAPI TracewipeScanMicrosoftEdgeInternetCache(HWND window) { return ScanChromium(window, 5, ChromiumTrace::Cache); }
int WINAPI TracewipeScanMicrosoftEdgeSessions(HWND window) { return ScanChromium(window, 5, ChromiumTrace::Sessions); }
int WINAPI TracewipeScanMicrosoftEdgePasswords(HWND window) { return ScanChromium(window, 5, ChromiumTrace::Passwords); }
int WINAPI TracewipeScanOtherBrowsersHistory(HWND window) { return ScanChromium(window, 6, ChromiumTrace::History); }
int WINAPI TracewipeScanOtherBrowsersCookies(HWND window) { return ScanChromium(window, 6, ChromiumTrace::Cookies); }
int WINAPI TracewipeScanOtherBrowsersInternetCache(HWND window) { return ScanChromium(window, 6, ChromiumTrace::Cache); }
int WINAPI TracewipeScanOtherBrowsersSessions(HWND window) { return ScanChromium(window, 6, ChromiumTrace::Sessions); }
int WINAPI TracewipeScanOtherBrowsersPasswords(HWND window) { return ScanChromium(window, 6, ChromiumTrace::Passwords); }

int WINAPI TracewipeGetEvidenceFile(HWND window, int group, int selected, int index) {
  // The categories by global index, as the trace cleaner's category table has them: group, and
  // the scanner of those that have one. 0-32 are the classic ones, 33 on those of Windows Vista
  // to 11 (group 0) and of the Chromium-family browsers (groups 4, 5 and 6).
  struct Category {
    int group;
    int(WINAPI* scan)(HWND);
  };
  static const Category kCategories[] = {
    {0, TracewipeScanWindowsRecentDocuments},
    {0, TracewipeScanWindowsStartMenuRun},
    {0, TracewipeScanWindowsCommonDialog},
    {0, TracewipeScanWindowsTemporaryFiles},
    {0, TracewipeScanWindowsMappedNetworkDrives},
    {0, nullptr},  // 5 Windows Logo History
    {0, TracewipeScanWindowsSearchComputerHistory},
    {0, TracewipeScanWindowsSearchFilesHistory},
    {0, TracewipeScanWindowsStartMenuClickHistory},
    {0, TracewipeScanWindowsStartMenuOrderHistory},
    {0, TracewipeScanWindowsAutoDialupHistory},
    {0, TracewipeScanWindowsTelnetHistory},
    {1, TracewipeScanInternetExplorerURLHistory},
    {1, TracewipeScanInternetExplorerHistory},
    {1, TracewipeScanInternetExplorerCookie},
    {1, TracewipeScanInternetExplorerAutoCompleteData},
    {1, TracewipeScanInternetExplorerAutoCompletePasswords},
    {1, TracewipeScanInternetExplorerCache},
    {2, nullptr},  // 18 Mozilla Firefox - History
    {2, TracewipeScanMozillaFirefoxCookie},
    {2, TracewipeScanMozillaFirefoxInternetCache},
    {2, TracewipeScanMozillaFirefoxSaveFormInformation},
    {2, TracewipeScanMozillaFirefoxSavePasswords},
    {2, TracewipeScanMozillaFirefoxDownloadManagerHistory},
    {2, nullptr},  // 24 Mozilla Firefox - Search History
    {3, TracewipeScanWindowsMediaPlayer},
    {3, nullptr},  // 26 Real Player
    {3, TracewipeScanQuicktimePlayer},
    {3, TracewipeScanMediaPlayerClassic},
    {3, TracewipeScanMacromediaFlashPlayer},
    {3, TracewipeScanMicrosoftManagementConsole},
    {3, TracewipeScanMicrosoftPaint},
    {3, TracewipeScanWinRAR},
    {0, TracewipeScanWindowsExplorerSearchHistory},
    {0, TracewipeScanWindowsExplorerTypedPaths},
    {0, TracewipeScanWindowsRecentDocumentsList},
    {0, TracewipeScanWindowsCommonDialogFolders},
    {0, TracewipeScanWindowsThumbnailCache},
    {4, TracewipeScanGoogleChromeHistory},
    {4, TracewipeScanGoogleChromeCookies},
    {4, TracewipeScanGoogleChromeInternetCache},
    {4, TracewipeScanGoogleChromeSessions},
    {4, TracewipeScanGoogleChromePasswords},
    {5, TracewipeScanMicrosoftEdgeHistory},
    {5, TracewipeScanMicrosoftEdgeCookies},
    {5, TracewipeScanMicrosoftEdgeInternetCache},
    {5, TracewipeScanMicrosoftEdgeSessions},
    {5, TracewipeScanMicrosoftEdgePasswords},
    {6, TracewipeScanOtherBrowsersHistory},
    {6, TracewipeScanOtherBrowsersCookies},
    {6, TracewipeScanOtherBrowsersInternetCache},
    {6, TracewipeScanOtherBrowsersSessions},
    {6, TracewipeScanOtherBrowsersPasswords},
  };
  const int kCount = static_cast<int>(sizeof(kCategories) / sizeof(kCategories[0]));
  if (selected != 1 || index < 0 || index >= kCount) return 0;
  const Category& category = kCategories[index];
  if (category.group != group || !category.scan) return 0;
  return category.scan(window);
}

int WINAPI TracewipeCleanEvidenceFile(const wchar_t* name, const wchar_t* location) {
  return base::Guarded([&] { return tracewipe::CleanEvidence(name, location); });
}

}  // extern "C"
