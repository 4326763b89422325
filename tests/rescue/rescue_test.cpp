// The Rescue Center's undo of what the real engines wrote: each kind of change is one row, its Undo
// gives back exactly the registry (compared as the registry editor exports it) and the files it
// took, once; Delete removes only that row's files; files the product did not write are refused.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/handles.h"
#include "base/undo_journal.h"
#include "contracts/addonward.h"
#include "contracts/bookvault.h"
#include "contracts/bootlist.h"
#include "contracts/hivescrub.h"
#include "contracts/webmend.h"
#include "pages/backup/rescue_files.h"
#include "pages/backup/rescue_items.h"
#include "tests/addonward/addon_registry.h"
#include "tests/bootlist/startup_seeds.h"
#include "tests/hivescrub/hivescrub_support.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using rescue::Item;
using rescue::Kind;
using rescue::State;

const wchar_t kRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::vector<Item> Rows(const std::wstring& program) { return rescue::ListItems(rescue::SystemPlaces(program)); }

rescue::Outcome UndoRow(const std::wstring& program, const Item& item) {
  return rescue::Undo(rescue::SystemPlaces(program), item);
}

// Undoes the only row, which must be of `kind`, and checks it is marked and refuses a second Undo.
void UndoOnlyRowOnce(const std::wstring& program, Kind kind, int keptBeside = 0) {
  std::vector<Item> rows = Rows(program);
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ(kind, rows[0].kind);
  ASSERT_EQ(State::kReady, rows[0].state) << rows[0].problem;
  EXPECT_GT(rows[0].entries, 0);
  rescue::Outcome outcome = UndoRow(program, rows[0]);
  EXPECT_FALSE(outcome.refused) << outcome.why;
  EXPECT_EQ(0, outcome.notPutBack) << outcome.why;
  EXPECT_EQ(keptBeside, outcome.keptBeside);
  rows = Rows(program);
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ(State::kUndone, rows[0].state);
  rescue::Outcome again = UndoRow(program, rows[0]);
  EXPECT_TRUE(again.refused);
  EXPECT_EQ(L"This change has already been undone.", again.why);
}

TEST(RescueUndo, RegistryRepairComesBackExactly) {
  test::RegistrySandbox run(HKEY_CURRENT_USER, kRun);
  test::RegistrySandbox empty(HKEY_CURRENT_USER, L"Software\\LumaspanRescueEmpty");
  run.SetString(L"", L"LumaspanGone", L"\"C:\\Lumaspan Missing\\gone.exe\" /quiet", REG_EXPAND_SZ);
  empty.CreateKey(L"");
  const std::wstring full = std::wstring(L"HKEY_CURRENT_USER\\") + kRun;
  std::vector<char> before = hstest::ExportKey(full);
  std::vector<char> emptyBefore = hstest::ExportKey(L"HKEY_CURRENT_USER\\Software\\LumaspanRescueEmpty");
  test::ProgramFolder program;
  ASSERT_EQ(1, HivescrubRepair(701, (L"DeleteValue;" + full + L";LumaspanGone").c_str()));
  ASSERT_EQ(1, HivescrubRepair(1501, L"DeleteKey;HKEY_CURRENT_USER\\Software\\LumaspanRescueEmpty"));
  ASSERT_FALSE(test::KeyExists(HKEY_CURRENT_USER, L"Software\\LumaspanRescueEmpty"));

  std::vector<Item> rows = Rows(program.path());
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ(2, rows[0].entries);
  EXPECT_EQ(L"Registry repair", std::wstring(rescue::KindName(rows[0].kind)));
  UndoOnlyRowOnce(program.path(), Kind::kRegistryRepair);
  EXPECT_EQ(before, hstest::ExportKey(full));
  EXPECT_EQ(emptyBefore, hstest::ExportKey(L"HKEY_CURRENT_USER\\Software\\LumaspanRescueEmpty"));

  // The session goes on writing to its file: only what came after the undo is undone next.
  ASSERT_EQ(1, HivescrubRepair(701, (L"DeleteValue;" + full + L";LumaspanGone").c_str()));
  rows = Rows(program.path());
  ASSERT_EQ(1u, rows.size());
  ASSERT_EQ(State::kReady, rows[0].state);
  EXPECT_EQ(1, rows[0].entries);
  EXPECT_EQ(0, UndoRow(program.path(), rows[0]).notPutBack);
  EXPECT_EQ(before, hstest::ExportKey(full));
}

