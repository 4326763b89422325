#include "app/program_folder.h"

#include <windows.h>

#include <vector>

std::wstring ProgramFolder() {
  // Long enough for any path the system can give, "\\?\" forms included.
  std::vector<wchar_t> path(32768);
  DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return std::wstring();
  std::wstring folder(path.data(), length);
  size_t slash = folder.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return std::wstring();
  folder.resize(slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive's root keeps its backslash
  return folder;
}

bool MakeProgramFolderCurrent() {
  std::wstring folder = ProgramFolder();
  return !folder.empty() && SetCurrentDirectoryW(folder.c_str()) != FALSE;
}
