// The browser refuses to load a control whose class identifier has bit 0x400 (the kill bit) in the
// "Compatibility Flags" of its key under "ActiveX Compatibility". A 64-bit Windows keeps two such
// lists, one per registry view, and a 32-bit browser reads only its own: a control is blocked only
// when every view that can load it carries the bit.
#include "contracts/ctrlguard.h"

#include <string>
#include <vector>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/undo_journal.h"

namespace {

constexpr DWORD kKillBit = 0x400;
constexpr wchar_t kCompatibility[] = L"SOFTWARE\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
constexpr wchar_t kCompatibility32[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Internet Explorer\\ActiveX Compatibility\\";
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

// Where a block writes: the key of each view, named literally in the 64-bit view (the 32-bit list
// lives below "Wow6432Node"), so that the undo text names exactly the key that was changed.
struct Place {
  std::wstring path;
  REGSAM view;
};

std::vector<Place> KillBitPlaces(const std::wstring& clsid) {
  if (!SixtyFourBitWindows()) return {{kCompatibility + clsid, 0}};
  return {{kCompatibility + clsid, KEY_WOW64_64KEY}, {kCompatibility32 + clsid, KEY_WOW64_64KEY}};
}

enum class FlagsState { kBlocked, kToSet, kForeign };

// A value of another type is somebody else's data under that name: it is not ours to overwrite.
FlagsState StateAt(const Place& place) {
  base::UniqueKey key;
  LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, place.path.c_str(), 0, KEY_QUERY_VALUE | place.view, key.receive());
  if (status == ERROR_FILE_NOT_FOUND) return FlagsState::kToSet;
  if (status != ERROR_SUCCESS) return FlagsState::kForeign;
  DWORD type = REG_NONE, flags = 0, size = sizeof(flags);
  status = RegQueryValueExW(key.get(), kFlags, nullptr, &type, reinterpret_cast<BYTE*>(&flags), &size);
  if (status == ERROR_FILE_NOT_FOUND) return FlagsState::kToSet;
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(flags)) return FlagsState::kForeign;
  return (flags & kKillBit) ? FlagsState::kBlocked : FlagsState::kToSet;
}

bool SetKillBit(const Place& place) {
  base::UniqueKey key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, place.path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | place.view,
                      nullptr, key.receive(), nullptr) != ERROR_SUCCESS)
    return false;
  DWORD flags = ReadFlags(key.get()) | kKillBit;
  return RegSetValueExW(key.get(), kFlags, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof(flags)) ==
         ERROR_SUCCESS;
}

base::UndoJournal& Journal() {
  static base::UndoJournal journal(L"Backup\\Repairs");
  return journal;
}

// Every view is described in the journal before any is changed; nothing is written when a view
// holds flags of another type or the journal cannot be written.
bool Block(const std::wstring& clsid) {
  std::vector<Place> toSet;
  for (const Place& place : KillBitPlaces(clsid)) {
    FlagsState state = StateAt(place);
    if (state == FlagsState::kForeign) return false;
    if (state == FlagsState::kToSet) toSet.push_back(place);
  }
  if (toSet.empty()) return true;
  std::wstring undo;
  for (const Place& place : toSet) {
    std::wstring text;
    if (!base::UndoOfValue(HKEY_LOCAL_MACHINE, place.path, kFlags, place.view, &text)) return false;
    undo += text;
  }
  if (!Journal().Append(undo)) return false;
  bool all = true;
  for (const Place& place : toSet) all = SetKillBit(place) && all;
  return all;
}

}  // namespace

extern "C" {

// 0: installed in a view that can still load it; 1: blocked wherever it is installed, or not
// installed at all (no risk to this computer); -1: not a class identifier.
int WINAPI CtrlguardStatus(const wchar_t* key) {
  return base::Guarded([&] {
    if (!WellFormed(key)) return -1;
    for (REGSAM view : Views())
      if (Registered(key, view) && !Killed(key, view)) return 0;
    return 1;
  }, -1);
}

// 1 when the kill bit is set in every view, the value's other bits kept; 0 otherwise: a key that
// is not a class identifier, flags that are not a 32-bit number, or an undo that could not be
// written change nothing.
int WINAPI CtrlguardBlock(const wchar_t* key) {
  return base::Guarded([&] { return WellFormed(key) && Block(key) ? 1 : 0; });
}

int WINAPI CtrlguardSetUndoFile(const wchar_t* path) {
  return base::Guarded([&] {
    Journal().UseFile(path);
    return 1;
  });
}

}  // extern "C"