TEST(RescueUndo, StartupRemovalComesBackBesideATakenPlace) {
  bltest::StartupSeeds seeds;
  seeds.SetValue(1, L"LumaspanTray", L"C:\\Tools\\tray.exe /min");
  std::wstring file = seeds.AddFile(bltest::StartupSeeds::kUser, L"lumaspan agent.cmd", "@echo original\r\n");
  const std::wstring program = seeds.program().path();
  std::vector<char> before = hstest::ExportKey(bltest::FullKeyOf(1));
  ASSERT_EQ(1, BootlistRemoveStartupList(1, L"LumaspanTray"));
  ASSERT_EQ(1, BootlistRemoveStartupList(2, file.c_str()));
  // Something new took the file's place meanwhile.
  ASSERT_TRUE(test::WriteFile(file, "@echo newer\r\n"));

  UndoOnlyRowOnce(program, Kind::kStartupEntry, 1);
  EXPECT_EQ(before, hstest::ExportKey(bltest::FullKeyOf(1)));
  EXPECT_EQ("@echo newer\r\n", bltest::ReadFileBytes(file));
  EXPECT_EQ("@echo original\r\n", bltest::ReadFileBytes(seeds.folder(bltest::StartupSeeds::kUser) + L"\\lumaspan agent (2).cmd"));
  DeleteFileW((seeds.folder(bltest::StartupSeeds::kUser) + L"\\lumaspan agent (2).cmd").c_str());
}

