// Bootlist.dll as the startup manager page uses it: every kind of entry listed once, each removal
// taking exactly its entry and undone by its backup, keys that name no entry refused, what an
// entry starts, and the listing's stop reply.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contracts/bootlist.h"
#include "contracts/buffers.h"
#include "contracts/messages.h"
#include "tests/bootlist/startup_seeds.h"
#include "tests/cleaning/seeded.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/report_recorder.h"
#include "tests/support/scratch.h"

namespace {

using bltest::Count;
using bltest::Find;
using bltest::List;
using bltest::StartupSeeds;

const std::wstring kPipeName = L"pipe|name%25 and %7C";
const std::wstring kUnicodeName = L"\u00dcnic\u00f8de \u0436\u4e2d";

struct Seeded {
  std::wstring item;
  int kind;
  std::wstring command;
};

// One entry of every kind and of every awkward shape; a DWORD value, a sub-folder and the folder's
// desktop.ini that are no entries.
std::vector<Seeded> SeedAll(StartupSeeds& s) {
  std::vector<Seeded> seeded = {
      {L"Alpha", 1, L"\"C:\\Program Files\\Alpha\\alpha.exe\" /tray"},
      {kPipeName, 1, L"cmd /c echo a|b 100%"},
      {kUnicodeName, 1, L"C:\\\u00fcber\\\u00e9t\u00e9.exe"},
      {L"", 1, L"default.exe"},
      {L"Long", 1, L"C:\\long.exe " + std::wstring(10000, L'x')},
      {L"Machine", 3, L"machine.exe -m"},
      {L"Machine32", 4, L"C:\\Windows\\system32\\m32.exe"},
      {L"Once", 5, L"once.exe"},
      {L"MachineOnce", 6, L"machine-once.exe"},
  };
  for (const Seeded& e : seeded) s.SetValue(e.kind, e.item, e.command);
  s.SetValue(1, L"Expanded", L"%SystemRoot%\\expanded.exe", REG_EXPAND_SZ);
  seeded.push_back({L"Expanded", 1, L"%SystemRoot%\\expanded.exe"});
  DWORD number = 7;
  s.SetRaw(1, L"Numbers", REG_DWORD, &number, sizeof(number));
  seeded.push_back({L"script.bat", 2, s.AddFile(StartupSeeds::kUser, L"script.bat")});
  seeded.push_back({L"tool.lnk", 2, s.AddShortcut(StartupSeeds::kCommon, L"tool.lnk", L"C:\\windows\\notepad.exe", L"")});
  s.AddFile(StartupSeeds::kUser, L"desktop.ini", "[.ShellClassInfo]\r\n");
  s.AddFile(StartupSeeds::kUser, L"sub\\inner.bat");
  return seeded;
}

TEST(BootlistListing, ListsEveryEntryOnceWithItsKindAndCommand) {
  StartupSeeds seeds;
  std::vector<Seeded> seeded = SeedAll(seeds);
  int result = 0;
  std::vector<bltest::StartupEntry> entries = List(&result);
  EXPECT_EQ(1, result);
  for (const Seeded& e : seeded) {
    EXPECT_EQ(1, Count(entries, e.item, e.kind)) << testing::PrintToString(e.item) << " kind " << e.kind;
    const bltest::StartupEntry* found = Find(entries, e.item, e.kind);
    if (found) {
      EXPECT_EQ(e.command, found->command) << testing::PrintToString(e.item);
    }
  }
  EXPECT_EQ(0, Count(entries, L"Machine32", 3)) << "the 32-bit view is listed as kind 4 only";
  EXPECT_EQ(0, Count(entries, L"Machine", 4));
  for (const bltest::StartupEntry& e : entries) {
    EXPECT_NE(L"Numbers", e.item) << "a DWORD starts nothing";
    EXPECT_NE(L"desktop.ini", e.item);
    EXPECT_NE(L"sub", e.item);
    EXPECT_NE(L"inner.bat", e.item);
  }
  for (size_t i = 1; i < entries.size(); ++i) EXPECT_LE(entries[i - 1].kind, entries[i].kind) << "kinds in order";
}

TEST(BootlistListing, StopsAtTheStopReplyAndListsAThousandEntriesWithoutAStartupFolder) {
  StartupSeeds seeds;
  for (int i = 0; i < 1000; ++i) seeds.SetValue(1, L"entry " + std::to_wstring(i), L"program" + std::to_wstring(i) + L".exe");

  test::ReportRecorder recorder;
  recorder.SetReplies([](const test::Report&, size_t index) { return index >= 9 ? report_reply::kStop : report_reply::kGoOn; });
  EXPECT_EQ(0, BootlistGetStartupList(recorder.window()));
  EXPECT_EQ(10u, recorder.reports().size()) << "nothing more after the stop";

  std::wstring folder = seeds.folder(StartupSeeds::kUser), aside = folder + L".aside";
  ASSERT_TRUE(MoveFileW(folder.c_str(), aside.c_str()));
  int result = 0;
  std::vector<bltest::StartupEntry> entries = List(&result);
  ASSERT_TRUE(MoveFileW(aside.c_str(), folder.c_str()));
  EXPECT_EQ(1, result);
  EXPECT_EQ(1000u, entries.size());
  EXPECT_EQ(0, BootlistGetStartupList(nullptr));
}

TEST(BootlistRemoval, EachRemovalTakesExactlyItsEntryAndItsBackupBringsItBack) {
  StartupSeeds seeds;
  std::vector<Seeded> seeded = SeedAll(seeds);
  std::vector<std::vector<char>> keys;
  for (int kind : {1, 3, 4, 5, 6}) keys.push_back(hstest::ExportKey(bltest::FullKeyOf(kind)));
  std::vector<std::string> files;
  for (const Seeded& e : seeded)
    if (e.kind == 2) files.push_back(bltest::ReadFileBytes(e.command));

  // The entry whose name holds "|" first, alone.
  ASSERT_EQ(1, BootlistRemoveStartupList(1, kPipeName.c_str()));
  std::vector<bltest::StartupEntry> entries = List();
  EXPECT_EQ(0, Count(entries, kPipeName, 1));
  for (const Seeded& e : seeded) {
    if (e.item != kPipeName) {
      EXPECT_EQ(1, Count(entries, e.item, e.kind)) << testing::PrintToString(e.item);
    }
  }

  for (const Seeded& e : seeded) {
    if (e.item == kPipeName) continue;
    bltest::StartupEntry entry{e.item, e.command, e.kind};
    EXPECT_EQ(1, BootlistRemoveStartupList(e.kind, entry.RemovalKey().c_str())) << testing::PrintToString(e.item);
  }
  entries = List();
  EXPECT_TRUE(entries.empty()) << entries.size() << " left, first " << testing::PrintToString(entries.empty() ? L"" : entries[0].item);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, bltest::KeyOf(1), L"Numbers")) << "what is no entry stays";

  // Files were moved, never deleted: moving them back restores them byte for byte.
  size_t f = 0;
  for (const Seeded& e : seeded) {
    if (e.kind != 2) continue;
    std::wstring kept = seeds.program() / (L"Backup\\Startup\\Files\\" + e.item);
    EXPECT_FALSE(test::FileExists(e.command));
    EXPECT_EQ(files[f++], bltest::ReadFileBytes(kept)) << testing::PrintToString(kept);
    EXPECT_TRUE(MoveFileW(kept.c_str(), e.command.c_str()));
  }
  std::vector<std::wstring> undo = seeds.UndoFiles();
  ASSERT_EQ(1u, undo.size()) << "one undo file per session";
  ASSERT_TRUE(hstest::ImportFile(undo[0]));
  size_t k = 0;
  for (int kind : {1, 3, 4, 5, 6}) EXPECT_TRUE(hstest::ExportKey(bltest::FullKeyOf(kind)) == keys[k++]) << "kind " << kind << " not restored exactly";
  entries = List();
  for (const Seeded& e : seeded) EXPECT_EQ(1, Count(entries, e.item, e.kind)) << "back: " << testing::PrintToString(e.item);
}

