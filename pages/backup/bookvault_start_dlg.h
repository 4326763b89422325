// CBookvaultStartDlg: the favorites backup page. It shows the current user's favorites as a folder
// tree (the ".url" shortcuts and the folders) and backs them up, restores them or reloads the tree.
// Bookvault does the work on this thread with the menu locked; after a successful restore the tree
// shows the restored favorites, after a failed one it is left as it was.
#pragma once
#include <windows.h>

#include <string>

#include "pages/backup/backup_page.h"
#include "ui/controls/ex_tree_view.h"
#include "ui/controls/skin_button.h"

class CBookvaultStartDlg : public backup_pages::BackupPage {
 public:
  CBookvaultStartDlg();

  ui::CExTreeView& Tree() { return tree_; }
  // Clears the tree and loads it again from the favorites folder, then focuses it.
  void ReloadTree();

 protected:
  void OnInitPage() override;
  void OnFirstShow() override;
  bool OnButton(int id) override;

 private:
  // Fills the tree from the favorites folder.
  void LoadTree();
  void OnBackup();
  void OnRestore();
  void LockMenu(bool lock);

  ui::CExTreeView tree_;
  ui::CSkinButton refresh_, restore_, backup_;
};
