// The report protocol, hostile registry contents, repairs that must be refused, and the last-scan
// bookkeeping.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/handles.h"
#include "contracts/hivescrub.h"
#include "contracts/messages.h"
#include "hivescrub_support.h"
#include "registry_access.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using test::RegistrySandbox;

const std::wstring kRun = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunPath = L"HKEY_CURRENT_USER\\" + kRun;

TEST(Reports, EachCategoryBeginsOnceBeforeItsProblems) {
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"Gone", files / L"gone.exe");
  for (int c = 1; c <= 15; ++c) {
    std::vector<test::Report> reports = hstest::RunCategory(c);
    ASSERT_FALSE(reports.empty()) << c;
    EXPECT_EQ(10015u + c, reports.front().kind) << c;
    size_t begun = 0;
    for (const test::Report& r : reports) {
      if (r.kind == 10015u + c) ++begun;
      EXPECT_TRUE(r.kind == 10000 || r.kind == 10000u + c || r.kind == 10015u + c) << c << " sent " << r.kind;
      EXPECT_TRUE(r.terminated);
    }
    EXPECT_EQ(1u, begun) << c;
  }
  EXPECT_EQ(1u, hstest::ScanProblems(7).size());
}

TEST(Reports, ProgressIsSentAtMostAboutTwentyTimesASecond) {
  RegistrySandbox many(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID");
  for (int i = 0; i < 3000; ++i) many.CreateKey(L"{LUMASPAN-" + std::to_wstring(i) + L"}");
  DWORD start = GetTickCount();
  std::vector<test::Report> reports = hstest::RunCategory(1);
  DWORD elapsed = GetTickCount() - start;
  size_t progress = 0;
  for (const test::Report& r : reports)
    if (r.kind == 10000) ++progress;
  EXPECT_GE(progress, 1u);
  EXPECT_LE(progress, elapsed / 50 + 2) << "in " << elapsed << " ms";
}

TEST(Reports, AStopReplyEndsTheScanAtOnce) {
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  for (int i = 0; i < 5; ++i) run.SetString(L"", (L"Gone" + std::to_wstring(i)).c_str(), files / L"gone.exe");
  test::ReportRecorder recorder;
  recorder.SetReplies([](const test::Report& r, size_t) { return r.kind == 10007 ? report_reply::kStop : report_reply::kGoOn; });
  std::vector<test::Report> reports = hstest::RunCategory(7, &recorder);
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(10007u, reports.back().kind) << "nothing is sent after the stop";
  EXPECT_EQ(1u, hstest::ProblemsOf(reports).size());
}

TEST(Reports, AResendReplyDeliversTheSameProblemAgain) {
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"Gone", files / L"gone.exe");
  test::ReportRecorder recorder;
  int resent = 0;
  recorder.SetReplies([&resent](const test::Report& r, size_t) {
    return r.kind == 10007 && resent++ == 0 ? report_reply::kResend : report_reply::kGoOn;
  });
  std::vector<hstest::Problem> problems = hstest::ProblemsOf(hstest::RunCategory(7, &recorder));
  ASSERT_EQ(2u, problems.size());
  EXPECT_EQ(problems[0].text, problems[1].text);
}

TEST(Reports, AnOrdinaryReceiverGetsEveryProblem) {
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  for (int i = 0; i < 5; ++i) run.SetString(L"", (L"Gone" + std::to_wstring(i)).c_str(), files / L"gone.exe");
  test::ReportRecorder answersTrue, leavesItToWindows;
  answersTrue.SetReply(TRUE);
  leavesItToWindows.LeaveToDefWindowProc();
  EXPECT_EQ(5u, hstest::ProblemsOf(hstest::RunCategory(7, &answersTrue)).size());
  EXPECT_EQ(5u, hstest::ProblemsOf(hstest::RunCategory(7, &leavesItToWindows)).size());
}

TEST(Reports, NamesHoldingSeparatorsStayParseableAndRepairable) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  const wchar_t name[] = L"Gone|Bar;Semi%25Percent";
  run.SetString(L"", name, files / L"gone|x.exe");  // "|" is no file name character: not judged
  run.SetString(L"", L"Also|Gone", files / L"gone.exe");
  std::vector<hstest::Problem> problems = hstest::ScanProblems(7);
  ASSERT_EQ(1u, problems.size()) << testing::PrintToString(hstest::Describe(problems));
  run.SetString(L"", name, files / L"gone.exe");
  problems = hstest::ScanProblems(7);
  ASSERT_EQ(2u, problems.size());
  for (const hstest::Problem& p : problems) {
    EXPECT_EQ(std::wstring::npos, p.repair.find(L'|'));
    EXPECT_NE(std::wstring::npos, p.title.find(L'\u00A6')) << "a | in a name is shown as a broken bar";
    EXPECT_EQ(1, HivescrubRepair(p.id, p.repair.c_str())) << testing::PrintToString(p.repair);
  }
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRun, name));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRun, L"Also|Gone"));
}

