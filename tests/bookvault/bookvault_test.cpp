// Bookvault.dll, loaded as the program loads it, with the prefix's real favorites folder (its own
// contents wait in a scratch folder meanwhile) and a scratch program folder.
#include "contracts/bookvault.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "base/handles.h"
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
  Favorite(L"C.URL", "C");
  Favorite(L"site.lnk", "L");
  Tree before = Snapshot(favorites_);
  EXPECT_EQ(1, BookvaultBackupIE());
  EXPECT_EQ((Tree{{L"a.url", "A"}, {L"sub", "<folder>"}, {L"sub\\b.url", "B"}, {L"sub\\notes.txt", "N"}}),
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

TEST_F(Bookvault, RestoreReplacesTheListedFavoritesWithTheBackup) {
  Backed(L"a.url", "A");
  Backed(L"sub\\b.url", "B");
  Backed(L"sub\\notes.txt", "N");
  Backed(L"desktop.ini", "backup's own");
  Favorite(L"a.url", "changed");
  Favorite(L"newer.url", "added after the backup");
  Favorite(L"othersub\\y.url", "Y");
  Favorite(L"desktop.ini", "D");
  Favorite(L"C.URL", "C");
  Tree backup = Snapshot(backup_);
  EXPECT_EQ(1, BookvaultRestoreIE());
  EXPECT_EQ((Tree{{L"a.url", "A"},
                  {L"sub", "<folder>"},
                  {L"sub\\b.url", "B"},
                  {L"sub\\notes.txt", "N"},
                  {L"desktop.ini", "D"},
                  {L"C.URL", "C"}}),
            Snapshot(favorites_));
  EXPECT_EQ(backup, Snapshot(backup_));
  ExpectNoLeftovers();
}

TEST_F(Bookvault, RestoreRefusesABackupWithoutEntries) {
  Favorite(L"a.url", "A");
  Favorite(L"sub\\b.url", "B");
  Tree before = Snapshot(favorites_);
  EXPECT_EQ(0, BookvaultRestoreIE());  // empty
  Backed(L"desktop.ini", "D");
  Backed(L"C.URL", "C");
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
  for (const wchar_t* folder : {L"Internet Explorer.staging", L"Internet Explorer.previous", L"Internet Explorer.rollback"})
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

}  // namespace
