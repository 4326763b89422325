// Bookvault.dll, loaded as the program loads it, with the prefix's real favorites folder (its own
// contents wait in a scratch folder meanwhile) and a scratch program folder.
#include "contracts/bookvault.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/handles.h"
#include "engines/common/tree_ops.h"
#include "tests/support/program_folder.h"
#include "tests/support/scratch.h"

namespace {

using Tree = std::map<std::wstring, std::string>;  // relative path → content, "<folder>" for folders

void Collect(const std::wstring& folder, const std::wstring& prefix, Tree* tree) {
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return;
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..") continue;
    std::wstring full = folder + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      (*tree)[prefix + name] = "<folder>";
      Collect(full, prefix + name + L"\\", tree);
      continue;
    }
    base::UniqueFile file(CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string content(found.nFileSizeLow, '\0');
    DWORD got = 0;
    if (!file || !ReadFile(file.get(), &content[0], found.nFileSizeLow, &got, nullptr)) content = "<unreadable>";
    (*tree)[prefix + name] = content;
  } while (FindNextFileW(find.get(), &found));
}

Tree Snapshot(const std::wstring& folder) {
  Tree tree;
  Collect(folder, L"", &tree);
  return tree;
}

// Held open without any sharing: the file can be neither read, moved nor deleted meanwhile.
base::UniqueFile HoldOpen(const std::wstring& path) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(file.valid()) << "cannot hold the file";
  return file;
}

class Bookvault : public ::testing::Test {
 protected:
  void SetUp() override {
    favorites_ = test::ShellFolder(CSIDL_FAVORITES);
    ASSERT_FALSE(favorites_.empty());
    saved_ = stash_ / L"favorites";
    hadFavorites_ = test::FolderExists(favorites_);
    if (hadFavorites_) {
      ASSERT_TRUE(MoveFileW(favorites_.c_str(), saved_.c_str()));
    }
    ASSERT_TRUE(CreateDirectoryW(favorites_.c_str(), nullptr));
    backup_ = program_ / L"Backup\\Favorites\\Internet Explorer";
  }
  void TearDown() override {
    // What the test left goes to the scratch folder, to be deleted there.
    if (test::FolderExists(favorites_)) {
      EXPECT_TRUE(MoveFileW(favorites_.c_str(), (stash_ / L"left").c_str()));
    }
    if (hadFavorites_) {
      EXPECT_TRUE(MoveFileW(saved_.c_str(), favorites_.c_str()));
    }
  }

  void Favorite(const std::wstring& relative, const std::string& content = "[InternetShortcut]") {
    ASSERT_TRUE(test::WriteFile(favorites_ + L"\\" + relative, content));
  }
  void Backed(const std::wstring& relative, const std::string& content = "[InternetShortcut]") {
    ASSERT_TRUE(test::WriteFile(backup_ + L"\\" + relative, content));
  }
  // Nothing of the engine's own working folders is left beside the backup.
  void ExpectNoLeftovers() {
    EXPECT_EQ((Tree{{L"Internet Explorer", "<folder>"}}), TopLevel(program_ / L"Backup\\Favorites"));
  }
  static Tree TopLevel(const std::wstring& folder) {
    Tree all = Snapshot(folder), top;
    for (const auto& [path, content] : all)
      if (path.find(L'\\') == std::wstring::npos) top[path] = content;
    return top;
  }

  test::ScratchFolder stash_;
  test::ProgramFolder program_;
  std::wstring favorites_, saved_, backup_;
  bool hadFavorites_ = false;
};

TEST_F(Bookvault, BackupCopiesSubFoldersWholeAndOnlyUrlFiles) {
  Favorite(L"a.url", "A");
  Favorite(L"sub\\b.url", "B");
  Favorite(L"sub\\notes.txt", "N");
  Favorite(L"desktop.ini", "D");
  Favorite(L"C.URL", "C");  // the ending in any letter case
  Favorite(L"site.lnk", "L");
  Tree before = Snapshot(favorites_);
  EXPECT_EQ(1, BookvaultBackupIE());
  EXPECT_EQ((Tree{{L"a.url", "A"},
                  {L"C.URL", "C"},
                  {L"sub", "<folder>"},
                  {L"sub\\b.url", "B"},
                  {L"sub\\notes.txt", "N"}}),
            Snapshot(backup_));
  EXPECT_EQ(before, Snapshot(favorites_));
  ExpectNoLeftovers();
}

