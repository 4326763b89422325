// Tracewipe's cleaning of one trace: a registry value or a file, named by the two texts the trace
// cleaner kept from the scan report, and nothing else whatever the texts hold.
#include "contracts/tracewipe.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "contracts/messages.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t kRunMruLocation[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
const wchar_t kAcMru[] = L"Software\\Microsoft\\Search Assistant\\ACMru";

TEST(TraceClean, RemovesOnlyTheNamedValueAndKeepsTheKey) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  run.SetString(L"", L"b", L"calc\\1");
  run.SetString(L"", L"MRUList", L"ab");
  EXPECT_EQ(1, TracewipeCleanEvidenceFile(L"a", kRunMruLocation));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_EQ(L"calc\\1", test::ReadString(HKEY_CURRENT_USER, kRunMru, L"b"));
  EXPECT_EQ(L"ab", test::ReadString(HKEY_CURRENT_USER, kRunMru, L"MRUList"));  // the list order is not rewritten
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a", kRunMruLocation));  // gone already: nothing happens
  EXPECT_EQ(1, TracewipeCleanEvidenceFile(L"MRUList", kRunMruLocation));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"MRUList"));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, kRunMru));
}

TEST(TraceClean, ALocationWithoutTrailingBackslashNamesItsKey) {
  test::RegistrySandbox acmru(HKEY_CURRENT_USER, kAcMru);
  acmru.SetString(L"5603", L"000", L"report");
  acmru.SetString(L"5603", L"001", L"budget");
  TracewipeCleanEvidenceFile(L"000", L"HKEY_CURRENT_USER\\Software\\Microsoft\\Search Assistant\\ACMru\\5603");
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, acmru.Sub(L"5603"), L"000"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, acmru.Sub(L"5603"), L"001"));
}

// What a scan reports, kept as the trace cleaner keeps it, cleans exactly that trace.
TEST(TraceClean, ReportedTracesCleanBackThroughThePagesLocation) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  cleaning_test::SeededFiles recent(test::ShellFolder(CSIDL_RECENT));
  std::wstring file = recent.Write(L"lumaspan-clean\\notes.txt.lnk", "link");
  test::ReportRecorder recorder;
  TracewipeGetEvidenceFile(recorder.window(), 0, 1, 0);
  TracewipeGetEvidenceFile(recorder.window(), 0, 1, 1);
  int cleaned = 0;
  for (const std::wstring& item : recorder.TextsOfKind(report_kind::kTraceItem)) {
    std::wstring name = cleaning_test::ItemName(item);
    if (name != L"a" && name != L"notes.txt.lnk") continue;
    TracewipeCleanEvidenceFile(name.c_str(), cleaning_test::PageLocation(item).c_str());
    ++cleaned;
  }
  EXPECT_EQ(2, cleaned);
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_FALSE(test::FileExists(file));
}

TEST(TraceClean, AFileIsTheLocationFollowedByTheName) {
  test::ScratchFolder dir;
  cleaning_test::TemporaryFolderOverride temp(dir.path());
  std::wstring inside = dir.Write(L"Temp\\a.tmp", "x");
  std::wstring beside = dir.Write(L"Tempa.tmp", "y");
  EXPECT_EQ(1, TracewipeCleanEvidenceFile(L"a.tmp", (dir.path() + L"\\Temp").c_str()));  // no backslash: Tempa.tmp
  EXPECT_TRUE(test::FileExists(inside));
  EXPECT_FALSE(test::FileExists(beside));
  EXPECT_EQ(1, TracewipeCleanEvidenceFile(L"a.tmp", (dir.path() + L"\\Temp\\").c_str()));
  EXPECT_FALSE(test::FileExists(inside));
  EXPECT_TRUE(test::FolderExists(dir / L"Temp"));
}

TEST(TraceClean, ALowerCaseHiveNameIsNoRegistryLocation) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  TracewipeCleanEvidenceFile(L"a", L"hkey_current_user\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\");
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
}

TEST(TraceClean, BadRequestsRemoveNothing) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  run.SetString(L"", L"", L"the key's own value");
  test::ScratchFolder dir;
  std::wstring file = dir.Write(L"x\\a.tmp", "x");
  std::wstring folder = dir.MakeFolder(L"y");
  std::wstring other = dir.Write(L"y\\b.tmp", "x");

  EXPECT_EQ(0, TracewipeCleanEvidenceFile(nullptr, nullptr));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(nullptr, kRunMruLocation));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a", nullptr));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"", kRunMruLocation));       // no name is not the key's own value
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"", (dir.path() + L"\\x\\").c_str()));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a", L"HKEY_CURRENT_USE"));  // shorter than the hive's name
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a", L""));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a", L"HKEY_CURRENT_USERX\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\"));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"..\\y\\b.tmp", (dir.path() + L"\\x\\").c_str()));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"y", (dir.path() + L"\\").c_str()));  // a folder is no file
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a.tmp", L"x\\"));  // relative to wherever the program runs
  std::wstring huge(40000, L'a');
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(huge.c_str(), (dir.path() + L"\\x\\").c_str()));
  EXPECT_EQ(0, TracewipeCleanEvidenceFile(L"a.tmp", (dir.path() + L"\\x\\" + huge).c_str()));

  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L""));
  EXPECT_TRUE(test::FileExists(file));
  EXPECT_TRUE(test::FolderExists(folder));
  EXPECT_TRUE(test::FileExists(other));
}

// The hive itself holds no trace: a location that names no key below it removes nothing there.
TEST(TraceClean, NothingIsRemovedFromTheHiveItself) {
  const wchar_t kName[] = L"LumaspanCleanTestValue";
  HKEY hive = HKEY_CURRENT_USER;
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(hive, kName, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"v"), 4));
  TracewipeCleanEvidenceFile(kName, L"HKEY_CURRENT_USER");
  TracewipeCleanEvidenceFile(kName, L"HKEY_CURRENT_USER\\");
  EXPECT_TRUE(test::ValueExists(hive, L"", kName));
  RegDeleteValueW(hive, kName);
}

TEST(TraceClean, AFileHeldOpenByAnotherProcessStays) {
  test::ScratchFolder dir;
  cleaning_test::TemporaryFolderOverride temp(dir.path());
  std::wstring path = dir.Write(L"held.dat", "data");
  cleaning_test::HeldFile held(path);
  ASSERT_TRUE(held.holding());
  EXPECT_EQ(2, TracewipeCleanEvidenceFile(L"held.dat", (dir.path() + L"\\").c_str()));
  EXPECT_TRUE(test::FileExists(path));
}

}  // namespace