TEST(BadInput, ValuesOfEveryTypeAndHugeValuesNeitherCrashNorMislead) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  const BYTE binary[] = {1, 2, 3};
  const wchar_t unterminated[] = {L'C', L':', L'\\', L'x'};
  const wchar_t multi[] = L"C:\\gone1.exe\0C:\\gone2.exe\0";
  unsigned long long qword = 42;
  run.SetRaw(L"", L"Binary", REG_BINARY, binary, sizeof(binary));
  run.SetDword(L"", L"Dword", 7);
  run.SetRaw(L"", L"Qword", REG_QWORD, &qword, sizeof(qword));
  run.SetRaw(L"", L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
  run.SetRaw(L"", L"None", REG_NONE, nullptr, 0);
  run.SetRaw(L"", L"Unterminated", REG_SZ, unterminated, sizeof(unterminated));
  run.SetRaw(L"", L"Odd", REG_SZ, L"C:\\gone.exe", 7);
  run.SetString(L"", L"Unknown", L"%LUMASPAN_NO_SUCH%\\gone.exe", REG_EXPAND_SZ);
  run.SetString(L"", L"LongPath", L"C:\\" + std::wstring(10000, L'a') + L".exe");
  run.SetString(L"", L"LongArguments", L"\"" + (files / L"gone.exe") + L"\" " + std::wstring(10000, L'x'));
  std::wstring longName(10000, L'n');
  run.SetString(L"", longName.c_str(), files / L"gone.exe");

  std::vector<hstest::Problem> problems = hstest::ScanProblems(7);
  ASSERT_EQ(2u, problems.size()) << testing::PrintToString(hstest::Describe(problems));
  for (const hstest::Problem& p : problems) {
    EXPECT_LE(p.title.size(), 1024u);
    EXPECT_LE(p.detail.size(), 1024u);
  }
  for (const hstest::Problem& p : problems) EXPECT_EQ(1, HivescrubRepair(p.id, p.repair.c_str()));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRun, longName.c_str()));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRun, L"LongArguments"));
  for (const wchar_t* kept : {L"Binary", L"Dword", L"Qword", L"Multi", L"Unterminated", L"Odd", L"Unknown", L"LongPath"})
    EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRun, kept)) << testing::PrintToString(kept);
  DWORD type = 7;
  EXPECT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, kRun.c_str(), L"None", RRF_RT_ANY, &type, nullptr, nullptr));
  EXPECT_EQ(DWORD(REG_NONE), type);

  // The undo carries the 10,000-character name and value exactly.
  std::vector<std::wstring> undo = hstest::UndoFiles(program);
  ASSERT_EQ(1u, undo.size());
  ASSERT_TRUE(hstest::ImportFile(undo[0]));
  EXPECT_EQ(files / L"gone.exe", test::ReadString(HKEY_CURRENT_USER, kRun, longName.c_str()));
  EXPECT_EQ(L"\"" + (files / L"gone.exe") + L"\" " + std::wstring(10000, L'x'),
            test::ReadString(HKEY_CURRENT_USER, kRun, L"LongArguments"));
}

TEST(BadInput, KeysTwoHundredLevelsDeepAreDeletedAndRestoredWhole) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  const std::wstring clsid = L"Software\\Classes\\CLSID\\{4C554D41-0000-4000-8000-000000000200}";
  RegistrySandbox broken(HKEY_CURRENT_USER, clsid);
  broken.SetString(L"InprocServer32", nullptr, files / L"gone.dll");
  std::wstring deep;
  for (int i = 0; i < 200; ++i) deep += (i ? L"\\" : L"") + std::wstring(L"d");
  broken.SetString(deep, L"bottom", L"value");
  broken.SetRaw(deep, L"binary", REG_BINARY, "\x01\x02", 2);
  RegistrySandbox deepSoftware(HKEY_CURRENT_USER, L"Software\\LumaspanDeep");
  deepSoftware.CreateKey(deep);

  EXPECT_TRUE(hstest::ScanProblems(15).empty()) << "a deep tree has no empty key two levels down";
  std::vector<hstest::Problem> problems = hstest::ScanProblems(1);
  ASSERT_EQ(1u, problems.size());
  std::vector<char> before = hstest::ExportKey(L"HKEY_CURRENT_USER\\" + clsid);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(1, HivescrubRepair(problems[0].id, problems[0].repair.c_str()));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, clsid));
  ASSERT_EQ(1u, hstest::UndoFiles(program).size());
  ASSERT_TRUE(hstest::ImportFile(hstest::UndoFiles(program)[0]));
  EXPECT_TRUE(hstest::ExportKey(L"HKEY_CURRENT_USER\\" + clsid) == before);
}

