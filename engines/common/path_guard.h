// The guard every cleaning scan and clean passes before it walks or deletes anything. Shell
// folders come from the user's registry, which any program running as the user can change; a
// folder named there is walked, and everything below it offered for deletion, only when it is
// plainly the place the category means and not the Windows folder, a drive or a home of the user's
// own files.
//
// Paths are judged in canonical form: full path, long names, no "." or ".." steps, no trailing
// dots or spaces, an upper-case drive letter, and the target of a substituted or mapped drive in
// place of its letter. A folder in canonical form has no trailing backslash unless it is a drive
// root ("C:\").
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace cleaning {

// The canonical form of an absolute path ("X:\..." or "\\server\share..."). False for anything
// else: a relative or drive-relative path ("C:", "C:x"), a device or raw form ("\\?\", "\\.\"),
// an empty or over-long text, a step that is only dots or spaces.
bool CanonicalPath(std::wstring_view path, std::wstring* canonical);

// The length of the root of a canonical path: 3 for "X:\", the length of "\\server\share" for a
// network path.
size_t RootLength(const std::wstring& canonical);

// Whether the canonical path is folder or lies below it (both canonical; letter case ignored).
bool WithinFolder(const std::wstring& path, const std::wstring& folder);

// Whether every step of the canonical path past its first from characters exists as a folder
// that is no junction or link.
bool PlainFoldersFrom(const std::wstring& canonical, size_t from);

// Whether a file in the canonical folder belongs to a walk of the accepted root: the folder is the
// root or below it, reached through plain folders, and short enough for the walk to list.
bool WalkReaches(const std::wstring& folder, const std::wstring& root);

// The protected places of the running system and the current user, derived when the object is
// made. Make one per scan or per clean request: nothing is kept between calls.
class PathGuard {
 public:
  PathGuard();

  // Whether root may be walked whole (every file below it taken): it is not a drive root, not the
  // Windows folder, Program Files, ProgramData, the Users folder or a profile root nor above one,
  // not inside the Windows folder (except its sub-folder ownSystemFolder, when the category names
  // one), Program Files or one of the user's data folders, and reached through plain folders
  // only. canonical receives its canonical form.
  bool AcceptRoot(const std::wstring& root, const wchar_t* ownSystemFolder, std::wstring* canonical) const;

  // Whether the canonical path is, or lies inside, a protected folder (the Windows folder, Program
  // Files, ProgramData, the Users folder, the profile root).
  bool InProtected(const std::wstring& canonical) const;

  // The protected folders a walk must never enter.
  const std::vector<std::wstring>& protectedFolders() const { return protected_; }
  // The canonical Windows folder; empty when unknown (then the guard accepts no root).
  const std::wstring& windows() const { return windows_; }

 private:
  std::wstring windows_;
  std::vector<std::wstring> protected_;  // no root may be one of these or lie above one
  std::vector<std::wstring> sealed_;     // no root may lie inside one of these
};

}  // namespace cleaning
