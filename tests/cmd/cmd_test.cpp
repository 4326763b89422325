// LumaspanCmd.exe as an administrator's script runs it: from its own program folder (a copy in the
// test prefix, so undo files and logs land there), its output read back from files.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "base/exclusions.h"
#include "base/handles.h"
#include "base/scan_lock.h"
#include "cmd/engine_run.h"
#include "tests/cleaning/seeded.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"
#include "tests/support/start_process.h"

namespace {

const std::wstring kRunMru = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
const std::wstring kEvents = L"AppEvents\\Schemes\\Apps\\LumaspanCmdTest";
const std::wstring kEventKey = kEvents + L"\\Gone\\.Current";
const std::wstring kBook = L"SOFTWARE\\Lumaspan Software\\KeepLumaspan";

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0], n);
  return out;
}

// Shared, so that a file the program is still writing can be read.
std::wstring ReadUtf8(const std::wstring& path) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (file && ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
  return Wide(bytes);
}

size_t Count(const std::wstring& text, const std::wstring& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct Result {
  int code = -1;
  std::wstring out, err;
};

class ConsoleProgram : public testing::Test {
 protected:
  void SetUp() override {
    // The program folder: the console program and every DLL of the staged one.
    WIN32_FIND_DATAW data;
    base::UniqueFind find(FindFirstFileW(L"C:\\Lumaspan\\*", &data));
    ASSERT_TRUE(find.valid());
    do {
      std::wstring name = data.cFileName;
      if (name.size() > 4 && (name.substr(name.size() - 4) == L".dll" || name == L"LumaspanCmd.exe")) {
        ASSERT_TRUE(CopyFileW((L"C:\\Lumaspan\\" + name).c_str(), (program_ / name).c_str(), FALSE)) << name.c_str();
      }
    } while (FindNextFileW(find.get(), &data));
    ASSERT_TRUE(drive_.present());
  }

  HANDLE Output(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }

  // Starts the program with these arguments, its output going to files; the process handle.
  base::UniqueHandle Start(const std::wstring& arguments, DWORD flags = 0) {
    base::UniqueFile out(Output(program_ / L"out.txt")), err(Output(program_ / L"err.txt"));
    std::wstring line = L"\"" + (program_ / L"LumaspanCmd.exe") + L"\" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out.get();
    startup.hStdError = err.get();
    PROCESS_INFORMATION process = {};
    if (!test::StartProcess(nullptr, &line[0], TRUE, flags, nullptr, &startup, &process)) return base::UniqueHandle();
    CloseHandle(process.hThread);
    return base::UniqueHandle(process.hProcess);
  }

  Result Finish(const base::UniqueHandle& process) {
    Result r;
    if (!process || WaitForSingleObject(process.get(), 120000) != WAIT_OBJECT_0) return r;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    r.code = static_cast<int>(code);
    r.out = ReadUtf8(program_ / L"out.txt");
    r.err = ReadUtf8(program_ / L"err.txt");
    return r;
  }

  Result Run(const std::wstring& arguments) { return Finish(Start(arguments)); }

  test::ScratchFolder program_;
  test::ExtraDrive drive_{L'T'};
  test::RegistrySandbox exclusions_{HKEY_CURRENT_USER, base::kExclusionsKey};
};

TEST_F(ConsoleProgram, ScanListsWhatThePagesFindAndCleanRemovesExactlyThatWithTheUndoFileWritten) {
  drive_.Write(L"cmd\\a.tmp", "12345");
  drive_.Write(L"cmd\\b.old", "12");
  drive_.Write(L"cmd\\keep.txt", "k");
  const std::wstring excluded = drive_.Write(L"cmd\\excluded.tmp", "x");
  ASSERT_EQ(base::AddResult::kAdded, base::AddExclusion({base::ExclusionKind::kFile, excluded}));
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRunMru);
  run.SetString(L"", L"a", L"notepad\\1");
  run.SetString(L"", L"MRUList", L"a");
  test::ScratchFolder sounds;
  test::RegistrySandbox events(HKEY_CURRENT_USER, kEvents);
  events.SetString(L"Gone\\.Current", nullptr, sounds / L"gone.wav");
  test::RegistrySandbox junkBook(HKEY_CURRENT_USER, kBook + L"\\Junk File Cleaner");
  test::RegistrySandbox registryBook(HKEY_CURRENT_USER, kBook + L"\\Registry Cleaner");

  const std::wstring select = L"--junk=T: --traces=1 --registry=3";
  Result scan = Run(L"scan " + select);
  ASSERT_EQ(0, scan.code) << scan.err;
  const std::wstring mru = L"Trace\tWindows Start Menu Run\tHKEY_CURRENT_USER\\" + kRunMru + L"\\\t";
  const std::wstring event = L"Registry\tSounds and App Events\tHKEY_CURRENT_USER\\" + kEventKey + L"\t(Default)\t0\n";
  EXPECT_EQ(1u, Count(scan.out, L"Junk\tT:\\\tT:\\cmd\\\ta.tmp\t5\n")) << scan.out;
  EXPECT_EQ(1u, Count(scan.out, L"Junk\tT:\\\tT:\\cmd\\\tb.old\t2\n"));
  EXPECT_EQ(1u, Count(scan.out, mru + L"a\t"));
  EXPECT_EQ(1u, Count(scan.out, mru + L"MRUList\t"));
  EXPECT_EQ(1u, Count(scan.out, event));
  EXPECT_EQ(0u, Count(scan.out, L"excluded.tmp"));
  EXPECT_EQ(0u, Count(scan.out, L"keep.txt"));
  EXPECT_EQ(1u, Count(scan.out, L"Found 5 item(s), "));
  EXPECT_TRUE(test::FileExists(drive_.root() + L"cmd\\a.tmp"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, kEventKey, nullptr));
  // The last scan is recorded as the pages record it.
  EXPECT_NE(L"", test::ReadString(HKEY_CURRENT_USER, junkBook.path(), L"LastScanDate"));
  EXPECT_NE(L"", test::ReadString(HKEY_CURRENT_USER, registryBook.path(), L"LastScanDate"));

  Result clean = Run(L"clean " + select);
  ASSERT_EQ(0, clean.code) << clean.err;
  EXPECT_EQ(5u, Count(clean.out, L"\tremoved\n")) << clean.out;
  EXPECT_FALSE(test::FileExists(drive_.root() + L"cmd\\a.tmp"));
  EXPECT_FALSE(test::FileExists(drive_.root() + L"cmd\\b.old"));
  EXPECT_TRUE(test::FileExists(drive_.root() + L"cmd\\keep.txt"));
  EXPECT_TRUE(test::FileExists(excluded));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kRunMru, L"a"));
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, kEventKey, nullptr));
  // The repair's undo went to the program folder's undo file first.
  WIN32_FIND_DATAW data;
  base::UniqueFind undo(FindFirstFileW((program_ / L"Backup\\Registry\\Undo\\*.reg").c_str(), &data));
  ASSERT_TRUE(undo.valid());
  std::ifstream in((program_ / (L"Backup\\Registry\\Undo\\" + std::wstring(data.cFileName))).c_str(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  EXPECT_NE(std::wstring::npos, text.find(L"[HKEY_CURRENT_USER\\" + kEventKey + L"]"));
}

TEST_F(ConsoleProgram, AFileThatCannotBeRemovedGivesOneAndIsNamed) {
  drive_.Write(L"cmd\\gone.tmp", "1");
  const std::wstring held = drive_.Write(L"cmd\\held.tmp", "22");
  cleaning_test::HeldFile holder(held);
  ASSERT_TRUE(holder.holding());
  Result r = Run(L"clean --junk=T: --quiet");
  EXPECT_EQ(1, r.code);
  EXPECT_EQ(L"", r.out);
  EXPECT_NE(std::wstring::npos, r.err.find(L"could not remove " + held)) << r.err;
  EXPECT_FALSE(test::FileExists(drive_.root() + L"cmd\\gone.tmp"));
  EXPECT_TRUE(test::FileExists(held));
}

TEST_F(ConsoleProgram, BadArgumentsGiveTwoAndTheUsageAndCleanNothing) {
  const std::wstring junk = drive_.Write(L"cmd\\stays.tmp", "1");
  const std::wstring readOnly = program_.Write(L"read-only.txt", "r");
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  const std::wstring clean = L"clean --junk=T: ";
  const std::wstring cases[] = {
      L"",
      L"sweep",
      clean + L"--fast",
      clean + L"--junk",
      clean + L"--quiet --quiet",
      L"scan clean --junk=T:",
      L"clean --junk=Q:",
      clean + L"--report",
      clean + L"--report \"" + program_.path() + L"\"",
      clean + L"--report \"" + program_.path() + L"\\\"",
      clean + L"--report \"" + readOnly + L"\"",
      clean + L"--report \"" + program_.path() + L"\\" + std::wstring(300, L'r') + L".txt\"",
      clean + L"--report \"a\\\"b.txt\"",
      clean + L"--tr\u00e4ces",
      L"cl\u00e9an --junk=T:",
  };
  for (const std::wstring& arguments : cases) {
    Result r = Run(arguments);
    EXPECT_EQ(2, r.code) << testing::PrintToString(arguments);
    EXPECT_EQ(0u, r.err.find(L"LumaspanCmd: ")) << testing::PrintToString(arguments) << r.err;
    EXPECT_NE(std::wstring::npos, r.err.find(L"\nusage: LumaspanCmd scan|clean")) << testing::PrintToString(arguments);
    EXPECT_TRUE(test::FileExists(junk)) << testing::PrintToString(arguments);
  }
  // A letter beyond ASCII comes back in the message as it was typed.
  EXPECT_NE(std::wstring::npos, Run(L"cl\u00e9an").err.find(L"unknown command: cl\u00e9an"));
  SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ConsoleProgram, AScanOrCleanRunningElsewhereGivesThreeAndTouchesNothing) {
  const std::wstring junk = drive_.Write(L"cmd\\stays.tmp", "1");
  base::ScanLock page = base::ScanLock::TryTake();
  ASSERT_TRUE(page.held());
  Result r = Run(L"clean --junk=T:");
  EXPECT_EQ(3, r.code);
  EXPECT_NE(std::wstring::npos, r.err.find(L"another Lumaspan scan or clean is running")) << r.err;
  EXPECT_TRUE(test::FileExists(junk));
  page.Release();
  EXPECT_EQ(0, Run(L"clean --junk=T: --quiet").code);
  EXPECT_FALSE(test::FileExists(junk));
}

// Ctrl+C and Ctrl+Break only set the stop flag (a console control event reaches no child process
// under Wine, so the flag is set here as the handler sets it): the scan ends at the engine's next
// report, a clean before its next item, and whatever was reached is whole.
TEST_F(ConsoleProgram, TheStopFlagEndsAScanAtItsNextReportAndACleanBeforeItsNextItem) {
  constexpr int kFiles = 40;
  for (int i = 0; i < kFiles; ++i) drive_.Write(L"many\\" + std::to_wstring(i) + L".tmp", "x");
  cmd::Arguments what;
  what.junk = true;
  what.drives = {drive_.root()};
  std::atomic<bool> stop{false};
  std::vector<cmd::Item> items;
  EXPECT_FALSE(cmd::Scan(what, base::ExclusionSet(), stop, [&](const std::wstring&) { stop = true; }, &items));
  EXPECT_LT(items.size(), 2u);

  stop = false;
  items.clear();
  ASSERT_TRUE(cmd::Scan(what, base::ExclusionSet(), stop, [](const std::wstring&) {}, &items));
  ASSERT_EQ(static_cast<size_t>(kFiles), items.size());
  int cleaning = 0;
  EXPECT_FALSE(cmd::Clean(&items, stop, [&](const std::wstring&) { stop = ++cleaning == 10; }));
  for (size_t i = 0; i < items.size(); ++i) {
    std::wstring path = items[i].location + items[i].name;
    EXPECT_EQ(i < 10 ? cmd::State::kRemoved : cmd::State::kFound, items[i].state) << i;
    EXPECT_EQ(i >= 10, test::FileExists(path)) << i;
    if (i >= 10) {
      EXPECT_EQ(L"x", ReadUtf8(path)) << i;
    }
  }
}

}  // namespace
