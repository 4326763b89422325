// The last-scan bookkeeping both cleaning engines export, each under its own prefix and key, and
// the value guard behind it.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "base/scan_time.h"
#include "contracts/litterbin.h"
#include "contracts/tracewipe.h"
#include "tests/support/registry_sandbox.h"

namespace {

struct Engine {
  const char* name;
  const wchar_t* key;
  int(WINAPI* checkRegistryKey)(const wchar_t*, const wchar_t*, int);
  int(WINAPI* getLastScanTime)(wchar_t*);
  int(WINAPI* getLastScanDate)(wchar_t*);
  int(WINAPI* setLastScanTime)();
  int(WINAPI* setLastScanDate)();
};

const Engine kTracewipe = {"Tracewipe", L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Evidence Cleaner",
                           TracewipeCheckRegistryKey, TracewipeGetLastScanTime, TracewipeGetLastScanDate,
                           TracewipeSetLastScanTime, TracewipeSetLastScanDate};
const Engine kLitterbin = {"Litterbin", L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Junk File Cleaner",
                           LitterbinCheckRegistryKey, LitterbinGetLastScanTime, LitterbinGetLastScanDate,
                           LitterbinSetLastScanTime, LitterbinSetLastScanDate};

void PrintTo(const Engine& engine, std::ostream* os) { *os << engine.name; }

long long NowSeconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return static_cast<long long>((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) /
         10000000;
}

// The "%Y-%m-%d %H:%M:%S" local time of a UTC instant in seconds since 1601.
std::wstring LocalTimeText(long long utcSeconds) {
  unsigned long long ticks = static_cast<unsigned long long>(utcSeconds) * 10000000ULL;
  FILETIME ft = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utc, local;
  FileTimeToSystemTime(&ft, &utc);
  SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
  return base::FormatScanTime(local);
}

class Bookkeeping : public testing::TestWithParam<Engine> {
 protected:
  Bookkeeping() : sandbox_(HKEY_CURRENT_USER, GetParam().key) {}

  std::wstring Time(const wchar_t* already = L"") {
    wchar_t out[100] = {};
    wcscpy(out, already);
    GetParam().getLastScanTime(out);
    return out;
  }
  std::wstring Date(const wchar_t* already = L"") {
    wchar_t out[100] = {};
    wcscpy(out, already);
    GetParam().getLastScanDate(out);
    return out;
  }
  // The age text of a scan stored `ago` seconds before now. Tried again when the clock passes a
  // second boundary during the call, so the engine's now is the test's now.
  std::wstring AgeOf(long long ago) {
    for (int attempt = 0; attempt < 10; ++attempt) {
      long long now = NowSeconds();
      sandbox_.SetString(L"", L"LastScanTime", LocalTimeText(now - ago));
      std::wstring age = Time();
      if (NowSeconds() == now) return age;
    }
    return L"the clock never stood still";
  }

  test::RegistrySandbox sandbox_;
};

TEST_P(Bookkeeping, FirstUseCreatesTheKeyAndEmptyValuesAndSaysNotScanned) {
  ASSERT_FALSE(test::KeyExists(HKEY_CURRENT_USER, GetParam().key));
  EXPECT_EQ(L"Not Scanned", Date());
  EXPECT_EQ(L"Not Scanned", Time());
  for (const wchar_t* value : {L"LastScanDate", L"LastScanTime"}) {
    EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_CURRENT_USER, GetParam().key, value));
    EXPECT_EQ(L"", test::ReadString(HKEY_CURRENT_USER, GetParam().key, value));
  }
}

