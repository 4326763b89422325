// The lists of the pages: the check-box list, and the image list boxes drawn row by row.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/controls/host.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "ui/controls/check_list_view.h"
#include "ui/controls/image_list_box.h"

namespace {

using ui::CImageListBox;
using ui::CImageListBoxHivescrub;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr DWORD kListStyle =
    WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE | LBS_NOTIFY;

// A 16 x 16 red row icon, made at run time.
std::unique_ptr<Gdiplus::Bitmap> RedIcon() {
  auto icon = std::make_unique<Gdiplus::Bitmap>(16, 16, PixelFormat32bppARGB);
  Gdiplus::Graphics(icon.get()).Clear(Gdiplus::Color(255, 255, 0, 0));
  return icon;
}

RECT Rect(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

TEST(ImageListBox, RowsAlternateAndTheSelectedRowIsGreyInsetWithWhiteText) {
  test::Host host;
  CImageListBox list;
  ASSERT_TRUE(list.Create(host.hwnd(), Rect(10, 10, 410, 210), kListStyle, 0, 2001));
  auto icon = RedIcon();
  for (const wchar_t* text : {L"Row zero", L"Row one", L"Row two", L"Row three"})
    EXPECT_NE(LB_ERR, list.AddItem(text, icon.get()));
  EXPECT_EQ(25, SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 0, 0));
  SendMessageW(list.hwnd(), LB_SETCURSEL, 3, 0);

  test::Capture c = test::Capture::Print(list.hwnd());
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(380, 5));
  EXPECT_EQ(kWhite, c.At(380, 30));
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(380, 55));
  // Row 3 (75-99): grey inside, its one-pixel border in the row's own colour.
  EXPECT_EQ(CImageListBox::kSelectedRow, c.At(380, 80));
  EXPECT_EQ(CImageListBox::kSelectedRow, c.At(1, 76));
  EXPECT_EQ(kWhite, c.At(0, 80));
  EXPECT_EQ(kWhite, c.At(380, 75));
  EXPECT_EQ(kWhite, c.At(380, 99));
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(16 * 16, c.Count(Rect(3, row * 25 + 2, 19, row * 25 + 18), kRed));  // icon at (3, top + 2)
    EXPECT_EQ(0, c.Count(Rect(19, row * 25, 31, row * 25 + 25), kRed));
  }
  // Text from x = 16 + 12 (the icon's width and the gap): black, white on the selected row.
  EXPECT_GT(test::Dark(c, Rect(28, 0, 200, 25)), 10);
  EXPECT_EQ(0, test::Dark(c, Rect(0, 0, 28, 25)));
  EXPECT_EQ(0, test::Dark(c, Rect(28, 76, 200, 99)));
  EXPECT_GT(c.Count(Rect(28, 76, 200, 99), kWhite), 10);
  // Below the last row the list is empty.
  EXPECT_EQ(0, c.Count(Rect(0, 100, 380, 200), CImageListBox::kEvenRow));
}

