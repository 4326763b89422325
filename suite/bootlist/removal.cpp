#include "removal.h"

#include "base/handles.h"
#include "registry_access.h"
#include "sources.h"
#include "undo.h"

namespace bootlist {
namespace {

const wchar_t kBackupFolder[] = L"Backup\\Startup";
const wchar_t kFilesFolder[] = L"Backup\\Startup\\Files";

hivescrub::UndoLog& Undo() {
  static hivescrub::UndoLog log(kBackupFolder);
  return log;
}

std::wstring FullPath(const std::wstring& relative) {
  wchar_t full[MAX_PATH * 2] = {};
  DWORD n = GetFullPathNameW(relative.c_str(), MAX_PATH * 2, full, nullptr);
  return n > 0 && n < MAX_PATH * 2 ? std::wstring(full, n) : std::wstring();
}

bool MakeFilesFolder() {
  for (const wchar_t* folder : {L"Backup", kBackupFolder, kFilesFolder})
    if (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  DWORD attributes = GetFileAttributesW(kFilesFolder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A name in the files folder that nothing holds yet: the file's own, else "name (n).ext".
std::wstring FreeBackupPath(const std::wstring& name) {
  std::wstring folder = FullPath(kFilesFolder);
  if (folder.empty()) return {};
  size_t dot = name.rfind(L'.');
  std::wstring stem = dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
  std::wstring extension = stem.size() == name.size() ? std::wstring() : name.substr(stem.size());
  for (int n = 1; n < 1000; ++n) {
    std::wstring candidate = folder + L"\\" + (n == 1 ? name : stem + L" (" + std::to_wstring(n) + L")" + extension);
    if (GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
      return candidate;
  }
  return {};
}

bool RemoveValue(int kind, const std::wstring& name) {
  RegistrySource source;
  base::UniqueKey key = OpenSource(kind, KEY_QUERY_VALUE | KEY_SET_VALUE);
  DWORD type = REG_NONE;
  if (!key || !RegistrySourceOf(kind, &source) || !hivescrub::HasValue(key.get(), name.c_str(), &type) ||
      !IsCommandType(type))
    return false;
  std::wstring undo;
  if (!hivescrub::UndoOfValue(source.root, source.path, name, &undo) || !Undo().Append(undo)) return false;
  return RegDeleteValueW(key.get(), name.c_str()) == ERROR_SUCCESS;
}

bool MoveFileAway(const std::wstring& path) {
  if (!IsStartupFile(path) || !MakeFilesFolder()) return false;
  std::wstring target = FreeBackupPath(path.substr(path.rfind(L'\\') + 1));
  if (target.empty()) return false;
  // The note of where the file goes is on disk before the file moves: a file moved without it
  // would be lost from the user's view with nothing telling where. A comment for whoever restores
  // by hand; the registry editor passes over it.
  if (!Undo().Append(L"\r\n; \"" + path + L"\" was moved to \"" + target + L"\"\r\n")) return false;
  if (MoveFileExW(path.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED | MOVEFILE_WRITE_THROUGH)) return true;
  Undo().Append(L"; (that move failed: \"" + path + L"\" stayed where it was)\r\n");
  return false;
}

}  // namespace

bool RemoveEntry(int kind, const std::wstring& key) {
  return kind == kStartupFolder ? MoveFileAway(key) : RemoveValue(kind, key);
}

std::wstring UndoFilePath() { return Undo().Path(); }

}  // namespace bootlist