TEST_P(Bookkeeping, StoredTextsAreAppendedToWhatTheBufferHolds) {
  sandbox_.SetString(L"", L"LastScanDate", L"Sunday March 07, 2010 - 02:05 PM");
  EXPECT_EQ(L"Sunday March 07, 2010 - 02:05 PM", Date());
  EXPECT_EQ(L"Last: Sunday March 07, 2010 - 02:05 PM", Date(L"Last: "));
  EXPECT_EQ(L"Last: Not Scanned", Time(L"Last: "));

  // The buffer holds 100 characters: the append stops there, terminated, and nothing beyond.
  wchar_t out[110];
  for (wchar_t& c : out) c = L'#';
  std::wstring already(95, L'x');
  wcscpy(out, already.c_str());
  GetParam().getLastScanDate(out);
  EXPECT_EQ(already + L"Sund", std::wstring(out));
  for (int i = 100; i < 110; ++i) EXPECT_EQ(L'#', out[i]);
  EXPECT_EQ(0, GetParam().getLastScanDate(nullptr));
}

TEST_P(Bookkeeping, SetStoresTheLocalTimeInBothFormatsWithEnglishNames) {
  // Whatever the user's language, the stored date reads in English.
  LCID saved = GetThreadLocale();
  SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
  bool checked = false;
  for (int attempt = 0; attempt < 10 && !checked; ++attempt) {
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    GetParam().setLastScanTime();
    GetParam().setLastScanDate();
    GetLocalTime(&after);
    if (before.wSecond != after.wSecond) continue;
    EXPECT_EQ(base::FormatScanTime(before), test::ReadString(HKEY_CURRENT_USER, GetParam().key, L"LastScanTime"));
    EXPECT_EQ(base::FormatScanDate(before), test::ReadString(HKEY_CURRENT_USER, GetParam().key, L"LastScanDate"));
    EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_CURRENT_USER, GetParam().key, L"LastScanDate"));
    EXPECT_EQ(base::FormatScanDate(before), Date());
    EXPECT_EQ(L"0 - Minutes Ago", Time());
    checked = true;
  }
  SetThreadLocale(saved);
  EXPECT_TRUE(checked) << "the clock never stood still";
}

TEST_P(Bookkeeping, AgesChangeUnitAtTheirBoundaries) {
  EXPECT_EQ(L"0 - Minutes Ago", AgeOf(0));
  EXPECT_EQ(L"0 - Minutes Ago", AgeOf(59));
  EXPECT_EQ(L"59 - Minutes Ago", AgeOf(59 * 60 + 59));
  EXPECT_EQ(L"1 - Hours Ago", AgeOf(60 * 60));
  EXPECT_EQ(L"2 - Hours Ago", AgeOf(2 * 3600 + 59 * 60));
  EXPECT_EQ(L"23 - Hours Ago", AgeOf(24 * 3600 - 1));
  EXPECT_EQ(L"1 - Days Ago", AgeOf(24 * 3600));
  EXPECT_EQ(L"400 - Days Ago", AgeOf(400LL * 86400 + 7));
  // A clock set back: a scan in the future; the count truncates toward zero.
  EXPECT_EQ(L"-5 - Minutes Ago", AgeOf(-5 * 60));
  EXPECT_EQ(L"-4 - Minutes Ago", AgeOf(-5 * 60 + 1));
}

TEST_P(Bookkeeping, ATimeThatIsNoDateAndTimeSaysNotScanned) {
  for (const wchar_t* stored : {L"yesterday", L"2010-03-07", L"2010-13-07 14:05:09", L"2010-02-30 14:05:09",
                                L"1899-12-31 23:59:59", L"2010-03-07 24:00:00", L"2010-03-07 14:60:09",
                                L"2010-03-07 14:05:60", L"2010-03-07 1a:05:09", L"-010-03-07 14:05:09"}) {
    sandbox_.SetString(L"", L"LastScanTime", stored);
    EXPECT_EQ(L"Not Scanned", Time()) << std::string(stored, stored + wcslen(stored));
  }
  sandbox_.SetString(L"", L"LastScanTime", L"2010/03/07 14.05.09");  // only the fixed positions count
  EXPECT_NE(std::wstring::npos, Time().find(L" - Days Ago"));
}

