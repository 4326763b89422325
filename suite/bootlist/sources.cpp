#include "sources.h"

#include <shlobj.h>

#include "registry_access.h"

namespace bootlist {
namespace {

const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunOnce[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const wchar_t kRun32[] = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";

bool Is64BitWindows() {
  if (sizeof(void*) == 8) return true;
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow = FALSE;
  return fn && fn(GetCurrentProcess(), &wow) && wow;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  std::wstring folder = path;
  while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return folder;
}

}  // namespace

bool RegistrySourceOf(int kind, RegistrySource* source) {
  switch (kind) {
    case kUserRun: *source = {HKEY_CURRENT_USER, kRun}; return true;
    case kMachineRun: *source = {HKEY_LOCAL_MACHINE, kRun}; return true;
    case kUserRunOnce: *source = {HKEY_CURRENT_USER, kRunOnce}; return true;
    case kMachineRunOnce: *source = {HKEY_LOCAL_MACHINE, kRunOnce}; return true;
    case kMachineRun32:
      // A view linked to the native key holds the native entries: they are listed once, as kind 3.
      if (!Is64BitWindows() || hivescrub::InSharedView(HKEY_LOCAL_MACHINE, kRun32)) return false;
      *source = {HKEY_LOCAL_MACHINE, kRun32};
      return true;
  }
  return false;
}

base::UniqueKey OpenSource(int kind, REGSAM access) {
  RegistrySource source;
  base::UniqueKey key;
  if (RegistrySourceOf(kind, &source))
    RegOpenKeyExW(source.root, source.path, 0, access | KEY_WOW64_64KEY, key.receive());
  return key;
}

bool IsCommandType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

std::vector<std::wstring> StartupFolders() {
  std::vector<std::wstring> folders;
  for (int csidl : {CSIDL_STARTUP, CSIDL_COMMON_STARTUP}) {
    std::wstring folder = ShellFolder(csidl);
    DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    bool seen = false;
    for (const std::wstring& f : folders) seen = seen || hivescrub::EqualNoCase(f, folder);
    if (!seen) folders.push_back(folder);
  }
  return folders;
}

bool IsStartupFile(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return false;
  std::wstring name = path.substr(slash + 1);
  // A plain name: no stream, wildcard, other separator or step out of the folder.
  if (name.empty() || name == L"." || name == L".." || name.find_first_of(L"/:*?\"<>|") != std::wstring::npos)
    return false;
  for (wchar_t c : name)
    if (c < 32) return false;
  bool inside = false;
  for (const std::wstring& folder : StartupFolders()) inside = inside || hivescrub::EqualNoCase(folder, path.substr(0, slash));
  if (!inside) return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace bootlist
