// Hivescrub.dll: the registry cleaning engine. Each scan reports to the given window as
// WM_COPYDATA (contracts/messages.h): 10000 progress; 10015 + c once when category c begins;
// 10000 + c per problem, "id|repair text|display text", the display text being "title|detail".
#pragma once
#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

int WINAPI HivescrubScanActivex(HWND window);     // 1 "ActiveX,OLE,COM Entries"
int WINAPI HivescrubScanSoftware(HWND window);    // 2 "System Software Settings"
int WINAPI HivescrubScanSounds(HWND window);      // 3 "Sounds and App Events"
int WINAPI HivescrubScanMRU(HWND window);         // 4 "MRU and History Lists"
int WINAPI HivescrubScanHelp(HWND window);        // 5 "Help Files Information"
int WINAPI HivescrubScanShared(HWND window);      // 6 "Shared Programs"
int WINAPI HivescrubScanStartup(HWND window);     // 7 "Startup Programs"
int WINAPI HivescrubScanPaths(HWND window);       // 8 "Application Paths"
int WINAPI HivescrubScanAssociations(HWND window);  // 9 "File Associations"
int WINAPI HivescrubScanServices(HWND window);    // 10 "System Services"
int WINAPI HivescrubScanExtensions(HWND window);  // 11 "File Extensions"
int WINAPI HivescrubScanFonts(HWND window);       // 12 "Windows Fonts"
int WINAPI HivescrubScanFolders(HWND window);     // 13 "Files and Folders"
int WINAPI HivescrubScanObsolete(HWND window);    // 14 "Obsolete Software"
int WINAPI HivescrubScanEmpty(HWND window);       // 15 "Empty Registry Keys"

// Repairs one reported problem, given back its id and repair text unchanged. 1 repaired; 0 not
// repaired (no longer that problem, protected, or not a problem this engine reported); 2 nothing
// changed because the repair's undo could not be written to the undo file (no later repair of the
// session can succeed until it can).
int WINAPI HivescrubRepair(int id, const wchar_t* text);
int WINAPI HivescrubGetLastScanDate(wchar_t* buffer);  // 100 characters; "Not Scanned" when none
int WINAPI HivescrubSetLastScanTime(void);
int WINAPI HivescrubSetLastScanDate(void);

#ifdef __cplusplus
}

namespace hivescrub {
// HivescrubRepair's results.
constexpr int kNotRepaired = 0;
constexpr int kRepaired = 1;
constexpr int kNoUndoFile = 2;

// The scan functions by category number 1-15, and their captions.
using ScanFunction = int(WINAPI*)(HWND);
constexpr ScanFunction kScans[16] = {
    nullptr,                 HivescrubScanActivex,      HivescrubScanSoftware, HivescrubScanSounds,
    HivescrubScanMRU,        HivescrubScanHelp,         HivescrubScanShared,   HivescrubScanStartup,
    HivescrubScanPaths,      HivescrubScanAssociations, HivescrubScanServices, HivescrubScanExtensions,
    HivescrubScanFonts,      HivescrubScanFolders,      HivescrubScanObsolete, HivescrubScanEmpty};
constexpr const wchar_t* kCaptions[16] = {
    L"",
    L"ActiveX,OLE,COM Entries", L"System Software Settings", L"Sounds and App Events",
    L"MRU and History Lists",   L"Help Files Information",   L"Shared Programs",
    L"Startup Programs",        L"Application Paths",        L"File Associations",
    L"System Services",         L"File Extensions",          L"Windows Fonts",
    L"Files and Folders",       L"Obsolete Software",        L"Empty Registry Keys"};
}  // namespace hivescrub
#endif
