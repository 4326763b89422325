#include "engines/common/bookkeeping.h"

#include <cwchar>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry.h"
#include "base/scan_time.h"
#include "base/text.h"
#include "contracts/buffers.h"

namespace cleaning {
namespace {

const REGSAM kBookAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
const size_t kGuardChars = 200;
const long long kTicksPerSecond = 10000000;

// The decimal field at [at, at + width) of text, whose length is length; -1 unless all digits.
int Field(const wchar_t* text, size_t length, size_t at, size_t width) {
  if (at + width > length) return -1;
  int value = 0;
  for (size_t i = at; i < at + width; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return -1;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

}  // namespace

bool GuardValue(const wchar_t* subKey, const wchar_t* valueName, int mode) {
  if (!subKey || !*subKey) return false;  // never HKEY_CURRENT_USER itself
  base::UniqueKey key;
  bool created = false;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, subKey, 0, kBookAccess, key.receive()) != ERROR_SUCCESS) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, subKey, 0, nullptr, 0, kBookAccess, nullptr, key.receive(), nullptr) !=
        ERROR_SUCCESS) {
      return false;
    }
    created = true;
  }
  if (mode != 1 || !valueName || !*valueName) return true;
  if (!created) {
    wchar_t existing[kGuardChars];
    if (base::ReadRegistryString(key.get(), valueName, existing, kGuardChars)) return true;
  }
  base::WriteRegistryString(key.get(), valueName, L"");
  return true;
}

std::wstring ScanAgeText(const wchar_t* stored, long long nowSeconds) {
  size_t length = base::LengthBounded(stored, contracts::kDateChars);
  int year = Field(stored, length, 0, 4), month = Field(stored, length, 5, 2), day = Field(stored, length, 8, 2);
  int hour = Field(stored, length, 11, 2), minute = Field(stored, length, 14, 2);
  int second = Field(stored, length, 17, 2);
  long long then = 0;
  if (!base::LocalToUtc(year, month, day, hour, minute, second, &then)) return std::wstring();
  long long d = nowSeconds - then / kTicksPerSecond;
  wchar_t text[64];
  if (d / 60 < 60) {
    swprintf(text, 64, L"%lld - Minutes Ago", d / 60);
  } else if (d / 3600 < 24) {
    swprintf(text, 64, L"%lld - Hours Ago", d / 3600);
  } else {
    swprintf(text, 64, L"%lld - Days Ago", d / 86400);
  }
  return text;
}

long long NowSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  unsigned long long ticks = (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks) / kTicksPerSecond;
}

std::wstring ScanBook::Read(const wchar_t* valueName) const {
  GuardValue(keyPath_, valueName, 1);
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return std::wstring();
  wchar_t text[contracts::kDateChars];
  base::ReadRegistryString(key.get(), valueName, text, contracts::kDateChars);
  return text;
}

int ScanBook::Store(const wchar_t* valueName, bool asDate) const {
  GuardValue(keyPath_, valueName, 1);
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::wstring text = asDate ? base::FormatScanDate(now) : base::FormatScanTime(now);
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_, 0, kBookAccess, key.receive()) != ERROR_SUCCESS) return 0;
  return base::WriteRegistryString(key.get(), valueName, text.c_str()) ? 1 : 0;
}

int ScanBook::AppendLastScanTime(wchar_t* out) const noexcept {
  return base::Guarded([&] {
    if (!out) return 0;
    std::wstring stored = Read(kLastScanTime);
    // A hand-edited value that is no date and time says as much as a missing one.
    std::wstring age = stored.empty() ? std::wstring() : ScanAgeText(stored.c_str(), NowSeconds());
    base::AppendBounded(out, contracts::kDateChars, age.empty() ? kNotScanned : age.c_str());
    return 1;
  });
}

int ScanBook::AppendLastScanDate(wchar_t* out) const noexcept {
  return base::Guarded([&] {
    if (!out) return 0;
    std::wstring stored = Read(kLastScanDate);
    base::AppendBounded(out, contracts::kDateChars, stored.empty() ? kNotScanned : stored.c_str());
    return 1;
  });
}

int ScanBook::StoreLastScanTime() const noexcept {
  return base::Guarded([&] { return Store(kLastScanTime, false); });
}

int ScanBook::StoreLastScanDate() const noexcept {
  return base::Guarded([&] { return Store(kLastScanDate, true); });
}

}  // namespace cleaning
