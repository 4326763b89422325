// What a cleaning request names. The page hands back the two texts it kept from a scan report, a
// name and a location; before anything is deleted they must name exactly one registry value or
// one file, and nothing else.
#pragma once
#include <string>

namespace cleaning {

// The HKEY_CURRENT_USER sub-key of a registry location (what follows "HKEY_CURRENT_USER\").
// True when location is a registry location at all: its first 17 characters are exactly
// "HKEY_CURRENT_USER" (case-sensitive). subKey is left empty when the location names no sub-key
// (nothing follows, or the 18th character is not a backslash): such a request removes nothing.
bool RegistryLocation(const wchar_t* location, std::wstring* subKey);

// The file location + name (no separator is inserted: location ends with one). Empty when the two
// cannot name one file: no name, a name holding a path separator, or a location that is not an
// absolute path ("X:\..." or "\\server\...").
std::wstring CleanFilePath(const wchar_t* name, const wchar_t* location);

// One file a clean request names: its folder in canonical form (engines/common/path_guard.h) and
// its name exactly as given, trailing dots or spaces included.
struct FileTarget {
  std::wstring folder;
  std::wstring name;
  std::wstring Path() const;
};

// The file location + name names (as CleanFilePath joins them). False when the two name no file:
// see CleanFilePath; a name that is "." or "..", holds a wildcard or a character no file name
// may hold; a folder that has no canonical form ("\\?\" and "\\.\" forms included).
bool CleanFileTarget(const wchar_t* name, const wchar_t* location, FileTarget* target);

}  // namespace cleaning