TEST_F(Bookvault, ASecondBackupReplacesOnlyTheListedEntries) {
  Backed(L"a.url", "old A");
  Backed(L"gone.url", "deleted since");
  Backed(L"oldsub\\x.url", "X");
  Backed(L"keep.txt", "not listed");
  Backed(L"NEW.URL", "not listed, but in the way");
  Favorite(L"a.url", "new A");
  Favorite(L"new.url", "NEW");
  Favorite(L"sub\\b.url", "B");
  EXPECT_EQ(1, BookvaultBackupIE());
  Tree after = Snapshot(backup_);
  EXPECT_EQ(5u, after.size());
  EXPECT_EQ("new A", after[L"a.url"]);
  EXPECT_EQ("B", after[L"sub\\b.url"]);
  EXPECT_EQ("not listed", after[L"keep.txt"]);
  EXPECT_EQ("NEW", after[L"new.url"]);  // the entry that stood in its way was replaced
  EXPECT_EQ(0u, after.count(L"gone.url"));
  EXPECT_EQ(0u, after.count(L"oldsub"));
  ExpectNoLeftovers();
}

// What the restore replaces is kept in a dated folder beside the backup, all but what stands the
// same again afterwards.
TEST_F(Bookvault, RestoreReplacesTheListedFavoritesAndKeepsWhatItReplaced) {
  Backed(L"a.url", "A");
  Backed(L"sub\\b.url", "B");
  Backed(L"sub\\notes.txt", "N");
  Backed(L"desktop.ini", "backup's own");
  Favorite(L"a.url", "changed");
  Favorite(L"newer.url", "added after the backup");
  Favorite(L"othersub\\y.url", "Y");
  Favorite(L"othersub\\notes.txt", "not a favorite, inside a favorite folder");
  Favorite(L"desktop.ini", "D");
  Favorite(L"C.URL", "C");
  Backed(L"same.url", "B");  // a copy keeps the time of last change: unchanged since the backup
  ASSERT_TRUE(CopyFileW((backup_ + L"\\same.url").c_str(), (favorites_ + L"\\same.url").c_str(), TRUE));
  Tree backup = Snapshot(backup_);
  wchar_t replaced[MAX_PATH] = {};
  EXPECT_EQ(1, BookvaultRestoreIEKeeping(replaced));
  EXPECT_EQ((Tree{{L"a.url", "A"},
                  {L"same.url", "B"},
                  {L"sub", "<folder>"},
                  {L"sub\\b.url", "B"},
                  {L"sub\\notes.txt", "N"},
                  {L"desktop.ini", "D"}}),
            Snapshot(favorites_));
  EXPECT_EQ(backup, Snapshot(backup_));
  std::wstring name = replaced;
  ASSERT_EQ(23u, name.size()) << name;
  EXPECT_EQ(0u, name.find(L"Replaced 20"));
  EXPECT_EQ(std::wstring::npos, name.find_first_not_of(L"0123456789", 9));
  EXPECT_EQ((Tree{{L"a.url", "changed"},
                  {L"newer.url", "added after the backup"},
                  {L"othersub", "<folder>"},
                  {L"othersub\\y.url", "Y"},
                  {L"othersub\\notes.txt", "not a favorite, inside a favorite folder"},
                  {L"C.URL", "C"}}),
            Snapshot(program_ / L"Backup\\Favorites\\" + name));
  // A restore replacing nothing but what it puts back names no folder and leaves none.
  ASSERT_TRUE(test::DeleteTree(program_ / L"Backup\\Favorites\\" + name));
  EXPECT_EQ(1, BookvaultRestoreIEKeeping(replaced));
  EXPECT_EQ(L"", std::wstring(replaced));
  ExpectNoLeftovers();
}

TEST_F(Bookvault, RestoreRefusesABackupWithoutEntries) {
  Favorite(L"a.url", "A");
  Favorite(L"sub\\b.url", "B");
  Tree before = Snapshot(favorites_);
  EXPECT_EQ(0, BookvaultRestoreIE());  // empty
  Backed(L"desktop.ini", "D");
  Backed(L"site.lnk", "L");
  EXPECT_EQ(0, BookvaultRestoreIE());  // nothing listed
  EXPECT_EQ(before, Snapshot(favorites_));
  ExpectNoLeftovers();
}

