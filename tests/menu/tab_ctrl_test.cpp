// The tab control: its owner-drawn tabs and background, and the lock.
#include "ui/menu/tab_ctrl.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/pixels.h"
#include "tests/support/pump.h"

namespace {

// The parent: a framework window (so WM_DRAWITEM is reflected to the tab control) that records the
// tab control's notifications.
class Parent : public ui::Window {
 public:
  std::vector<UINT> notifications;

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&) override {
    if (message == WM_NOTIFY) notifications.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
    return false;
  }
};

class Tabs : public testing::Test {
 protected:
  void SetUp() override {
    ui::Window::RegisterClass(L"LumaspanTabTestParent");
    ASSERT_TRUE(parent_.CreateEx(0, L"LumaspanTabTestParent", L"", WS_POPUP | WS_VISIBLE, 40, 40, 420, 260, nullptr,
                                 nullptr));
    ASSERT_TRUE(tabs_.Create(parent_.hwnd(), RECT{10, 10, 410, 250}, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 77));
    SendMessageW(tabs_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    Add(0, L"General Settings");
    Add(1, L"Other");
    test::PumpFor(50);
  }
  void Add(int index, const wchar_t* text) {
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(tabs_.hwnd(), TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
  }
  RECT TabRect(int index) {
    RECT r = {};
    SendMessageW(tabs_.hwnd(), TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  int Selected() { return static_cast<int>(SendMessageW(tabs_.hwnd(), TCM_GETCURSEL, 0, 0)); }
  void ClickTab(int index) {
    RECT r = TabRect(index);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(tabs_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs_.hwnd(), WM_LBUTTONUP, 0, at);
  }

  Parent parent_;
  ui_TabCtrl tabs_;
};

TEST_F(Tabs, IsOwnerDrawnWithAHeightFromItsFont) {
  EXPECT_TRUE(GetWindowLongW(tabs_.hwnd(), GWL_STYLE) & TCS_OWNERDRAWFIXED);
  ui::WindowDC dc(tabs_.hwnd());
  ui::Select select(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW tm = {};
  GetTextMetricsW(dc.get(), &tm);
  EXPECT_EQ(tm.tmHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYFRAME), tabs_.TabHeight());
}

TEST_F(Tabs, ALockedControlKeepsItsTab) {
  tabs_.SetLocked(true);
  ClickTab(1);
  EXPECT_EQ(0, Selected());
  EXPECT_TRUE(parent_.notifications.empty() ||
              std::find(parent_.notifications.begin(), parent_.notifications.end(),
                        static_cast<UINT>(TCN_SELCHANGE)) == parent_.notifications.end());
  tabs_.SetLocked(false);
  ClickTab(1);
  EXPECT_EQ(1, Selected());
  EXPECT_NE(parent_.notifications.end(), std::find(parent_.notifications.begin(), parent_.notifications.end(),
                                                   static_cast<UINT>(TCN_SELCHANGE)));
}

TEST_F(Tabs, PaintsFlatTabsAndItsStrip) {
  tabs_.SetColors(RGB(255, 255, 255), RGB(200, 210, 220), RGB(250, 250, 240), RGB(0, 0, 0), RGB(240, 250, 250));
  test::Capture c = test::Capture::Print(tabs_.hwnd());
  ASSERT_TRUE(c.ok());
  RECT selected = TabRect(0), other = TabRect(1);
  EXPECT_EQ(RGB(255, 255, 255), c.At(selected.left + 4, (selected.top + selected.bottom) / 2));
  EXPECT_EQ(RGB(200, 210, 220), c.At(other.left + 4, (other.top + other.bottom) / 2));
  EXPECT_EQ(RGB(240, 250, 250), c.At(395, 2));  // the strip right of the tabs
}

TEST_F(Tabs, ATabWithoutAnImageHasItsTextCentred) {
  // Draw one tab into a bitmap as the control asks its parent to.
  ui::WindowDC screen(nullptr);
  ui::MemoryDC dc(CreateCompatibleDC(screen.get()));
  ui::Bitmap bitmap(CreateCompatibleBitmap(screen.get(), 120, 24));
  ui::Select select(dc.get(), bitmap.get());
  ui::Select font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
  DRAWITEMSTRUCT item = {};
  item.CtlType = ODT_TAB;
  item.itemID = 1;
  item.hDC = dc.get();
  item.hwndItem = tabs_.hwnd();
  item.rcItem = RECT{0, 0, 120, 24};
  SendMessageW(tabs_.hwnd(), ui::OCM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  int first = -1, last = -1, top = -1, bottom = -1;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (GetPixel(dc.get(), x, y) != GetSysColor(COLOR_BTNFACE)) {
        if (first < 0 || x < first) first = x;
        if (x > last) last = x;
        if (top < 0) top = y;
        bottom = y;
      }
    }
  }
  ASSERT_GE(first, 0);
  EXPECT_LE(abs(first - (119 - last)), 4) << first << " " << last;  // glyphs' side bearings
  EXPECT_LE(abs(top - (23 - bottom)), 2) << top << " " << bottom;
}

}  // namespace
