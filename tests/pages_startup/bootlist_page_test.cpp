// The startup manager page as a user meets it: the list of seeded entries, the detail pane and its
// links, removal of the checked rows with its messages, and listings ended by Refresh or by closing.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "contracts/messages.h"
#include "pages/common/scan_job.h"
#include "pages/managers/bootlist_ids.h"
#include "pages/managers/bootlist_start_dlg.h"
#include "tests/bootlist/startup_seeds.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pump.h"
#include "tests/support/registry_sandbox.h"
#include "tests/support/scratch.h"

namespace {

using Link = CBootlistShow::Link;
using Request = CBootlistShow::ShellRequest;

const std::wstring kEditor = L"\"C:\\windows\\notepad.exe\" /p";

class StartupPage : public testing::Test {
 protected:
  void SetUp() override {
    host_ = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 600, 460, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(host_);
  }
  void TearDown() override {
    page_.reset();
    DestroyWindow(host_);
  }
  // Makes and shows the page, which starts listing as it is first shown; waits for the list when asked.
  CBootlistStartDlg& Open(bool wait = true) {
    page_ = std::make_unique<CBootlistStartDlg>();
    EXPECT_TRUE(page_->Create(host_));
    ShowWindow(page_->hwnd(), SW_SHOW);
    if (wait) WaitListed();
    return *page_;
  }
  void WaitListed() { EXPECT_TRUE(test::PumpUntil([&] { return !page_->Listing(); }, 30000)); }
  int Row(const std::wstring& item) {
    ui::CheckListView& list = page_->List();
    for (int i = 0; i < list.RowCount(); ++i)
      if (list.Text(i, 0) == item) return i;
    return -1;
  }
  void Select(int row) {
    LVITEMW state = {};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(page_->List().hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  }
  void Click(int id) { SendMessageW(GetDlgItem(page_->hwnd(), id), BM_CLICK, 0, 0); }
  // A release of the mouse button over a link of the pane.
  void Follow(const RECT& link) {
    SendMessageW(page_->Pane().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(link.left + 2, link.top + 2));
    SendMessageW(page_->Pane().hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(link.left + 2, link.top + 2));
  }

  bltest::StartupSeeds seeds_;
  HWND host_ = nullptr;
  std::unique_ptr<CBootlistStartDlg> page_;
};

LRESULT SendReport(HWND window, ULONG_PTR kind, const std::wstring& text) {
  COPYDATASTRUCT data = {kind, static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)), const_cast<wchar_t*>(text.c_str())};
  return SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

TEST_F(StartupPage, ListsEntriesUncheckedAndShowsTheSelectedOneInThePane) {
  test::ScratchFolder scratch;
  std::wstring program = scratch.Write(L"My Tools\\tool.exe", "MZ");
  seeds_.SetValue(1, L"Editor", kEditor);
  seeds_.SetValue(3, L"a|b 100%", L"odd.exe");
  std::wstring link = seeds_.AddShortcut(bltest::StartupSeeds::kUser, L"Tool.lnk", program, L"-quiet");
  CBootlistStartDlg& page = Open();

  ui::CheckListView& list = page.List();
  EXPECT_EQ(static_cast<int>(page.Entries().size()), list.RowCount());
  for (const auto& [item, command] : {std::pair{std::wstring(L"Editor"), kEditor}, std::pair{std::wstring(L"a|b 100%"), std::wstring(L"odd.exe")},
                                      std::pair{std::wstring(L"Tool.lnk"), link}}) {
    int row = Row(item);
    ASSERT_GE(row, 0) << testing::PrintToString(item);
    EXPECT_EQ(command, list.Text(row, 1));
    EXPECT_FALSE(list.IsChecked(row));
  }

  std::vector<Request> launched;
  page.Pane().SetLauncher([&](const Request& r) { launched.push_back(r); });
  EXPECT_FALSE(page.Pane().selected());
  for (const RECT* r : {&CBootlistShow::kSearchLink, &CBootlistShow::kOpenLink, &CBootlistShow::kPropertiesLink}) Follow(*r);
  EXPECT_TRUE(launched.empty()) << "links need a selection";

  Select(Row(L"Editor"));
  CBootlistShow& pane = page.Pane();
  ASSERT_TRUE(pane.selected());
  EXPECT_EQ(L"Editor", pane.item());
  EXPECT_EQ(kEditor, pane.location());
  EXPECT_EQ(0, _wcsicmp(L"C:\\windows\\notepad.exe", pane.program().c_str())) << testing::PrintToString(pane.program());
  EXPECT_TRUE(pane.HasFileIcon());
  Follow(CBootlistShow::kOpenLink);
  Follow(CBootlistShow::kPropertiesLink);
  ASSERT_EQ(2u, launched.size());
  EXPECT_EQ(L"Explorer.exe", launched[0].file);
  EXPECT_EQ(L"/select,\"" + pane.program() + L"\"", launched[0].parameters);
  EXPECT_EQ(L"properties", launched[1].verb);
  EXPECT_EQ(pane.program(), launched[1].file);
  EXPECT_TRUE(launched[1].propertySheet);

  Select(Row(L"a|b 100%"));
  Follow(CBootlistShow::kSearchLink);
  ASSERT_EQ(3u, launched.size());
  EXPECT_EQ(std::wstring(CBootlistShow::kSearchAddress) + L"a%7Cb%20100%25", launched[2].file);
  EXPECT_EQ(L"", pane.program()) << "odd.exe exists nowhere";

  Select(Row(L"Tool.lnk"));
  EXPECT_EQ(L"\"" + program + L"\" -quiet", pane.location()) << "a shortcut shows what it starts";
  EXPECT_EQ(program, pane.program());

  Click(IDC_BOOTLIST_REFRESH);
  EXPECT_FALSE(pane.selected()) << "Refresh shows the instructions again";
  WaitListed();
  EXPECT_GE(Row(L"Tool.lnk"), 0);
}

TEST_F(StartupPage, RemovesOnlyTheCheckedRowsAndSaysWhatHappened) {
  seeds_.SetValue(1, L"Keep", L"keep.exe");
  seeds_.SetValue(1, L"Drop", L"drop.exe");
  seeds_.SetValue(6, L"Gone", L"gone.exe");
  std::wstring file = seeds_.AddFile(bltest::StartupSeeds::kCommon, L"drop.bat");
  CBootlistStartDlg& page = Open();
  test::MessageBoxWatcher boxes;
  ui::CheckListView& list = page.List();

  Select(Row(L"Drop"));
  Click(IDC_BOOTLIST_REMOVE);
  list.SetChecked(Row(L"Drop"), true);
  list.SetChecked(Row(L"drop.bat"), true);
  boxes.Answer({IDCANCEL});
  Click(IDC_BOOTLIST_REMOVE);
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, bltest::KeyOf(1), L"Drop")) << "Cancel removes nothing";
  Click(IDC_BOOTLIST_REMOVE);
  WaitListed();

  std::vector<test::SeenBox> seen = boxes.seen();
  ASSERT_EQ(4u, seen.size());
  EXPECT_EQ(L"Please choose one of the list above to remove the item.", seen[0].text);
  EXPECT_EQ(L"Are you sure to remove the item?", seen[1].text);
  EXPECT_EQ(IDCANCEL, seen[1].pressed);
  EXPECT_EQ(L"Remove Completed.", seen[3].text);
  for (const test::SeenBox& box : seen) EXPECT_EQ(L"Lumaspan", box.caption);
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, bltest::KeyOf(1), L"Drop"));
  EXPECT_FALSE(test::FileExists(file));
  EXPECT_TRUE(test::FileExists(seeds_.program() / L"Backup\\Startup\\Files\\drop.bat"));
  EXPECT_TRUE(test::ValueExists(HKEY_CURRENT_USER, bltest::KeyOf(1), L"Keep"));
  EXPECT_EQ(-1, Row(L"Drop"));
  EXPECT_GE(Row(L"Keep"), 0);

  // An entry that went meanwhile cannot be removed, and the message says so.
  list.SetChecked(Row(L"Gone"), true);
  list.SetChecked(Row(L"Keep"), true);
  test::DeleteKeyTree(HKEY_LOCAL_MACHINE, bltest::KeyOf(6));
  Click(IDC_BOOTLIST_REMOVE);
  ASSERT_TRUE(boxes.WaitForCount(6, 5000));
  EXPECT_EQ(L"1 entry could not be removed.", boxes.seen()[5].text);
  EXPECT_FALSE(test::ValueExists(HKEY_CURRENT_USER, bltest::KeyOf(1), L"Keep"));
}

