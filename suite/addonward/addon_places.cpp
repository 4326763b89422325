#include "suite/addonward/addon_places.h"

#include <cwchar>

#include "suite/hivescrub/registry_access.h"

namespace addonward {

const Kind kKinds[4] = {
    {Kind::kToolbar, L"Toolbar", HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\Toolbar", true},
    {Kind::kExtensions, L"Extensions", HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Internet Explorer\\Extensions", false},
    {Kind::kMenuExt, L"MenuExt", HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\MenuExt", false},
    {Kind::kHelperObject, L"BHO", HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Browser Helper Objects",
     false},
};

const Kind* FindKind(const wchar_t* type) {
  if (!type) return nullptr;
  for (const Kind& kind : kKinds)
    if (wcscmp(kind.type, type) == 0) return &kind;
  return nullptr;
}

bool Is64BitWindows() {
  if (sizeof(void*) == 8) return true;
  // A 32-bit process: under WOW64 on 64-bit Windows. Windows 2000 and XP before SP2 lack the call.
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto isWow64 = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
}

std::vector<std::wstring> KindKeys(const Kind& kind) {
  std::vector<std::wstring> keys = {kind.path};
  if (kind.root != HKEY_LOCAL_MACHINE || !Is64BitWindows()) return keys;
  // Every key is opened in the 64-bit view, where the 32-bit view is the literal "Wow6432Node"
  // below SOFTWARE; .reg text names it the same way, so the undo restores it where it was.
  std::wstring path = kind.path;
  size_t cut = path.find(L'\\');
  std::wstring wow64 = path.substr(0, cut) + L"\\Wow6432Node" + path.substr(cut);
  if (!hivescrub::InSharedView(kind.root, wow64)) keys.push_back(wow64);
  return keys;
}

}  // namespace addonward
