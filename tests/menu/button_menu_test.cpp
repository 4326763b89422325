// The button menu: its geometry and open-interval hit tests, the commands it sends, the remembered
// selection, the pressed and hover looks, the lock, and what it paints.
#include "ui/menu/button_menu.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "ui/gdiplus.h"

namespace {

constexpr UINT kBase = 60000;
constexpr int H = 26;

// The parent: records the commands the menu sends.
class Parent : public ui::Window {
 public:
  std::vector<UINT> commands;

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message >= kBase && message < kBase + 1000) {
      commands.push_back(message);
      result = 0;
      return true;
    }
    return false;
  }
};

const wchar_t* const kHeaders[] = {L"Clean", L"Optimize", L"Backup", L"Options"};
const wchar_t* const kItems[] = {L"Hivescrub", L"Litterbin", L"Tracewipe", L"Erasemill", L"Bootlist",
                                 L"Addonward", L"Corebrisk", L"Taskbrisk", L"Hivesafe",  L"Bookvault"};
const int kItemGroups[] = {0, 0, 0, 0, 1, 1, 1, 1, 2, 2};

std::wstring Image(const wchar_t* stem, const wchar_t* state) {
  return std::wstring(L"C:\\Lumaspan\\Res\\Menu\\QOR_Button_") + stem + state;
}

class Menu : public testing::Test {
 protected:
  void SetUp() override {
    ui::Window::RegisterClass(L"LumaspanMenuTestParent");
    ASSERT_TRUE(parent_.CreateEx(0, L"LumaspanMenuTestParent", L"", WS_POPUP | WS_VISIBLE, 50, 50, 300, 500, nullptr,
                                 nullptr));
    HWND control = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent_.hwnd(), nullptr,
                                   nullptr, nullptr);
    ASSERT_TRUE(menu_.Subclass(control));
    menu_.SetSize(201, 432);
    MoveWindow(control, 5, 20, 201, 432, TRUE);
    const int counts[] = {4, 4, 2, 0};
    for (int g = 0; g < 4; ++g) menu_.AddGroup(g, counts[g]);
    for (const wchar_t* h : kHeaders) {
      menu_.AddGroupImages(Image(h, L"_Normal.png").c_str(), Image(h, L"_Down.png").c_str(),
                           Image(h, L"_Over.png").c_str());
    }
    for (int i = 0; i < 10; ++i) {
      menu_.AddItemImages(kItemGroups[i], Image(kItems[i], L"_Normal.png").c_str(),
                          Image(kItems[i], L"_Down.png").c_str(), Image(kItems[i], L"_Over.png").c_str());
    }
    menu_.LoadImages();
    menu_.SetMetrics(H, H, 201);
    menu_.SetBaseMessage(kBase);
  }

  void Down(int y) { SendMessageW(menu_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, y)); }
  void Up(int y) { SendMessageW(menu_.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(50, y)); }
  void Move(int y) { SendMessageW(menu_.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(50, y)); }
  void Click(int y) {
    Down(y);
    Up(y);
  }
  // The menu as it paints now.
  test::Capture Painted() { return test::Capture::Print(menu_.hwnd()); }
  // The colour of a pixel of a skin image.
  static COLORREF ImagePixel(const std::wstring& path, int x, int y) {
    ui::GpBitmap image = ui::LoadBitmapFile(path.c_str());
    Gdiplus::Color c;
    image->GetPixel(x, y, &c);
    return RGB(c.GetR(), c.GetG(), c.GetB());
  }

  Parent parent_;
  CButtonMenu menu_;
};

TEST_F(Menu, GeometryUsesOpenIntervals) {
  // Group 0 expanded: header 0 at 0-26, items at 26-130, headers 1-3 at 130-208.
  EXPECT_FALSE(menu_.InHeader(0, 0));
  EXPECT_TRUE(menu_.InHeader(0, 1));
  EXPECT_TRUE(menu_.InHeader(0, 25));
  EXPECT_FALSE(menu_.InHeader(0, 26));
  EXPECT_FALSE(menu_.InItem(0, 26));
  EXPECT_TRUE(menu_.InItem(0, 27));
  EXPECT_TRUE(menu_.InItem(3, 129));
  EXPECT_FALSE(menu_.InItem(3, 130));
  EXPECT_FALSE(menu_.InItem(4, 140));  // group 0 has four items
  EXPECT_EQ(130, menu_.HeaderTop(1));
  EXPECT_TRUE(menu_.InHeader(1, 131));
  EXPECT_EQ(182, menu_.HeaderTop(3));
}

