// Tracewipe's scans against the prefix's real shell folders and registry, through the dispatch
// export the trace cleaner's worker calls. Built twice: as Windows 7 and as Windows XP.
#include "contracts/tracewipe.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "contracts/messages.h"
#include "engines/tracewipe/trace_scans.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

using cleaning_test::ItemText;
using cleaning_test::Sorted;

const wchar_t kRunMru[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const wchar_t kRunMruLocation[] = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
const wchar_t kComDlg32[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32";
const wchar_t kAcMru[] = L"Software\\Microsoft\\Search Assistant\\ACMru";

std::vector<std::wstring> ScanItems(int group, int index) {
  test::ReportRecorder recorder;
  TracewipeGetEvidenceFile(recorder.window(), group, 1, index);
  return cleaning_test::FileItems(recorder, report_kind::kTraceItem);
}

using Pairs = cleaning_test::ReportPairs;

void ExpectRegistryReports(const Pairs& expected, int group, int index) {
  test::ReportRecorder recorder;
  TracewipeGetEvidenceFile(recorder.window(), group, 1, index);
  cleaning_test::ExpectRegistryReports(expected, recorder);
}

TEST(TraceFolders, EveryFileBelowRecentHistoryCookiesAndCacheIsATrace) {
  struct Category {
    int group, index, csidl;
  };
  for (Category c : {Category{0, 0, CSIDL_RECENT}, Category{1, 13, CSIDL_HISTORY}, Category{1, 14, CSIDL_COOKIES},
                     Category{1, 17, CSIDL_INTERNET_CACHE}}) {
    SCOPED_TRACE(c.index);
    std::wstring folder = test::ShellFolder(c.csidl);
    ASSERT_FALSE(folder.empty());
    std::vector<std::wstring> before = ScanItems(c.group, c.index);
    cleaning_test::SeededFiles seeds(folder);
    std::wstring top = seeds.Write(L"lumaspan-top.url", "abc");
    std::wstring deep = seeds.Write(L"lumaspan-seed\\inner\\deep.txt", std::string(1000, 'x'));
    std::wstring empty = seeds.Write(L"lumaspan-seed\\empty.dat");
    std::vector<std::wstring> added = cleaning_test::Added(before, ScanItems(c.group, c.index));
    EXPECT_EQ(Sorted({ItemText(L"lumaspan-top.url", top, 3), ItemText(L"deep.txt", deep, 1000),
                      ItemText(L"empty.dat", empty, 0)}),
              Sorted(added));
  }
}

TEST(TraceFolders, AnEmptyRecentFolderSendsNothing) {
  test::ScratchFolder empty;
  cleaning_test::ShellFolderOverride recent(L"Recent", empty.path());
  ASSERT_EQ(empty.path(), test::ShellFolder(CSIDL_RECENT));
  test::ReportRecorder recorder;
  TracewipeGetEvidenceFile(recorder.window(), 0, 1, 0);
  EXPECT_TRUE(recorder.reports().empty());
}

// The classic temporary folder (beside the local application data folder) when it exists, else
// the Temp folder inside the local application data folder.
// The user's own temporary folder, as TMP and TEMP name it; only without either the folder beside
// or inside the local application data folder.
TEST(TraceFolders, TemporaryFilesComeFromTheUsersTemporaryFolder) {
  test::ScratchFolder temp;
  std::wstring file = temp.Write(L"a\\b.tmp", "12");
  {
    cleaning_test::TemporaryFolderOverride named(temp.path());
    EXPECT_EQ(std::vector<std::wstring>{ItemText(L"b.tmp", file, 2)}, ScanItems(0, 3));
  }
  std::wstring local = test::ShellFolder(CSIDL_LOCAL_APPDATA);
  cleaning_test::SeededFiles modern(local + L"\\Temp");
  std::wstring late = modern.Write(L"lumaspan~late.tmp", "12345");
  cleaning_test::TemporaryFolderOverride unnamed(L"");
  std::vector<std::wstring> items = ScanItems(0, 3);
  EXPECT_EQ(1, std::count(items.begin(), items.end(), ItemText(L"lumaspan~late.tmp", late, 5)));
}

TEST(TraceRegistry, AnOrdinaryReceiverGetsEveryItem) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  for (const wchar_t* name : {L"a", L"b", L"c", L"MRUList"}) run.SetString(L"", name, L"x");
  test::ReportRecorder answersTrue, leavesItToWindows;
  answersTrue.SetReply(TRUE);
  leavesItToWindows.LeaveToDefWindowProc();
  for (test::ReportRecorder* recorder : {&answersTrue, &leavesItToWindows}) {
    TracewipeGetEvidenceFile(recorder->window(), 0, 1, 1);
    EXPECT_EQ(4u, recorder->OfKind(report_kind::kTraceItem).size());
  }
}

TEST(TraceRegistry, RunHistoryReportsEveryValueWithTheLocationOfItsKey) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  run.SetString(L"", L"b", L"notepad C:\\x.txt\\1");
  run.SetString(L"", L"MRUList", L"ba");
  std::wstring at = kRunMruLocation;
  ExpectRegistryReports({{L"cmd\\1", ItemText(L"a", at, 10)},
                         {L"notepad C:\\x.txt\\1", ItemText(L"b", at, 36)},
                         {L"ba", ItemText(L"MRUList", at, 4)}}, 0, 1);
}