TEST_F(Bookvault, WithoutTheBackupFolderNothingHappens) {
  Favorite(L"a.url", "A");
  ASSERT_TRUE(test::DeleteTree(program_ / L"Backup"));
  EXPECT_EQ(0, BookvaultBackupIE());
  EXPECT_EQ(0, BookvaultRestoreIE());
  EXPECT_FALSE(test::FolderExists(program_ / L"Backup"));
  EXPECT_EQ((Tree{{L"a.url", "A"}}), Snapshot(favorites_));
}

TEST_F(Bookvault, RestoreMakesAMissingFavoritesFolder) {
  Backed(L"a.url", "A");
  ASSERT_TRUE(RemoveDirectoryW(favorites_.c_str()));
  EXPECT_EQ(0, BookvaultBackupIE());  // nothing to back up: the old copy stays
  EXPECT_EQ((Tree{{L"a.url", "A"}}), Snapshot(backup_));
  EXPECT_EQ(1, BookvaultRestoreIE());
  EXPECT_EQ((Tree{{L"a.url", "A"}}), Snapshot(favorites_));
}

TEST_F(Bookvault, LeftoversOfAnInterruptedCallAreClearedFirst) {
  std::wstring area = program_ / L"Backup\\Favorites";
  for (const wchar_t* folder : {L"Internet Explorer.staging", L"Internet Explorer.previous"})
    ASSERT_TRUE(test::WriteFile(area + L"\\" + folder + L"\\stale.url", "stale"));
  Favorite(L"a.url", "A");
  EXPECT_EQ(1, BookvaultBackupIE());
  EXPECT_EQ((Tree{{L"a.url", "A"}}), Snapshot(backup_));
  EXPECT_EQ(1, BookvaultRestoreIE());
  EXPECT_EQ((Tree{{L"a.url", "A"}}), Snapshot(favorites_));
  ExpectNoLeftovers();
}

TEST_F(Bookvault, ABackupFailingHalfWayKeepsTheOldBackup) {
  Backed(L"a.url", "old A");
  Backed(L"b.url", "old B");
  Backed(L"sub\\c.url", "old C");
  Favorite(L"a.url", "new A");
  Favorite(L"d.url", "D");
  Favorite(L"sub\\c.url", "new C");
  Tree backup = Snapshot(backup_), favorites = Snapshot(favorites_);
  {
    base::UniqueFile held = HoldOpen(backup_ + L"\\b.url");  // the old backup cannot be cleared
    EXPECT_EQ(0, BookvaultBackupIE());
  }
  EXPECT_EQ(backup, Snapshot(backup_));
  EXPECT_EQ(favorites, Snapshot(favorites_));
  ExpectNoLeftovers();
  {
    base::UniqueFile held = HoldOpen(favorites_ + L"\\sub\\c.url");  // a favorite cannot be read
    EXPECT_EQ(0, BookvaultBackupIE());
  }
  EXPECT_EQ(backup, Snapshot(backup_));
  ExpectNoLeftovers();
  EXPECT_EQ(1, BookvaultBackupIE());
  EXPECT_EQ(favorites, Snapshot(backup_));
}

TEST_F(Bookvault, ARestoreFailingHalfWayKeepsTheFavorites) {
  Backed(L"a.url", "A");
  Backed(L"b.url", "B");
  Backed(L"sub\\c.url", "C");
  Favorite(L"a.url", "current A");
  Favorite(L"x.url", "X");
  Favorite(L"sub\\y.url", "Y");
  Favorite(L"desktop.ini", "D");
  Tree backup = Snapshot(backup_), favorites = Snapshot(favorites_);
  {
    base::UniqueFile held = HoldOpen(backup_ + L"\\b.url");  // a backed-up entry cannot be copied
    EXPECT_EQ(0, BookvaultRestoreIE());
  }
  EXPECT_EQ(favorites, Snapshot(favorites_));
  EXPECT_EQ(backup, Snapshot(backup_));
  ExpectNoLeftovers();
  {
    base::UniqueFile held = HoldOpen(favorites_ + L"\\x.url");  // a favorite cannot be moved aside
    EXPECT_EQ(0, BookvaultRestoreIE());
  }
  EXPECT_EQ(favorites, Snapshot(favorites_));
  ExpectNoLeftovers();
  EXPECT_EQ(1, BookvaultRestoreIE());
  Tree restored = backup;
  restored[L"desktop.ini"] = "D";
  EXPECT_EQ(restored, Snapshot(favorites_));
}

