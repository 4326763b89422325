// CHivesafeStartDlg: the registry backup page. It lists the registry backups by date, the first
// backup ever made marked apart, and backs the registry up, restores a backup or removes one through
// Hivesafe. Every row keeps its own file name and kind, so Restore and Remove act on the very file
// the row shows: the first backup can never be removed, a full backup always can. The engine's
// failures are told, never reported as success.
#pragma once
#include <windows.h>

#include <vector>

#include "pages/backup/backup_page.h"
#include "pages/backup/registry_backups.h"
#include "ui/controls/image_list_box.h"
#include "ui/controls/skin_button.h"
#include "ui/gdiplus.h"

class CHivesafeStartDlg : public backup_pages::BackupPage {
 public:
  CHivesafeStartDlg();
  ~CHivesafeStartDlg() override;

  // Lists the backup folders again.
  void RefreshList();
  // The backups the rows stand for, row by row.
  const std::vector<backup_pages::RegistryBackup>& Backups() const { return backups_; }
  HWND list() const { return list_.hwnd(); }
  // The mark of a row: the first backup's, or every other row's.
  Gdiplus::Image* FirstMark() const { return firstMark_.get(); }
  Gdiplus::Image* NewMark() const { return newMark_.get(); }

 protected:
  void OnInitPage() override;
  bool OnButton(int id) override;

 private:
  void OnBackup();
  void OnRestore();
  void OnRemove();
  // The backup of the selected row; false (after telling the user) when none is selected.
  bool Selected(const wchar_t* chooseFirst, backup_pages::RegistryBackup* backup);

  std::vector<backup_pages::RegistryBackup> backups_;
  ui::GpBitmap firstMark_, newMark_;  // the rows' item data: they outlive the list
  ui::CImageListBox list_;
  ui::CSkinButton backup_, restore_, remove_;
};
