// Webmend.dll: reads, writes, and restores to the shipped value the browser settings that unwanted
// software likes to change.
#include "contracts/webmend.h"

#include <string>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry.h"
#include "base/undo_journal.h"
#include "base/text.h"
#include "contracts/buffers.h"
#include "contracts/tools.h"
#include "settings.h"

namespace {

using webmend::Setting;

// The rights a repair needs are asked for on every open, reads included, so a machine-wide setting
// that cannot be repaired (no administrator rights) is treated as absent. Keys are never created:
// a browser that never made a key has nothing to repair there.
constexpr REGSAM kAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

base::UniqueKey OpenSettingKey(const Setting& setting) {
  base::UniqueKey key;
  if (RegOpenKeyExW(setting.root, setting.key, 0, kAccess, key.receive()) != ERROR_SUCCESS) key.reset();
  return key;
}

// The current value, or false when the key or value is missing, not a string, or does not fit.
bool ReadCurrent(const Setting& setting, wchar_t (&value)[contracts::kValueChars]) {
  base::UniqueKey key = OpenSettingKey(setting);
  return key && base::ReadRegistryString(key.get(), setting.valueName, value, contracts::kValueChars);
}

// The value Windows ships for the running generation, or null on a generation without defaults.
const wchar_t* ShippedValue(const Setting& setting) {
  switch (CheckWindowsVersion()) {
    case 5: return setting.generation5;
    case 6: return setting.generation6;
    default: return nullptr;
  }
}

// Quotes around a value do not change what the browser opens.
std::wstring WithoutQuotes(const wchar_t* text) {
  std::wstring out;
  for (const wchar_t* c = text; *c; ++c)
    if (*c != L'"') out += *c;
  return out;
}

base::UndoJournal& Journal() {
  static base::UndoJournal journal(L"Backup\\Repairs");
  return journal;
}

// Whether the value is already that REG_SZ text: writing it again would change nothing.
bool AlreadyHolds(HKEY key, const wchar_t* valueName, const wchar_t* value) {
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS || type != REG_SZ)
    return false;
  return base::ReadRegistryString(key, valueName) == value;
}

}  // namespace

extern "C" {

int WINAPI WebmendGetSetting(const wchar_t* name, wchar_t* value) {
  return base::Guarded([&] {
    const Setting* setting = webmend::FindSetting(name);
    if (!setting || !value) return 0;
    // Read aside first: on a failure the caller's buffer keeps what it held.
    wchar_t current[contracts::kValueChars] = {};
    if (ReadCurrent(*setting, current)) base::CopyBounded(value, contracts::kValueChars, current);
    return 0;
  });
}

// 0 when the value was written (or already held that text); otherwise the registry's error,
// ERROR_INVALID_PARAMETER when the name is unknown or the value missing, or ERROR_CANNOT_MAKE when
// the value's prior state could not be appended to the undo journal (nothing is written then).
int WINAPI WebmendSetSetting(const wchar_t* name, const wchar_t* value) {
  return base::Guarded([&] {
    const Setting* setting = webmend::FindSetting(name);
    if (!setting || !value) return ERROR_INVALID_PARAMETER;
    base::UniqueKey key = OpenSettingKey(*setting);
    if (!key) return ERROR_FILE_NOT_FOUND;
    if (AlreadyHolds(key.get(), setting->valueName, value)) return ERROR_SUCCESS;
    std::wstring undo;
    if (!base::UndoOfValue(setting->root, setting->key, setting->valueName, 0, &undo) || !Journal().Append(undo))
      return ERROR_CANNOT_MAKE;
    if (!base::WriteRegistryString(key.get(), setting->valueName, value)) return ERROR_WRITE_FAULT;
    return RegCloseKey(key.release());
  }, ERROR_INVALID_PARAMETER);
}

int WINAPI WebmendDefaultSetting(const wchar_t* name, wchar_t* value) {
  return base::Guarded([&] {
    const Setting* setting = webmend::FindSetting(name);
    if (!setting || !value) return 0;
    const wchar_t* shipped = ShippedValue(*setting);
    if (shipped) base::CopyBounded(value, contracts::kValueChars, shipped);
    return 0;
  });
}

int WINAPI WebmendCompare(const wchar_t* name) {
  return base::Guarded([&] {
    wchar_t buffer[contracts::kValueChars] = {};
    WebmendGetSetting(name, buffer);
    std::wstring current = WithoutQuotes(buffer);
    wchar_t shipped[contracts::kValueChars] = {};
    WebmendDefaultSetting(name, shipped);
    return current == WithoutQuotes(shipped) ? 1 : 0;
  });
}

int WINAPI WebmendSetUndoFile(const wchar_t* path) {
  return base::Guarded([&] {
    Journal().UseFile(path);
    return 1;
  });
}

}  // extern "C"
