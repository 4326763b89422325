// Whole-system behaviour of the scans: a fresh system has no problem, the safelist is never
// reported, and the 32-bit view is judged where 32-bit programs live and never twice.
#include <windows.h>

#include <gtest/gtest.h>

#include "contracts/hivescrub.h"
#include "seeds.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using test::RegistrySandbox;

TEST(FreshSystem, ReportsNoProblemInAnyCategory) {
  for (int c = 1; c <= 15; ++c) {
    std::vector<hstest::Problem> problems = hstest::ScanProblems(c);
    EXPECT_TRUE(problems.empty()) << "category " << c << ":" << testing::PrintToString(hstest::Describe(problems));
  }
}

TEST(Safelist, ProtectedKeysAreNeverReported) {
  test::ScratchFolder files;
  RegistrySandbox own(HKEY_CURRENT_USER, L"Software\\Lumaspan Software\\LumaspanTest");
  own.SetString(L"", L"InstallDir", files / L"Gone");
  own.CreateKey(L"Empty");
  RegistrySandbox policies(HKEY_LOCAL_MACHINE, L"Software\\Policies\\LumaspanEmpty");
  policies.CreateKey(L"");
  RegistrySandbox windows(HKEY_CURRENT_USER, L"Software\\Microsoft\\LumaspanEmpty");
  windows.CreateKey(L"");
  RegistrySandbox rpc(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\RpcSs");
  rpc.SetDword(L"", L"Type", SERVICE_WIN32_SHARE_PROCESS);
  rpc.SetDword(L"", L"Start", SERVICE_AUTO_START);
  rpc.SetString(L"", L"ImagePath", files / L"gone.exe");
  for (int c : {2, 10, 15}) EXPECT_TRUE(hstest::ScanProblems(c).empty()) << c;
  EXPECT_EQ(0, HivescrubRepair(1001, L"DisableService;HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\RpcSs"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\Microsoft\\LumaspanEmpty"));
  EXPECT_EQ(SERVICE_AUTO_START,
            test::ReadRaw(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\RpcSs", L"Start")[0]);
}

TEST(ThirtyTwoBitView, EntriesAreJudgedAtTheir32BitPlaceAndSharedKeysOnlyOnce) {
  wchar_t wow[MAX_PATH] = {};
  if (!GetSystemWow64DirectoryW(wow, MAX_PATH)) GTEST_SKIP() << "a 32-bit Windows has no 32-bit view";
  test::ProgramFolder program;
  test::ScratchFolder files;
  const std::wstring run = L"Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
  RegistrySandbox runs(HKEY_LOCAL_MACHINE, run);
  runs.SetString(L"", L"Gone", L"%SystemRoot%\\system32\\lumaspan-gone.exe /tray", REG_EXPAND_SZ);
  runs.SetString(L"", L"System", L"%SystemRoot%\\system32\\notepad.exe");
  const std::wstring clsid = L"Software\\Classes\\Wow6432Node\\CLSID\\{4C554D41-0000-4000-8000-000000000032}";
  RegistrySandbox classes(HKEY_LOCAL_MACHINE, clsid);
  classes.SetString(L"InprocServer32", nullptr, L"%SystemRoot%\\system32\\lumaspan-gone.dll", REG_EXPAND_SZ);
  // In this system App Paths is shared by both views: the 32-bit name is a link to the native key.
  const std::wstring shared = L"Microsoft\\Windows\\CurrentVersion\\App Paths\\lumaspan-wow.exe";
  RegistrySandbox appPath(HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\" + shared);
  appPath.SetString(L"", nullptr, files / L"gone.exe");

  const std::wstring hklm = L"HKEY_LOCAL_MACHINE\\";
  auto startup = hstest::ExpectExactly(7, {{701, hklm + run + L" [Gone]", std::wstring(wow) + L"\\lumaspan-gone.exe"}});
  hstest::ExpectExactly(1, {{101, hklm + clsid, std::wstring(wow) + L"\\lumaspan-gone.dll"}});
  bool linked = test::KeyExists(HKEY_LOCAL_MACHINE, L"Software\\" + shared);
  hstest::ExpectExactly(8, {{801, hklm + (linked ? L"Software\\" : L"Software\\Wow6432Node\\") + shared, L"gone.exe"}});
  hstest::RepairAndUndo(7, startup, {hklm + run}, program);
}

}  // namespace
