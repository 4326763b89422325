#include "base/scan_time.h"

#include <gtest/gtest.h>

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD dow, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME t = {};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wDayOfWeek = dow;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  return t;
}

TEST(ScanTime, TimeAndDateTexts) {
  SYSTEMTIME afternoon = At(2010, 3, 7, 0, 14, 5, 9);
  EXPECT_EQ(L"2010-03-07 14:05:09", base::FormatScanTime(afternoon));
  EXPECT_EQ(L"Sunday March 07, 2010 - 02:05 PM", base::FormatScanDate(afternoon));
  EXPECT_EQ(L"Saturday December 31, 2022 - 12:00 AM", base::FormatScanDate(At(2022, 12, 31, 6, 0, 0, 0)));
  EXPECT_EQ(L"Wednesday January 01, 2025 - 12:59 PM", base::FormatScanDate(At(2025, 1, 1, 3, 12, 59, 0)));
  EXPECT_EQ(L"Monday June 01, 2026 - 11:30 AM", base::FormatScanDate(At(2026, 6, 1, 1, 11, 30, 0)));
  EXPECT_EQ(L"", base::FormatScanDate(At(2026, 13, 1, 1, 11, 30, 0)));
}

TEST(ScanTime, LocalTimesOutsideTheCalendarAreRefused) {
  long long utc = 0;
  EXPECT_TRUE(base::LocalToUtc(2010, 3, 7, 14, 5, 9, &utc));
  EXPECT_FALSE(base::LocalToUtc(1899, 12, 31, 0, 0, 0, &utc));
  EXPECT_FALSE(base::LocalToUtc(2010, 0, 7, 14, 5, 9, &utc));
  EXPECT_FALSE(base::LocalToUtc(2010, 3, 7, 24, 0, 0, &utc));
  EXPECT_FALSE(base::LocalToUtc(2010, 2, 31, 0, 0, 0, &utc));
  EXPECT_FALSE(base::LocalToUtc(2010, 3, 7, 14, 60, 0, &utc));
}

TEST(ScanTime, ConsecutiveSecondsAreOneSecondApart) {
  long long a = 0, b = 0;
  ASSERT_TRUE(base::LocalToUtc(2026, 12, 6, 18, 31, 7, &a));
  ASSERT_TRUE(base::LocalToUtc(2026, 12, 6, 18, 31, 8, &b));
  EXPECT_EQ(10000000LL, b - a);
  ASSERT_TRUE(base::LocalToUtc(2026, 12, 7, 18, 31, 7, &b));
  EXPECT_EQ(86400LL * 10000000LL, b - a);
}

}  // namespace
