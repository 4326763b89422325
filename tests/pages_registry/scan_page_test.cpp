// The scan progress page on its own, fed as the controller feeds it: each category's icon and count,
// the counters and the progress bar, read back as state and as pixels.
#include "pages/home_registry/hivescrub_scan_dlg.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "pages/home_registry/resource.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "ui/gdiplus.h"

namespace {

using Icon = CHivescrubScanDlg::Icon;

class ScanPage : public regtest::RegistryCleaner {
 protected:
  void SetUp() override {
    regtest::RegistryCleaner::SetUp();
    scan_ = std::make_unique<CHivescrubScanDlg>();  // made once the skin is in the program folder
    ASSERT_TRUE(scan_->Create(main()));
    SetWindowPos(scan_->hwnd(), HWND_TOP, 206, 106, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  void TearDown() override {
    scan_.reset();
    regtest::RegistryCleaner::TearDown();
  }
  int BarPosition() {
    return static_cast<int>(SendMessageW(GetDlgItem(scan_->hwnd(), IDC_SCAN_PROGRESS), PBM_GETPOS, 0, 0));
  }

  // How many fully opaque pixels of an icon file differ from the page at the category's icon place.
  static int IconMismatches(const test::Capture& page, int category, const wchar_t* file) {
    ui::GpBitmap icon = ui::LoadBitmapFile(file);
    EXPECT_TRUE(ui::Usable(icon.get())) << testing::PrintToString(file);
    POINT at = CHivescrubScanDlg::IconAt(category);
    int mismatches = 0, opaque = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        Gdiplus::Color c;
        icon->GetPixel(x, y, &c);
        if (c.GetA() != 255) continue;
        ++opaque;
        if (page.At(at.x + x, at.y + y) != RGB(c.GetR(), c.GetG(), c.GetB())) ++mismatches;
      }
    EXPECT_GT(opaque, 50);
    return mismatches;
  }

  std::unique_ptr<CHivescrubScanDlg> scan_;
};

const wchar_t kWaiting[] = L"Res\\Common\\QOR_Normal_Scan.png";
const wchar_t kClean[] = L"Res\\Common\\QOR_Right_Scan.png";
const wchar_t kProblems[] = L"Res\\Common\\QOR_Error_Scan.png";

TEST_F(ScanPage, EachCategoryShowsWaitingScanningCleanOrProblemsWithItsCount) {
  registry_scan::Selection selection = registry_scan::AllSelected();
  selection[5] = 0;
  scan_->SetSelection(selection);
  EXPECT_EQ(14, scan_->selectedCategories());
  for (int c = 1; c <= 15; ++c) EXPECT_EQ(Icon::kWaiting, scan_->IconOf(c)) << c;

  scan_->BeginCategory(1);
  scan_->CountProblem(1);
  scan_->CountProblem(1);
  // The category being scanned shows the scanning icon even with problems counted.
  EXPECT_EQ(Icon::kScanning, scan_->IconOf(1));
  EXPECT_EQ(L"ActiveX,OLE,COM Entries (2)", scan_->CaptionOf(1));
  scan_->BeginCategory(2);
  scan_->BeginCategory(3);
  scan_->BeginCategory(4);
  scan_->BeginCategory(6);
  EXPECT_EQ(Icon::kProblems, scan_->IconOf(1));
  EXPECT_EQ(Icon::kClean, scan_->IconOf(2));
  EXPECT_EQ(L"System Software Settings", scan_->CaptionOf(2));
  EXPECT_EQ(Icon::kWaiting, scan_->IconOf(5)) << "not selected: waiting for the whole scan";
  EXPECT_EQ(Icon::kScanning, scan_->IconOf(6));
  EXPECT_EQ(Icon::kWaiting, scan_->IconOf(7));
  EXPECT_EQ(2, scan_->problemsFound());
  EXPECT_EQ(2, scan_->problemsIn(1));

  test::Capture page = test::Capture::Print(scan_->hwnd());
  ASSERT_TRUE(page.ok());
  EXPECT_EQ(0, IconMismatches(page, 1, kProblems));
  EXPECT_EQ(0, IconMismatches(page, 2, kClean));
  EXPECT_EQ(0, IconMismatches(page, 4, kClean));
  EXPECT_EQ(0, IconMismatches(page, 5, kWaiting));
  EXPECT_EQ(0, IconMismatches(page, 15, kWaiting));
  EXPECT_GT(IconMismatches(page, 6, kWaiting), 10) << "the animated icon, not the waiting one";
  // "2 Problem(s) Found" in red at (51, 61); the accent line along the top.
  EXPECT_GT(page.Count(RECT{51, 61, 260, 80}, RGB(205, 0, 1)), 40);
  EXPECT_EQ(RGB(0, 141, 66), page.At(300, 0));
  EXPECT_EQ(RGB(0, 141, 66), page.At(page.width() - 1, 200));
}

TEST_F(ScanPage, ProgressFollowsTheCategoriesBegunAndTheCountersTheReports) {
  registry_scan::Selection selection = {};
  for (int c : {2, 4, 6, 8}) selection[c] = 1;
  scan_->SetSelection(selection);
  scan_->BeginCategory(2);
  scan_->UpdateProgressBar();
  EXPECT_EQ(25, scan_->Percentage());
  EXPECT_EQ(25, BarPosition());
  scan_->BeginCategory(4);
  scan_->BeginCategory(6);
  scan_->UpdateProgressBar();
  EXPECT_EQ(75, BarPosition());

  int items = scan_->itemsProcessed();
  bool grew = false;
  for (int i = 0; i < 50; ++i) {
    scan_->ShowProgressText(L"HKEY_LOCAL_MACHINE\\Software\\Key" + std::to_wstring(i));
    int step = scan_->itemsProcessed() - items;
    EXPECT_GE(step, 0);
    EXPECT_LE(step, 99);
    grew = grew || step > 0;
    items = scan_->itemsProcessed();
  }
  EXPECT_TRUE(grew);
  EXPECT_EQ(L"HKEY_LOCAL_MACHINE\\Software\\Key49", scan_->progressText());
  scan_->CountProblem(6);
  EXPECT_EQ(items + 1, scan_->itemsProcessed()) << "exactly one per problem";

  for (int i = 0; i < 3; ++i) SendMessageW(scan_->hwnd(), WM_TIMER, CHivescrubScanDlg::kClockTimer, 0);
  EXPECT_EQ(3, scan_->elapsedSeconds());

  // With one category chosen, a hundred as soon as it begins.
  registry_scan::Selection one = {};
  one[7] = 1;
  CHivescrubScanDlg single;
  ASSERT_TRUE(single.Create(main()));
  single.SetSelection(one);
  EXPECT_EQ(0, single.Percentage());
  single.BeginCategory(7);
  single.UpdateProgressBar();
  EXPECT_EQ(100, single.Percentage());
  EXPECT_EQ(100, SendMessageW(GetDlgItem(single.hwnd(), IDC_SCAN_PROGRESS), PBM_GETPOS, 0, 0));
}

}  // namespace
