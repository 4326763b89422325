// Last-scan bookkeeping of a cleaning engine: when the user last started a scan, kept as two
// strings in the engine's own key under HKEY_CURRENT_USER, and the value guard that makes sure a
// value is a readable string before anyone relies on it. One implementation serves every engine;
// only the key path differs.
#pragma once
#include <windows.h>

#include <string>

namespace cleaning {

constexpr wchar_t kLastScanTime[] = L"LastScanTime";  // "%Y-%m-%d %H:%M:%S"
constexpr wchar_t kLastScanDate[] = L"LastScanDate";  // "%A %B %d, %Y - %I:%M %p"
constexpr wchar_t kNotScanned[] = L"Not Scanned";

// Opens HKEY_CURRENT_USER\subKey, creating it when it cannot be opened. With mode 1 the value
// valueName is then made a readable string: written as "" when the key was just created or the
// value does not read as a string of fewer than 200 characters; a readable value is never changed.
// Without a sub-key or value name nothing is opened or written. False when the key is unusable.
bool GuardValue(const wchar_t* subKey, const wchar_t* valueName, int mode);

// The age of a stored "%Y-%m-%d %H:%M:%S" local time as seen at nowSeconds (UTC seconds since
// 1601): "<minutes> - Minutes Ago" under an hour, "<hours> - Hours Ago" under a day, otherwise
// "<days> - Days Ago"; a time in the future gives a negative count. "" when the text does not hold
// a valid date and time at its fixed positions.
std::wstring ScanAgeText(const wchar_t* stored, long long nowSeconds);

// The current time as UTC seconds since 1601.
long long NowSeconds();

// The bookkeeping of one engine, kept under HKEY_CURRENT_USER\keyPath. Each member is an export
// body: it never throws and returns the export's result.
class ScanBook {
 public:
  explicit ScanBook(const wchar_t* keyPath) : keyPath_(keyPath) {}

  // Append to out (a caller-owned buffer of 100 characters holding a string) with a bounded copy.
  int AppendLastScanTime(wchar_t* out) const noexcept;
  int AppendLastScanDate(wchar_t* out) const noexcept;
  int StoreLastScanTime() const noexcept;
  int StoreLastScanDate() const noexcept;

 private:
  std::wstring Read(const wchar_t* valueName) const;
  int Store(const wchar_t* valueName, bool asDate) const;

  const wchar_t* keyPath_;
};

}  // namespace cleaning
