#include "pages/backup/rescue_files.h"

#include <shlobj.h>

#include <cstdio>
#include <cwchar>

#include "base/handles.h"
#include "base/registry_editor.h"

namespace rescue {

const wchar_t kMarkerSuffix[] = L".undone";

namespace {

constexpr int kMaxDepth = 64;

bool DeleteBelow(const std::wstring& path, int depth) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError() == ERROR_FILE_NOT_FOUND;
  if (attributes & FILE_ATTRIBUTE_READONLY) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(path.c_str()) != 0;
  bool done = true;
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    if (depth > kMaxDepth) return false;
    std::vector<std::wstring> names;
    ForEachEntry(path, static_cast<size_t>(-1), [&](const WIN32_FIND_DATAW& found) { names.push_back(found.cFileName); });
    for (const std::wstring& name : names) done = DeleteBelow(path + L"\\" + name, depth + 1) && done;
  }
  return RemoveDirectoryW(path.c_str()) && done;
}

bool WriteAll(const std::wstring& path, const void* data, DWORD size) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.get(), data, size, &written, nullptr) && written == size && FlushFileBuffers(file.get());
}

}  // namespace

void ForEachEntry(const std::wstring& folder, size_t max, const std::function<void(const WIN32_FIND_DATAW&)>& fn) {
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return;
  size_t seen = 0;
  do {
    if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
    if (seen++ >= max) break;
    fn(found);
  } while (FindNextFileW(find.get(), &found));
}

int CountEntries(const std::wstring& folder) {
  int n = 0;
  ForEachEntry(folder, 1000000, [&](const WIN32_FIND_DATAW&) { ++n; });
  return n;
}

bool ReadMarker(const std::wstring& path, DWORD64* bytes) {
  *bytes = 0;
  base::UniqueFile file(CreateFileW((path + kMarkerSuffix).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetFileAttributesW((path + kMarkerSuffix).c_str()) != INVALID_FILE_ATTRIBUTES;
  char text[24] = {};
  DWORD read = 0;
  if (!ReadFile(file.get(), text, sizeof(text) - 1, &read, nullptr)) return true;
  DWORD64 value = 0;
  for (DWORD i = 0; i < read && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + static_cast<DWORD64>(text[i] - '0');
  *bytes = value;
  return true;
}

bool WriteMarker(const std::wstring& path, DWORD64 bytes) {
  char text[24] = {};
  int n = std::snprintf(text, sizeof(text), "%llu", static_cast<unsigned long long>(bytes));
  return n > 0 && WriteAll(path + kMarkerSuffix, text, static_cast<DWORD>(n));
}

std::wstring FreeNameBeside(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  size_t dot = path.rfind(L'.');
  bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash + 1);
  std::wstring stem = hasExtension ? path.substr(0, dot) : path;
  std::wstring extension = hasExtension ? path.substr(dot) : std::wstring();
  for (int n = 2; n < 1000; ++n) {
    std::wstring candidate = stem + L" (" + std::to_wstring(n) + L")" + extension;
    if (GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
      return candidate;
  }
  return std::wstring();
}

bool EnsureFolder(const std::wstring& folder) {
  DWORD attributes = GetFileAttributesW(folder.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr) == ERROR_SUCCESS;
}

bool DeleteTree(const std::wstring& path) { return DeleteBelow(path, 0); }

bool ImportRegBytes(const std::vector<char>& bytes) {
  wchar_t folder[MAX_PATH] = {}, file[MAX_PATH] = {};
  DWORD n = GetTempPathW(MAX_PATH, folder);
  if (n == 0 || n >= MAX_PATH || !GetTempFileNameW(folder, L"lru", 0, file)) return false;
  bool ok = WriteAll(file, bytes.data(), static_cast<DWORD>(bytes.size())) &&
            base::RunRegistryEditor(std::wstring(L" /s \"") + file + L"\"");
  DeleteFileW(file);
  return ok;
}

}  // namespace rescue
