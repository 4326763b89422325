// File trees handled without ever going through a link. A symbolic link or junction (a reparse
// point) inside a tree may name anything, a whole drive included: removing a tree removes such a
// link itself and never what it points at, and copying a tree leaves links out. Paths are plain
// Win32 paths below MAX_PATH; a tree holding a longer path is refused before anything is touched.
#pragma once
#include <windows.h>

#include <string>

namespace tree_ops {

// True for attributes of a symbolic link, junction or other reparse point.
inline bool IsLink(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}
bool IsLinkPath(const std::wstring& path);

// Removes a file, a link, or a folder with everything below it, for good. Links are removed
// themselves, never entered. True when nothing stands at path any more (a missing path included).
bool RemoveTree(const std::wstring& path);

// Copies the file or folder from to the free path to. Links below from are left out; from itself
// must not be a link. False, with nothing left at to, when anything could not be copied.
bool CopyTree(const std::wstring& from, const std::wstring& to);

// Moves the file or folder from to the free path to. Within one volume it is renamed; across
// volumes it is copied and then removed, link-safe. A link itself is refused. False when it did not arrive whole; from then still stands whole, except that a removal
// failing half-way leaves the rest of from beside the complete copy at to.
bool MoveTree(const std::wstring& from, const std::wstring& to);

}  // namespace tree_ops