TEST(Repair, RefusesProtectedKeysForeignPlacesAndMalformedTexts) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  RegistrySandbox policy(HKEY_CURRENT_USER, L"Software\\Policies\\LumaspanEmpty");
  policy.CreateKey(L"");
  RegistrySandbox empty(HKEY_CURRENT_USER, L"Software\\LumaspanEmpty");
  empty.CreateKey(L"");
  RegistrySandbox foreign(HKEY_CURRENT_USER, L"Software\\LumaspanForeign");
  foreign.SetString(L"", L"Gone", files / L"gone.exe");
  RegistrySandbox full(HKEY_CURRENT_USER, L"Software\\LumaspanFull");
  full.SetDword(L"", L"Value", 1);

  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\Policies\\LumaspanEmpty"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanFull"));
  EXPECT_EQ(0, HivescrubRepair(701, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanEmpty"));
  EXPECT_EQ(0, HivescrubRepair(701, L"DeleteValue;HKEY_CURRENT_USER\\Software\\LumaspanForeign;Gone"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CLASSES_ROOT\\LumaspanEmpty"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\\\LumaspanEmpty"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanEmpty;extra"));
  EXPECT_EQ(0, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\Lumaspan%ZZEmpty"));
  for (const wchar_t* garbage : {L"", L"DeleteKey", L";", L";;", L"%", L"Delete;HKEY_CURRENT_USER\\Software\\LumaspanEmpty"})
    EXPECT_EQ(0, HivescrubRepair(1501, garbage)) << testing::PrintToString(garbage);
  EXPECT_EQ(0, HivescrubRepair(1501, nullptr));
  EXPECT_EQ(0, HivescrubRepair(0, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanEmpty"));
  EXPECT_EQ(0, HivescrubRepair(-1, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanEmpty"));

  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, L"Software\\Policies\\LumaspanEmpty"));
  EXPECT_TRUE(test::KeyExists(HKEY_CURRENT_USER, L"Software\\LumaspanEmpty"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, L"Software\\LumaspanForeign", L"Gone"));
  EXPECT_TRUE(hstest::UndoFiles(program).empty()) << "a refused repair writes no undo";
  // The one genuine request still works.
  EXPECT_EQ(1, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanEmpty"));
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, L"Software\\LumaspanEmpty"));
}

TEST(Repair, AnEntryThatIsNoLongerBrokenIsLeftAlone) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"Gone", files / L"app.exe");
  std::vector<hstest::Problem> problems = hstest::ScanProblems(7);
  ASSERT_EQ(1u, problems.size());
  files.Write(L"app.exe", "MZ");  // reinstalled since the scan
  EXPECT_EQ(0, HivescrubRepair(problems[0].id, problems[0].repair.c_str()));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRun, L"Gone"));
  EXPECT_TRUE(hstest::UndoFiles(program).empty());
}

TEST(Repair, ChangesNothingAndSaysSoWhenTheUndoCannotBeWritten) {
  test::ProgramFolder program(test::ProgramFolder::Layout::Bare);
  test::ScratchFolder files;
  ASSERT_TRUE(test::WriteFile(program / L"Backup", "a file where the folder should be"));
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"Gone", files / L"gone.exe");
  std::vector<hstest::Problem> problems = hstest::ScanProblems(7);
  ASSERT_EQ(1u, problems.size());
  EXPECT_EQ(hivescrub::kNoUndoFile, HivescrubRepair(problems[0].id, problems[0].repair.c_str()));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kRun, L"Gone"));
  // A request refused on its own merits stays a plain refusal.
  EXPECT_EQ(hivescrub::kNotRepaired, HivescrubRepair(701, L"DeleteValue;HKEY_CURRENT_USER\\Software\\LumaspanForeign;Gone"));
}

// A registry link planted by the test; removed as a link (never through it) if it is still there.
class LinkKey {
 public:
  LinkKey(const std::wstring& path, const std::wstring& target) : path_(path) {
    base::UniqueKey key;
    EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                                             KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, key.receive(), nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), L"SymbolicLinkValue", 0, REG_LINK,
                                            reinterpret_cast<const BYTE*>(target.data()),
                                            static_cast<DWORD>(target.size() * sizeof(wchar_t))));
  }
  ~LinkKey() {
    using NtDeleteKey = LONG(WINAPI*)(HANDLE);
    auto remove = reinterpret_cast<NtDeleteKey>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
    base::UniqueKey key;
    if (remove && RegOpenKeyExW(HKEY_LOCAL_MACHINE, path_.c_str(), REG_OPTION_OPEN_LINK, DELETE, key.receive()) ==
                      ERROR_SUCCESS)
      remove(key.get());
  }

 private:
  std::wstring path_;
};

