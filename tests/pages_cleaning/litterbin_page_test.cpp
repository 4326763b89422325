// The junk file cleaner page in the real main window with the real Litterbin, on the test drives
// T: and U:: the drive list, scans found and cleaned, aborting (answered either way), closing the
// main window during a scan, and reports no engine should send.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/scan_lock.h"
#include "contracts/messages.h"
#include "pages/cleaning/cleaning_ids.h"
#include "pages/cleaning/found_items.h"
#include "pages/common/scan_job.h"
#include "tests/cleaning/seeded.h"
#include "tests/pages_cleaning/page_host.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pump.h"
#include "tests/support/scratch.h"

namespace {

using cleaning_pages::DriveSpaceText;
using cleaning_pages::ScanJob;
using cleaning_pages::SizeText;
using pages_test::CleanerPages;
using pages_test::SendReport;

class JunkPage : public CleanerPages {
 protected:
  CLitterbinStartDlg* Open() {
    Start();
    Show(page_id::kJunkCleaner);
    CLitterbinStartDlg* page = Junk();
    EXPECT_TRUE(page && IsWindowVisible(page->hwnd()));
    if (page) page->SetItemPause(1);
    return page;
  }
  // Leaves checked only the listed drives ("T:\", ...).
  void ChooseDrives(CLitterbinStartDlg* page, std::initializer_list<const wchar_t*> drives) {
    ui::CheckListView& list = page->DriveList();
    for (int i = 0; i < list.RowCount(); ++i) {
      bool keep = false;
      for (const wchar_t* d : drives) keep = keep || list.Text(i, 0) == d;
      list.SetChecked(i, keep);
    }
  }
  // Junk files for a scan that runs a while: count files of name n.tmp below T:\many.
  void SeedMany(test::ExtraDrive& drive, int count) {
    for (int i = 0; i < count; ++i) drive.Write(L"many\\" + std::to_wstring(i) + L".tmp", "x");
  }
  // Starts a scan of T: holding `files` junk files, with an item pause that keeps it running a
  // while, and returns its result page once the first rows are in (page_ is the start page).
  CLitterbinScanDlg* ScanManyOnT(int files, DWORD pauseMs, int rows) {
    drive_ = std::make_unique<test::ExtraDrive>(L'T');
    SeedMany(*drive_, files);
    page_ = Open();
    if (!page_) return nullptr;
    page_->SetItemPause(pauseMs);
    ChooseDrives(page_, {L"T:\\"});
    Click(page_->hwnd(), IDC_START_SCAN);
    EXPECT_TRUE(test::PumpUntil(
        [&] { return page_->ScanPage() && page_->ScanPage()->List().RowCount() >= rows; }, 20000));
    return page_->ScanPage();
  }
  std::unique_ptr<test::ExtraDrive> drive_;
  CLitterbinStartDlg* page_ = nullptr;

  // Run by a timer inside the main window's modal loop: open the junk page, start a scan of T:,
  // and close the main window once the first rows are in.
  static void CALLBACK CloseDuringScan(HWND, UINT, UINT_PTR, DWORD) {
    JunkPage* self = current_;
    HWND main = self ? self->main_->hwnd() : nullptr;
    if (!main || !IsWindowVisible(main)) return;
    if (self->step_ == 0) {
      self->step_ = 1;
      SendMessageW(main, page_id::kJunkCleaner, 0, 0);
      CLitterbinStartDlg* page = self->Junk();
      page->SetItemPause(4);
      self->ChooseDrives(page, {L"T:\\"});
      Click(page->hwnd(), IDC_START_SCAN);
    } else if (self->step_ == 1) {
      CLitterbinStartDlg* page = self->Junk();
      if (!page->ScanPage() || page->ScanPage()->List().RowCount() < 5) return;
      self->step_ = 2;
      self->rowsAtClose_ = page->ScanPage()->List().RowCount();
      self->lockedAtClose_ = self->MenuLocked();
      PostMessageW(main, WM_CLOSE, 0, 0);
    }
  }
  static JunkPage* current_;
  int step_ = 0;
  int rowsAtClose_ = -1;
  bool lockedAtClose_ = false;
};
JunkPage* JunkPage::current_ = nullptr;

TEST_F(JunkPage, ListsEveryFixedDriveWithItsSpaceAllChecked) {
  test::ExtraDrive t(L'T'), u(L'U');
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  ui::CheckListView& list = page->DriveList();
  std::vector<std::wstring> drives;
  for (int i = 0; i < list.RowCount(); ++i) {
    drives.push_back(list.Text(i, 0));
    EXPECT_TRUE(list.IsChecked(i)) << i;
    ULARGE_INTEGER available, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(drives.back().c_str(), &available, &total, &free));
    EXPECT_EQ(DriveSpaceText(total.QuadPart), list.Text(i, 1));
    EXPECT_EQ(DriveSpaceText(free.QuadPart), list.Text(i, 2)) << "free space moves only a little during a test";
  }
  // The prefix's fixed drives, in letter order; no Z: (the prefix has none).
  EXPECT_EQ((std::vector<std::wstring>{L"C:\\", L"T:\\", L"U:\\"}), drives);
  EXPECT_EQ(L"Not Scanned", page->LastScanText());

