// The traces Windows and other programs keep as registry values under HKEY_CURRENT_USER: histories
// of Explorer (its searches, typed paths and recent documents of Vista to 11 too), Internet Explorer, Paint, QuickTime and WinRAR. Every item is one value, named as it
// is stored, with its key's location ("HKEY_CURRENT_USER\...\", trailing backslash) and the size of
// its data: a string's length in characters times two, any other data's byte count. The progress
// text is the value's text, or its key's location when it holds none.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "engines/common/reporter.h"

namespace tracewipe {

enum class RegistryTrace {
  MappedDrives,           // Explorer "Map Network Drive MRU"
  SearchComputer,         // Explorer "FindComputerMRU"
  StartMenuClicks,        // Explorer "UserAssist\{...}\Count": names in ROT13, progress decoded
  StartMenuOrder,         // the "Order" values anywhere below Explorer "MenuOrder"
  AutoDial,               // every value below "RAS Autodial\Addresses"
  Telnet,                 // the machine values of "Software\Microsoft\Telnet"
  TypedUrls,              // "TypedURLs" and "TypedURLsTime"
  AutoCompleteData,       // "IntelliForms\Storage1"
  AutoCompletePasswords,  // "IntelliForms\Storage2"
  QuickTimeMovies,        // QuickTime's "Recent Movies"
  PaintFiles,             // Paint's "Recent File List"
  WinRarHistory,          // WinRAR's "ArcHistory" and every value below "DialogEditHistory"
  ExplorerSearches,       // Explorer "WordWheelQuery" (the search box, Vista and later)
  TypedPaths,             // Explorer "TypedPaths" (the address bar, Vista and later)
  RecentDocsList,         // Explorer "RecentDocs" and its sub-keys, one per file type
  DialogFolders,          // ComDlg32 "LastVisitedPidlMRU", "LastVisitedMRU" and "CIDSizeMRU"
};

// Reports the trace's values. The status of the last key opened; a missing key finds nothing.
LONG ScanRegistryTrace(cleaning::Reporter& reporter, RegistryTrace trace);

// Whether the value valueName of HKEY_CURRENT_USER\subKey (no trailing backslash) is one a scan
// of these traces reports: the key is one the trace's scan walks, and the name one it takes.
bool IsRegistryTrace(std::wstring_view subKey, std::wstring_view valueName);

// name with every Latin letter turned 13 places, as Explorer stores the names of its click history.
std::wstring Rot13(std::wstring_view name);

}  // namespace tracewipe
