#include "engines/hivesafe/backup_stamp.h"

#include <ctime>
#include <cwchar>

namespace hivesafe {

std::wstring FormatBackupStamp(const SYSTEMTIME& local) {
  std::tm time = {};
  time.tm_year = local.wYear - 1900;
  time.tm_mon = local.wMonth - 1;
  time.tm_mday = local.wDay;
  time.tm_hour = local.wHour;
  time.tm_min = local.wMinute;
  time.tm_sec = local.wSecond;
  time.tm_wday = local.wDayOfWeek;
  wchar_t text[128] = {};
  if (std::wcsftime(text, 128, L"%Y%m%d%H%M%S", &time) == 0) return std::wstring();
  return text;
}

std::wstring BackupStampNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);  // the system's own conversion, daylight saving included
  return FormatBackupStamp(now);
}

}  // namespace hivesafe
