#include "suite/taskbrisk/settings.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "base/handles.h"
#include "base/registry.h"

namespace taskbrisk {

const wchar_t kMemoryKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

namespace {

const wchar_t kIoPageLockLimit[] = L"IoPageLockLimit";
const wchar_t kMenuShowDelay[] = L"MenuShowDelay";
const wchar_t kAutoEndTasks[] = L"AutoEndTasks";
const wchar_t kHungAppTimeout[] = L"HungAppTimeout";
const wchar_t kWaitToKillAppTimeout[] = L"WaitToKillAppTimeout";

// Windows' own defaults where a value is missing.
constexpr int kDefaultMenuMs = 400;
constexpr int kDefaultHungAppMs = 5000;
constexpr int kDefaultWaitToKillMs = 20000;

constexpr DWORD kMB = 1024 * 1024;
// The disk buffer each position stands for; position 0 leaves the choice to Windows.
constexpr DWORD kBufferBytes[kPositions] = {0, 2 * kMB, 4 * kMB, 8 * kMB, 12 * kMB, 16 * kMB,
                                            24 * kMB, 32 * kMB, 48 * kMB, 64 * kMB, 128 * kMB};

bool OpenKey(HKEY root, const wchar_t* path, REGSAM access, bool create, base::UniqueKey* key) {
  access |= KEY_WOW64_64KEY;
  LONG rc = create ? RegCreateKeyExW(root, path, 0, nullptr, 0, access, nullptr, key->receive(), nullptr)
                   : RegOpenKeyExW(root, path, 0, access, key->receive());
  return rc == ERROR_SUCCESS;
}

// A decimal number of milliseconds from a REG_SZ value; fallback for anything else.
int ReadMilliseconds(const wchar_t* name, int fallback) {
  base::UniqueKey key;
  if (!OpenKey(HKEY_CURRENT_USER, kDesktopKey, KEY_QUERY_VALUE, false, &key)) return fallback;
  wchar_t text[16] = {};  // longer texts (absurd values) fail the bounded read
  if (!base::ReadRegistryString(key.get(), name, text, 16) || !text[0]) return fallback;
  long value = 0;
  for (const wchar_t* c = text; *c; ++c) {
    if (*c < L'0' || *c > L'9' || value > 100000000) return fallback;
    value = value * 10 + (*c - L'0');
  }
  return static_cast<int>(value);
}

bool WriteText(const wchar_t* name, const std::wstring& text) {
  base::UniqueKey key;
  return OpenKey(HKEY_CURRENT_USER, kDesktopKey, KEY_SET_VALUE, true, &key) &&
         base::WriteRegistryString(key.get(), name, text.c_str());
}

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

int SecondsOf(const wchar_t* name, int fallbackMs, int low, int high) {
  return Clamp((ReadMilliseconds(name, fallbackMs) + 500) / 1000, low, high);
}

bool WriteSeconds(const wchar_t* name, int seconds, int low, int high) {
  if (seconds < low || seconds > high) return false;
  return WriteText(name, std::to_wstring(seconds * 1000));
}

}  // namespace

int DiskBufferPosition() {
  base::UniqueKey key;
  if (!OpenKey(HKEY_LOCAL_MACHINE, kMemoryKey, KEY_QUERY_VALUE, false, &key)) return 0;
  DWORD type = 0, bytes = 0, size = sizeof(bytes);
  if (RegQueryValueExW(key.get(), kIoPageLockLimit, nullptr, &type, reinterpret_cast<BYTE*>(&bytes), &size) !=
          ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof(bytes) || bytes == 0)
    return 0;
  // The position whose size is nearest: a value set by hand shows on the closest mark.
  int best = 1;
  for (int p = 2; p < kPositions; ++p) {
    DWORD distance = bytes > kBufferBytes[p] ? bytes - kBufferBytes[p] : kBufferBytes[p] - bytes;
    DWORD bestDistance = bytes > kBufferBytes[best] ? bytes - kBufferBytes[best] : kBufferBytes[best] - bytes;
    if (distance < bestDistance) best = p;
  }
  return best;
}

bool SetDiskBufferPosition(int position) {
  if (position < 0 || position >= kPositions) return false;
  base::UniqueKey key;
  if (!OpenKey(HKEY_LOCAL_MACHINE, kMemoryKey, KEY_SET_VALUE, false, &key)) return false;
  if (position == 0) {
    LONG rc = RegDeleteValueW(key.get(), kIoPageLockLimit);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }
  DWORD bytes = kBufferBytes[position];
  return RegSetValueExW(key.get(), kIoPageLockLimit, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&bytes),
                        sizeof(bytes)) == ERROR_SUCCESS;
}

std::wstring DiskBufferText(int position) {
  if (position < 0 || position >= kPositions) return std::wstring();
  std::wstring text = L"Disk Input and Output Buffer Size: ";
  if (position == 0) return text + L"Windows default";
  return text + std::to_wstring(kBufferBytes[position] / kMB) + L" MB";
}