// Favorites pointed at a folder the build fills: a.url and Work, a link to the folder "outside".
class FavoritesOverride {
 public:
  explicit FavoritesOverride(const std::wstring& path) {
    for (int i = 0; i < 2; ++i) {
      RegOpenKeyExW(HKEY_CURRENT_USER, kKeys[i], 0, KEY_QUERY_VALUE | KEY_SET_VALUE, keys_[i].receive());
      DWORD bytes = sizeof(old_[i]);
      had_[i] = RegQueryValueExW(keys_[i].get(), L"Favorites", nullptr, &type_[i], reinterpret_cast<BYTE*>(old_[i]),
                                 &bytes) == ERROR_SUCCESS;
      Set(i, path.c_str(), i == 0 ? REG_EXPAND_SZ : REG_SZ);
    }
  }
  ~FavoritesOverride() {
    for (int i = 0; i < 2; ++i) {
      if (had_[i]) Set(i, old_[i], type_[i]);
      else RegDeleteValueW(keys_[i].get(), L"Favorites");
    }
  }

 private:
  void Set(int i, const wchar_t* text, DWORD type) {
    RegSetValueExW(keys_[i].get(), L"Favorites", 0, type, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t)));
  }
  static constexpr const wchar_t* kKeys[2] = {
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"};
  base::UniqueKey keys_[2];
  wchar_t old_[2][MAX_PATH] = {};
  DWORD type_[2] = {};
  bool had_[2] = {};
};

TEST_F(Bookvault, ALinkInTheFavoritesIsNeitherCopiedNorEnteredByBackupOrRestore) {
  const std::wstring links = L"C:\\LumaspanTests\\bookvault_links";
  FavoritesOverride redirected(links + L"\\favorites");
  std::wstring link = links + L"\\favorites\\Work", outside = links + L"\\outside\\doc.txt";
  auto isLink = [&] {
    DWORD attributes = GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
  };
  ASSERT_TRUE(isLink());
  EXPECT_EQ(1, BookvaultBackupIE());
  EXPECT_EQ((Tree{{L"a.url", "outside the favorites"}}), Snapshot(backup_));
  Backed(L"b.url", "B");
  wchar_t replaced[MAX_PATH] = {};
  EXPECT_EQ(1, BookvaultRestoreIEKeeping(replaced));
  EXPECT_EQ(L"", std::wstring(replaced));
  EXPECT_TRUE(isLink());
  EXPECT_EQ((Tree{{L"doc.txt", "outside the favorites"}}), Snapshot(links + L"\\outside"));
  EXPECT_TRUE(test::FileExists(links + L"\\favorites\\b.url"));
  ExpectNoLeftovers();
}

// The tree operations themselves: a copy leaves the link out, a removal never enters it.
TEST(TreeOps, CopyLeavesLinksOutAndRemovalNeverEntersThem) {
  const std::wstring links = L"C:\\LumaspanTests\\bookvault_links";
  test::ScratchFolder scratch;
  std::wstring copy = scratch / L"copy";
  ASSERT_TRUE(tree_ops::IsLinkPath(links + L"\\doomed\\inner\\Work"));
  EXPECT_TRUE(tree_ops::CopyTree(links + L"\\doomed", copy));
  EXPECT_EQ((Tree{{L"inner", "<folder>"}, {L"inner\\own.txt", "outside the favorites"}}), Snapshot(copy));
  // Windows removes the link itself; Wine cannot remove a host's link at all, and then the removal
  // says so. Either way what it points at stays.
  bool removed = tree_ops::RemoveTree(links + L"\\doomed");
  EXPECT_EQ(removed, !test::FolderExists(links + L"\\doomed"));
  EXPECT_FALSE(test::FileExists(links + L"\\doomed\\inner\\own.txt"));
  EXPECT_EQ((Tree{{L"doc.txt", "outside the favorites"}}), Snapshot(links + L"\\outside"));
  EXPECT_FALSE(tree_ops::RemoveTree(std::wstring(300, L'x')));  // too long: refused, not half-done
}

}  // namespace
