// The registry cleaner's start page in the main window: its boxes, links and painting, and Start
// Scan with nothing chosen.
#include <windows.h>

#include <gtest/gtest.h>

#include "contracts/hivescrub.h"
#include "pages/home_registry/resource.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "ui/skin/bitmap.h"

namespace {

using regtest::RegistryCleaner;

int CheckedBoxes(HWND page) {
  int checked = 0;
  for (int c = 1; c <= 15; ++c) checked += IsDlgButtonChecked(page, CHivescrubStartDlg::kCheckIds[c]) == BST_CHECKED;
  return checked;
}

LPARAM At(const RECT& r) { return MAKELPARAM(r.left + 4, r.top + 4); }

TEST_F(RegistryCleaner, ShowsFifteenCheckedBoxesBesideTheirCaptions) {
  HWND hwnd = page().hwnd();
  EXPECT_TRUE(Visible(hwnd));
  EXPECT_EQ(L"Registry Cleaner", main_->CurrentPageName());
  for (int c = 1; c <= 15; ++c) {
    HWND box = GetDlgItem(hwnd, CHivescrubStartDlg::kCheckIds[c]);
    ASSERT_TRUE(Visible(box)) << c;
    RECT r = {};
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(27, r.left) << c;
    EXPECT_NEAR(65 + 21 * (c - 1), r.top, 2) << c;  // level with its caption
  }
  EXPECT_EQ(15, CheckedBoxes(hwnd));
  HWND selectAll = GetDlgItem(hwnd, IDC_SELECT_ALL);
  ASSERT_TRUE(selectAll);
  EXPECT_FALSE(IsWindowVisible(selectAll));
  EXPECT_TRUE(Visible(GetDlgItem(hwnd, IDC_START_SCAN)));
  EXPECT_EQ(CHivescrubStartDlg::kStartView, page().viewState());
}

TEST_F(RegistryCleaner, TheLinksSelectOrClearEveryBoxAndShowTheHand) {
  HWND hwnd = page().hwnd();
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, At(CHivescrubStartDlg::kClearAllLink));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(CHivescrubStartDlg::kClearAllLink));
  EXPECT_EQ(0, CheckedBoxes(hwnd));
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hwnd, IDC_SELECT_ALL));
  SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(300, 405));
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(80, 405));  // between the links: nothing
  EXPECT_EQ(0, CheckedBoxes(hwnd));

  SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, At(CHivescrubStartDlg::kSelectAllLink));  // either button
  EXPECT_EQ(15, CheckedBoxes(hwnd));
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(hwnd, IDC_SELECT_ALL));

  // The hidden "Select All" box checks every category too.
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, At(CHivescrubStartDlg::kClearAllLink));
  SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_SELECT_ALL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDC_SELECT_ALL)));
  EXPECT_EQ(15, CheckedBoxes(hwnd));

  // A caption is its box's label.
  SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 65 + 21 * 3 + 5));
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(hwnd, CHivescrubStartDlg::kCheckIds[4]));
  EXPECT_EQ(14, CheckedBoxes(hwnd));
}

TEST_F(RegistryCleaner, StartScanWithNothingChosenOnlyAsksForAChoice) {
  SelectOnly({});
  Click(IDC_START_SCAN);
  test::PumpFor(100);
  ASSERT_EQ(1u, boxes_->count());
  EXPECT_EQ(L"Lumaspan", boxes_->seen()[0].caption);
  EXPECT_EQ(L"Please select at least one option from the list that needs to be scanned for errors.",
            boxes_->seen()[0].text);
  EXPECT_EQ(CHivescrubStartDlg::kStartView, page().viewState());
  EXPECT_TRUE(Visible(page().hwnd()));
  EXPECT_EQ(nullptr, page().scanPage());
  EXPECT_FALSE(MenuLocked());
  wchar_t date[100] = {};
  HivescrubGetLastScanDate(date);
  EXPECT_STREQ(L"Not Scanned", date) << "no scan was recorded";
}

TEST_F(RegistryCleaner, PaintsThePanelTheBlockLinesTheLinksAndTheLastScanDate) {
  test::Capture before = test::Capture::Print(page().hwnd());
  ASSERT_TRUE(before.ok());
  EXPECT_EQ(RGB(0, 141, 66), before.At(200, 0));
  EXPECT_EQ(RGB(0, 141, 66), before.At(before.width() - 1, 300));
  EXPECT_EQ(RGB(0, 141, 66), before.At(200, before.height() - 1));
  EXPECT_EQ(RGB(255, 255, 255), before.At(4, 45));
  EXPECT_EQ(RGB(230, 231, 224), before.At(300, 165));
  EXPECT_EQ(RGB(230, 231, 224), before.At(300, 270));
  EXPECT_GT(before.Count(RECT{25, 400, 74, 416}, RGB(0, 128, 0)), 20);
  EXPECT_GT(before.Count(RECT{100, 400, 146, 416}, RGB(0, 128, 0)), 20);
  // The panel image where nothing is drawn over it.
  CXuBitmap panel;
  ASSERT_TRUE(panel.LoadImage(L"Res\\Dialog\\QOR_ScanNow_BG.jpg"));
  ui::MemoryDC dc(CreateCompatibleDC(nullptr));
  ui::Select selected(dc.get(), panel.GetSafeHandle());
  for (POINT p : {POINT{400, 100}, POINT{300, 300}, POINT{540, 20}})
    EXPECT_EQ(GetPixel(dc.get(), p.x, p.y), before.At(8 + p.x, 53 + p.y));

  // The date comes from the engine at every paint.
  bookkeeping_->SetString(L"", L"LastScanDate", L"Monday January 05, 2026 - 10:00 AM");
  test::Capture after = test::Capture::Print(page().hwnd());
  int changed = 0;
  for (int y = 28; y < 44; ++y)
    for (int x = 100; x < 400; ++x) changed += before.At(x, y) != after.At(x, y);
  EXPECT_GT(changed, 30);
}

}  // namespace
