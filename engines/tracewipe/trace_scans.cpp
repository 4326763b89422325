#include "engines/tracewipe/trace_scans.h"

#include <cwchar>
#include <string>

#include "base/handles.h"
#include "base/registry.h"
#include "contracts/buffers.h"
#include "contracts/tools.h"
#include "engines/common/clean_target.h"
#include "engines/common/folder_walk.h"
#include "engines/common/shell_folders.h"

namespace tracewipe {
namespace {

const wchar_t kCurrentUserPrefix[] = L"HKEY_CURRENT_USER\\";
const DWORD kNameChars = contracts::kValueChars;  // longer value and key names are skipped

LONG StatusOf(HRESULT hr) { return HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : hr; }

LONG ScanFolder(cleaning::Reporter& reporter, const std::wstring& folder) {
  cleaning::FolderWalk(reporter).Walk(folder);
  return ERROR_SUCCESS;
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

LONG ScanShellFolder(cleaning::Reporter& reporter, int csidl) {
  std::wstring folder;
  HRESULT hr = cleaning::ShellFolderPath(csidl, &folder);
  if (FAILED(hr)) return StatusOf(hr);
  return ScanFolder(reporter, folder);
}

LONG ScanTemporaryFiles(cleaning::Reporter& reporter) {
  std::wstring folder;
  HRESULT hr = cleaning::TemporaryFolder(&folder);
  if (FAILED(hr)) return StatusOf(hr);
  return ScanFolder(reporter, folder);
}

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
  MessageBoxW(GetActiveWindow(), L"new windows", L"Lumaspan", MB_OK);
  return ERROR_SUCCESS;
}

void CleanEvidence(const wchar_t* name, const wchar_t* location) {
  if (!name || !*name) return;
  std::wstring subKey;
  if (cleaning::RegistryLocation(location, &subKey)) {
    if (subKey.empty()) return;  // a value of HKEY_CURRENT_USER itself is no trace any scan reports
    base::UniqueKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY,
                      key.receive()) != ERROR_SUCCESS) {
      return;
    }
    RegDeleteValueW(key.get(), name);
    return;
  }
  std::wstring path = cleaning::CleanFilePath(name, location);
  if (!path.empty()) DeleteFileType(path.c_str(), 0);
}

}  // namespace tracewipe