TEST(BootlistRemoval, RefusesEveryKeyThatNamesNoEntry) {
  StartupSeeds seeds;
  seeds.SetValue(1, L"Alpha", L"alpha.exe");
  DWORD number = 7;
  seeds.SetRaw(1, L"Numbers", REG_DWORD, &number, sizeof(number));
  std::wstring folder = seeds.folder(StartupSeeds::kUser);
  std::wstring keep = seeds.AddFile(StartupSeeds::kUser, L"keep.bat");
  std::wstring inner = seeds.AddFile(StartupSeeds::kUser, L"sub\\inner.bat");
  test::ScratchFolder elsewhere;
  std::wstring outside = elsewhere.Write(L"outside.bat", "x");
  std::vector<char> before = hstest::ExportKey(bltest::FullKeyOf(1));

  struct Refused {
    int kind;
    const wchar_t* key;
  };
  std::wstring sub = folder + L"\\sub", dotdot = folder + L"\\sub\\..\\keep.bat", missing = folder + L"\\missing.bat",
               stream = keep + L":hidden";
  const Refused refused[] = {
      {1, L"Missing"}, {1, L"Numbers"}, {3, L"Alpha"}, {0, L"Alpha"}, {7, L"Alpha"}, {1, nullptr},
      {2, outside.c_str()}, {2, inner.c_str()}, {2, sub.c_str()}, {2, dotdot.c_str()}, {2, missing.c_str()},
      {2, L"keep.bat"}, {2, stream.c_str()}, {2, L"Alpha"}, {1, keep.c_str()},
  };
  for (const Refused& r : refused)
    EXPECT_EQ(0, BootlistRemoveStartupList(r.kind, r.key)) << r.kind << " " << testing::PrintToString(r.key ? r.key : L"(null)");

  EXPECT_TRUE(hstest::ExportKey(bltest::FullKeyOf(1)) == before);
  for (const std::wstring& file : {keep, inner, outside}) EXPECT_TRUE(test::FileExists(file)) << testing::PrintToString(file);
  EXPECT_TRUE(seeds.UndoFiles().empty());
  EXPECT_FALSE(test::FolderExists(seeds.program() / L"Backup\\Startup\\Files"));
}