TEST(DeleteKeyTree, DeletesALinkAsItselfAndNeverWhatItLeadsTo) {
  RegistrySandbox target(HKEY_LOCAL_MACHINE, L"Software\\Lumaspan Link Target");
  target.SetString(L"Inner", L"Kept", L"yes");
  RegistrySandbox tree(HKEY_LOCAL_MACHINE, L"Software\\Lumaspan Link Tree");
  tree.SetString(L"Entry\\Plain", L"Value", L"v");
  const std::wstring nt = L"\\Registry\\Machine\\" + target.path();
  LinkKey inside(tree.Sub(L"Entry\\Trap"), nt);
  LinkKey alone(tree.Sub(L"Alone"), nt);
  ASSERT_EQ(L"yes", test::ReadString(HKEY_LOCAL_MACHINE, tree.Sub(L"Entry\\Trap\\Inner"), L"Kept"))
      << "the link does not lead to its target";

  base::UniqueKey parent;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, tree.path().c_str(), 0, KEY_READ, parent.receive()));
  EXPECT_TRUE(hivescrub::DeleteKeyTree(parent.get(), L"Entry"));  // a tree holding a link
  EXPECT_TRUE(hivescrub::DeleteKeyTree(parent.get(), L"Alone"));  // a link itself
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, tree.Sub(L"Entry")));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, tree.Sub(L"Alone")));
  EXPECT_EQ(L"yes", test::ReadString(HKEY_LOCAL_MACHINE, target.Sub(L"Inner"), L"Kept"));
}

TEST(Repair, AnUndoFileRemovedDuringTheSessionIsStartedAgain) {
  test::ProgramFolder program;
  test::ScratchFolder files;
  RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  run.SetString(L"", L"First", files / L"gone1.exe");
  run.SetString(L"", L"Second", files / L"gone2.exe");
  std::vector<hstest::Problem> problems = hstest::ScanProblems(7);
  ASSERT_EQ(2u, problems.size());
  EXPECT_EQ(1, HivescrubRepair(problems[0].id, problems[0].repair.c_str()));
  ASSERT_EQ(1u, hstest::UndoFiles(program).size());
  ASSERT_TRUE(DeleteFileW(hstest::UndoFiles(program)[0].c_str()));
  EXPECT_EQ(1, HivescrubRepair(problems[1].id, problems[1].repair.c_str()));
  std::vector<std::wstring> undo = hstest::UndoFiles(program);
  ASSERT_EQ(1u, undo.size());
  ASSERT_TRUE(hstest::ImportFile(undo[0]));
  EXPECT_EQ(1u, hstest::ScanProblems(7).size()) << "the new file holds the second repair";
}

TEST(LastScan, ShowsNotScannedUntilAScanIsRecorded) {
  RegistrySandbox bookkeeping(HKEY_CURRENT_USER, L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Registry Cleaner");
  wchar_t buffer[120];
  for (wchar_t& c : buffer) c = L'#';
  buffer[0] = 0;
  for (int i = 1; i < 100; ++i) buffer[i] = 0;
  EXPECT_EQ(1, HivescrubGetLastScanDate(buffer));
  EXPECT_STREQ(L"Not Scanned", buffer);
  EXPECT_EQ(L'#', buffer[100]) << "nothing is written past 100 characters";

  EXPECT_EQ(1, HivescrubSetLastScanTime());
  EXPECT_EQ(1, HivescrubSetLastScanDate());
  std::wstring time = test::ReadString(HKEY_CURRENT_USER, bookkeeping.path(), L"LastScanTime");
  std::wstring date = test::ReadString(HKEY_CURRENT_USER, bookkeeping.path(), L"LastScanDate");
  ASSERT_EQ(19u, time.size());
  EXPECT_EQ(L'-', time[4]);
  EXPECT_EQ(L':', time[13]);
  for (int i = 0; i < 100; ++i) buffer[i] = 0;
  EXPECT_EQ(1, HivescrubGetLastScanDate(buffer));
  EXPECT_EQ(date, buffer);
  EXPECT_NE(std::wstring::npos, date.find(L", 20")) << testing::PrintToString(date);
  EXPECT_TRUE(date.find(L" AM") != std::wstring::npos || date.find(L" PM") != std::wstring::npos);

  bookkeeping.SetString(L"", L"LastScanDate", std::wstring(300, L'z'));  // hand-edited, too long to show
  for (int i = 0; i < 100; ++i) buffer[i] = 0;
  EXPECT_EQ(1, HivescrubGetLastScanDate(buffer));
  EXPECT_STREQ(L"Not Scanned", buffer);
  EXPECT_EQ(L'#', buffer[100]);
}

}  // namespace
