// The home page's registry values: how each reads, and what missing or odd values give.
#include "base/home_settings.h"

#include <gtest/gtest.h>

#include "tests/support/registry_sandbox.h"

namespace {

TEST(HomeSettings, StatusFromTheStoredScore) {
  test::RegistrySandbox key(HKEY_CURRENT_USER, home_settings::kKey);
  EXPECT_EQ(-1, home_settings::ReadSystemStatus());  // no key
  key.CreateKey(L"");
  EXPECT_EQ(-1, home_settings::ReadSystemStatus());  // no value
  struct {
    const wchar_t* text;
    int status;
  } cases[] = {{L"0", 0},  {L"25", 0}, {L"26", 1},    {L"50", 1},   {L"51", 2},   {L"75", 2},  {L"76", 3},
               {L"100", 3}, {L"1000", 6}, {L"101", -1}, {L"999", -1}, {L"-5", -1}, {L"77abc", 3}, {L"", 0}};
  for (const auto& c : cases) {
    key.SetString(L"", home_settings::kSystemStatus, c.text);
    EXPECT_EQ(c.status, home_settings::ReadSystemStatus()) << c.text;
  }
  key.SetDword(L"", home_settings::kSystemStatus, 50);  // not a string: as if missing
  EXPECT_EQ(-1, home_settings::ReadSystemStatus());
}

TEST(HomeSettings, CountsReadAsNumbersAndZeroWhenMissing) {
  test::RegistrySandbox key(HKEY_CURRENT_USER, home_settings::kKey);
  EXPECT_EQ(0, home_settings::ReadErrorNumber());
  EXPECT_EQ(0, home_settings::ReadCleanNumber());
  key.SetString(L"", home_settings::kErrorNumber, L"17");
  key.SetString(L"", home_settings::kCleanNumber, L"2048 items");
  EXPECT_EQ(17, home_settings::ReadErrorNumber());
  EXPECT_EQ(2048, home_settings::ReadCleanNumber());
  key.SetString(L"", home_settings::kCleanNumber, std::wstring(400, L'9'));  // longer than the buffer
  EXPECT_EQ(0, home_settings::ReadCleanNumber());
  key.SetString(L"", home_settings::kErrorNumber, L"3", REG_EXPAND_SZ);
  EXPECT_EQ(3, home_settings::ReadErrorNumber());
}

}  // namespace
