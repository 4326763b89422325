#include "engines/tracewipe/trace_scans.h"

#include <shlobj.h>

#include <cwchar>
#include <string>

#include "base/handles.h"
#include "base/product.h"
#include "base/registry.h"
#include "contracts/buffers.h"
#include "contracts/tools.h"
#include "engines/common/clean_target.h"
#include "engines/common/folder_walk.h"
#include "engines/common/path_guard.h"
#include "engines/common/shell_folders.h"
#include "engines/tracewipe/chromium_traces.h"
#include "engines/tracewipe/file_traces.h"
#include "engines/tracewipe/registry_traces.h"

namespace tracewipe {
namespace {

const wchar_t kCurrentUserPrefix[] = L"HKEY_CURRENT_USER\\";
const DWORD kNameChars = contracts::kValueChars;  // longer value and key names are skipped

LONG StatusOf(HRESULT hr) { return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : hr; }

// The folders Explorer pinned to Quick Access are kept as one jump list of the Recent folder's
// "AutomaticDestinations": the user's own choice, not a history.
bool NotQuickAccess(const wchar_t* name, size_t length) {
  static const wchar_t kQuickAccess[] = L"f01b4d95cf55d32a.automaticDestinations-ms";
  return length != wcslen(kQuickAccess) || _wcsnicmp(name, kQuickAccess, length) != 0;
}

// The shell folders a category takes whole, the Windows sub-folder each may be, and the files of
// it that are no trace.
struct WholeFolder {
  int csidl;  // -1: the temporary folder
  const wchar_t* ownSystemFolder;
  cleaning::NameFilter filter;
};
const WholeFolder kWholeFolders[] = {
    {CSIDL_RECENT, nullptr, NotQuickAccess}, {-1, L"Temp", nullptr}, {CSIDL_HISTORY, nullptr, nullptr},
    {CSIDL_COOKIES, nullptr, nullptr},       {CSIDL_INTERNET_CACHE, nullptr, nullptr},
};

// The folder a whole-folder category walks now, as named (walked) and in canonical form; the
// failure when it has no path, ERROR_ACCESS_DENIED when the guard refuses it.
LONG WholeFolderRoot(const cleaning::PathGuard& guard, const WholeFolder& category, std::wstring* walked,
                     std::wstring* canonical) {
  HRESULT hr = category.csidl < 0 ? cleaning::TemporaryFolder(walked) : cleaning::ShellFolderPath(category.csidl, walked);
  if (FAILED(hr)) return StatusOf(hr);
  return guard.AcceptRoot(*walked, category.ownSystemFolder, canonical) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LONG ScanFolder(cleaning::Reporter& reporter, int csidl) {
  for (const WholeFolder& category : kWholeFolders) {
    if (category.csidl != csidl) continue;
    std::wstring folder, canonical;
    LONG status = WholeFolderRoot(cleaning::PathGuard(), category, &folder, &canonical);
    if (status == ERROR_SUCCESS) cleaning::FolderWalk(reporter, category.filter).Walk(folder);
    return status;
  }
  return ERROR_INVALID_PARAMETER;
}

enum class FileVerdict { NotATrace, Trace, Held };

FileVerdict JudgeFile(const cleaning::FileTarget& target) {
  const cleaning::PathGuard guard;
  for (const WholeFolder& category : kWholeFolders) {
    std::wstring folder, root;
    if (WholeFolderRoot(guard, category, &folder, &root) == ERROR_SUCCESS && cleaning::WalkReaches(target.folder, root) &&
        (!category.filter || category.filter(target.name.c_str(), target.name.size()))) {
      return FileVerdict::Trace;
    }
  }
  DataFolders folders;
  LONG status = ERROR_SUCCESS;
  if (!CurrentDataFolders(&folders, &status)) return FileVerdict::NotATrace;
  switch (JudgeChromiumFile(guard, folders, target)) {
    case ChromiumVerdict::Trace: return FileVerdict::Trace;
    case ChromiumVerdict::Held: return FileVerdict::Held;
    case ChromiumVerdict::NotATrace: break;
  }
  return IsBrowserFileTrace(guard, folders, target) || IsThumbnailCache(guard, folders, target) ? FileVerdict::Trace
                                                                                                : FileVerdict::NotATrace;
}

// Whether another program holds the file open without letting it be deleted.
bool IsHeld(const std::wstring& path) {
  if (path.size() >= MAX_PATH) return false;
  base::UniqueFile file(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  return !file && GetLastError() == ERROR_SHARING_VIOLATION;
}

bool SameKey(std::wstring_view a, const wchar_t* b) {
  std::wstring_view key(b);
  if (!key.empty() && key.back() == L'\\') key.remove_suffix(1);
  return a.size() == key.size() && _wcsnicmp(a.data(), key.data(), key.size()) == 0;
}

// A key holding one history of the two-level categories: a direct sub-key of parent.
bool IsHistoryKey(std::wstring_view subKey, const wchar_t* parent) {
  size_t length = wcslen(parent);
  if (subKey.size() <= length || _wcsnicmp(subKey.data(), parent, length) != 0) return false;
  std::wstring_view name = subKey.substr(length);
  return name.find(L'\\') == std::wstring_view::npos;
}

bool IsRegistryTraceNow(std::wstring_view subKey, std::wstring_view valueName) {
  if (valueName.empty() || subKey.empty()) return false;
  if (SameKey(subKey, kRunMruKey) || SameKey(subKey, kMediaPlayerKey) || SameKey(subKey, kMediaPlayerClassicKey) ||
      SameKey(subKey, kManagementConsoleKey) || IsHistoryKey(subKey, kSearchAssistantKey)) {
    return true;
  }
  int generation = CheckWindowsVersion();
  if ((generation == 5 && IsHistoryKey(subKey, kOpenSaveMruKey)) ||
      (generation == 6 && IsHistoryKey(subKey, kOpenSavePidlMruKey))) {
    return true;
  }
  return IsRegistryTrace(subKey, valueName);
}

enum class ProgressText { Value, Location };

// Reports every value of an open key. A value that does not read as a string of fewer than 260
// characters is still reported, as "" of size 0. False when the receiver ended the scan.
bool ReportValues(cleaning::Reporter& reporter, HKEY key, const std::wstring& location, ProgressText progress,
                  LONG* status) {
  DWORD count = 0;
  *status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                             nullptr, nullptr);
  if (*status != ERROR_SUCCESS) return true;
  for (DWORD i = 0; i < count; ++i) {
    wchar_t name[kNameChars];
    DWORD nameChars = kNameChars;
    if (RegEnumValueW(key, i, name, &nameChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
    wchar_t data[contracts::kValueChars];
    base::ReadRegistryString(key, name, data, contracts::kValueChars);
    size_t dataChars = wcslen(data);
    if (!reporter.Progress(progress == ProgressText::Value ? std::wstring_view(data, dataChars)
                                                           : std::wstring_view(location))) {
      return false;
    }
    if (!reporter.Item(std::wstring_view(name, nameChars), location, dataChars * sizeof(wchar_t))) return false;
  }
  return true;
}

}  // namespace

LONG ScanShellFolder(cleaning::Reporter& reporter, int csidl) { return ScanFolder(reporter, csidl); }

LONG ScanTemporaryFiles(cleaning::Reporter& reporter) { return ScanFolder(reporter, -1); }

LONG ScanValueList(cleaning::Reporter& reporter, const wchar_t* keyPath, const wchar_t* location) {
  base::UniqueKey key;
  LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, key.receive());
  if (status != ERROR_SUCCESS) return status;
  ReportValues(reporter, key.get(), location, ProgressText::Value, &status);
  return status;
}

LONG ScanHistoryKeys(cleaning::Reporter& reporter, const wchar_t* parent, const wchar_t* suffix) {
  base::UniqueKey parentKey;
  LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, parent, 0, KEY_READ, parentKey.receive());
  if (status != ERROR_SUCCESS) return status;
  DWORD count = 0;
  status = RegQueryInfoKeyW(parentKey.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  for (DWORD i = 0; i < count; ++i) {
    wchar_t name[kNameChars];
    DWORD nameChars = kNameChars;
    if (RegEnumKeyExW(parentKey.get(), i, name, &nameChars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      continue;
    }
    std::wstring subPath = std::wstring(parent) + std::wstring(name, nameChars) + suffix;
    base::UniqueKey subKey;
    status = RegOpenKeyExW(HKEY_CURRENT_USER, subPath.c_str(), 0, KEY_READ, subKey.receive());
    if (status != ERROR_SUCCESS) continue;
    if (!ReportValues(reporter, subKey.get(), kCurrentUserPrefix + subPath, ProgressText::Location, &status)) break;
  }
  return status;
}

LONG ScanCommonDialog(cleaning::Reporter& reporter, int generation) {
  if (generation == 5) return ScanHistoryKeys(reporter, kOpenSaveMruKey, L"\\");
  if (generation == 6) return ScanHistoryKeys(reporter, kOpenSavePidlMruKey, L"\\");
  // Neither history layout is known for this Windows: say so, and read nothing.
  MessageBoxW(GetActiveWindow(), L"new windows", product::kCaption, MB_OK);
  return ERROR_SUCCESS;
}

int CleanEvidence(const wchar_t* name, const wchar_t* location) {
  if (!name || !*name) return kNotRemoved;
  std::wstring subKey;
  if (cleaning::RegistryLocation(location, &subKey)) {
    // Scans report a key's location with or without its trailing backslash.
    std::wstring_view key(subKey);
    if (!key.empty() && key.back() == L'\\') key.remove_suffix(1);
    std::wstring_view valueName(name, wcsnlen(name, kNameChars));
    if (valueName.size() >= kNameChars || !IsRegistryTraceNow(key, valueName)) return kNotRemoved;
    base::UniqueKey open;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(key).c_str(), 0, KEY_READ | KEY_SET_VALUE, open.receive()) !=
        ERROR_SUCCESS) {
      return kNotRemoved;
    }
    return RegDeleteValueW(open.get(), name) == ERROR_SUCCESS ? kRemoved : kNotRemoved;
  }
  cleaning::FileTarget target;
  if (!cleaning::CleanFileTarget(name, location, &target)) return kNotRemoved;
  FileVerdict verdict = JudgeFile(target);
  const std::wstring path = target.Path();
  if (verdict == FileVerdict::Held || (verdict == FileVerdict::Trace && IsHeld(path))) return kHeld;
  if (verdict != FileVerdict::Trace) return kNotRemoved;
  if (DeleteFileType(path.c_str(), 0) == 1) return kRemoved;
  return IsHeld(path) ? kHeld : kNotRemoved;
}

}  // namespace tracewipe
