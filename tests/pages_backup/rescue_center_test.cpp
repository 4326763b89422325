// The Rescue Center page in the real main window: its rows, Undo and Delete with their questions and
// answers, and the line that leads to the System Optimizer.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/undo_journal.h"
#include "contracts/messages.h"
#include "pages/backup/backup_ids.h"
#include "pages/backup/rescue_center_dlg.h"
#include "tests/pages_backup/backup_host.h"
#include "tests/support/pump.h"
#include "tests/support/registry_sandbox.h"

namespace {

using backup_test::BackupHost;

std::wstring Cell(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

void SelectRow(HWND list, int row) {
  LVITEMW state = {};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

TEST_F(BackupHost, RescueCenterUndoesOnceDeletesAndLeadsToTheOptimizer) {
  test::RegistrySandbox key(HKEY_CURRENT_USER, L"Software\\LumaspanRescuePage");
  auto* page = Open<CRescueCenterDlg>(page_id::kRescueCenter);
  ASSERT_TRUE(page);
  key.SetString(L"", L"Kept", L"old value");
  base::UndoJournal journal(L"Backup\\Registry\\Undo");
  std::wstring undo;
  ASSERT_TRUE(base::UndoOfValue(HKEY_CURRENT_USER, L"Software\\LumaspanRescuePage", L"Kept", 0, &undo));
  ASSERT_TRUE(journal.Append(undo));
  test::DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\LumaspanRescuePage");

  HWND list = page->List();
  Click(page->hwnd(), IDC_RESCUE_UNDO);  // nothing chosen yet, and nothing listed before the refresh
  Click(page->hwnd(), IDC_BACKUP_REFRESH);
  ASSERT_EQ(1, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ(L"Registry repair", Cell(list, 0, 1));
  EXPECT_EQ(L"1", Cell(list, 0, 2));
  EXPECT_EQ(L"Can be undone", Cell(list, 0, 3));
  SelectRow(list, 0);
  Click(page->hwnd(), IDC_RESCUE_UNDO);
  EXPECT_EQ(L"old value", test::ReadString(HKEY_CURRENT_USER, L"Software\\LumaspanRescuePage", L"Kept"));
  EXPECT_EQ(L"Undone", Cell(list, 0, 3));
  Click(page->hwnd(), IDC_RESCUE_UNDO);  // the row stays chosen
  Click(page->hwnd(), IDC_RESCUE_DELETE);
  EXPECT_EQ(0, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_FALSE(test::FileExists(journal.Path()));
  EXPECT_FALSE(test::FileExists(journal.Path() + L".undone"));
  std::vector<std::wstring> texts = BoxTexts();
  ASSERT_EQ(5u, texts.size());
  EXPECT_EQ(L"Please select a change in the list first.", texts[0]);
  EXPECT_EQ(0u, texts[1].find(L"Are you sure to undo this change?\nRegistry repair, ")) << texts[1];
  EXPECT_EQ(L"Undo completed.", texts[2]);
  EXPECT_EQ(L"This change has already been undone.", texts[3]);
  EXPECT_EQ(L"Are you sure to delete this undo file? The change can no longer be undone afterwards.", texts[4]);
  EXPECT_FALSE(MenuLocked());

  SendMessageW(page->hwnd(), WM_COMMAND, MAKEWPARAM(IDC_RESCUE_LINK, STN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(page->hwnd(), IDC_RESCUE_LINK)));
  EXPECT_TRUE(test::PumpUntil([&] { return !IsWindowVisible(page->hwnd()); }, 5000));
}

}  // namespace
