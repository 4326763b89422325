// Options.dll, loaded as the program loads it, against the real registry of the test prefix.
#include "contracts/options.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/registry_sandbox.h"

namespace {

const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kSettingsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";

// The program beside the library: the test binaries' folder.
std::wstring ProgramBesideLibrary() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(GetModuleHandleW(L"Options.dll"), path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1) + L"Lumaspan.exe";
}

class OptionsLibrary : public testing::Test {
 protected:
  test::RegistrySandbox run_{HKEY_CURRENT_USER, kRunKey};
  test::RegistrySandbox settings_{HKEY_CURRENT_USER, kSettingsKey};
};

TEST_F(OptionsLibrary, StartupRunNamesThisProgramQuotedAndGoesAway) {
  EXPECT_EQ(0, OptionsCheckStartupRun());
  EXPECT_EQ(1, OptionsSetStartupRun(1));
  EXPECT_EQ(L"\"" + ProgramBesideLibrary() + L"\"", test::ReadString(HKEY_CURRENT_USER, kRunKey, L"Lumaspan"));
  EXPECT_NE(0, OptionsCheckStartupRun());

  EXPECT_EQ(1, OptionsSetStartupRun(0));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunKey, L"Lumaspan"));
  EXPECT_EQ(0, OptionsCheckStartupRun());
  EXPECT_EQ(1, OptionsSetStartupRun(0));  // already off
}

TEST_F(OptionsLibrary, StartupRunOfAnotherCopyIsNotOurs) {
  run_.SetString(L"", L"Lumaspan", L"\"C:\\Elsewhere\\Lumaspan.exe\"");
  EXPECT_EQ(0, OptionsCheckStartupRun());
  std::wstring unquoted = ProgramBesideLibrary();
  for (wchar_t& c : unquoted) c = static_cast<wchar_t>(towupper(c));
  run_.SetString(L"", L"Lumaspan", unquoted);  // unquoted, other case: still this program
  EXPECT_NE(0, OptionsCheckStartupRun());
}

TEST_F(OptionsLibrary, LiveUpdateRoundTripsAsDword) {
  EXPECT_EQ(0, OptionsCheckLiveUpdata());
  EXPECT_EQ(1, OptionsSetLiveUpdate(1));
  EXPECT_EQ(REG_DWORD, test::ValueType(HKEY_CURRENT_USER, kSettingsKey, L"LiveUpdate"));
  EXPECT_NE(0, OptionsCheckLiveUpdata());
  EXPECT_EQ(1, OptionsSetLiveUpdate(0));
  EXPECT_EQ(0, OptionsCheckLiveUpdata());
  settings_.SetString(L"", L"LiveUpdate", L"1");  // not a DWORD: off
  EXPECT_EQ(0, OptionsCheckLiveUpdata());
}

}  // namespace