TEST(ImageListBox, EmptyListsMissingImagesAndOverlongTextsDrawSafely) {
  test::Host host;
  CImageListBox empty;
  ASSERT_TRUE(empty.Create(host.hwnd(), Rect(10, 10, 410, 110), kListStyle, 0, 2001));
  test::Capture c = test::Capture::Print(empty.hwnd());
  RECT all = Rect(0, 0, c.width(), c.height());
  EXPECT_EQ(c.width() * c.height(), c.Count(all, kWhite));
  SetFocus(empty.hwnd());  // the list box itself marks the focus of an empty list; no row is drawn
  test::PumpFor(30);
  c = test::Capture::Print(empty.hwnd());
  EXPECT_EQ(0, c.Count(all, CImageListBox::kEvenRow));
  EXPECT_EQ(0, c.Count(all, CImageListBox::kSelectedRow));

  CImageListBox list;
  ASSERT_TRUE(list.Create(host.hwnd(), Rect(10, 120, 410, 320), kListStyle, 0, 2002));
  std::unique_ptr<Gdiplus::Bitmap> missing(Gdiplus::Bitmap::FromFile(L"C:\\LumaspanScratch\\no such icon.png"));
  std::wstring huge(5000, L'x');
  EXPECT_NE(LB_ERR, list.AddItem(huge.c_str(), nullptr));
  EXPECT_NE(LB_ERR, list.AddItem(L"No image", missing.get()));
  EXPECT_NE(LB_ERR, list.AddItem(nullptr, nullptr));
  SendMessageW(list.hwnd(), LB_SETCURSEL, 0, 0);
  c = test::Capture::Print(list.hwnd());
  ASSERT_TRUE(c.ok());
  // Without an image the text starts at x = 12; the long text runs to the edge of the row.
  EXPECT_EQ(0, test::Dark(c, Rect(0, 25, 12, 50)));
  EXPECT_GT(test::Dark(c, Rect(12, 25, 60, 50)), 10);
  EXPECT_GT(c.Count(Rect(340, 1, 380, 24), kWhite), 10);
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(380, 55));
}

// The pages' templates hold the list boxes: a fixed-height one measured its rows before it was
// bound, a variable one may hold rows already.
TEST(ImageListBox, BindsToTheListBoxesOfATemplate) {
  test::Host host;
  CImageListBox fixed;
  ASSERT_TRUE(fixed.Bind(host.page().Item(1007)));
  EXPECT_EQ(25, SendMessageW(fixed.hwnd(), LB_GETITEMHEIGHT, 0, 0));
  auto icon = RedIcon();
  fixed.AddItem(L"zero", icon.get());
  fixed.AddItem(L"one", icon.get());
  test::Capture c = test::Capture::Print(fixed.hwnd());
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(100, 3));
  EXPECT_EQ(kWhite, c.At(100, 28));
  EXPECT_EQ(16 * 16, c.Count(Rect(3, 27, 19, 43), kRed));

  HWND variable = host.page().Item(1008);
  SendMessageW(variable, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Before|binding"));
  CImageListBoxHivescrub details;
  ASSERT_TRUE(details.Bind(variable));
  details.AddItem(L"After|binding", icon.get());
  EXPECT_EQ(50, SendMessageW(variable, LB_GETITEMHEIGHT, 0, 0));
  EXPECT_EQ(50, SendMessageW(variable, LB_GETITEMHEIGHT, 1, 0));
  c = test::Capture::Print(variable);
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(100, 45));
  EXPECT_EQ(kWhite, c.At(100, 55));
  EXPECT_EQ(16 * 16, c.Count(Rect(6, 66, 22, 82), kRed));
}

// The focus rectangle is drawn where the focus is and only there, also when the focus leaves and
// the list repaints only that row.
TEST(ImageListBox, TheFocusRectangleFollowsTheFocus) {
  test::Host host;
  CImageListBox list;
  ASSERT_TRUE(list.Create(host.hwnd(), Rect(10, 10, 410, 210), kListStyle, 0, 2001));
  auto icon = RedIcon();
  for (const wchar_t* text : {L"a", L"b", L"c"}) list.AddItem(text, icon.get());
  SendMessageW(list.hwnd(), LB_SETCURSEL, 1, 0);
  UpdateWindow(list.hwnd());
  RECT edge = Rect(40, 25, 380, 26);  // the top edge of row 1, white beside the grey inset

  SetFocus(list.hwnd());
  test::PumpFor(50);
  EXPECT_GT(test::Dark(test::Capture::Screen(list.hwnd()), edge), 20);
  SetFocus(host.page().Item(1006));
  test::PumpFor(50);
  test::Capture c = test::Capture::Screen(list.hwnd());
  EXPECT_EQ(0, test::Dark(c, edge));
  EXPECT_EQ(CImageListBox::kSelectedRow, c.At(200, 30));
}