TEST(TraceRegistry, MediaPlayerListsReportTheirValues) {
  struct List {
    int index;
    const wchar_t* key;
    const wchar_t* location;
  };
  for (List list : {List{25, L"Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList",
                         L"HKEY_CURRENT_USER\\Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList\\"},
                    List{28, L"Software\\Gabest\\Media Player Classic\\Recent File List",
                         L"HKEY_CURRENT_USER\\Software\\Gabest\\Media Player Classic\\Recent File List\\"},
                    List{30, L"Software\\Microsoft\\Microsoft Management Console\\Recent File List",
                         L"HKEY_CURRENT_USER\\Software\\Microsoft\\Microsoft Management Console\\Recent File List\\"}}) {
    SCOPED_TRACE(list.index);
    test::RegistrySandbox sandbox(HKEY_CURRENT_USER, list.key);
    sandbox.SetString(L"", L"File1", L"C:\\Videos\\holiday.wmv");
    sandbox.SetString(L"", L"File2", L"%USERPROFILE%\\a.mmc", REG_EXPAND_SZ);
    ExpectRegistryReports({{L"C:\\Videos\\holiday.wmv", ItemText(L"File1", list.location, 42)},
                           {L"%USERPROFILE%\\a.mmc", ItemText(L"File2", list.location, 38)}}, 3, list.index);
  }
}

// Values that are no readable string of fewer than 260 characters are still traces: reported
// with an empty text and size 0.
TEST(TraceRegistry, ValuesThatAreNoShortStringAreReportedWithSizeZero) {
  test::RegistrySandbox sandbox(HKEY_CURRENT_USER, L"Software\\Gabest\\Media Player Classic\\Recent File List");
  sandbox.SetDword(L"", L"Count", 3);
  sandbox.SetString(L"", L"Long", std::wstring(10000, L'v'));
  sandbox.SetString(L"", L"Fits", std::wstring(259, L'f'));
  sandbox.SetString(L"", L"TooLong", std::wstring(260, L't'));
  const BYTE odd[] = {'a', 0, 'b'};
  sandbox.SetRaw(L"", L"Odd", REG_SZ, odd, sizeof(odd));
  sandbox.SetString(L"", std::wstring(260, L'n').c_str(), L"x");  // a name too long to enumerate
  std::wstring at = L"HKEY_CURRENT_USER\\Software\\Gabest\\Media Player Classic\\Recent File List\\";
  ExpectRegistryReports({{L"", ItemText(L"Count", at, 0)},
                         {L"", ItemText(L"Long", at, 0)},
                         {std::wstring(259, L'f'), ItemText(L"Fits", at, 518)},
                         {L"", ItemText(L"TooLong", at, 0)},
                         {L"", ItemText(L"Odd", at, 0)}}, 3, 28);
}

TEST(TraceRegistry, OpenSaveHistoryOfThisWindowsGeneration) {
  test::RegistrySandbox dialogs(HKEY_CURRENT_USER, kComDlg32);
  dialogs.SetString(L"OpenSaveMRU\\txt", L"a", L"C:\\x.txt");
  dialogs.SetString(L"OpenSaveMRU\\txt", L"MRUList", L"a");
  dialogs.SetString(L"OpenSaveMRU\\*", L"b", L"C:\\y.doc");
  const BYTE pidl[] = {0x14, 0x00, 0x1f, 0x50, 0xe0, 0x4f, 0xd0, 0x20, 0, 0};
  dialogs.SetRaw(L"OpenSavePidlMRU\\txt", L"0", REG_BINARY, pidl, sizeof(pidl));
  dialogs.SetRaw(L"OpenSavePidlMRU\\txt", L"MRUListEx", REG_BINARY, "\0\0\0\0\xff\xff\xff\xff", 8);
  std::wstring root = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\";

  Pairs expected;
  if (cleaning_test::RunningAsXp()) {
    std::wstring txt = root + L"OpenSaveMRU\\txt\\", any = root + L"OpenSaveMRU\\*\\";
    expected = {{txt, ItemText(L"a", txt, 16)}, {txt, ItemText(L"MRUList", txt, 2)}, {any, ItemText(L"b", any, 16)}};
  } else {
    std::wstring txt = root + L"OpenSavePidlMRU\\txt\\";
    expected = {{txt, ItemText(L"0", txt, 0)}, {txt, ItemText(L"MRUListEx", txt, 0)}};
  }
  ExpectRegistryReports(expected, 0, 2);
}