TEST(RescueUndo, AddonRemovalAndRepairAllComeBackExactly) {
  addon_test::AddonRegistry addons;
  const std::wstring id = L"{0A1B2C3D-1111-2222-3333-444455556666}";
  addons.Helper(id, L"Lumaspan Rescue Helper");
  const std::wstring helper = L"HKEY_LOCAL_MACHINE\\" + addon_test::AddonRegistry::KeyOf(L"BHO") + L"\\" + id;
  std::vector<char> helperBefore = hstest::ExportKey(helper);
  ASSERT_FALSE(helperBefore.empty());
  test::RegistrySandbox main(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main");
  main.SetString(L"", L"Start Page", L"http://hijacked.example/");
  const std::wstring mainKey = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main";
  std::vector<char> mainBefore = hstest::ExportKey(mainKey);
  {
    test::ProgramFolder program;
    ASSERT_EQ(1, AddonwardRemoveBHO(id.c_str(), L"BHO"));
    ASSERT_TRUE(hstest::ExportKey(helper).empty());
    UndoOnlyRowOnce(program.path(), Kind::kBrowserAddon);
    EXPECT_EQ(helperBefore, hstest::ExportKey(helper));
  }
  test::ProgramFolder program;
  // As Repair All does: one journal for the run.
  std::wstring journal = base::FreeJournalPath(L"Backup\\Repairs");
  WebmendSetUndoFile(journal.c_str());
  ASSERT_EQ(0, WebmendSetSetting(L"Start Page", L"about:blank"));
  ASSERT_EQ(0, WebmendSetSetting(L"Search Bar", L"about:blank"));  // absent before: undone by "=-"
  WebmendSetUndoFile(nullptr);
  UndoOnlyRowOnce(program.path(), Kind::kOneClickRepair);
  EXPECT_EQ(mainBefore, hstest::ExportKey(mainKey));
}

class RescueFavorites : public testing::Test {
 protected:
  void SetUp() override {
    favorites_ = test::ShellFolder(CSIDL_FAVORITES);
    ASSERT_FALSE(favorites_.empty());
    had_ = test::FolderExists(favorites_);
    if (had_) {
      ASSERT_TRUE(MoveFileW(favorites_.c_str(), (stash_ / L"favorites").c_str()));
    }
  }
  void TearDown() override {
    if (test::FolderExists(favorites_)) rescue::DeleteTree(favorites_);
    if (had_) {
      EXPECT_TRUE(MoveFileW((stash_ / L"favorites").c_str(), favorites_.c_str()));
    }
  }
  std::wstring favorites_;
  bool had_ = false;
  test::ScratchFolder stash_;
};

TEST_F(RescueFavorites, ReplacedFavoritesGoBackAndDeleteTakesOnlyTheirRow) {
  test::ProgramFolder program;
  ASSERT_TRUE(test::WriteFile(program / L"Backup\\Favorites\\Internet Explorer\\saved.url", "[InternetShortcut]\r\nURL=a"));
  ASSERT_TRUE(test::WriteFile(favorites_ + L"\\mine.url", "[InternetShortcut]\r\nURL=mine"));
  ASSERT_TRUE(test::WriteFile(favorites_ + L"\\sub\\deep.url", "[InternetShortcut]\r\nURL=deep"));
  wchar_t replaced[MAX_PATH] = {};
  ASSERT_EQ(1, BookvaultRestoreIEKeeping(replaced));
  ASSERT_NE(L'\0', replaced[0]);
  ASSERT_FALSE(test::FileExists(favorites_ + L"\\mine.url"));
  // A favorite of the same name came back meanwhile.
  ASSERT_TRUE(test::WriteFile(favorites_ + L"\\mine.url", "[InternetShortcut]\r\nURL=newer"));
  // And an unrelated undo file that Delete must leave.
  std::wstring other = program / L"Backup\\Addons\\20200101000000.reg";
  ASSERT_TRUE(test::WriteFile(other, std::string("\xFF\xFE", 2)));

  std::vector<Item> rows = Rows(program.path());
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(Kind::kFavoritesReplaced, rows[0].kind);  // newest first
  EXPECT_EQ(2, rows[0].entries);
  rescue::Outcome outcome = UndoRow(program.path(), rows[0]);
  EXPECT_FALSE(outcome.refused);
  EXPECT_EQ(0, outcome.notPutBack);
  EXPECT_EQ(1, outcome.keptBeside);
  EXPECT_EQ("[InternetShortcut]\r\nURL=deep", bltest::ReadFileBytes(favorites_ + L"\\sub\\deep.url"));
  EXPECT_EQ("[InternetShortcut]\r\nURL=newer", bltest::ReadFileBytes(favorites_ + L"\\mine.url"));
  EXPECT_EQ("[InternetShortcut]\r\nURL=mine", bltest::ReadFileBytes(favorites_ + L"\\mine (2).url"));
  rows = Rows(program.path());
  ASSERT_EQ(State::kUndone, rows[0].state);
  EXPECT_TRUE(UndoRow(program.path(), rows[0]).refused);

  EXPECT_TRUE(rescue::Delete(rescue::SystemPlaces(program.path()), rows[0]));
  EXPECT_FALSE(test::FolderExists(program / (L"Backup\\Favorites\\" + std::wstring(replaced))));
  EXPECT_FALSE(test::FileExists(program / (L"Backup\\Favorites\\" + std::wstring(replaced) + L".undone")));
  EXPECT_TRUE(test::FileExists(other));
  EXPECT_TRUE(test::FolderExists(program / L"Backup\\Favorites\\Internet Explorer"));
  ASSERT_EQ(1u, Rows(program.path()).size());
}

// .reg text as the product writes it: the mark, the header, then the body.
std::string RegFile(const std::wstring& body) {
  std::wstring text = std::wstring(1, L'\uFEFF') + base::kRegHeader + body;
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

TEST(RescueUndo, RefusesWhatTheProductDidNotWrite) {
  test::RegistrySandbox evil(HKEY_CURRENT_USER, L"Software\\LumaspanRescueEvil");
  test::ProgramFolder program;
  const std::string good = RegFile(L"\r\n[HKEY_CURRENT_USER\\" + std::wstring(kRun) + L"]\r\n\"Tray\"=\"tray.exe\"\r\n");
  struct Bad {
    const wchar_t* name;
    std::string bytes;
  } bad[] = {
      {L"Backup\\Startup\\20261201000001.reg", good.substr(0, good.size() - 10)},  // cut in its last line
      {L"Backup\\Startup\\20261201000002.reg", ""},
      {L"Backup\\Startup\\20261201000003.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\LumaspanRescueEvil]\r\n"},
      {L"Backup\\Startup\\20261201000004.reg",
       RegFile(L"\r\n[HKEY_CURRENT_USER\\Software\\LumaspanRescueEvil]\r\n\"Run\"=\"evil.exe\"\r\n")},
      {L"Backup\\Startup\\20261201000005.reg",
       RegFile(L"\r\n; \"C:\\Windows\\system32\\kernel32.dll\" was moved to \"C:\\evil.dll\"\r\n")},
      {L"Backup\\Addons\\20261201000006.reg", RegFile(L"\r\n[HKEY_CURRENT_USER\\Software\\LumaspanRescueEvil]\r\n@=\"x\"\r\n")},
      {L"Backup\\Registry\\Undo\\20261201000007.reg", RegFile(L"\r\n[-HKEY_CURRENT_USER\\Software\\LumaspanRescueEvil]\r\n")},
      {L"Backup\\Registry\\Undo\\20261201000008.reg", RegFile(L"\r\n[HKEY_USERS\\.DEFAULT\\Software\\LumaspanRescueEvil]\r\n")},
      {L"Backup\\Repairs\\20261201000009.reg",
       RegFile(L"\r\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\LumaspanRescueEvil]\r\n\"Start\"=dword:00000004\r\n")},
  };
  for (const Bad& b : bad) ASSERT_TRUE(test::WriteFile(program / b.name, b.bytes));
  // Not the product's names: never listed.
  ASSERT_TRUE(test::WriteFile(program / L"Backup\\Startup\\evil.reg", good));
  ASSERT_TRUE(test::WriteFile(program / L"Backup\\Startup\\2026120100000.reg", good));

  std::vector<Item> rows = Rows(program.path());
  ASSERT_EQ(sizeof(bad) / sizeof(bad[0]), rows.size());
  for (const Item& row : rows) {
    EXPECT_EQ(State::kDamaged, row.state) << row.path;
    EXPECT_FALSE(row.problem.empty());
    rescue::Outcome outcome = UndoRow(program.path(), row);
    EXPECT_TRUE(outcome.refused) << row.path;
    EXPECT_EQ(0u, outcome.why.find(L"This change cannot be undone: ")) << outcome.why;
  }
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, L"Software\\LumaspanRescueEvil"));
  EXPECT_FALSE(test::KeyExists(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\LumaspanRescueEvil"));

  // Delete takes exactly the row's file.
  EXPECT_TRUE(rescue::Delete(rescue::SystemPlaces(program.path()), rows.back()));
  EXPECT_FALSE(test::FileExists(rows.back().path));
  EXPECT_EQ(rows.size() - 1, Rows(program.path()).size());
  EXPECT_TRUE(test::FileExists(program / L"Backup\\Startup\\evil.reg"));
}

TEST(RescueUndo, ListsTenThousandFiles) {
  test::ProgramFolder program;
  const std::string header = RegFile(L"");
  program.scratch().MakeFolder(L"Backup\\Addons");
  wchar_t name[64];
  for (int i = 0; i < 10000; ++i) {
    swprintf(name, 64, L"Backup\\Addons\\2026%010d.reg", i);
    base::UniqueFile file(CreateFileW((program / name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), header.data(), static_cast<DWORD>(header.size()), &written, nullptr));
  }
  std::vector<Item> rows = Rows(program.path());
  ASSERT_EQ(10000u, rows.size());
  EXPECT_EQ(L"20260000009999", rows.front().stamp);
  EXPECT_EQ(L"20260000000000", rows.back().stamp);
}

}  // namespace
