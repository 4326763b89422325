// Options.dll: the two settings of the options page, kept in the registry of the current user.
//
// Starting with Windows is the "Lumaspan" value of the user's Run key. It counts as on only when it
// names the Lumaspan.exe beside this library: a value left by a copy of the program installed
// elsewhere (or moved away) would start something else, and the page must not show it as ours.
#include "contracts/options.h"

#include <windows.h>

#include <string>
#include <vector>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"Lumaspan";
const wchar_t kSettingsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";
const wchar_t kLiveUpdateValue[] = L"LiveUpdate";

// The full path of the program beside this library; empty when the library's own path cannot be
// read whole.
std::wstring ProgramPath() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<const wchar_t*>(&ProgramPath), &self)) {
    return std::wstring();
  }
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      std::wstring folder(path.data(), length);
      size_t slash = folder.find_last_of(L'\\');
      if (slash == std::wstring::npos) return std::wstring();
      return folder.substr(0, slash + 1) + L"Lumaspan.exe";
    }
    if (path.size() >= 32768) return std::wstring();  // cut short even at the longest path
    path.resize(path.size() * 2);
  }
}

// The program a Run command starts: the quoted path, or the whole command when it is not quoted.
std::wstring CommandProgram(const std::wstring& command) {
  if (!command.empty() && command[0] == L'"') {
    size_t close = command.find(L'"', 1);
    return close == std::wstring::npos ? std::wstring() : command.substr(1, close - 1);
  }
  size_t end = command.find_last_not_of(L' ');
  return end == std::wstring::npos ? std::wstring() : command.substr(0, end + 1);
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool OpenSettings(const wchar_t* path, REGSAM access, bool create, base::UniqueKey& key) {
  if (create) {
    return RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, access, nullptr, key.receive(), nullptr) ==
           ERROR_SUCCESS;
  }
  return RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, key.receive()) == ERROR_SUCCESS;
}

int CheckStartupRun() {
  std::wstring program = ProgramPath();
  base::UniqueKey run;
  if (program.empty() || !OpenSettings(kRunKey, KEY_QUERY_VALUE, false, run)) return 0;
  std::wstring named = CommandProgram(base::ReadRegistryString(run.get(), kRunValue));
  return !named.empty() && SamePath(named, program) ? 1 : 0;
}

int SetStartupRun(int flag) {
  if (!flag) {
    base::UniqueKey run;
    if (!OpenSettings(kRunKey, KEY_SET_VALUE, false, run)) return 1;  // no Run key: nothing starts
    LONG rc = RegDeleteValueW(run.get(), kRunValue);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND ? 1 : 0;
  }
  std::wstring program = ProgramPath();
  base::UniqueKey run;
  if (program.empty() || !OpenSettings(kRunKey, KEY_SET_VALUE, true, run)) return 0;
  // Quoted, so that a folder with spaces ("Program Files") names the program and not a prefix of it.
  std::wstring command = L"\"" + program + L"\"";
  return base::WriteRegistryString(run.get(), kRunValue, command.c_str()) ? 1 : 0;
}

int CheckLiveUpdate() {
  base::UniqueKey settings;
  if (!OpenSettings(kSettingsKey, KEY_QUERY_VALUE, false, settings)) return 0;
  DWORD type = 0, value = 0, bytes = sizeof(value);
  if (RegQueryValueExW(settings.get(), kLiveUpdateValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof(value)) {
    return 0;
  }
  return value ? 1 : 0;
}

int SetLiveUpdate(int flag) {
  base::UniqueKey settings;
  if (!OpenSettings(kSettingsKey, KEY_SET_VALUE, true, settings)) return 0;
  DWORD value = flag ? 1 : 0;
  return RegSetValueExW(settings.get(), kLiveUpdateValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value)) == ERROR_SUCCESS
             ? 1
             : 0;
}

}  // namespace

extern "C" {

int WINAPI OptionsCheckStartupRun(void) {
  return base::Guarded([&] { return CheckStartupRun(); });
}

int WINAPI OptionsCheckLiveUpdata(void) {
  return base::Guarded([&] { return CheckLiveUpdate(); });
}

int WINAPI OptionsSetStartupRun(int flag) {
  return base::Guarded([&] { return SetStartupRun(flag); });
}

int WINAPI OptionsSetLiveUpdate(int flag) {
  return base::Guarded([&] { return SetLiveUpdate(flag); });
}

}  // extern "C"
