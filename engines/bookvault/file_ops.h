// The file work of the favorites copy. Copies and deletes go through the shell's file operation,
// silently; since the shell can report success having done nothing, every result is checked on the
// disk itself.
#pragma once
#include <string>

namespace bookvault {

// Deletes a file, or a folder with everything in it, for good; true when it is gone.
bool DeleteEntry(const std::wstring& path);
// Copies a file or a whole folder into an existing folder under the same name; true when every
// file arrived whole.
bool CopyInto(const std::wstring& entry, const std::wstring& folder);
// Moves a file or a whole folder to the free path to, keeping its name; true when it stands there
// and no longer at from. On failure nothing is lost: the entry stands whole in at least one place.
bool MoveEntry(const std::wstring& from, const std::wstring& to);
// Deletes whatever stands at path (a leftover of an interrupted call) and makes it an empty folder.
bool FreshFolder(const std::wstring& path);

}  // namespace bookvault