TEST_F(Menu, ClicksSendHeaderAndItemCommands) {
  Click(26);  // the boundary between header 0 and item 0: nothing
  EXPECT_TRUE(parent_.commands.empty());
  Click(H + 2 * H + 10);  // item 2 of group 0
  ASSERT_EQ(1u, parent_.commands.size());
  EXPECT_EQ(kBase + 100 + 3, parent_.commands.back());
  EXPECT_EQ(2, menu_.SelectedItem());

  // Header of group 1, pushed down by group 0's four items.
  Down(H + 4 * H + 10);
  EXPECT_EQ(kBase + 200, parent_.commands.back());
  EXPECT_EQ(1, menu_.CurrentGroup());
  EXPECT_FALSE(menu_.HeaderPressed());  // it moved up as its group opened
  EXPECT_EQ(-1, menu_.SelectedItem());
  Up(H + 4 * H + 10);

  Click(2 * H + 3 * H + 5);  // item 3 of group 1 (items now start under header 1)
  EXPECT_EQ(kBase + 200 + 4, parent_.commands.back());
  Down(10);  // header 0, above the current group: pressed look
  EXPECT_EQ(kBase + 100, parent_.commands.back());
  EXPECT_TRUE(menu_.HeaderPressed());
  Up(10);
  EXPECT_FALSE(menu_.HeaderPressed());
  Click(2 * H + 1);  // the clicked header re-sends its command
  EXPECT_EQ(0, menu_.CurrentGroup());
}

TEST_F(Menu, AGroupWithoutItemsForgetsTheRememberedItem) {
  Click(H + 1 * H + 10);  // item 1 of group 0
  EXPECT_EQ(0, menu_.RememberedGroup());
  EXPECT_EQ(1, menu_.RememberedItem());
  Click(H + 4 * H + 10);      // header 1, below group 0's items
  Click(2 * H + 2 * H + 10);  // item 2 of group 1
  EXPECT_EQ(1, menu_.RememberedGroup());
  EXPECT_EQ(2, menu_.RememberedItem());
  Down(3 * H + 4 * H + 10);  // header 3 (no items), below group 1's items
  EXPECT_EQ(kBase + 400, parent_.commands.back());
  EXPECT_FALSE(menu_.HeaderPressed());
  EXPECT_EQ(-1, menu_.RememberedGroup());
  EXPECT_EQ(-1, menu_.RememberedItem());
  Up(3 * H + 10);
  Down(10);  // back to group 0: no item marked; header 0 lies above, so it looks pressed
  EXPECT_TRUE(menu_.HeaderPressed());
  EXPECT_EQ(-1, menu_.SelectedItem());
  EXPECT_EQ(-1, menu_.RememberedItem());
}

TEST_F(Menu, AHeaderBelowAGroupWithoutItemsLooksPressed) {
  // Group 0 has no items, so the header of group 1 does not move when it opens.
  CButtonMenu menu;
  HWND control = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 210, 0, 50, 200, parent_.hwnd(), nullptr,
                                 nullptr, nullptr);
  ASSERT_TRUE(menu.Subclass(control));
  menu.SetSize(50, 200);
  menu.AddGroup(0, 0);
  menu.AddGroup(1, 2);
  menu.LoadImages();
  menu.SetMetrics(H, H, 50);
  SendMessageW(control, WM_LBUTTONDOWN, 0, MAKELPARAM(10, H + 10));
  EXPECT_EQ(kBase + 200, parent_.commands.back());
  EXPECT_TRUE(menu.HeaderPressed());
}

TEST_F(Menu, HoverAndCursor) {
  Move(10);
  EXPECT_EQ(0, menu_.HoveredHeader());
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  Move(H + 10);
  EXPECT_EQ(0, menu_.HoveredItem());
  EXPECT_EQ(-1, menu_.HoveredHeader());
  Move(H + 4 * H + 10);
  EXPECT_EQ(1, menu_.HoveredHeader());
  EXPECT_EQ(-1, menu_.HoveredItem());
  Move(4 * H + 4 * H - 1);  // the last pixel of the last header
  EXPECT_EQ(3, menu_.HoveredHeader());
  EXPECT_EQ(LoadCursorW(nullptr, IDC_HAND), GetCursor());
  Move(4 * H + 4 * H);  // below every button
  EXPECT_EQ(-1, menu_.HoveredHeader());
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
  Move(0);
  EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
  // Leaving the menu clears the hover look.
  Move(10);
  SendMessageW(menu_.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, menu_.HoveredHeader());
}

