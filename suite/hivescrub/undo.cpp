#include "undo.h"

#include <mutex>
#include <vector>

#include "base/handles.h"
#include "base/scan_time.h"
#include "base/undo_journal.h"
#include "registry_access.h"

namespace hivescrub {
namespace {

constexpr int kMaxDepth = 512;  // the registry's own nesting limit
const wchar_t kUndoFolder[] = L"Backup\\Registry\\Undo";

bool KeyText(HKEY root, const std::wstring& path, HKEY key, int depth, std::wstring* out) {
  if (depth > kMaxDepth || !base::RegWritable(path)) return false;
  *out += L"\r\n[" + FullKeyPath(root, path) + L"]\r\n";
  for (const std::wstring& name : ValueNames(key))
    if (!base::ExistingValueLine(key, name, out)) return false;
  for (const std::wstring& name : SubKeyNames(key)) {
    // A link is deleted as itself and its target kept (DeleteKeyTree); .reg text cannot make a
    // link again, so the file only notes it for whoever restores by hand.
    if (IsLinkKey(key, name)) {
      if (!base::RegWritable(name)) return false;
      *out += L"\r\n; [" + FullKeyPath(root, JoinKey(path, name)) + L"] was a registry link and is not restored\r\n";
      continue;
    }
    base::UniqueKey child = OpenRead(key, name);
    if (!child || !KeyText(root, JoinKey(path, name), child.get(), depth + 1, out)) return false;
  }
  return true;
}

}  // namespace

bool UndoOfKey(HKEY root, const std::wstring& key, std::wstring* text) {
  // A link itself cannot be described, and what it leads to is not what a repair deletes.
  if (IsLinkKey(root, key)) return false;
  base::UniqueKey k = OpenRead(root, key);
  if (!k) return false;
  std::wstring out;
  if (!KeyText(root, key, k.get(), 0, &out)) return false;
  *text = out;
  return true;
}

bool UndoOfValue(HKEY root, const std::wstring& key, const std::wstring& value, std::wstring* text) {
  base::UniqueKey k = OpenRead(root, key);
  if (!k || !base::RegWritable(key) || !base::RegWritable(value)) return false;
  std::wstring out = L"\r\n[" + FullKeyPath(root, key) + L"]\r\n";
  if (HasValue(k.get(), value.c_str())) {
    if (!base::ExistingValueLine(k.get(), value, &out)) return false;
  } else {
    out += (value.empty() ? std::wstring(L"@") : base::RegQuoted(value)) + L"=-\r\n";
  }
  *text = out;
  return true;
}

UndoLog::UndoLog(const wchar_t* folder) : folder_(folder) {}

// Opens the session's file for writing, creating it (with its header) on the first repair.
base::UniqueFile UndoLog::OpenSessionFile(bool* created) {
  *created = false;
  if (!path_.empty()) {
    base::UniqueFile file(
        CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD error = GetLastError();
    if (file || (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)) return file;
    path_.clear();  // removed by the user meanwhile: the session goes on in a new file
  }
  // A free name can be taken by another writer between the look and the make: try a few.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::wstring candidate = base::FreeJournalPath(folder_.c_str());  // full path, folders made
    if (candidate.empty()) break;
    base::UniqueFile file(CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      path_ = candidate;  // the session's later repairs go here wherever the current folder is
      *created = true;
      return file;
    }
    if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
  return base::UniqueFile();
}

bool UndoLog::Append(const std::wstring& text) {
  std::lock_guard<std::mutex> hold(lock_);
  bool created = false;
  base::UniqueFile file = OpenSessionFile(&created);
  if (!file) return false;
  std::wstring block = created ? std::wstring(1, L'\uFEFF') + base::kRegHeader + text : text;
  LARGE_INTEGER size = {}, zero = {};
  if (!GetFileSizeEx(file.get(), &size) || !SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return false;
  DWORD bytes = static_cast<DWORD>(block.size() * sizeof(wchar_t)), written = 0;
  bool ok = WriteFile(file.get(), block.data(), bytes, &written, nullptr) && written == bytes &&
            FlushFileBuffers(file.get());
  if (!ok) {  // leave the file as it was, so the undo of earlier repairs still imports
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    if (created) {
      file.reset();
      DeleteFileW(path_.c_str());
      path_.clear();
    }
  }
  return ok;
}

std::wstring UndoLog::Path() {
  std::lock_guard<std::mutex> hold(lock_);
  return path_;
}

UndoLog& RegistryUndo() {
  static UndoLog log(kUndoFolder);
  return log;
}

bool AppendUndo(const std::wstring& text) { return RegistryUndo().Append(text); }

std::wstring UndoFilePath() { return RegistryUndo().Path(); }

}  // namespace hivescrub
