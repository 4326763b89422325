#include "engines/hivesafe/backup_stamp.h"

#include <windows.h>

#include <cwchar>

namespace hivesafe {

std::wstring FormatBackupStamp(const std::tm& local) {
  wchar_t text[128] = {};
  if (std::wcsftime(text, 128, L"%Y%m%d%H%M%S", &local) == 0) return std::wstring();
  return text;
}

std::wstring BackupStampNow() {
  SYSTEMTIME now;
  GetLocalTime(&now);  // the system's own conversion, daylight saving included
  std::tm local = {};
  local.tm_year = now.wYear - 1900;
  local.tm_mon = now.wMonth - 1;
  local.tm_mday = now.wDay;
  local.tm_hour = now.wHour;
  local.tm_min = now.wMinute;
  local.tm_sec = now.wSecond;
  local.tm_wday = now.wDayOfWeek;
  return FormatBackupStamp(local);
}

}  // namespace hivesafe
