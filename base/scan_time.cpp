#include "base/scan_time.h"

#include <cwchar>

namespace base {
namespace {

const wchar_t* const kDays[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday", L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const kMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                  L"July",    L"August",   L"September", L"October", L"November", L"December"};

}  // namespace

std::wstring FormatScanTime(const SYSTEMTIME& t) {
  wchar_t text[64];
  swprintf(text, 64, L"%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  return text;
}

std::wstring FormatScanDate(const SYSTEMTIME& t) {
  if (t.wDayOfWeek > 6 || t.wMonth < 1 || t.wMonth > 12) return std::wstring();
  unsigned hour12 = t.wHour % 12 == 0 ? 12 : t.wHour % 12;
  wchar_t text[96];
  swprintf(text, 96, L"%ls %ls %02u, %04u - %02u:%02u %ls", kDays[t.wDayOfWeek], kMonths[t.wMonth - 1], t.wDay,
           t.wYear, hour12, t.wMinute, t.wHour < 12 ? L"AM" : L"PM");
  return text;
}

bool ValidLocalTime(int year, int month, int day, int hour, int minute, int second) {
  return year >= 1900 && year <= 30827 && month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 &&
         hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

bool LocalToUtc(int year, int month, int day, int hour, int minute, int second, long long* utc) {
  if (!utc || !ValidLocalTime(year, month, day, hour, minute, second)) return false;
  SYSTEMTIME local = {};
  local.wYear = static_cast<WORD>(year);
  local.wMonth = static_cast<WORD>(month);
  local.wDay = static_cast<WORD>(day);
  local.wHour = static_cast<WORD>(hour);
  local.wMinute = static_cast<WORD>(minute);
  local.wSecond = static_cast<WORD>(second);
  FILETIME check;
  if (!SystemTimeToFileTime(&local, &check)) return false;  // 31 February and the like
  SYSTEMTIME universal;
  if (!TzSpecificLocalTimeToSystemTime(nullptr, &local, &universal)) return false;
  FILETIME ft;
  if (!SystemTimeToFileTime(&universal, &ft)) return false;
  *utc = static_cast<long long>((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
  return true;
}

}  // namespace base
