// The last-scan texts every engine stores and shows, with English day and month names whatever the
// system's locale:
//   time  "%Y-%m-%d %H:%M:%S"        2010-03-07 14:05:09
//   date  "%A %B %d, %Y - %I:%M %p"  Sunday March 07, 2010 - 02:05 PM
#pragma once
#include <windows.h>

#include <string>

namespace base {

std::wstring FormatScanTime(const SYSTEMTIME& local);
std::wstring FormatScanDate(const SYSTEMTIME& local);

// Local date and time fields, as a user sees them; false when they are not a real date and time
// (year from 1900, month 1-12, day 1-31, hour 0-23, minute and second 0-59).
bool ValidLocalTime(int year, int month, int day, int hour, int minute, int second);

// The UTC instant of a local date and time, daylight saving decided by the system's rules for that
// date. 100-ns units since 1601 (a FILETIME as an integer); false when the fields are not valid.
bool LocalToUtc(int year, int month, int day, int hour, int minute, int second, long long* utc);

}  // namespace base
