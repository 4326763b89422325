// Hivesafe.dll: whole-registry backups made and merged back by the system's registry editor, kept
// in Backup\Registry\FirstBackup (the first backup ever made) and Backup\Registry\FullBackup (every
// later one) of the program's folder, the current directory.
#include "contracts/hivesafe.h"

#include <cwchar>
#include <string>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry_editor.h"
#include "engines/hivesafe/backup_stamp.h"
#include "engines/hivesafe/merged_check.h"

namespace {

const wchar_t kFirstBackup[] = L"Backup\\Registry\\FirstBackup";
const wchar_t kFullBackup[] = L"Backup\\Registry\\FullBackup";

bool IsFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The backup folder under the current directory (the program's folder); "" when the current
// directory cannot be read.
std::wstring BackupFolder(bool full) {
  wchar_t current[MAX_PATH] = {};
  DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  std::wstring folder(current, length);
  if (folder.back() != L'\\') folder += L'\\';  // a drive root already ends in one
  return folder + (full ? kFullBackup : kFirstBackup);
}

// A backup file name as the backup page lists it: a plain name ending in ".reg" in any case. Any
// other text could name the whole folder ("" or "*"), another folder ("..\FirstBackup\x.reg"), or
// break out of the quoted argument of the registry editor.
bool IsBackupFileName(const SharedString& name) {
  const wchar_t* text = name.c_str();
  size_t length = name.length();
  if (length < 4 || length >= MAX_PATH) return false;
  for (size_t i = 0; i < length; ++i)
    if (text[i] < L' ' || std::wcschr(L"<>:\"/\\|?*", text[i])) return false;
  return _wcsicmp(text + length - 4, L".reg") == 0;
}

}  // namespace

extern "C" {

// 1 when the backup file was written. The folders come with the installation and are never made
// here; without them there is nowhere to write.
int WINAPI HivesafeBackup(int full) {
  return base::Guarded([&] {
    std::wstring folder = BackupFolder(full != 0);
    if (folder.empty() || !IsFolder(folder)) return 0;
    std::wstring file = folder + L'\\' + hivesafe::BackupStampNow() + L".reg";
    if (!base::RunRegistryEditor(L" /e \"" + file + L'"')) return 0;
    // The editor exits with 0 whether or not it wrote anything: only the file tells.
    return IsFile(file) ? 1 : 0;
  });
}

int WINAPI HivesafeCheckIfFirst(void) {
  return base::Guarded([&] {
    WIN32_FIND_DATAW found;
    base::UniqueFind find(FindFirstFileW(L"Backup\\Registry\\FirstBackup\\*.*", &found));
    if (!find) return 0;
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      size_t length = std::wcslen(found.cFileName);
      // Case matters here: only the editor's own lower-case extension marks a backup.
      if (length >= 3 && std::wcscmp(found.cFileName + length - 3, L"reg") == 0) return 1;
    } while (FindNextFileW(find.get(), &found));
    return 0;
  });
}

// 1 when the registry editor merged the named backup file: it exited with success and a value of
// the file reads back from the registry; 0 when the name is not a backup file name, the file does
// not exist, the editor cannot be started or failed, or the file's values are not in the registry.
int WINAPI HivesafeRestore(int full, SharedString fileName) {
  return base::Guarded([&] {
    if (!IsBackupFileName(fileName)) return 0;
    std::wstring folder = BackupFolder(full != 0);
    if (folder.empty()) return 0;
    std::wstring file = folder + L'\\' + fileName.c_str();
    if (!IsFile(file)) return 0;
    if (!base::RunRegistryEditor(L" /s \"" + file + L'"')) return 0;
    // Some editors exit with 0 whatever became of the import: the file's values must be there now.
    return hivesafe::LooksMerged(file) ? 1 : 0;
  });
}

int WINAPI HivesafeRemove(SharedString fileName) {
  return base::Guarded([&] {
    if (!IsBackupFileName(fileName)) return 0;
    std::wstring folder = BackupFolder(true);
    if (folder.empty()) return 0;
    std::wstring file = folder + L'\\' + fileName.c_str();
    if (!IsFile(file)) return 0;  // a folder of that name is not a backup
    return DeleteFileW(file.c_str()) ? 1 : 0;
  });
}

}  // extern "C"