TEST_F(StartupPage, RefreshEndsTheRunningListingAndNoRowComesTwice) {
  for (int i = 0; i < 1000; ++i) seeds_.SetValue(1, L"entry " + std::to_wstring(i), L"p.exe");
  CBootlistStartDlg& page = Open(false);
  // The first listing is at most at its first report: both Refresh presses end a running listing.
  Click(IDC_BOOTLIST_REFRESH);
  Click(IDC_BOOTLIST_REFRESH);
  WaitListed();
  EXPECT_EQ(1000, page.List().RowCount());
  EXPECT_EQ(1000u, page.Entries().size());
  for (int i : {0, 499, 999}) EXPECT_GE(Row(L"entry " + std::to_wstring(i)), 0);

  EXPECT_EQ(report_reply::kStop, SendReport(page.hwnd(), report_kind::kStartupEntry, L"late|x.exe|1"))
      << "no listing runs";
  EXPECT_EQ(report_reply::kGoOn, SendReport(page.hwnd(), report_kind::kTraceItem, L"a|b|1"));
  EXPECT_EQ(1000u, page.Entries().size());

  // Closing the page in the middle of a listing ends its worker.
  Click(IDC_BOOTLIST_REFRESH);
  page_.reset();
  EXPECT_TRUE(test::PumpUntil([] { return cleaning_pages::ScanJob::LiveWorkers() == 0; }, 10000));
}

}  // namespace
