// The scanners of Tracewipe's categories and its cleaning of one trace. Each scanner reports through
// the given reporter and returns a status nobody reads: 0, the last registry status, or the error
// that made the category's folder or key unreachable.
#pragma once
#include <windows.h>

#include "engines/common/reporter.h"

namespace tracewipe {

// Run history (category 1) and the media players' recent file lists (25, 28, 30): one value each.
constexpr wchar_t kRunMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr wchar_t kRunMruLocation[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
constexpr wchar_t kMediaPlayerKey[] = L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList\\";
constexpr wchar_t kMediaPlayerLocation[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList\\";
constexpr wchar_t kMediaPlayerClassicKey[] = L"Software\\Gabest\\Media Player Classic\\Recent File List\\";
constexpr wchar_t kMediaPlayerClassicLocation[] =
    L"HKEY_CURRENT_USER\\Software\\Gabest\\Media Player Classic\\Recent File List\\";
constexpr wchar_t kManagementConsoleKey[] = L"Software\\Microsoft\\Microsoft Management Console\\Recent File List\\";
constexpr wchar_t kManagementConsoleLocation[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Management Console\\Recent File List\\";

// Histories kept one sub-key per kind: open/save dialogs (category 2, by Windows generation) and
// the search assistant (7).
constexpr wchar_t kOpenSaveMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\";
constexpr wchar_t kOpenSavePidlMruKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU\\";
constexpr wchar_t kSearchAssistantKey[] = L"Software\\Microsoft\\Search Assistant\\ACMru\\";

// Every file below a shell folder (CSIDL_RECENT, _HISTORY, _COOKIES, _INTERNET_CACHE; the Recent
// folder's jump list of the folders pinned to Quick Access left out) when the
// guard (engines/common/path_guard.h) accepts it as a whole-folder root; ERROR_ACCESS_DENIED, and
// nothing reported, when it does not.
LONG ScanShellFolder(cleaning::Reporter& reporter, int csidl);
// Every file below the user's temporary folder (cleaning::TemporaryFolder), guarded the same way;
// the Windows folder's "Temp" is the one folder inside the Windows folder it may be.
LONG ScanTemporaryFiles(cleaning::Reporter& reporter);
// Every value of HKEY_CURRENT_USER\key: progress with the value's text, then an item with the
// given location and the text's size in bytes.
LONG ScanValueList(cleaning::Reporter& reporter, const wchar_t* key, const wchar_t* location);
// Every value of every sub-key of HKEY_CURRENT_USER\parent (parent ends with a backslash); an
// item's location is "HKEY_CURRENT_USER\" + parent + sub-key name + suffix, and is also the
// progress text.
LONG ScanHistoryKeys(cleaning::Reporter& reporter, const wchar_t* parent, const wchar_t* suffix);
// The open/save dialog history of a Windows generation (5 or 6, as CheckWindowsVersion says). Any
// other generation shows the message "new windows" and scans nothing.
LONG ScanCommonDialog(cleaning::Reporter& reporter, int generation);

// What a clean did (TracewipeCleanEvidenceFile's result).
enum CleanOutcome { kNotRemoved = 0, kRemoved = 1, kHeld = 2 };

// Removes the registry value name of the HKEY_CURRENT_USER key that location names, or the file
// location + name, when a scan would report it now: the value lies in a key a registry category
// scans and bears a name it takes; the file lies in a folder a category may walk today (its roots
// derived again and judged by the guard) or is one a browser category names. Nothing else, and
// nothing at all when the two do not name exactly one item. kHeld, with nothing removed, for a
// file another program holds open and for every file of a running Chromium-family browser.
int CleanEvidence(const wchar_t* name, const wchar_t* location);

}  // namespace tracewipe
