#include "pages/backup/hivesafe_start_dlg.h"

#include "contracts/hivesafe.h"
#include "pages/backup/backup_ids.h"
#include "pages/backup/hivesafe_wait_dlg.h"

using backup_pages::RegistryBackup;

CHivesafeStartDlg::CHivesafeStartDlg()
    : BackupPage(IDD_HIVESAFE_START,
                 {{8, 8, L"Features:Restore data in the condition of file corruption."},
                  {8, 20,
                   L"Whenever any changes are made to the Windows Registry, a backup file will be automatically "
                   L"created and that"},
                  {8, 32, L"can be used to go back to the previous configuration."}}),
      firstMark_(ui::LoadBitmapFile(L"Res\\Common\\XP.png")),
      newMark_(ui::LoadBitmapFile(L"Res\\Common\\New.png")) {}

// The window and its list go first, while the marks they draw are still here.
CHivesafeStartDlg::~CHivesafeStartDlg() { Destroy(); }

void CHivesafeStartDlg::OnInitPage() {
  HWND box = Item(IDC_BACKUP_LIST);
  list_.Bind(box);
  // The list takes the place below the page's text: its client size, eight pixels taller, at (8, 53).
  RECT client = {};
  GetClientRect(box, &client);
  MoveWindow(box, 8, 53, client.right, client.bottom + 8, TRUE);
  RefreshList();
  SkinButton(IDC_BACKUP_REMOVE, remove_, L"Res\\Common\\QOR_Button_Remove.bmp");
  SkinButton(IDC_BACKUP_RESTORE, restore_, L"Res\\Common\\QOR_Button_Restore.bmp");
  SkinButton(IDC_BACKUP_NOW, backup_, L"Res\\Common\\QOR_Button_Backup.bmp");
}

void CHivesafeStartDlg::RefreshList() {
  if (!list_.hwnd()) return;
  SendMessageW(list_.hwnd(), LB_RESETCONTENT, 0, 0);
  backups_ = backup_pages::ListRegistryBackups();
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  Gdiplus::Image* first = ui::Usable(firstMark_.get()) ? firstMark_.get() : nullptr;
  Gdiplus::Image* later = ui::Usable(newMark_.get()) ? newMark_.get() : nullptr;
  for (const RegistryBackup& backup : backups_) list_.AddItem(backup.title.c_str(), backup.first ? first : later);
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

bool CHivesafeStartDlg::Selected(const wchar_t* chooseFirst, RegistryBackup* backup) {
  LRESULT row = SendMessageW(list_.hwnd(), LB_GETCURSEL, 0, 0);
  if (row < 0 || static_cast<size_t>(row) >= backups_.size()) {
    Ask(chooseFirst, MB_ICONINFORMATION);
    return false;
  }
  *backup = backups_[static_cast<size_t>(row)];
  return true;
}

void CHivesafeStartDlg::OnBackup() {
  CHivesafeWaitDlg wait;
  wait.DoModal(GetParent(hwnd()));
  if (!wait.result()) Ask(L"Can't back up the registry.", MB_ICONERROR);
  RefreshList();
}

void CHivesafeStartDlg::OnRestore() {
  RegistryBackup backup;
  if (!Selected(L"Please choose one of the list above to restore the registry.", &backup)) return;
  if (Ask(L"Are you sure to restore the item?", MB_ICONQUESTION) != IDOK) return;
  CHivesafeRestoreDlg restore;
  restore.full = backup.first ? 0 : 1;
  restore.fileName = backup.file;
  restore.DoModal(GetParent(hwnd()));
  if (restore.result()) {
    Ask(L"Restore completed!", MB_ICONINFORMATION);
    return;
  }
  Ask(L"Can't restore the registry.", MB_ICONERROR);
  RefreshList();  // the backup may have gone meanwhile
}

void CHivesafeStartDlg::OnRemove() {
  RegistryBackup backup;
  if (!Selected(L"Please choose one of the list above to remove the backup.", &backup)) return;
  if (backup.first) {
    Ask(L"It is an important backup for Windows system and can't deleted.", MB_ICONINFORMATION);
    return;
  }
  if (Ask(L"Are you sure to remove the backups?", MB_ICONQUESTION) != IDOK) return;
  SharedString file(backup.file.c_str(), backup.file.size());
  if (!HivesafeRemove(file)) Ask(L"Can't remove the backup.", MB_ICONERROR);
  RefreshList();
}

bool CHivesafeStartDlg::OnButton(int id) {
  return Clicked(*this, id,
                 {{IDC_BACKUP_NOW, &CHivesafeStartDlg::OnBackup},
                  {IDC_BACKUP_RESTORE, &CHivesafeStartDlg::OnRestore},
                  {IDC_BACKUP_REMOVE, &CHivesafeStartDlg::OnRemove}});
}
