#include "hivescrub_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/handles.h"
#include "contracts/hivescrub.h"
#include "contracts/messages.h"
#include "tests/support/start_process.h"

namespace hstest {

std::vector<test::Report> RunCategory(int c, test::ReportRecorder* recorder) {
  test::ReportRecorder own;
  test::ReportRecorder* r = recorder ? recorder : &own;
  r->Clear();
  hivescrub::kScans[c](r->window());
  return r->reports();
}

std::vector<Problem> ProblemsOf(const std::vector<test::Report>& reports) {
  std::vector<Problem> problems;
  for (const test::Report& report : reports) {
    if (report.kind < 10001 || report.kind > 10015) continue;
    Problem p;
    p.category = static_cast<int>(report.kind - 10000);
    p.text = report.text;
    size_t p1 = report.text.find(L'|');
    size_t p2 = p1 == std::wstring::npos ? p1 : report.text.find(L'|', p1 + 1);
    EXPECT_NE(std::wstring::npos, p2) << "unparseable report";
    if (p2 == std::wstring::npos) continue;
    p.id = _wtoi(report.text.substr(0, p1).c_str());
    p.repair = report.text.substr(p1 + 1, p2 - p1 - 1);
    std::wstring display = report.text.substr(p2 + 1);
    size_t p3 = display.find(L'|');
    EXPECT_NE(std::wstring::npos, p3) << "display text without a title";
    EXPECT_EQ(std::wstring::npos, display.find(L'|', p3 == std::wstring::npos ? 0 : p3 + 1)) << "a second | in the display text";
    p.title = display.substr(0, p3);
    p.detail = p3 == std::wstring::npos ? std::wstring() : display.substr(p3 + 1);
    problems.push_back(p);
  }
  return problems;
}

std::vector<Problem> ScanProblems(int c) { return ProblemsOf(RunCategory(c)); }

std::wstring Describe(const std::vector<Problem>& problems) {
  std::wstring text;
  for (const Problem& p : problems) text += L"\n  " + std::to_wstring(p.category) + L": " + p.text;
  return text;
}

namespace {

bool RunRegedit(const std::wstring& arguments) {
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  std::wstring exe = std::wstring(windows) + L"\\regedit.exe";
  std::wstring line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  if (!test::StartProcess(exe.c_str(), &line[0], FALSE, 0, nullptr, &si, &pi)) return false;
  base::UniqueHandle process(pi.hProcess), thread(pi.hThread);
  return WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0;
}

std::vector<char> ReadAll(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::vector<char> ExportKey(const std::wstring& fullKeyPath) {
  test::ScratchFolder folder;
  std::wstring file = folder / L"export.reg";
  EXPECT_TRUE(RunRegedit(L"/e \"" + file + L"\" \"" + fullKeyPath + L"\""));
  return ReadAll(file);
}

bool ImportFile(const std::wstring& path) { return RunRegedit(L"/s \"" + path + L"\""); }

std::vector<std::wstring> UndoFiles(const test::ProgramFolder& program) {
  return RegFiles(program / L"Backup\\Registry\\Undo");
}

std::vector<std::wstring> RegFiles(const std::wstring& folder) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((folder + L"\\*.reg").c_str(), &data));
  if (!find) return files;
  do {
    files.push_back(folder + L"\\" + data.cFileName);
  } while (FindNextFileW(find.get(), &data));
  return files;
}

}  // namespace hstest

#include "seeds.h"

namespace hstest {

std::vector<Problem> ExpectExactly(int c, const std::vector<Expected>& expected) {
  std::vector<Problem> problems = ScanProblems(c);
  EXPECT_EQ(expected.size(), problems.size()) << testing::PrintToString(Describe(problems));
  for (const Expected& e : expected) {
    int matches = 0;
    for (const Problem& p : problems)
      if (p.id == e.id && _wcsicmp(p.title.c_str(), e.title.c_str()) == 0 && p.detail.find(e.detail) != std::wstring::npos &&
          p.category == c)
        ++matches;
    EXPECT_EQ(1, matches) << "expected " << e.id << " " << testing::PrintToString(e.title) << " "
                          << testing::PrintToString(e.detail) << " among" << testing::PrintToString(Describe(problems));
  }
  return problems;
}

void RepairAndUndo(int c, const std::vector<Problem>& problems, const std::vector<std::wstring>& keys,
                   const test::ProgramFolder& program) {
  std::vector<std::vector<char>> before;
  for (const std::wstring& key : keys) {
    before.push_back(ExportKey(key));
    ASSERT_FALSE(before.back().empty()) << testing::PrintToString(key);
  }
  for (const Problem& p : problems) EXPECT_EQ(1, HivescrubRepair(p.id, p.repair.c_str())) << testing::PrintToString(p.text);
  EXPECT_TRUE(ScanProblems(c).empty()) << "still reported after the repair";
  bool changed = false;
  for (size_t i = 0; i < keys.size(); ++i) changed = changed || ExportKey(keys[i]) != before[i];
  EXPECT_TRUE(changed) << "the repair changed none of the keys";

  std::vector<std::wstring> undo = UndoFiles(program);
  ASSERT_EQ(1u, undo.size()) << "one undo file per session";
  ASSERT_TRUE(ImportFile(undo[0]));
  for (size_t i = 0; i < keys.size(); ++i)
    EXPECT_TRUE(ExportKey(keys[i]) == before[i]) << "not restored exactly: " << testing::PrintToString(keys[i]);
  EXPECT_EQ(problems.size(), ScanProblems(c).size()) << "the undo brings the problems back";
}

}  // namespace hstest
