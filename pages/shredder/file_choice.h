// What the file shredder page reads from the system about the files the user picks: the paths of
// an open dialog's multiple selection, and the texts of a file's row.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace shredder {

// The full paths of a selection as the open dialog leaves it in its buffer: one full path, or a
// folder followed by the names chosen in it; each string terminated, an empty one ends the list.
// The whole buffer is read (capacity characters at most); a string it cuts off is dropped.
std::vector<std::wstring> SplitSelection(const wchar_t* buffer, size_t capacity);

// Same path for the purpose of the list, as Windows compares names: without regard to case.
bool SamePath(const std::wstring& a, const std::wstring& b);

struct FileFacts {
  bool known = false;
  uint64_t size = 0;
  FILETIME lastWrite = {};
};
// Size and last-write time of a file, for paths of any length.
FileFacts ReadFileFacts(const std::wstring& path);

// A last-write time in local time as "year-month-day hour:minute:second", no leading zeros.
std::wstring ModifiedText(const FILETIME& lastWrite);

}  // namespace shredder
