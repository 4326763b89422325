// The favorites backup page with the real Bookvault and the prefix's real favorites folder (its own
// contents wait in a scratch folder meanwhile): the tree of ".url" files and folders, Refresh, and
// Back up and Restore with their questions, results and menu lock.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contracts/messages.h"
#include "pages/backup/backup_ids.h"
#include "pages/backup/bookvault_start_dlg.h"
#include "tests/pages_backup/backup_host.h"
#include "tests/support/scratch.h"

namespace {

using backup_test::BackupHost;

class FavoritesPage : public BackupHost {
 protected:
  void SetUp() override {
    favorites_ = test::ShellFolder(CSIDL_FAVORITES);
    ASSERT_FALSE(favorites_.empty());
    hadFavorites_ = test::FolderExists(favorites_);
    if (hadFavorites_) {
      ASSERT_TRUE(MoveFileW(favorites_.c_str(), (stash_ / L"favorites").c_str()));
    }
    Favorite(L"a.url");
    Favorite(L"sub\\b.url");
    Favorite(L"sub\\deeper\\c.url");
    Favorite(L"desktop.ini");
    Favorite(L"C.URL");
    Favorite(L"notes.txt");
    BackupHost::SetUp();
    page_ = Open<CBookvaultStartDlg>(page_id::kFavoritesBackup);
    ASSERT_TRUE(page_);
    backup_ = *program_ / L"Backup\\Favorites\\Internet Explorer";
  }
  void TearDown() override {
    BackupHost::TearDown();
    if (test::FolderExists(favorites_)) {
      EXPECT_TRUE(MoveFileW(favorites_.c_str(), (stash_ / L"left").c_str()));
    }
    if (hadFavorites_) {
      EXPECT_TRUE(MoveFileW((stash_ / L"favorites").c_str(), favorites_.c_str()));
    }
  }
  void Favorite(const std::wstring& relative) {
    ASSERT_TRUE(test::WriteFile(favorites_ + L"\\" + relative, "[InternetShortcut]"));
  }
  // The names below the tree's root item, in the tree's order.
  std::vector<std::wstring> Shown() {
    HWND tree = page_->Tree().hwnd();
    std::vector<std::wstring> names;
    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
      std::wstring path = page_->Tree().GetItemPath(item);
      names.push_back(path.substr(path.rfind(L'\\') + 1));
    }
    return names;
  }

  test::ScratchFolder stash_;
  std::wstring favorites_, backup_;
  bool hadFavorites_ = false;
  CBookvaultStartDlg* page_ = nullptr;
};

TEST_F(FavoritesPage, TreeShowsUrlFilesAndFoldersAndRefreshShowsChangesMadeOutside) {
  EXPECT_EQ((std::vector<std::wstring>{L"sub", L"a.url"}), Shown());
  EXPECT_EQ(page_->Tree().hwnd(), GetFocus());
  Favorite(L"new.url");
  ASSERT_TRUE(DeleteFileW((favorites_ + L"\\a.url").c_str()));
  EXPECT_EQ((std::vector<std::wstring>{L"sub", L"a.url"}), Shown());
  Click(page_->hwnd(), IDC_BACKUP_REFRESH);
  EXPECT_EQ((std::vector<std::wstring>{L"sub", L"new.url"}), Shown());

  // A favorites folder that is gone shows as an empty tree, and a backup of it is refused.
  ASSERT_TRUE(MoveFileW(favorites_.c_str(), (stash_ / L"gone").c_str()));
  Click(page_->hwnd(), IDC_BACKUP_REFRESH);
  EXPECT_TRUE(Shown().empty());
  Click(page_->hwnd(), IDC_BACKUP_NOW);
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to cover the backups?", L"Can't Backup Favorites."}), BoxTexts());
  EXPECT_FALSE(MenuLocked());
}

TEST_F(FavoritesPage, BackupAsksFirstAndCancelTouchesNothing) {
  boxes_->Answer({IDCANCEL, IDCANCEL});
  Click(page_->hwnd(), IDC_BACKUP_NOW);
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  EXPECT_FALSE(test::FileExists(backup_ + L"\\a.url"));
  EXPECT_TRUE(test::FileExists(favorites_ + L"\\a.url"));
  Click(page_->hwnd(), IDC_BACKUP_NOW);
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to cover the backups?", L"Are you sure to restore the backups?",
                                       L"Are you sure to cover the backups?", L"Success Backup Favorites"}),
            BoxTexts());
  EXPECT_TRUE(test::FileExists(backup_ + L"\\a.url"));
  EXPECT_TRUE(test::FileExists(backup_ + L"\\sub\\deeper\\c.url"));
  EXPECT_FALSE(MenuLocked());
}

TEST_F(FavoritesPage, ASuccessfulRestoreReloadsTheTreeAndAFailedOneLeavesIt) {
  // Nothing backed up yet: the restore is refused and the tree keeps what it showed.
  Favorite(L"later.url");
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  EXPECT_EQ((std::vector<std::wstring>{L"sub", L"a.url"}), Shown());
  EXPECT_TRUE(test::FileExists(favorites_ + L"\\a.url"));

  // The favorites it replaces are kept, and the message names where.
  ASSERT_TRUE(test::WriteFile(backup_ + L"\\saved.url", "[InternetShortcut]"));
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  EXPECT_EQ((std::vector<std::wstring>{L"saved.url"}), Shown());
  std::vector<std::wstring> texts = BoxTexts();
  ASSERT_EQ(4u, texts.size());
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to restore the backups?", L"Can't restore Favorites.",
                                       L"Are you sure to restore the backups?"}),
            std::vector<std::wstring>(texts.begin(), texts.begin() + 3));
  const std::wstring said = L"Success Restore Favorites\nReplaced favorites were kept in Backup\\Favorites\\";
  ASSERT_EQ(0u, texts[3].find(said)) << texts[3];
  std::wstring kept = *program_ / L"Backup\\Favorites\\" + texts[3].substr(said.size());
  EXPECT_TRUE(test::FileExists(kept + L"\\later.url"));
  EXPECT_TRUE(test::FileExists(kept + L"\\a.url"));
  EXPECT_TRUE(test::FileExists(favorites_ + L"\\desktop.ini"));  // not a favorite: left alone
  EXPECT_FALSE(MenuLocked());
}

}  // namespace