TEST(TraceRegistry, SearchHistoryLocationsEndWithTheSubKeyName) {
  test::RegistrySandbox acmru(HKEY_CURRENT_USER, kAcMru);
  acmru.SetString(L"5603", L"000", L"report");
  acmru.SetString(L"5603", L"001", L"budget 2010");
  acmru.SetString(L"5001", L"000", L"x");
  acmru.CreateKey(L"5647");  // an empty history
  std::wstring root = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Search Assistant\\ACMru\\";
  ExpectRegistryReports({{root + L"5603", ItemText(L"000", root + L"5603", 12)},
                         {root + L"5603", ItemText(L"001", root + L"5603", 22)},
                         {root + L"5001", ItemText(L"000", root + L"5001", 2)}}, 0, 7);
}

TEST(TraceRegistry, AMissingKeyFindsNothing) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  test::RegistrySandbox acmru(HKEY_CURRENT_USER, kAcMru);
  test::ReportRecorder recorder;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, TracewipeScanWindowsStartMenuRun(recorder.window()));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, TracewipeScanWindowsSearchFilesHistory(recorder.window()));
  EXPECT_TRUE(recorder.reports().empty());
}

TEST(TraceDispatch, OnlyASelectedCategoryOfItsOwnGroupIsScanned) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  test::ReportRecorder recorder;
  TracewipeGetEvidenceFile(recorder.window(), 0, 0, 1);  // not selected
  TracewipeGetEvidenceFile(recorder.window(), 1, 1, 1);  // not its group
  TracewipeGetEvidenceFile(recorder.window(), 0, 2, 1);
  for (int index : {-1, 33, 1000, INT_MIN}) TracewipeGetEvidenceFile(recorder.window(), 0, 1, index);
  for (int index = 0; index < 33; ++index) TracewipeGetEvidenceFile(recorder.window(), 2, 1, index);
  EXPECT_TRUE(recorder.reports().empty());
  TracewipeGetEvidenceFile(recorder.window(), 0, 1, 1);
  EXPECT_EQ(2u, recorder.reports().size());
}

// Logo history, Firefox's browsing and search histories and RealPlayer's recent clips: nothing a
// clean could remove alone.
TEST(TraceDispatch, TheCategoriesWithoutAScannerSendNothing) {
  int(WINAPI * nothing[])(HWND) = {TracewipeScanWindowsLogoHistory, TracewipeScanMozillaFirefoxHistory,
                                   TracewipeScanMozillaFirefoxSearchHistory, TracewipeScanRealPlayer};
  test::ReportRecorder recorder;
  for (auto scan : nothing) EXPECT_EQ(0, scan(recorder.window()));
  const int groups[33] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3};
  for (int index : {5, 18, 24, 26}) TracewipeGetEvidenceFile(recorder.window(), groups[index], 1, index);
  EXPECT_TRUE(recorder.reports().empty());
}

TEST(TraceDispatch, AnotherWindowsGenerationIsToldAndNothingIsRead) {
  test::RegistrySandbox dialogs(HKEY_CURRENT_USER, kComDlg32);
  dialogs.SetString(L"OpenSaveMRU\\txt", L"a", L"C:\\x.txt");
  dialogs.SetString(L"OpenSavePidlMRU\\txt", L"b", L"C:\\y.txt");
  for (int generation : {0, 4, 7}) {
    test::MessageBoxWatcher watcher;
    test::ReportRecorder recorder;
    cleaning::Reporter reporter(recorder.window(), report_kind::kTraceItem);
    tracewipe::ScanCommonDialog(reporter, generation);
    ASSERT_EQ(1u, watcher.count()) << generation;
    EXPECT_EQ(L"Lumaspan", watcher.seen()[0].caption);
    EXPECT_EQ(L"new windows", watcher.seen()[0].text);
    EXPECT_TRUE(recorder.reports().empty());
  }
}

TEST(TraceProtocol, AReplyOfOneEndsTheScanAtOnce) {
  test::RegistrySandbox acmru(HKEY_CURRENT_USER, kAcMru);
  for (const wchar_t* sub : {L"5603", L"5604"})
    for (const wchar_t* value : {L"000", L"001"}) acmru.SetString(sub, value, L"text");
  test::ReportRecorder recorder;
  recorder.SetReplies([](const test::Report&, size_t index) { return index == 3 ? report_reply::kStop : report_reply::kGoOn; });
  TracewipeGetEvidenceFile(recorder.window(), 0, 1, 7);
  EXPECT_EQ(4u, recorder.reports().size());  // the second item of the first history, then nothing
}

TEST(TraceProtocol, NoWindowNoScan) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"cmd\\1");
  TracewipeGetEvidenceFile(nullptr, 0, 1, 1);
  TracewipeGetEvidenceFile(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x1234)), 0, 1, 0);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));  // a scan never writes
}

}  // namespace
