// The file work of the Rescue Center: folder listings, the undone markers, putting files back
// beside others, deleting a kept tree without following links, and the registry editor's import.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace rescue {

extern const wchar_t kMarkerSuffix[];  // ".undone"

// Calls fn for each entry of folder (not "." or ".."), at most max of them.
void ForEachEntry(const std::wstring& folder, size_t max, const std::function<void(const WIN32_FIND_DATAW&)>& fn);
// How many entries a folder holds at its top.
int CountEntries(const std::wstring& folder);

// The marker beside path: true when it exists; *bytes the undo file's size it records (0 when it
// records none it can read).
bool ReadMarker(const std::wstring& path, DWORD64* bytes);
bool WriteMarker(const std::wstring& path, DWORD64 bytes);

// A free name beside path: "name (2).ext", "name (3).ext"…; "" when none is free.
std::wstring FreeNameBeside(const std::wstring& path);
bool EnsureFolder(const std::wstring& folder);
// Deletes a file, or a folder with everything in it; a link inside is removed as itself, never
// entered. False when something stayed.
bool DeleteTree(const std::wstring& path);

// Imports .reg bytes with the system registry editor ("regedit /s") from a private copy in the
// temporary folder; true when the editor ran and exited with success.
bool ImportRegBytes(const std::vector<char>& bytes);

}  // namespace rescue
