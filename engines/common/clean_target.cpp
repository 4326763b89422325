#include "engines/common/clean_target.h"

#include <cwchar>

#include "base/text.h"
#include "engines/common/path_guard.h"

namespace cleaning {
namespace {

const wchar_t kCurrentUser[] = L"HKEY_CURRENT_USER";
const size_t kCurrentUserLength = 17;
const size_t kLongestPath = 32767;  // the longest path Windows knows

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsAbsolute(const wchar_t* path, size_t length) {
  if (length >= 3 && ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
      path[1] == L':' && IsSeparator(path[2])) {
    return true;
  }
  return length >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]);
}

}  // namespace

bool RegistryLocation(const wchar_t* location, std::wstring* subKey) {
  subKey->clear();
  if (!location || wcsncmp(location, kCurrentUser, kCurrentUserLength) != 0) return false;
  if (location[kCurrentUserLength] == L'\\') {
    const wchar_t* rest = location + kCurrentUserLength + 1;
    subKey->assign(rest, base::LengthBounded(rest, kLongestPath));
  }
  return true;
}

std::wstring CleanFilePath(const wchar_t* name, const wchar_t* location) {
  size_t nameLength = base::LengthBounded(name, kLongestPath + 1);
  size_t locationLength = base::LengthBounded(location, kLongestPath + 1);
  if (nameLength == 0 || nameLength > kLongestPath || locationLength > kLongestPath) return std::wstring();
  if (wcspbrk(name, L"\\/")) return std::wstring();
  if (!IsAbsolute(location, locationLength)) return std::wstring();
  std::wstring path(location, locationLength);
  path.append(name, nameLength);
  return path;
}

std::wstring FileTarget::Path() const {
  return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

bool CleanFileTarget(const wchar_t* name, const wchar_t* location, FileTarget* target) {
  std::wstring path = CleanFilePath(name, location);
  size_t cut = path.find_last_of(L"\\/");
  if (path.empty() || cut == std::wstring::npos) return false;
  std::wstring file = path.substr(cut + 1);
  if (file.empty() || file == L"." || file == L".." || file.find_first_of(L"<>:\"|?*") != std::wstring::npos) return false;
  for (wchar_t c : file) {
    if (c < 32) return false;
  }
  // "X:\\name": the folder is the drive's root, backslash and all.
  std::wstring folder = path.substr(0, cut == 2 && path[1] == L':' ? 3 : cut);
  if (!CanonicalPath(folder, &target->folder)) return false;
  target->name = file;
  return true;
}

}  // namespace cleaning
