#include "pages/shredder/file_choice.h"

#include <cwchar>

#include "base/text.h"

namespace shredder {
namespace {

// The file functions take paths longer than MAX_PATH in the "\\?\" form only.
std::wstring LongForm(const std::wstring& path) {
  if (path.size() < MAX_PATH || path.compare(0, 4, L"\\\\?\\") == 0) return path;
  if (path.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC" + path.substr(1);
  return L"\\\\?\\" + path;
}

}  // namespace

std::vector<std::wstring> SplitSelection(const wchar_t* buffer, size_t capacity) {
  std::vector<std::wstring> strings;
  for (size_t at = 0; buffer && at < capacity;) {
    size_t length = base::LengthBounded(buffer + at, capacity - at);
    if (length == 0 || at + length == capacity) break;  // the end of the list, or a string cut off
    strings.emplace_back(buffer + at, length);
    at += length + 1;
  }
  if (strings.size() <= 1) return strings;  // one file: its full path
  // A folder and the names in it. The folder of a drive's root comes with its backslash ("C:\").
  std::wstring folder = strings[0];
  if (folder.back() != L'\\') folder += L'\\';
  std::vector<std::wstring> paths;
  paths.reserve(strings.size() - 1);
  for (size_t i = 1; i < strings.size(); ++i) paths.push_back(folder + strings[i]);
  return paths;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

FileFacts ReadFileFacts(const std::wstring& path) {
  FileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(LongForm(path).c_str(), GetFileExInfoStandard, &data)) return facts;
  facts.known = true;
  facts.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.lastWrite = data.ftLastWriteTime;
  return facts;
}

std::wstring ModifiedText(const FILETIME& lastWrite) {
  SYSTEMTIME utc = {}, local = {};
  if (!FileTimeToSystemTime(&lastWrite, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) return L"";
  wchar_t text[64] = {};
  swprintf(text, 64, L"%d-%d-%d %d:%d:%d", local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute,
           local.wSecond);
  return text;
}

}  // namespace shredder