TEST(ImageListBoxHivescrub, SplitsTitleAndTwoDetailLinesOf81) {
  auto t = CImageListBoxHivescrub::Split(L"Title|");
  EXPECT_EQ(L"Title", t.title);
  EXPECT_EQ(L"", t.line1);
  EXPECT_EQ(L"", t.line2);
  t = CImageListBoxHivescrub::Split(L"No bar");
  EXPECT_EQ(L"No bar", t.title);
  EXPECT_EQ(L"No bar", t.line1);
  EXPECT_EQ(L"", t.line2);
  t = CImageListBoxHivescrub::Split(L"A|B|C");
  EXPECT_EQ(L"A", t.title);
  EXPECT_EQ(L"B|C", t.line1);

  std::wstring detail;
  for (int i = 0; i < 200; ++i) detail += static_cast<wchar_t>(L'0' + i % 10);
  t = CImageListBoxHivescrub::Split(L"T|" + detail);
  EXPECT_EQ(detail.substr(0, 81), t.line1);
  EXPECT_EQ(detail.substr(81, 81), t.line2);
  EXPECT_EQ(L"", CImageListBoxHivescrub::Split(L"T|" + detail.substr(0, 81)).line2);
  EXPECT_EQ(detail.substr(81, 1), CImageListBoxHivescrub::Split(L"T|" + detail.substr(0, 82)).line2);
  EXPECT_EQ(L"", CImageListBoxHivescrub::Split(L"").title);
}

// Rows are compared by their pixels: rows 0, 2 and 4 share the even background.
TEST(ImageListBoxHivescrub, DrawsFiftyPixelRowsWithTitleAndTheCutDetail) {
  test::Host host;
  CImageListBoxHivescrub list;
  ASSERT_TRUE(list.Create(host.hwnd(), Rect(10, 10, 610, 270), kListStyle, 0, 2001));
  auto icon = RedIcon();
  // Narrow letters so that both detail lines fit; a wide W at index 161, the last one drawn, and
  // after it, where nothing may be drawn.
  std::wstring detail(161, L'i');
  detail += std::wstring(39, L'W');
  list.AddItem((L"Title|" + detail).c_str(), icon.get());
  list.AddItem(L"Filler|", icon.get());
  list.AddItem((L"Title|" + detail.substr(0, 162)).c_str(), icon.get());
  list.AddItem(L"Filler|", icon.get());
  list.AddItem((L"Title|" + detail.substr(0, 161)).c_str(), icon.get());
  EXPECT_EQ(50, SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 4, 0));

  test::Capture c = test::Capture::Print(list.hwnd());
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(560, 2));
  EXPECT_EQ(kWhite, c.At(560, 52));
  EXPECT_EQ(CImageListBox::kEvenRow, c.At(560, 102));
  EXPECT_EQ(16 * 16, c.Count(Rect(6, 16, 22, 32), kRed));  // icon at (6, top + 16)
  RECT row0 = Rect(0, 0, 580, 50);
  EXPECT_EQ(0, test::Differences(c, row0, c, 0, 100));   // the characters after 162 are dropped
  EXPECT_GT(test::Differences(c, row0, c, 0, 200), 10);  // character 161 is drawn
  // Title above detail: "Filler|" has nothing below its title.
  EXPECT_GT(test::Dark(c, Rect(38, 50, 300, 68)), 10);
  EXPECT_EQ(0, test::Dark(c, Rect(38, 71, 580, 100)));
}

TEST(ImageListBoxHivescrub, ATextWithoutBarIsBothTitleAndDetail) {
  test::Host host;
  CImageListBoxHivescrub list;
  ASSERT_TRUE(list.Create(host.hwnd(), Rect(10, 10, 610, 170), kListStyle, 0, 2001));
  list.AddItem(L"Invalid file type", nullptr);
  list.AddItem(L"", nullptr);
  list.AddItem(L"Invalid file type|Invalid file type", nullptr);
  std::wstring huge(3000, L'y');
  list.AddItem((huge + L"|" + huge).c_str(), nullptr);
  test::Capture c = test::Capture::Print(list.hwnd());
  ASSERT_TRUE(c.ok());
  EXPECT_GT(test::Dark(c, Rect(16, 0, 300, 50)), 20);
  EXPECT_EQ(0, test::Differences(c, Rect(0, 0, 580, 50), c, 0, 100));
  EXPECT_EQ(0, test::Dark(c, Rect(0, 50, 580, 100)));  // the empty row
}

