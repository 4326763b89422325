// The file work of the favorites copy, on the link-safe tree operations: a link inside a favorite
// is never entered, copied or followed, so nothing outside the favorites and the backup is touched.
#pragma once
#include <string>

namespace bookvault {

// Deletes a file, or a folder with everything in it (links removed themselves), for good; true when
// it is gone.
bool DeleteEntry(const std::wstring& path);
// Copies a file or a whole folder, links left out, into an existing folder under the same free
// name; true when every file arrived whole.
bool CopyInto(const std::wstring& entry, const std::wstring& folder);
// Moves a file or a whole folder to the free path to, keeping its name; true when it stands there
// and no longer at from. On failure nothing is lost: the entry stands whole in at least one place.
bool MoveEntry(const std::wstring& from, const std::wstring& to);
// True when b holds just what a holds: the same names, kinds, and files of the same size and time
// of last change (which a copy keeps). A link is never the same as anything.
bool SameEntry(const std::wstring& a, const std::wstring& b);
// Deletes whatever stands at path (a leftover of an interrupted call) and makes it an empty folder.
bool FreshFolder(const std::wstring& path);

}  // namespace bookvault