TEST(BootlistRemoval, AStartupFileStaysWhereItIsWhileItsUndoNoteCannotBeWritten) {
  StartupSeeds seeds;
  seeds.SetValue(1, L"First", L"first.exe");
  std::wstring file = seeds.AddFile(StartupSeeds::kUser, L"noted.bat");
  const std::wstring kept = seeds.program() / L"Backup\\Startup\\Files\\noted.bat";
  ASSERT_EQ(1, BootlistRemoveStartupList(1, L"First"));  // the session's undo file is made
  std::vector<std::wstring> undo = seeds.UndoFiles();
  ASSERT_EQ(1u, undo.size());
  {
    cleaning_test::HeldFile holder(undo[0]);
    ASSERT_TRUE(holder.holding());
    EXPECT_EQ(0, BootlistRemoveStartupList(2, file.c_str()));
    EXPECT_TRUE(test::FileExists(file));
    EXPECT_FALSE(test::FileExists(kept));
  }
  EXPECT_EQ(1, BootlistRemoveStartupList(2, file.c_str()));
  EXPECT_FALSE(test::FileExists(file));
  EXPECT_TRUE(test::FileExists(kept));
  std::string bytes = bltest::ReadFileBytes(undo[0]);
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  EXPECT_NE(std::wstring::npos, text.find(L"; \"" + file + L"\" was moved to \"" + kept + L"\""));
}

TEST(BootlistTarget, NamesTheProgramOfACommandLineOrShortcut) {
  StartupSeeds seeds;
  test::ScratchFolder scratch;
  std::wstring program = scratch.Write(L"My App\\app.exe", "MZ");
  SetEnvironmentVariableW(L"BOOTLIST_TEST_HOME", scratch.path().c_str());
  auto target = [](int kind, const std::wstring& command, std::wstring* starts = nullptr) {
    wchar_t s[contracts::kValueChars] = {}, p[contracts::kValueChars] = {};
    int result = BootlistGetEntryTarget(kind, command.c_str(), s, p);
    EXPECT_EQ(result, p[0] ? 1 : 0);
    if (starts) *starts = s;
    return std::wstring(p);
  };
  EXPECT_EQ(program, target(1, L"\"" + program + L"\" /min"));
  EXPECT_EQ(program, target(3, program + L" /min"));
  EXPECT_EQ(program, target(5, L"%BOOTLIST_TEST_HOME%\\My App\\app.exe -x"));
  std::wstring notepad = target(1, L"notepad.exe /a");
  EXPECT_TRUE(notepad.size() > 12 && _wcsicmp(notepad.c_str() + notepad.size() - 12, L"\\notepad.exe") == 0 &&
              test::FileExists(notepad))
      << testing::PrintToString(notepad);
  EXPECT_EQ(L"", target(1, L"C:\\nowhere\\missing.exe /a"));
  std::wstring starts;
  std::wstring longCommand = L"\"" + program + L"\" " + std::wstring(10000, L'y');
  EXPECT_EQ(program, target(1, longCommand, &starts));
  EXPECT_EQ(longCommand.substr(0, contracts::kValueChars - 1), starts) << "cut to fit";

  std::wstring link = seeds.AddShortcut(StartupSeeds::kUser, L"app.lnk", program, L"-quiet");
  EXPECT_EQ(program, target(2, link, &starts));
  EXPECT_EQ(L"\"" + program + L"\" -quiet", starts);
  std::wstring script = seeds.AddFile(StartupSeeds::kUser, L"run.bat");
  EXPECT_EQ(script, target(2, script, &starts));
  EXPECT_EQ(script, starts);
  ASSERT_TRUE(DeleteFileW(program.c_str()));
  EXPECT_EQ(link, target(2, link)) << "a broken shortcut shows itself";
  SetEnvironmentVariableW(L"BOOTLIST_TEST_HOME", nullptr);
}

}  // namespace