TEST_F(Menu, PressedLooksClearWhenThePointerLeavesTheButton) {
  Down(H + 10);
  EXPECT_TRUE(menu_.ItemPressed());
  Move(H + H + 10);  // onto the next item
  EXPECT_FALSE(menu_.ItemPressed());
  Down(10);
  EXPECT_TRUE(menu_.HeaderPressed());
  Move(H + 10);
  EXPECT_FALSE(menu_.HeaderPressed());
}

TEST_F(Menu, ALockedMenuChangesNothingAndSendsNothing) {
  Move(10);
  menu_.SetLocked(true);
  Click(H + 2 * H + 10);
  Click(H + 4 * H + 10);
  Move(H + 10);
  SendMessageW(menu_.hwnd(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(50, 10));
  SendMessageW(menu_.hwnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(50, H + 10));
  EXPECT_TRUE(parent_.commands.empty());
  EXPECT_EQ(0, menu_.CurrentGroup());
  EXPECT_EQ(-1, menu_.SelectedItem());
  EXPECT_EQ(0, menu_.HoveredHeader());  // the hover from before the lock
  SendMessageW(menu_.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, menu_.HoveredHeader());  // leaving still clears it
  menu_.SetLocked(false);
  SendMessageW(menu_.hwnd(), WM_RBUTTONDOWN, 0, MAKELPARAM(50, H + 10));  // the right button clicks too
  ASSERT_EQ(1u, parent_.commands.size());
  EXPECT_EQ(kBase + 101, parent_.commands[0]);
}

TEST_F(Menu, PostGroupCommandPostsToTheParent) {
  menu_.PostGroupCommand(1);
  EXPECT_TRUE(parent_.commands.empty());
  test::PumpFor(50);
  ASSERT_EQ(1u, parent_.commands.size());
  EXPECT_EQ(kBase + 100, parent_.commands[0]);
}

TEST_F(Menu, PaintsItsImagesForEachState) {
  test::Capture c = Painted();
  ASSERT_TRUE(c.ok());
  // The current group's header shows its down image, the others their normal image.
  EXPECT_EQ(ImagePixel(Image(L"Clean", L"_Down.png"), 100, 13), c.At(100, 13));
  EXPECT_EQ(ImagePixel(Image(L"Optimize", L"_Normal.png"), 100, 13), c.At(100, 5 * H + 13));
  EXPECT_EQ(ImagePixel(Image(L"Hivescrub", L"_Normal.png"), 190, 13), c.At(190, H + 13));
  // Below the buttons: white, in the accent frame.
  EXPECT_EQ(RGB(255, 255, 255), c.At(100, 300));
  EXPECT_EQ(RGB(0, 141, 66), c.At(0, 300));
  EXPECT_EQ(RGB(0, 141, 66), c.At(200, 431));

  Move(2 * H + 13);  // hover item 1
  c = Painted();
  EXPECT_EQ(ImagePixel(Image(L"Litterbin", L"_Over.png"), 190, 13), c.At(190, 2 * H + 13));

  Down(3 * H + 13);  // press item 2: accent behind the down image shifted by (2, 2)
  c = Painted();
  EXPECT_EQ(RGB(0, 141, 66), c.At(1, 3 * H + 1));
  EXPECT_EQ(ImagePixel(Image(L"Tracewipe", L"_Down.png"), 150, 11), c.At(152, 3 * H + 13));
  Up(3 * H + 13);
  SendMessageW(menu_.hwnd(), WM_MOUSELEAVE, 0, 0);
  c = Painted();
  EXPECT_EQ(ImagePixel(Image(L"Tracewipe", L"_Down.png"), 190, 13), c.At(190, 3 * H + 13));  // still marked
}

TEST_F(Menu, MissingImagesDrawNothing) {
  CButtonMenu bare;
  HWND control = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 210, 0, 50, 100, parent_.hwnd(), nullptr,
                                 nullptr, nullptr);
  ASSERT_TRUE(bare.Subclass(control));
  bare.SetSize(50, 100);
  bare.AddGroup(0, 1);
  bare.AddGroupImages(L"C:\\nowhere\\a.png", L"", L"C:\\nowhere\\c.png");
  bare.AddItemImages(0, L"", L"", L"");
  bare.LoadImages();
  bare.SetMetrics(H, H, 50);
  test::Capture c = test::Capture::Print(control);
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(RGB(255, 255, 255), c.At(25, 13));
  SendMessageW(control, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 13));
  EXPECT_EQ(kBase + 100, parent_.commands.back());
}

}  // namespace
