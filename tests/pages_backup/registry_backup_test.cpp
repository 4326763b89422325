// The registry backup page with the real Hivesafe and the real registry editor: backups made and
// listed by date, the first one marked and kept, restores and removals acting on the row's own file,
// failures told, and the waiting window alive while the editor runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "contracts/messages.h"
#include "pages/backup/backup_ids.h"
#include "pages/backup/hivesafe_start_dlg.h"
#include "tests/pages_backup/backup_host.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using backup_pages::RegistryBackup;
using backup_test::BackupHost;

const wchar_t kFirst[] = L"Backup\\Registry\\FirstBackup\\";
const wchar_t kFull[] = L"Backup\\Registry\\FullBackup\\";
const wchar_t kTestKey[] = L"Software\\Lumaspan Software\\Test\\Hivesafe";

class RegistryBackupPage : public BackupHost {
 protected:
  void SetUp() override {
    BackupHost::SetUp();
    page_ = Open<CHivesafeStartDlg>(page_id::kRegistryBackup);
    ASSERT_TRUE(page_);
    page_->RefreshList();
  }
  // A backup file of the editor's format that sets the test key's "Restored" value.
  std::wstring WriteBackup(const std::wstring& relative, const std::wstring& restored) {
    std::wstring text = L"\uFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\";
    text += std::wstring(kTestKey) + L"]\r\n\"Restored\"=\"" + restored + L"\"\r\n";
    return program_->scratch().Write(relative, std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
  }
  void Select(int row) { SendMessageW(page_->list(), LB_SETCURSEL, row, 0); }
  std::wstring RowText(int row) {
    wchar_t text[256] = {};
    if (SendMessageW(page_->list(), LB_GETTEXTLEN, row, 0) < 256)
      SendMessageW(page_->list(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
  }
  LPARAM RowMark(int row) { return SendMessageW(page_->list(), LB_GETITEMDATA, row, 0); }
  int Rows() { return static_cast<int>(SendMessageW(page_->list(), LB_GETCOUNT, 0, 0)); }

  // Looks at the waiting window from inside its modal loop, while the registry editor runs.
  static void CALLBACK WhileWaiting(HWND, UINT, UINT_PTR timer, DWORD) {
    RegistryBackupPage* self = current_;
    if (!self || self->waitSeen_) return;
    HWND wait = nullptr;
    while ((wait = FindWindowExW(nullptr, wait, L"#32770", nullptr)) != nullptr)
      if (GetWindow(wait, GW_OWNER) == self->main() && GetDlgItem(wait, IDC_BACKUP_WAIT_TITLE)) break;
    if (!wait) return;
    KillTimer(nullptr, timer);
    self->waitSeen_ = true;
    self->mainEnabled_ = IsWindowEnabled(self->main()) != FALSE;
    // Esc and the close box are swallowed.
    SendMessageW(wait, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(wait, WM_CLOSE, 0, 0);
    self->closedByUser_ = !IsWindow(wait);
    // A repaint is drawn now, while the editor still runs: the title shows in dark pixels.
    HWND title = GetDlgItem(wait, IDC_BACKUP_WAIT_TITLE);
    InvalidateRect(wait, nullptr, TRUE);
    UpdateWindow(wait);
    test::Capture shot = test::Capture::Screen(title);
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) self->darkPixels_ += GetGValue(shot.At(x, y)) < 80 ? 1 : 0;
    self->titleText_.resize(64);
    self->titleText_.resize(GetWindowTextW(title, &self->titleText_[0], 64));
  }
  static RegistryBackupPage* current_;
  bool waitSeen_ = false, mainEnabled_ = true, closedByUser_ = false;
  int darkPixels_ = 0;
  std::wstring titleText_;

  CHivesafeStartDlg* page_ = nullptr;
};
RegistryBackupPage* RegistryBackupPage::current_ = nullptr;

TEST_F(RegistryBackupPage, BacksUpFirstThenFullWhileTheWaitingWindowStaysAlive) {
  EXPECT_EQ(0, Rows());
  current_ = this;
  UINT_PTR timer = SetTimer(nullptr, 0, 300, &WhileWaiting);
  Click(page_->hwnd(), IDC_BACKUP_NOW);  // returns when the waiting window has closed
  KillTimer(nullptr, timer);
  current_ = nullptr;
  EXPECT_TRUE(waitSeen_) << "the waiting window handled no message while the editor ran";
  EXPECT_FALSE(mainEnabled_);
  EXPECT_FALSE(closedByUser_);
  EXPECT_EQ(L"Taking Registry Backup", titleText_);
  EXPECT_GT(darkPixels_, 20);
  EXPECT_TRUE(IsWindowEnabled(main()));

  ASSERT_EQ(1, Rows());
  RegistryBackup first = page_->Backups()[0];
  EXPECT_TRUE(first.first);
  EXPECT_TRUE(test::FileExists(*program_ / (kFirst + first.file)));
  std::wstring title;
  ASSERT_TRUE(backup_pages::BackupTitle(first.file, &title));
  EXPECT_EQ(title, RowText(0));
  EXPECT_EQ(reinterpret_cast<LPARAM>(page_->FirstMark()), RowMark(0));

  Click(page_->hwnd(), IDC_BACKUP_NOW);
  ASSERT_EQ(2, Rows());
  RegistryBackup full = page_->Backups()[1];
  EXPECT_FALSE(full.first);
  EXPECT_TRUE(test::FileExists(*program_ / (kFull + full.file)));
  EXPECT_EQ(reinterpret_cast<LPARAM>(page_->NewMark()), RowMark(1));

  // The first backup is kept whatever is answered; the full one goes.
  Select(0);
  Click(page_->hwnd(), IDC_BACKUP_REMOVE);
  Select(1);
  Click(page_->hwnd(), IDC_BACKUP_REMOVE);
  EXPECT_EQ((std::vector<std::wstring>{L"It is an important backup for Windows system and can't deleted.",
                                       L"Are you sure to remove the backups?"}),
            BoxTexts());
  EXPECT_TRUE(test::FileExists(*program_ / (kFirst + first.file)));
  EXPECT_FALSE(test::FileExists(*program_ / (kFull + full.file)));
  EXPECT_EQ(1, Rows());
}

TEST_F(RegistryBackupPage, ListsOnlyStampedNamesInStampOrderAndRowsActOnTheirOwnFiles) {
  // No first backup: every row is a full backup, which can be removed.
  for (const wchar_t* odd : {L"notes.reg", L"2026.reg", L"99999999999999.reg", L"20260230120000.reg", L"x.txt"})
    program_->scratch().Write(std::wstring(kFull) + odd);
  SYSTEMTIME start = {2026, 1, 4, 1, 0, 0, 0, 0};  // 500 backups a minute apart, written in reverse
  FILETIME at;
  SystemTimeToFileTime(&start, &at);
  std::vector<std::wstring> stamps;
  for (int i = 0; i < 500; ++i) {
    ULARGE_INTEGER t = {{at.dwLowDateTime, at.dwHighDateTime}};
    t.QuadPart += ULONGLONG(499 - i) * 60 * 10000000;
    FILETIME when = {t.LowPart, t.HighPart};
    SYSTEMTIME local;
    FileTimeToSystemTime(&when, &local);
    wchar_t name[32];
    // The file system matches *.reg in any case.
    swprintf(name, 32, L"%04u%02u%02u%02u%02u%02u.%ls", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute, local.wSecond, i == 499 ? L"REG" : L"reg");
    stamps.insert(stamps.begin(), name);
    program_->scratch().Write(std::wstring(kFull) + name);
  }
  page_->RefreshList();

  ASSERT_EQ(500, Rows());
  for (int i = 0; i < 500; ++i) {
    EXPECT_EQ(stamps[i], page_->Backups()[i].file);
    EXPECT_FALSE(page_->Backups()[i].first);
  }
  EXPECT_EQ(L"Thursday January 01, 2026 - 12:00 AM", RowText(0));
  EXPECT_EQ(L"Thursday January 01, 2026 - 12:01 AM", RowText(1));
  EXPECT_EQ(L"Thursday January 01, 2026 - 08:19 AM", RowText(499));
  EXPECT_EQ(reinterpret_cast<LPARAM>(page_->NewMark()), RowMark(0));

  Select(0);
  Click(page_->hwnd(), IDC_BACKUP_REMOVE);
  EXPECT_FALSE(test::FileExists(*program_ / (std::wstring(kFull) + stamps[0])));
  EXPECT_TRUE(test::FileExists(*program_ / (std::wstring(kFull) + stamps[1])));
  EXPECT_TRUE(test::FileExists(*program_ / (std::wstring(kFull) + L"notes.reg")));
  EXPECT_EQ(499, Rows());
  EXPECT_EQ(stamps[1], page_->Backups()[0].file);
}

TEST_F(RegistryBackupPage, RestoreAndRemoveNeedARowAndCancelDoesNothing) {
  test::RegistrySandbox key(HKEY_CURRENT_USER, kTestKey);
  std::wstring file = WriteBackup(std::wstring(kFull) + L"20260102080000.reg", L"full");
  page_->RefreshList();
  ASSERT_EQ(1, Rows());
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  Click(page_->hwnd(), IDC_BACKUP_REMOVE);
  boxes_->Answer({IDCANCEL, IDCANCEL});
  Select(0);
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  Click(page_->hwnd(), IDC_BACKUP_REMOVE);
  EXPECT_EQ((std::vector<std::wstring>{L"Please choose one of the list above to restore the registry.",
                                       L"Please choose one of the list above to remove the backup.",
                                       L"Are you sure to restore the item?", L"Are you sure to remove the backups?"}),
            BoxTexts());
  EXPECT_FALSE(test::KeyExists(HKEY_CURRENT_USER, kTestKey));
  EXPECT_TRUE(test::FileExists(file));
  EXPECT_EQ(1, Rows());
}

TEST_F(RegistryBackupPage, RestoreMergesTheRowsOwnFileAndAFailureIsTold) {
  test::RegistrySandbox key(HKEY_CURRENT_USER, kTestKey);
  std::wstring first = WriteBackup(std::wstring(kFirst) + L"20260101080000.reg", L"first");
  WriteBackup(std::wstring(kFull) + L"20260102080000.reg", L"full");
  page_->RefreshList();
  ASSERT_EQ(2, Rows());
  Select(1);
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  EXPECT_EQ(L"full", test::ReadString(HKEY_CURRENT_USER, kTestKey, L"Restored"));

  // The first backup vanished behind the page's back: the restore fails and says so.
  ASSERT_TRUE(DeleteFileW(first.c_str()));
  Select(0);
  Click(page_->hwnd(), IDC_BACKUP_RESTORE);
  EXPECT_EQ(L"full", test::ReadString(HKEY_CURRENT_USER, kTestKey, L"Restored"));
  EXPECT_EQ((std::vector<std::wstring>{L"Are you sure to restore the item?", L"Restore completed!",
                                       L"Are you sure to restore the item?", L"Can't restore the registry."}),
            BoxTexts());
  ASSERT_EQ(1, Rows());  // the list shows what is left
  EXPECT_FALSE(page_->Backups()[0].first);
}

}  // namespace