TEST(CheckListView, IsCreatedWithGridLinesCheckBoxesAndFullRowSelect) {
  test::Host host;
  ui::CheckListView list;
  HWND h = list.Create(host.hwnd(), Rect(8, 53, 563, 303), L"", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_VISIBLE,
                       WS_EX_CLIENTEDGE, 3001);
  ASSERT_TRUE(h);
  EXPECT_EQ(h, host.page().Item(3001));
  EXPECT_EQ(37, SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, host.hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(8, r.left);
  EXPECT_EQ(53, r.top);
  EXPECT_EQ(555, r.right - r.left);
  EXPECT_EQ(250, r.bottom - r.top);
  EXPECT_EQ(0, list.InsertColumn(0, L"Item", 210));
  EXPECT_EQ(1, list.InsertColumn(1, L"Command line", 300));
  EXPECT_EQ(nullptr, list.Create(host.hwnd(), Rect(0, 0, 10, 10), L"", LVS_REPORT, 0, 3002));  // one per object
}

TEST(CheckListView, RowsTextsAndCheckStates) {
  test::Host host;
  ui::CheckListView list;
  ASSERT_TRUE(list.Create(host.hwnd(), Rect(8, 53, 563, 303), L"", LVS_REPORT | LVS_SINGLESEL | WS_VISIBLE, 0, 3001));
  list.InsertColumn(0, L"Name", 160);
  list.InsertColumn(1, L"Path", 300);
  std::wstring longPath = L"C:\\" + std::wstring(400, L'p');
  for (const wchar_t* name : {L"one", L"two", L"three"}) {
    int row = list.AddRow(name);
    list.SetText(row, 1, longPath.c_str());
  }
  ASSERT_EQ(3, list.RowCount());
  EXPECT_EQ(L"three", list.Text(2, 0));
  EXPECT_EQ(longPath, list.Text(1, 1));
  EXPECT_EQ(L"", list.Text(7, 0));

  for (int row = 0; row < 3; ++row) EXPECT_FALSE(list.IsChecked(row));
  list.SetChecked(1, true);
  EXPECT_FALSE(list.IsChecked(0));
  EXPECT_TRUE(list.IsChecked(1));
  EXPECT_FALSE(list.IsChecked(2));
  list.SetAllChecked(true);
  for (int row = 0; row < 3; ++row) EXPECT_TRUE(list.IsChecked(row));
  list.SetAllChecked(false);
  for (int row = 0; row < 3; ++row) EXPECT_FALSE(list.IsChecked(row));

  // A click on a row's box ticks it, and the page hears of it (the list keeps no notification).
  UpdateWindow(list.hwnd());
  int changes = host.page().itemChanges;
  LVHITTESTINFO hit = {};
  RECT item = {LVIR_BOUNDS};
  SendMessageW(list.hwnd(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  for (hit.pt = POINT{item.left, (item.top + item.bottom) / 2}; hit.pt.x < item.left + 40; ++hit.pt.x) {
    SendMessageW(list.hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if (hit.flags & LVHT_ONITEMSTATEICON) break;
  }
  ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
  SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(hit.pt.x, hit.pt.y));
  SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(hit.pt.x, hit.pt.y));
  test::PumpFor(30);
  EXPECT_TRUE(list.IsChecked(2));
  EXPECT_GT(host.page().itemChanges, changes);

  list.DeleteAllRows();
  EXPECT_EQ(0, list.RowCount());
}

}  // namespace
