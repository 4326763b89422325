#include "pages/backup/bookvault_start_dlg.h"

#include <shlobj.h>

#include <string>

#include "contracts/bookvault.h"
#include "contracts/tools.h"
#include "pages/backup/backup_ids.h"

namespace {

// The favorites folder, asked for without creating it; "" when the system knows none.
std::wstring FavoritesFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_FAVORITES | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path)))
    return std::wstring();
  return path;
}

}  // namespace

CBookvaultStartDlg::CBookvaultStartDlg()
    : BackupPage(IDD_BOOKVAULT_START,
                 {{8, 12, L"Features:Back up you Favorites to avoid your favorite websites missing."},
                  {8, 30,
                   L"Whenever you clean up your IE Favorites by accident, Favorites Backup will be used to restore "
                   L"your Favorites."}}) {}

void CBookvaultStartDlg::OnInitPage() {
  tree_.Bind(Item(IDC_BACKUP_TREE));
  SendMessageW(tree_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(textFont()), FALSE);
  tree_.SetFilter(L".url");
  SetFocus(tree_.hwnd());
  SkinButton(IDC_BACKUP_REFRESH, refresh_, L"Res\\Common\\QOR_Button_Refresh.bmp");
  SkinButton(IDC_BACKUP_RESTORE, restore_, L"Res\\Common\\QOR_Button_Restore.bmp");
  SkinButton(IDC_BACKUP_NOW, backup_, L"Res\\Common\\QOR_Button_Backup.bmp");
}

// The system's image list and the favorites' icons cost some megabytes: they wait for the page to
// be seen.
void CBookvaultStartDlg::OnFirstShow() {
  LoadTree();
  // The tree took the focus while it was still empty; focused with its items it would have chosen
  // its first one, and it shows so.
  HWND tree = tree_.hwnd();
  if (!SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  }
}

void CBookvaultStartDlg::LoadTree() {
  if (!tree_.hwnd()) return;
  tree_.SetSystemImageList();
  tree_.SetRoot(FavoritesFolder());
  tree_.Reload();
}

void CBookvaultStartDlg::ReloadTree() {
  LoadTree();
  SetFocus(tree_.hwnd());
}

void CBookvaultStartDlg::LockMenu(bool lock) { ::LockMenu(GetParent(hwnd()), lock ? 1 : 0); }

void CBookvaultStartDlg::OnBackup() {
  if (Ask(L"Are you sure to cover the backups?", MB_ICONQUESTION) != IDOK) return;
  LockMenu(true);
  if (BookvaultBackupIE()) {
    Ask(L"Success Backup Favorites", MB_ICONINFORMATION);
  } else {
    Ask(L"Can't Backup Favorites.", MB_ICONERROR);
  }
  LockMenu(false);
}

void CBookvaultStartDlg::OnRestore() {
  if (Ask(L"Are you sure to restore the backups?", MB_ICONQUESTION) != IDOK) return;
  LockMenu(true);
  wchar_t replaced[MAX_PATH] = {};
  bool restored = BookvaultRestoreIEKeeping(replaced) != 0;
  std::wstring text = restored ? L"Success Restore Favorites" : L"Can't restore Favorites.";
  // The favorites the restore took away wait in that folder.
  if (replaced[0]) text += std::wstring(L"\nReplaced favorites were kept in Backup\\Favorites\\") + replaced;
  Ask(text.c_str(), restored ? MB_ICONINFORMATION : MB_ICONERROR);
  if (restored) ReloadTree();
  LockMenu(false);
}

bool CBookvaultStartDlg::OnButton(int id) {
  return Clicked(*this, id,
                 {{IDC_BACKUP_REFRESH, &CBookvaultStartDlg::ReloadTree},
                  {IDC_BACKUP_RESTORE, &CBookvaultStartDlg::OnRestore},
                  {IDC_BACKUP_NOW, &CBookvaultStartDlg::OnBackup}});
}
