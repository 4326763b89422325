#include "engines/common/folder_walk.h"

#include <cstdint>

#include "base/handles.h"

namespace cleaning {
namespace {

// FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH, which headers for Windows XP do not name: skip
// the short 8.3 names and fetch directory entries in larger batches (Windows 7 and later).
const FINDEX_INFO_LEVELS kFindExInfoBasic = static_cast<FINDEX_INFO_LEVELS>(1);
const DWORD kFindFirstExLargeFetch = 2;
const size_t kMaxPattern = MAX_PATH;  // a search pattern this long is not searched

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

bool EndsWithSeparator(const std::wstring& path) {
  return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

std::wstring Upper(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

}  // namespace

uint64_t LastChange(const FILETIME& created, const FILETIME& written) {
  uint64_t c = (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  uint64_t w = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  return c > w ? c : w;
}

void FolderWalk::Fence(std::vector<std::wstring> folders) {
  fence_.clear();
  for (std::wstring& folder : folders) fence_.push_back(Upper(std::move(folder)));
}

bool FolderWalk::Fenced() const {
  // Compared by length first: the walk meets many folders, the fence holds a few.
  for (const std::wstring& folder : fence_) {
    if (folder.size() == path_.size() && Upper(path_) == folder) return true;
  }
  return false;
}

bool FolderWalk::Walk(const std::wstring& folder) {
  if (reporter_.stopped()) return false;
  if (folder.empty()) return true;
  path_ = folder;
  // The walk never enters a link below its root; a root that is one leads just as far astray.
  std::wstring named = folder;
  while (named.size() > 3 && EndsWithSeparator(named)) named.pop_back();
  DWORD attributes = GetFileAttributesW(named.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  if (!EndsWithSeparator(path_)) path_.push_back(L'\\');
  return WalkLevel();
}

HANDLE FolderWalk::FindFirst(const wchar_t* pattern, WIN32_FIND_DATAW* data) {
  if (basicFind_) {
    HANDLE find = FindFirstFileExW(pattern, kFindExInfoBasic, data, FindExSearchNameMatch, nullptr,
                                   kFindFirstExLargeFetch);
    if (find != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return find;
    basicFind_ = false;  // Windows XP and Vista know neither option
  }
  return FindFirstFileW(pattern, data);
}

bool FolderWalk::WalkLevel() {
  const size_t folderLength = path_.size();
  path_.append(L"*.*");
  if (path_.size() >= kMaxPattern) {
    path_.resize(folderLength);
    return true;
  }
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirst(path_.c_str(), &data));
  path_.resize(folderLength);
  if (!find) return true;
  do {
    if (IsDotEntry(data.cFileName)) continue;
    path_.resize(folderLength);
    path_.append(data.cFileName);
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction or linked folder leads elsewhere (often back up the tree): what lies there
      // is walked where it really is, or not at all.
      if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
      if (!fence_.empty() && Fenced()) continue;
      path_.push_back(L'\\');
      if (!WalkLevel()) return false;
      continue;
    }
    std::wstring_view name(data.cFileName);
    if (!reporter_.Progress(name)) return false;
    if (filter_ && !filter_(name.data(), name.size())) continue;
    if (keepFrom_ && LastChange(data.ftCreationTime, data.ftLastWriteTime) >= keepFrom_) continue;
    uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (!reporter_.Item(name, path_, size)) return false;
  } while (FindNextFileW(find.get(), &data));
  path_.resize(folderLength);
  return true;
}

}  // namespace cleaning
