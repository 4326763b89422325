// The browser refuses to load a control whose class identifier has bit 0x400 (the kill bit) in the
// "Compatibility Flags" of its key under "ActiveX Compatibility". A 64-bit Windows keeps two such
// lists, one per registry view, and a 32-bit browser reads only its own: a control is blocked only
// when every view that can load it carries the bit.
#include "contracts/ctrlguard.h"

#include <string>
#include <vector>

#include "base/handles.h"

namespace {

constexpr DWORD kKillBit = 0x400;
constexpr wchar_t kCompatibility[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
constexpr wchar_t kFlags[] = L"Compatibility Flags";

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in hexadecimal digits of either case, nothing more:
// the text becomes part of a registry path, so nothing else may pass.
bool WellFormed(const wchar_t* key) {
  static const char kPattern[] = "{hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh}";
  if (!key) return false;
  for (size_t i = 0; i < sizeof(kPattern) - 1; ++i) {
    wchar_t c = key[i];
    if (kPattern[i] != 'h') {
      if (c != static_cast<wchar_t>(kPattern[i])) return false;
    } else if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'))) {
      return false;
    }
  }
  return key[sizeof(kPattern) - 1] == L'\0';
}

bool SixtyFourBitWindows() {
#ifdef _WIN64
  return true;
#else
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto isWow64 = reinterpret_cast<IsWow64>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
#endif
}

// The registry views to look at: both on a 64-bit Windows, the only one elsewhere (older systems
// refuse the view flags).
std::vector<REGSAM> Views() {
  if (SixtyFourBitWindows()) return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
  return {0};
}

bool Registered(const std::wstring& clsid, REGSAM view) {
  base::UniqueKey key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str(), 0, KEY_QUERY_VALUE | view,
                       key.receive()) == ERROR_SUCCESS;
}

// The flags as stored; 0 when the key or value is missing or is not a 32-bit number.
DWORD ReadFlags(HKEY key) {
  DWORD type = REG_NONE, flags = 0, size = sizeof(flags);
  if (RegQueryValueExW(key, kFlags, nullptr, &type, reinterpret_cast<BYTE*>(&flags), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(flags))
    return 0;
  return flags;
}

bool Killed(const std::wstring& clsid, REGSAM view) {
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kCompatibility + clsid).c_str(), 0, KEY_QUERY_VALUE | view,
                    key.receive()) != ERROR_SUCCESS)
    return false;
  return (ReadFlags(key.get()) & kKillBit) != 0;
}

bool SetKillBit(const std::wstring& clsid, REGSAM view) {
  base::UniqueKey key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, (kCompatibility + clsid).c_str(), 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE | view, nullptr, key.receive(), nullptr) != ERROR_SUCCESS)
    return false;
  DWORD flags = ReadFlags(key.get()) | kKillBit;
  return RegSetValueExW(key.get(), kFlags, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags)) ==
         ERROR_SUCCESS;
}

}  // namespace

extern "C" {

// 0: installed in a view that can still load it; 1: blocked wherever it is installed, or not
// installed at all (no risk to this computer); -1: not a class identifier.
int WINAPI CtrlguardStatus(const wchar_t* key) {
  try {
    if (!WellFormed(key)) return -1;
    for (REGSAM view : Views())
      if (Registered(key, view) && !Killed(key, view)) return 0;
    return 1;
  } catch (...) {
    return -1;
  }
}

// 1 when the kill bit is set in every view, the value's other bits kept; 0 otherwise (a key that
// is not a class identifier writes nothing).
int WINAPI CtrlguardBlock(const wchar_t* key) {
  try {
    if (!WellFormed(key)) return 0;
    bool all = true;
    for (REGSAM view : Views()) all = SetKillBit(key, view) && all;
    return all ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
