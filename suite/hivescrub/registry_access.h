// The engine's registry access: every key is opened in the 64-bit view where there is one, so a
// path names exactly one key whatever the bitness of the process, and scans open keys read-only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "base/registry.h"

namespace hivescrub {

// Read access for scans; KEY_WOW64_64KEY makes "Wow6432Node" paths literal in a 32-bit process too
// (older systems ignore the flag).
constexpr REGSAM kReadAccess = KEY_READ | KEY_WOW64_64KEY;

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE"; "" for any other root.
const wchar_t* RootName(HKEY root);
// Splits "HKEY_...\sub\key" into its root and the path below it. Only the two roots the engine
// scans are accepted; false for anything else.
bool SplitKeyPath(const std::wstring& full, HKEY* root, std::wstring* sub);
std::wstring FullKeyPath(HKEY root, const std::wstring& sub);
// parent + "\" + child, or child alone when parent is empty.
std::wstring JoinKey(const std::wstring& parent, const std::wstring& child);

// Opens parent\sub for reading; an invalid key when it does not exist or cannot be read.
base::UniqueKey OpenRead(HKEY parent, const std::wstring& sub);

struct KeyCounts {
  DWORD subKeys = 0;
  DWORD values = 0;
};
// One query for the sizes of a key; false when it fails.
bool QueryCounts(HKEY key, KeyCounts* counts);

// The names of the sub-keys of key, in the order the registry gives them.
std::vector<std::wstring> SubKeyNames(HKEY key);

// The names of the values of key ("" for a set default value). Names holding a NUL character cannot be
// addressed through the Win32 calls and are left out.
std::vector<std::wstring> ValueNames(HKEY key);

// Whether key has a value of that name, and its type.
bool HasValue(HKEY key, const wchar_t* name, DWORD* type = nullptr);
// A REG_DWORD value; false when missing or of another type or size.
bool ReadDword(HKEY key, const wchar_t* name, DWORD* value);

// The last component of a key path, and the path without it.
std::wstring LastComponent(const std::wstring& path);
std::wstring ParentPath(const std::wstring& path);
// The components of a key path.
std::vector<std::wstring> Components(const std::wstring& path);
// True when the key path has a component "Wow6432Node": its entries describe 32-bit programs.
bool IsWow64Path(const std::wstring& path);

bool EqualNoCase(const std::wstring& a, const std::wstring& b);
bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix);
bool EndsWithNoCase(const std::wstring& s, const std::wstring& suffix);
std::wstring Lowered(std::wstring s);

}  // namespace hivescrub

namespace hivescrub {

// Whether key (a path below a root) matches pattern, component by component, without regard to
// case: "*" stands for any one component and "?Name" for an optional component Name.
bool MatchKey(const std::wstring& key, const wchar_t* pattern);

// A string value as base::ReadRegistryString reads it, without a length limit; "" when absent.
std::wstring ReadString(HKEY key, const wchar_t* name);

}  // namespace hivescrub

namespace hivescrub {
// Whether root\path is itself a symbolic link to another key.
bool IsLinkKey(HKEY root, const std::wstring& path);
// Whether root\path lies in a part of the 32-bit view that is a link to the native key (a key the two
// views share): its entries are scanned under their native name only.
bool InSharedView(HKEY root, const std::wstring& path);

// Deletes parent\name and everything below it, in the 64-bit view where there is one. A symbolic
// link in the tree (parent\name itself included) is deleted as the link: its target is never
// entered and keeps everything. Deleting stops at the first key that cannot be deleted.
bool DeleteKeyTree(HKEY parent, const std::wstring& name);
}  // namespace hivescrub