TEST_P(Bookkeeping, ValuesOfTheWrongKindAreResetAndReadAsNotScanned) {
  sandbox_.SetDword(L"", L"LastScanDate", 7);
  EXPECT_EQ(L"Not Scanned", Date());
  EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_CURRENT_USER, GetParam().key, L"LastScanDate"));
  EXPECT_EQ(L"", test::ReadString(HKEY_CURRENT_USER, GetParam().key, L"LastScanDate"));

  sandbox_.SetString(L"", L"LastScanTime", std::wstring(10000, L'9'));
  EXPECT_EQ(L"Not Scanned", Time());
  EXPECT_EQ(L"", test::ReadString(HKEY_CURRENT_USER, GetParam().key, L"LastScanTime"));

  // Readable by the guard (under 200 characters) but too long for the 100-character read.
  std::wstring long150(150, L'd');
  sandbox_.SetString(L"", L"LastScanDate", long150);
  EXPECT_EQ(L"Not Scanned", Date());
  EXPECT_EQ(long150, test::ReadString(HKEY_CURRENT_USER, GetParam().key, L"LastScanDate"));
}

TEST_P(Bookkeeping, TheGuardKeepsReadableValuesAndRepairsTheRest) {
  const Engine& e = GetParam();
  std::wstring key = e.key;
  sandbox_.SetString(L"", L"Kept", L"keep me");
  sandbox_.SetDword(L"", L"Number", 5);
  EXPECT_EQ(1, e.checkRegistryKey(key.c_str(), L"Kept", 1));
  EXPECT_EQ(L"keep me", test::ReadString(HKEY_CURRENT_USER, key, L"Kept"));
  EXPECT_EQ(1, e.checkRegistryKey(key.c_str(), L"Number", 0));  // mode 0 only opens the key
  EXPECT_EQ(DWORD(REG_DWORD), test::ValueType(HKEY_CURRENT_USER, key, L"Number"));
  EXPECT_EQ(1, e.checkRegistryKey(key.c_str(), L"Number", 1));
  EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_CURRENT_USER, key, L"Number"));
  EXPECT_EQ(1, e.checkRegistryKey(key.c_str(), L"Missing", 1));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, key, L"Missing"));

  std::wstring fresh = key + L"\\Fresh";
  EXPECT_EQ(1, e.checkRegistryKey(fresh.c_str(), L"V", 0));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, fresh));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, fresh, L"V"));
  std::wstring fresher = key + L"\\Fresher";
  EXPECT_EQ(1, e.checkRegistryKey(fresher.c_str(), L"V", 1));
  EXPECT_EQ(DWORD(REG_SZ), test::ValueType(HKEY_CURRENT_USER, fresher, L"V"));

  // No key, no value name: nothing is written, least of all into the hive itself.
  EXPECT_EQ(0, e.checkRegistryKey(nullptr, L"LumaspanGuardTest", 1));
  EXPECT_EQ(0, e.checkRegistryKey(L"", L"LumaspanGuardTest", 1));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, L"", L"LumaspanGuardTest"));
  EXPECT_EQ(1, e.checkRegistryKey(fresh.c_str(), nullptr, 1));
  EXPECT_EQ(1, e.checkRegistryKey(fresh.c_str(), L"", 1));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, fresh, L""));
}

TEST_P(Bookkeeping, EachEngineKeepsItsOwnKey) {
  const Engine& other = GetParam().key == kTracewipe.key ? kLitterbin : kTracewipe;
  test::RegistrySandbox otherKey(HKEY_CURRENT_USER, other.key);
  GetParam().setLastScanDate();
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, other.key));
  wchar_t out[100] = {};
  other.getLastScanDate(out);
  EXPECT_STREQ(L"Not Scanned", out);
}

INSTANTIATE_TEST_SUITE_P(Engines, Bookkeeping, testing::Values(kTracewipe, kLitterbin),
                         [](const testing::TestParamInfo<Engine>& info) { return std::string(info.param.name); });

}  // namespace
