// Taskbrisk.dll as the page calls it: every setting through the registry values Windows reads, the
// defaults of missing values, and damaged or absurd values.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "contracts/taskbrisk.h"
#include "tests/support/registry_sandbox.h"

namespace {

const wchar_t kMemory[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const wchar_t kDesktop[] = L"Control Panel\\Desktop";

class AppSettings : public testing::Test {
 protected:
  AppSettings() : memory_(HKEY_LOCAL_MACHINE, kMemory), desktop_(HKEY_CURRENT_USER, kDesktop) {
    memory_.CreateKey(L"");
    desktop_.CreateKey(L"");
  }
  ~AppSettings() override { SystemParametersInfoW(SPI_SETMENUSHOWDELAY, menuDelay_, nullptr, 0); }

  std::wstring Desktop(const wchar_t* name) { return test::ReadString(HKEY_CURRENT_USER, kDesktop, name); }
  void SetDesktop(const wchar_t* name, const std::wstring& text) { desktop_.SetString(L"", name, text); }

  UINT menuDelay_ = [] {
    UINT ms = 400;
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &ms, 0);
    return ms;
  }();
  test::RegistrySandbox memory_, desktop_;
};

TEST_F(AppSettings, EverySettingRoundTripsThroughTheRegistry) {
  for (int p = 0; p <= 10; ++p) {
    ASSERT_EQ(1, TaskbriskSetDiskBuffer(p)) << p;
    EXPECT_EQ(p, TaskbriskGetDiskBuffer()) << p;
    EXPECT_EQ(p == 0 ? DWORD(REG_NONE) : DWORD(REG_DWORD), test::ValueType(HKEY_LOCAL_MACHINE, kMemory, L"IoPageLockLimit"));
    ASSERT_EQ(1, TaskbriskSetMenuTime(p)) << p;
    EXPECT_EQ(p, TaskbriskGetMenuTime()) << p;
    EXPECT_EQ(std::to_wstring(p * 40), Desktop(L"MenuShowDelay"));
    UINT live = 0;
    SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &live, 0);
    EXPECT_EQ(UINT(p * 40), live) << "applied to the session at once";
  }
  std::vector<BYTE> bytes = test::ReadRaw(HKEY_LOCAL_MACHINE, kMemory, L"IoPageLockLimit");
  ASSERT_EQ(4u, bytes.size());
  EXPECT_EQ(128u * 1024 * 1024, *reinterpret_cast<const DWORD*>(bytes.data()));
  for (int flag : {1, 0}) {
    ASSERT_EQ(1, TaskbriskSetAutoEndTasks(flag));
    EXPECT_EQ(flag, TaskbriskGetAutoEndTasks());
    EXPECT_EQ(std::to_wstring(flag), Desktop(L"AutoEndTasks"));
  }
  for (int s : {1, 17, 30}) {
    ASSERT_EQ(1, TaskbriskSetSpeed(s));
    EXPECT_EQ(s, TaskbriskGetSpeed());
    EXPECT_EQ(std::to_wstring(s * 1000), Desktop(L"HungAppTimeout"));
  }
  for (int s : {1, 4, 10}) {
    ASSERT_EQ(1, TaskbriskSetAuto(s));
    EXPECT_EQ(s, TaskbriskGetAuto());
    EXPECT_EQ(std::to_wstring(s * 1000), Desktop(L"WaitToKillAppTimeout"));
  }
}

TEST_F(AppSettings, RestoreWritesBackTheExactValuesKeptAbsentOnesIncluded) {
  // A hand-set buffer no position stands for, a delay stored as a number, the others absent.
  DWORD odd = 5 * 1024 * 1024 + 7, ms = 123;
  memory_.SetDword(L"", L"IoPageLockLimit", odd);
  desktop_.SetDword(L"", L"MenuShowDelay", ms);
  ASSERT_EQ(1, TaskbriskSaveSettings());
  ASSERT_EQ(1, TaskbriskSetDiskBuffer(3));
  ASSERT_EQ(1, TaskbriskSetMenuTime(9));
  ASSERT_EQ(1, TaskbriskSetAutoEndTasks(1));
  ASSERT_EQ(1, TaskbriskSetSpeed(7));
  ASSERT_EQ(1, TaskbriskSetAuto(2));
  ASSERT_EQ(1, TaskbriskRestoreSettings());
  EXPECT_EQ(std::vector<BYTE>(reinterpret_cast<BYTE*>(&odd), reinterpret_cast<BYTE*>(&odd) + 4),
            test::ReadRaw(HKEY_LOCAL_MACHINE, kMemory, L"IoPageLockLimit"));
  EXPECT_EQ(DWORD(REG_DWORD), test::ValueType(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay"));
  EXPECT_EQ(std::vector<BYTE>(reinterpret_cast<BYTE*>(&ms), reinterpret_cast<BYTE*>(&ms) + 4),
            test::ReadRaw(HKEY_CURRENT_USER, kDesktop, L"MenuShowDelay"));
  for (const wchar_t* name : {L"AutoEndTasks", L"HungAppTimeout", L"WaitToKillAppTimeout"})
    EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kDesktop, name)) << name;
  UINT live = 0;
  SystemParametersInfoW(SPI_GETMENUSHOWDELAY, 0, &live, 0);
  EXPECT_EQ(menuDelay_, live) << "the session's delay as it was";
}

