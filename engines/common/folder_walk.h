// The depth-first folder walk of the cleaning scans. Entries come in the order the file system
// lists them; a sub-folder is walked as soon as it is met. For every file the walk sends its name
// as progress, then, when the filter accepts the name (or there is no filter), one item: the file
// name, the file's full path and its size in bytes.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engines/common/reporter.h"

namespace cleaning {

// Whether a file name (length characters) is reported as an item.
using NameFilter = bool (*)(const wchar_t* name, size_t length);

// The later of a file's creation and last-write times: a file copied or unpacked keeps an old
// write time but is new where it lies.
uint64_t LastChange(const FILETIME& created, const FILETIME& written);

class FolderWalk {
 public:
  explicit FolderWalk(Reporter& reporter, NameFilter filter = nullptr) : reporter_(reporter), filter_(filter) {}
  FolderWalk(const FolderWalk&) = delete;
  FolderWalk& operator=(const FolderWalk&) = delete;

  // Folders (full paths as the walk spells them, no trailing backslash) the walk never enters.
  void Fence(std::vector<std::wstring> folders);

  // Files created or written at or after moment (a FILETIME as one number) are not reported: a
  // program may still be using what it has just left in a temporary folder. 0 reports every file.
  void KeepFrom(uint64_t moment) { keepFrom_ = moment; }

  // Walks folder and everything below it. A folder that cannot be listed, whose search pattern
  // would reach 260 characters, or that is itself a junction or link, reports nothing. False when
  // the receiver ended the scan.
  bool Walk(const std::wstring& folder);

 private:
  bool WalkLevel();  // path_ holds the folder to list, ending with a separator
  HANDLE FindFirst(const wchar_t* pattern, WIN32_FIND_DATAW* data);
  bool Fenced() const;  // path_ names a folder of the fence

  Reporter& reporter_;
  NameFilter filter_;
  std::wstring path_;
  std::vector<std::wstring> fence_;  // upper case
  uint64_t keepFrom_ = 0;
  bool basicFind_ = true;  // until the system refuses the Windows 7 search options
};

}  // namespace cleaning