int MenuPosition() {
  int ms = ReadMilliseconds(kMenuShowDelay, kDefaultMenuMs);
  return Clamp((ms + kMenuStepMs / 2) / kMenuStepMs, 0, kPositions - 1);
}

bool SetMenuPosition(int position) {
  if (position < 0 || position >= kPositions) return false;
  int ms = position * kMenuStepMs;
  if (!WriteText(kMenuShowDelay, std::to_wstring(ms))) return false;
  // The registry value counts from the next logon; this makes the running session use it now.
  SystemParametersInfoW(SPI_SETMENUSHOWDELAY, static_cast<UINT>(ms), nullptr, SPIF_SENDCHANGE);
  return true;
}

std::wstring MenuText(int position) {
  if (position < 0 || position >= kPositions) return std::wstring();
  int ms = position * kMenuStepMs;
  return L"Menu Pop-up Speed: " + std::to_wstring(ms) + L" ms" + (ms == kDefaultMenuMs ? L" (Windows default)" : L"");
}

int AutoEndTasks() {
  base::UniqueKey key;
  if (!OpenKey(HKEY_CURRENT_USER, kDesktopKey, KEY_QUERY_VALUE, false, &key)) return 0;
  wchar_t text[4] = {};
  return base::ReadRegistryString(key.get(), kAutoEndTasks, text, 4) && text[0] == L'1' && !text[1] ? 1 : 0;
}

bool SetAutoEndTasks(int flag) {
  if (flag != 0 && flag != 1) return false;
  return WriteText(kAutoEndTasks, flag ? L"1" : L"0");
}

int HungAppSeconds() { return SecondsOf(kHungAppTimeout, kDefaultHungAppMs, kSpeedMin, kSpeedMax); }
bool SetHungAppSeconds(int seconds) { return WriteSeconds(kHungAppTimeout, seconds, kSpeedMin, kSpeedMax); }
int WaitToKillSeconds() { return SecondsOf(kWaitToKillAppTimeout, kDefaultWaitToKillMs, kAutoMin, kAutoMax); }
bool SetWaitToKillSeconds(int seconds) { return WriteSeconds(kWaitToKillAppTimeout, seconds, kAutoMin, kAutoMax); }

namespace {

// One registry value as it was: its type and bytes, or its absence.
struct SavedValue {
  HKEY root;
  const wchar_t* key;
  const wchar_t* name;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

struct Saved {
  bool valid = false;
  std::vector<SavedValue> values;
  UINT menuDelay = 0;
};

// The pages call the settings on one thread, one optimization at a time.
Saved saved;

bool ReadRaw(SavedValue* value) {
  base::UniqueKey key;
  if (!OpenKey(value->root, value->key, KEY_QUERY_VALUE, false, &key)) {
    LONG exists = RegOpenKeyExW(value->root, value->key, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive());
    return exists == ERROR_FILE_NOT_FOUND;  // no key: the value is absent
  }
  DWORD type = 0, size = 0;
  LONG rc = RegQueryValueExW(key.get(), value->name, nullptr, &type, nullptr, &size);
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS || size > 64 * 1024) return false;
  value->data.resize(size);
  rc = RegQueryValueExW(key.get(), value->name, nullptr, &type, value->data.data(), &size);
  if (rc != ERROR_SUCCESS || size > value->data.size()) return false;
  value->data.resize(size);
  value->type = type;
  value->present = true;
  return true;
}

bool WriteRaw(const SavedValue& value) {
  base::UniqueKey key;
  if (!value.present) {
    if (!OpenKey(value.root, value.key, KEY_SET_VALUE, false, &key)) return true;  // neither key nor value
    LONG rc = RegDeleteValueW(key.get(), value.name);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }
  return OpenKey(value.root, value.key, KEY_SET_VALUE, true, &key) &&
         RegSetValueExW(key.get(), value.name, 0, value.type, value.data.empty() ? nullptr : value.data.data(),
                        static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

}  // namespace

bool SaveAll() {
  Saved now;
  for (const wchar_t* name : {kMenuShowDelay, kAutoEndTasks, kHungAppTimeout, kWaitToKillAppTimeout})
    now.values.push_back(SavedValue{HKEY_CURRENT_USER, kDesktopKey, name});
  now.values.push_back(SavedValue{HKEY_LOCAL_MACHINE, kMemoryKey, kIoPageLockLimit});
  for (SavedValue& value : now.values)
    if (!ReadRaw(&value)) return false;
  if (!SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &now.menuDelay, 0)) return false;
  now.valid = true;
  saved = std::move(now);
  return true;
}

bool RestoreAll() {
  if (!saved.valid) return false;
  bool all = true;
  for (const SavedValue& value : saved.values)
    if (!WriteRaw(value)) all = false;
  if (!SystemParametersInfoW(SPI_SETMENUSHOWDELAY, saved.menuDelay, nullptr, SPIF_SENDCHANGE)) all = false;
  return all;
}

}  // namespace taskbrisk