TEST_F(AppSettings, ValuesOutOfRangeAreRefusedAndWriteNothing) {
  for (int p : {-1, 11}) {
    EXPECT_EQ(0, TaskbriskSetDiskBuffer(p));
    EXPECT_EQ(0, TaskbriskSetMenuTime(p));
  }
  EXPECT_EQ(0, TaskbriskSetAutoEndTasks(2));
  for (int s : {0, 31}) EXPECT_EQ(0, TaskbriskSetSpeed(s));
  for (int s : {0, 11}) EXPECT_EQ(0, TaskbriskSetAuto(s));
  EXPECT_FALSE(test::ValueExists(HKEY_LOCAL_MACHINE, kMemory, L"IoPageLockLimit"));
  for (const wchar_t* name : {L"MenuShowDelay", L"AutoEndTasks", L"HungAppTimeout", L"WaitToKillAppTimeout"})
    EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kDesktop, name)) << name;
}

TEST_F(AppSettings, MissingOrDamagedValuesReadAsWindowsDefaultsAndNumbersAreBounded) {
  // Missing: Windows decides the buffer, menus wait 400 ms, hung programs are not ended, 5 s and
  // 20 s (shown as the field's largest, 10).
  EXPECT_EQ(0, TaskbriskGetDiskBuffer());
  EXPECT_EQ(10, TaskbriskGetMenuTime());
  EXPECT_EQ(0, TaskbriskGetAutoEndTasks());
  EXPECT_EQ(5, TaskbriskGetSpeed());
  EXPECT_EQ(10, TaskbriskGetAuto());

  memory_.SetString(L"", L"IoPageLockLimit", L"16777216");
  EXPECT_EQ(0, TaskbriskGetDiskBuffer());
  const BYTE eight[8] = {0, 0, 0, 1, 0, 0, 0, 0};
  memory_.SetRaw(L"", L"IoPageLockLimit", REG_BINARY, eight, sizeof(eight));
  EXPECT_EQ(0, TaskbriskGetDiskBuffer());
  memory_.SetDword(L"", L"IoPageLockLimit", 17 * 1024 * 1024);  // set by hand: the nearest mark, 16 MB
  EXPECT_EQ(5, TaskbriskGetDiskBuffer());

  desktop_.SetDword(L"", L"MenuShowDelay", 0);
  EXPECT_EQ(10, TaskbriskGetMenuTime());
  for (const std::wstring& absurd : {std::wstring(100000, L'7'), std::wstring(L"abc"), std::wstring(L"-5")}) {
    SetDesktop(L"MenuShowDelay", absurd);
    EXPECT_EQ(10, TaskbriskGetMenuTime());
    SetDesktop(L"HungAppTimeout", absurd);
    EXPECT_EQ(5, TaskbriskGetSpeed());
  }
  SetDesktop(L"MenuShowDelay", L"99999");
  EXPECT_EQ(10, TaskbriskGetMenuTime());
  SetDesktop(L"MenuShowDelay", L"130");
  EXPECT_EQ(3, TaskbriskGetMenuTime());
  SetDesktop(L"HungAppTimeout", L"999999");
  EXPECT_EQ(30, TaskbriskGetSpeed());
  SetDesktop(L"HungAppTimeout", L"0");
  EXPECT_EQ(1, TaskbriskGetSpeed());
  SetDesktop(L"WaitToKillAppTimeout", L"3000");
  EXPECT_EQ(3, TaskbriskGetAuto());
  SetDesktop(L"AutoEndTasks", L"11");
  EXPECT_EQ(0, TaskbriskGetAutoEndTasks());
  desktop_.SetDword(L"", L"AutoEndTasks", 1);
  EXPECT_EQ(0, TaskbriskGetAutoEndTasks());
}

TEST_F(AppSettings, DescriptionsNameWhatEachPositionStandsFor) {
  wchar_t text[260] = {};
  ASSERT_EQ(1, TaskbriskGetDiskBufferString(0, text));
  EXPECT_STREQ(L"Disk Input and Output Buffer Size: Windows default", text);
  ASSERT_EQ(1, TaskbriskGetDiskBufferString(5, text));
  EXPECT_STREQ(L"Disk Input and Output Buffer Size: 16 MB", text);
  ASSERT_EQ(1, TaskbriskGetMenuTimeString(5, text));
  EXPECT_STREQ(L"Menu Pop-up Speed: 200 ms", text);
  ASSERT_EQ(1, TaskbriskGetMenuTimeString(10, text));
  EXPECT_STREQ(L"Menu Pop-up Speed: 400 ms (Windows default)", text);
  wchar_t untouched[260] = {};
  EXPECT_EQ(0, TaskbriskGetDiskBufferString(11, untouched));
  EXPECT_EQ(0, TaskbriskGetMenuTimeString(-1, untouched));
  EXPECT_STREQ(L"", untouched);
  EXPECT_EQ(0, TaskbriskGetMenuTimeString(3, nullptr));
}

}  // namespace