  Press(page->hwnd(), 110, 410);  // "Clear All"
  for (int i = 0; i < list.RowCount(); ++i) EXPECT_FALSE(list.IsChecked(i));
  Press(page->hwnd(), 40, 405);  // "Select All"
  for (int i = 0; i < list.RowCount(); ++i) EXPECT_TRUE(list.IsChecked(i));
}

TEST_F(JunkPage, NoDriveChosenIsToldAndStartsNothing) {
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  ChooseDrives(page, {});
  test::MessageBoxWatcher boxes;
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(L"Lumaspan", boxes.seen()[0].caption);
  EXPECT_EQ(L"Please select at least one drive from the list that needs to be scanned for junk files.",
            boxes.seen()[0].text);
  test::PumpFor(50);
  EXPECT_EQ(nullptr, page->ResultPage());
  EXPECT_FALSE(MenuLocked());
}

// One scan or clean at a time with the console program: a page refuses to start while the lock is
// held elsewhere, and holds it itself until its scan ends.
TEST_F(JunkPage, AScanRunningElsewhereIsToldAndAPageScanHoldsTheLockUntilItEnds) {
  drive_ = std::make_unique<test::ExtraDrive>(L'T');
  SeedMany(*drive_, 400);
  page_ = Open();
  ASSERT_TRUE(page_);
  page_->SetItemPause(4);
  ChooseDrives(page_, {L"T:\\"});
  {
    base::ScanLock elsewhere = base::ScanLock::TryTake();
    ASSERT_TRUE(elsewhere.held());
    test::MessageBoxWatcher boxes;
    Click(page_->hwnd(), IDC_START_SCAN);
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(L"Lumaspan", boxes.seen()[0].caption);
    EXPECT_EQ(L"Another Lumaspan scan or clean is running. Start again when it has finished.", boxes.seen()[0].text);
    test::PumpFor(50);
    EXPECT_EQ(nullptr, page_->ResultPage());
    EXPECT_FALSE(MenuLocked());
  }
  Click(page_->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(test::PumpUntil([&] { return page_->ScanPage() && page_->ScanPage()->List().RowCount() >= 5; }, 20000));
  EXPECT_FALSE(base::ScanLock::TryTake().held());
  ASSERT_TRUE(WaitFinished(page_));
  EXPECT_TRUE(base::ScanLock::TryTake().held());
}

TEST_F(JunkPage, JunkOnTheTestDrivesIsFoundAndOnlyTheCheckedFilesAreDeleted) {
  test::ExtraDrive t(L'T'), u(L'U');
  t.Write(L"a\\x.tmp", "12345");
  t.Write(L"b.old", "12");
  t.Write(L"keep.txt", "k");
  u.Write(L"~$doc.docx", "123");
  u.Write(L"note.txt", "n");
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  ChooseDrives(page, {L"T:\\", L"U:\\"});
  Click(page->hwnd(), IDC_START_SCAN);
  EXPECT_TRUE(MenuLocked());
  ASSERT_TRUE(WaitFinished(page));
  EXPECT_FALSE(MenuLocked());
  EXPECT_EQ((std::vector<std::wstring>{L"T:\\", L"U:\\"}), page->Queue());
  CLitterbinScanDlg* results = page->ScanPage();
  std::vector<std::wstring> rows = Rows(results);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ((std::vector<std::wstring>{L"b.old|T:\\|" + SizeText(2), L"x.tmp|T:\\a\\|" + SizeText(5),
                                       L"~$doc.docx|U:\\|" + SizeText(3)}),
            rows);
  EXPECT_EQ(100, results->Progress());
  EXPECT_EQ(L"All total of 3 Junk Files that take up " + SizeText(10), results->CounterLine());
  EXPECT_EQ(L"The analysis of junk files is complete, please click \"Clean\" to clean junk files.",
            results->Subtitle());

  // The user's own ways to check: a click on a row's box, the space bar, the select-all box.
  ui::CheckListView& list = results->List();
  RECT row = {};
  row.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(list.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
  LVHITTESTINFO hit = {};
  hit.pt.y = (row.top + row.bottom) / 2;
  for (hit.pt.x = row.left; hit.pt.x < row.left + 40; ++hit.pt.x) {
    if (SendMessageW(list.hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == 1 &&
        (hit.flags & LVHT_ONITEMSTATEICON))
      break;
  }
  SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
  SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
  EXPECT_EQ((std::vector<bool>{true, false, true}),
            (std::vector<bool>{list.IsChecked(0), list.IsChecked(1), list.IsChecked(2)}));
  SendMessageW(list.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_TRUE(list.IsChecked(1));
  Click(results->hwnd(), IDC_SELECT_ALL);  // it was checked
  EXPECT_TRUE(results->CheckedItems().empty());

  test::MessageBoxWatcher boxes;
  CheckOnly(results, {L"x.tmp", L"b.old"});
  EXPECT_EQ(2u, results->CheckedItems().size());
  Click(results->hwnd(), IDC_CLEAN);
  ASSERT_EQ(2u, boxes.count());
  EXPECT_EQ(L"Are you sure to remove the item?", boxes.seen()[0].text);
  EXPECT_EQ(L"Remove Completed.", boxes.seen()[1].text);
  EXPECT_FALSE(test::FileExists(L"T:\\a\\x.tmp"));
  EXPECT_FALSE(test::FileExists(L"T:\\b.old"));
  EXPECT_TRUE(test::FileExists(L"U:\\~$doc.docx"));
  EXPECT_TRUE(test::FileExists(L"T:\\keep.txt"));
  EXPECT_TRUE(test::FileExists(L"U:\\note.txt"));
  ASSERT_TRUE(test::PumpUntil([&] { return page->ResultPage() == nullptr; }, 3000));
  EXPECT_TRUE(IsWindowVisible(page->hwnd()));
  EXPECT_NE(L"Not Scanned", page->LastScanText());
}

TEST_F(JunkPage, WhileScanningTheHeaderCountsAndTheMenuIsLocked) {
  CLitterbinScanDlg* results = ScanManyOnT(200, 5, 20);
  ASSERT_TRUE(results);
  ASSERT_FALSE(results->finished());
  EXPECT_TRUE(MenuLocked());
  EXPECT_EQ(L"Remove junk files to free up disk space", results->Title());
  EXPECT_EQ(L"Junk File Cleaner is performing the analysis, Please wait......", results->Subtitle());
  int rows = results->List().RowCount();
  std::wstring counter = results->CounterLine();
  EXPECT_EQ(std::to_wstring(rows) + L" Junk File(s) (" + SizeText(rows) + L") Found", counter);
  EXPECT_TRUE(Visible(results->hwnd(), IDC_ABORT));
  EXPECT_FALSE(Visible(results->hwnd(), IDC_CLEAN));
  EXPECT_FALSE(Visible(results->hwnd(), IDC_BACK));
  EXPECT_EQ(100, results->Progress());  // one drive queued, and it is begun
  EXPECT_NE(std::wstring::npos, results->ProgressText().find(L".tmp"));
  ASSERT_TRUE(WaitFinished(page_));
  EXPECT_EQ(200, results->List().RowCount());
  EXPECT_FALSE(MenuLocked());
}

TEST_F(JunkPage, OnlyTheFirstItemsOfAScanArePaused) {
  const int files = static_cast<int>(CLitterbinStartDlg::kPausedItems) + 50;
  CLitterbinScanDlg* results = ScanManyOnT(files, 1, 1);
  ASSERT_TRUE(results);
  ASSERT_TRUE(WaitFinished(page_));
  EXPECT_EQ(files, results->List().RowCount());
  EXPECT_EQ(CLitterbinStartDlg::kPausedItems, page_->PausesTaken());
}

TEST_F(JunkPage, AbortAnsweredCancelGoesOnAndLosesNothing) {
  CLitterbinScanDlg* results = ScanManyOnT(150, 4, 10);
  ASSERT_TRUE(results);
  test::MessageBoxWatcher boxes;
  boxes.Answer({IDCANCEL});
  int before = results->List().RowCount();
  Click(results->hwnd(), IDC_ABORT);  // returns once the question is answered
  ASSERT_EQ(1u, boxes.count());
  EXPECT_EQ(L"Lumaspan", boxes.seen()[0].caption);
  EXPECT_EQ(L"Are you sure to stop scanning?", boxes.seen()[0].text);
  // While the question was open the worker waited: nothing was taken meanwhile.
  EXPECT_EQ(before, results->List().RowCount());
  EXPECT_FALSE(results->finished());
  EXPECT_TRUE(MenuLocked());
  ASSERT_TRUE(WaitFinished(page_));
  // Every junk file exactly once: a report sent again after the pause is not taken twice.
  EXPECT_EQ(150, results->List().RowCount());
  EXPECT_EQ(150u, page_->FoundItems().size());
  std::vector<std::wstring> names;
  for (const auto& item : page_->FoundItems()) names.push_back(item.name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names.end(), std::adjacent_find(names.begin(), names.end()));
  EXPECT_EQ(L"Analysis is complete", results->Title());
}

TEST_F(JunkPage, AbortAnsweredOkShowsTheFinishedPageAtOnceWithTheRowsSoFar) {
  CLitterbinScanDlg* results = ScanManyOnT(400, 4, 10);
  ASSERT_TRUE(results);
  for (int i = 0; i < 3; ++i) SendMessageW(results->hwnd(), WM_TIMER, CLitterbinScanDlg::kClockTimer, 0);
  test::MessageBoxWatcher boxes;
  boxes.Answer({IDOK});
  int before = results->List().RowCount();
  Click(results->hwnd(), IDC_ABORT);
  ASSERT_EQ(1u, boxes.count());
  // Finished at once, with what was found before the answer.
  EXPECT_TRUE(results->finished());
  EXPECT_EQ(before, results->List().RowCount());
  EXPECT_EQ(L"Analysis is complete", results->Title());
  EXPECT_EQ(L"All total of " + std::to_wstring(before) + L" Junk Files that take up " + SizeText(before),
            results->CounterLine());
  EXPECT_FALSE(Visible(results->hwnd(), IDC_ABORT));
  EXPECT_TRUE(Visible(results->hwnd(), IDC_CLEAN));
  EXPECT_TRUE(Visible(results->hwnd(), IDC_BACK));
  EXPECT_EQ(100, results->Progress());
  EXPECT_FALSE(MenuLocked());
  int seconds = results->ElapsedSeconds();
  EXPECT_GE(seconds, 3);
  // The worker stops at its next report and ends; nothing more arrives, the clock stands still.
  EXPECT_TRUE(test::PumpUntil([] { return ScanJob::LiveWorkers() == 0; }, 5000));
  test::PumpFor(1300);
  EXPECT_EQ(before, results->List().RowCount());
  EXPECT_EQ(seconds, results->ElapsedSeconds());
  EXPECT_EQ(page_msg::kJunkStart, page_->State());
  EXPECT_LT(before, 400);

  // The stopped scan's rows can be cleaned like any others.
  std::wstring first = results->List().Text(0, 0);
  CheckOnly(results, {first});
  boxes.Answer({IDOK, IDOK});
  Click(results->hwnd(), IDC_CLEAN);
  EXPECT_FALSE(test::FileExists(L"T:\\many\\" + first));
  int kept = 0;
  for (int i = 0; i < 400; ++i) kept += test::FileExists(L"T:\\many\\" + std::to_wstring(i) + L".tmp");
  EXPECT_EQ(399, kept);
}

TEST_F(JunkPage, ANewScanRightAfterAnAbortTakesOnlyItsOwnReports) {
  CLitterbinScanDlg* results = ScanManyOnT(300, 4, 5);
  ASSERT_TRUE(results);
  CLitterbinStartDlg* page = page_;
  test::MessageBoxWatcher boxes;
  boxes.Answer({IDOK});
  Click(results->hwnd(), IDC_ABORT);
  // Back and a new scan before the stopped worker has had a chance to end.
  SendMessageW(page->hwnd(), page_msg::kJunkBack, 0, 0);
  ASSERT_EQ(nullptr, page->ResultPage());
  ChooseDrives(page, {L"T:\\"});
  page->SetItemPause(0);
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page, 60000));
  EXPECT_EQ(300, page->ScanPage()->List().RowCount());
  EXPECT_EQ(300u, page->FoundItems().size());
  EXPECT_TRUE(test::PumpUntil([] { return ScanJob::LiveWorkers() == 0; }, 5000));
}

TEST_F(JunkPage, ClosingTheMainWindowDuringAScanEndsEverythingCleanly) {
  test::ExtraDrive t(L'T');
  SeedMany(t, 300);
  // As the program runs it: modal, closed while the scan runs.
  current_ = this;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, &JunkPage::CloseDuringScan);
  EXPECT_EQ(IDCANCEL, main_->DoModal(nullptr));
  KillTimer(nullptr, timer);
  current_ = nullptr;
  EXPECT_EQ(2, step_);
  EXPECT_GE(rowsAtClose_, 5);
  EXPECT_TRUE(lockedAtClose_);
  main_.reset();  // the pages go at once; their stopped workers end by themselves
  EXPECT_TRUE(test::PumpUntil([] { return ScanJob::LiveWorkers() == 0; }, 5000));
  // The drive is as it was: a scan never deletes.
  EXPECT_TRUE(test::FileExists(L"T:\\many\\0.tmp"));
  EXPECT_TRUE(test::FileExists(L"T:\\many\\299.tmp"));
}

TEST_F(JunkPage, TheRecycleBinIsOneRowAndAFileInUseIsCountedAsNotRemoved) {
  std::string why;
  if (!cleaning_test::PrivateRecycleBin(&why)) GTEST_SKIP() << "Recycle Bin left alone: " << why;
  test::ExtraDrive t(L'T');
  t.Write(L"binned.txt", "1234");
  ASSERT_TRUE(cleaning_test::Recycle(L"T:\\binned.txt"));
  std::wstring held = t.Write(L"held.tmp", "12");
  t.Write(L"gone.old", "1");
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  ChooseDrives(page, {L"T:\\"});
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  CLitterbinScanDlg* results = page->ScanPage();
  std::vector<std::wstring> rows = Rows(results);
  std::sort(rows.begin(), rows.end());
  EXPECT_EQ((std::vector<std::wstring>{L"Recycle Bin|T:\\|" + SizeText(4), L"gone.old|T:\\|" + SizeText(1),
                                       L"held.tmp|T:\\|" + SizeText(2)}),
            rows);

  test::MessageBoxWatcher boxes;
  {
    cleaning_test::HeldFile holder(held);
    ASSERT_TRUE(holder.holding());
    Click(results->hwnd(), IDC_CLEAN);
    ASSERT_EQ(2u, boxes.count());
    EXPECT_EQ(L"1 of 3 items could not be removed. It may be in use, protected or already gone.", boxes.seen()[1].text);
  }
  EXPECT_FALSE(test::FileExists(L"T:\\gone.old"));
  EXPECT_TRUE(test::FileExists(held));
  SHQUERYRBINFO bin = {};
  bin.cbSize = sizeof(bin);
  ASSERT_TRUE(SUCCEEDED(SHQueryRecycleBinW(L"T:\\", &bin)));
  EXPECT_EQ(0, bin.i64NumItems);
  test::PumpFor(50);
  EXPECT_EQ((std::vector<std::wstring>{L"held.tmp|T:\\|" + SizeText(2)}), Rows(page->ScanPage()));
}

TEST_F(JunkPage, ADriveThatIsGoneByTheScanIsPassedOver) {
  test::ExtraDrive t(L'T');
  t.Write(L"gone-test.tmp", "1");
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  ChooseDrives(page, {L"T:\\"});
  // A drive listed earlier that is no longer there.
  ui::CheckListView& list = page->DriveList();
  int row = list.AddRow(L"Q:\\");
  list.SetChecked(row, true);
  ASSERT_EQ(GetDriveTypeW(L"Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  EXPECT_EQ((std::vector<std::wstring>{L"T:\\", L"Q:\\"}), page->Queue());
  EXPECT_EQ((std::vector<std::wstring>{L"gone-test.tmp|T:\\|" + SizeText(1)}), Rows(page->ScanPage()));
  EXPECT_EQ(100, page->ScanPage()->Progress());
}

TEST_F(JunkPage, ReportsNoEngineShouldSendListNothingWrong) {
  test::ExtraDrive t(L'T');
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  page->SetItemPause(0);
  ChooseDrives(page, {L"T:\\"});
  Click(page->hwnd(), IDC_START_SCAN);
  // The result page opens; the worker waits at its first report until this thread looks at its
  // messages again, so the reports below are the only ones of this scan so far.
  MSG msg;
  while (!page->ResultPage() && GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  HWND window = page->hwnd();
  const ULONG_PTR item = report_kind::kJunkItem;
  for (const wchar_t* bad : {L"", L"no separator", L"one|separator", L"a.tmp|T:\\a.tmp|", L"a.tmp|T:\\a.tmp|12x",
                             L"a-much-longer-name.tmp|T:\\x|5", L"a.tmp|T:\\b.tmp|5", L"a.tmp|T:\\a.tmp|99999999999999999999999"}) {
    EXPECT_EQ(report_reply::kGoOn, SendReport(window, item, bad));  // taken (and dropped); the scan goes on
  }
  EXPECT_EQ(0, page->ScanPage()->List().RowCount());
  // A report whose byte count stops short of its text, and one without data.
  std::wstring text = L"ok.tmp|T:\\dir\\ok.tmp|7";
  COPYDATASTRUCT cut = {item, 6 * sizeof(wchar_t), const_cast<wchar_t*>(text.c_str())};
  EXPECT_EQ(report_reply::kGoOn, SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cut)));
  COPYDATASTRUCT none = {item, 0, nullptr};
  EXPECT_EQ(report_reply::kGoOn, SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&none)));
  EXPECT_EQ(0, page->ScanPage()->List().RowCount());
  EXPECT_EQ(report_reply::kGoOn, SendReport(window, item, text));
  ASSERT_EQ(1, page->ScanPage()->List().RowCount());
  EXPECT_EQ(L"ok.tmp", page->FoundItems()[0].name);
  EXPECT_EQ(L"T:\\dir\\", page->FoundItems()[0].location);

  // Ten thousand items: every one listed and counted.
  for (int i = 0; i < 10000; ++i) {
    std::wstring name = L"f" + std::to_wstring(i) + L".tmp";
    SendReport(window, item, name + L"|T:\\bulk\\" + name + L"|" + std::to_wstring(i));
  }
  CLitterbinScanDlg* results = page->ScanPage();
  EXPECT_EQ(10001, results->List().RowCount());
  EXPECT_EQ(10001u, page->FoundItems().size());
  uint64_t total = 7 + 9999ULL * 10000 / 2;
  EXPECT_EQ(total, page->TotalSize());
  EXPECT_EQ(L"10001 Junk File(s) (" + SizeText(total) + L") Found", results->CounterLine());
  EXPECT_EQ(L"f9999.tmp", results->List().Text(10000, 0));
  EXPECT_EQ(L"T:\\bulk\\", results->List().Text(10000, 1));
  ASSERT_TRUE(WaitFinished(page));
  EXPECT_EQ(10001, results->List().RowCount());
  // Reports of kinds this page does not use are answered 0; its own, after the scan, 1.
  EXPECT_EQ(report_reply::kGoOn, SendReport(window, 12345, L"x"));
  EXPECT_EQ(report_reply::kStop, SendReport(window, item, L"late.tmp|T:\\late.tmp|1"));
  EXPECT_EQ(10001, results->List().RowCount());
}

TEST_F(JunkPage, TheClockCountsHoursMinutesAndSeconds) {
  test::ExtraDrive t(L'T');
  CLitterbinStartDlg* page = Open();
  ASSERT_TRUE(page);
  ChooseDrives(page, {L"T:\\"});
  Click(page->hwnd(), IDC_START_SCAN);
  ASSERT_TRUE(WaitFinished(page));
  CLitterbinScanDlg* results = page->ScanPage();
  int start = results->ElapsedSeconds();
  for (int i = 0; i < 75 - start; ++i) SendMessageW(results->hwnd(), WM_TIMER, CLitterbinScanDlg::kClockTimer, 0);
  EXPECT_EQ(L"Elapsed Time: 00:01:15", results->ElapsedText());
  ShowWindow(results->hwnd(), SW_HIDE);  // no repaint for each of the many ticks below
  for (int i = 0; i < 3600; ++i) SendMessageW(results->hwnd(), WM_TIMER, CLitterbinScanDlg::kClockTimer, 0);
  EXPECT_EQ(L"Elapsed Time: 01:01:15", results->ElapsedText());
}

}  // namespace
