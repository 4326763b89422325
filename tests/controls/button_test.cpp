// The skinned button's frames as the user sees them on screen, its clicks, and the colouring of
// the skinned pages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/controls/host.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/scratch.h"
#include "ui/controls/page_colours.h"
#include "ui/controls/skin_bitmaps.h"
#include "ui/controls/skin_button.h"

namespace {

using ui::CSkinButton;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kFrames[] = {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220), RGB(90, 90, 90)};

// A strip of frames of 143 x 30, frame i in kFrames[i] with a black first column as its mark.
std::wstring Strip(const test::ScratchFolder& folder, const wchar_t* name, int frames, int frameWidth = 143) {
  std::wstring path = folder / name;
  test::WriteBitmap(path, frameWidth * frames, 30, [=](int x, int) {
    return x % frameWidth == 0 ? RGB(0, 0, 0) : kFrames[x / frameWidth];
  });
  return path;
}

// The colour in the middle of the button as the screen shows it now.
COLORREF Shown(HWND button) {
  RECT r;
  GetClientRect(button, &r);
  return test::Capture::Screen(button).At(r.right / 2, r.bottom / 2);
}

bool Shows(HWND button, COLORREF colour) {
  return test::PumpUntil([&] { return Shown(button) == colour; }, 1000);
}

class SkinButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(button.Bind(host.page().Item(1003)));
    ShowWindow(host.page().Item(1003), SW_SHOW);
  }
  HWND h() const { return button.hwnd(); }
  test::ScratchFolder folder;
  test::Host host;
  CSkinButton button;
};

TEST_F(SkinButtonTest, FrameZeroNormallyFrameOneOnHoverOrFocus) {
  ASSERT_TRUE(button.Load(Strip(folder, L"QOR_Button_Remove.bmp", 2).c_str()));
  EXPECT_EQ(2, button.frameCount());
  EXPECT_TRUE(Shows(h(), kFrames[0]));

  RECT r;
  GetWindowRect(h(), &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  EXPECT_TRUE(Shows(h(), kFrames[1]));
  SetCursorPos(r.right + 150, r.bottom + 150);  // off the button, still over the page
  EXPECT_TRUE(Shows(h(), kFrames[0]));

  SetFocus(h());
  EXPECT_TRUE(Shows(h(), kFrames[1]));
  SetFocus(host.page().Item(1006));
  EXPECT_TRUE(Shows(h(), kFrames[0]));

  // Pressed and disabled fall back to the frames a two-frame strip has.
  SendMessageW(h(), BM_SETSTATE, TRUE, 0);
  EXPECT_TRUE(Shows(h(), kFrames[1]));
  SendMessageW(h(), BM_SETSTATE, FALSE, 0);
  EnableWindow(h(), FALSE);
  EXPECT_TRUE(Shows(h(), kFrames[0]));
}

TEST_F(SkinButtonTest, AFourFrameStripHasPressedAndDisabledLooks) {
  ASSERT_TRUE(button.Load(Strip(folder, L"four.bmp", 4).c_str()));
  EXPECT_EQ(4, button.frameCount());
  SendMessageW(h(), BM_SETSTATE, TRUE, 0);
  EXPECT_TRUE(Shows(h(), kFrames[2]));
  SendMessageW(h(), BM_SETSTATE, FALSE, 0);
  EnableWindow(h(), FALSE);
  EXPECT_TRUE(Shows(h(), kFrames[3]));
}

TEST_F(SkinButtonTest, TheFrameIsCentredOnThePageBackground) {
  ASSERT_TRUE(button.Load(Strip(folder, L"one.bmp", 1, 100).c_str()));  // narrower than a frame
  EXPECT_EQ(1, button.frameCount());
  SetFocus(h());
  test::PumpFor(30);
  RECT r;
  GetClientRect(h(), &r);
  test::Capture c = test::Capture::Print(h());
  int left = (r.right - 100) / 2, top = (r.bottom - 30) / 2;
  EXPECT_EQ(RGB(0, 0, 0), c.At(left, top + 5));  // the frame's marked first column
  EXPECT_EQ(kFrames[0], c.At(left + 1, top + 5));
  EXPECT_EQ(kFrames[0], c.At(left + 99, top + 29));
  EXPECT_EQ(kWhite, c.At(left - 1, top + 5));
  EXPECT_EQ(kWhite, c.At(left + 100, top + 5));
  EXPECT_EQ(kWhite, c.At(left + 5, top - 1));
  EXPECT_EQ(kWhite, c.At(2, 2));
}

TEST_F(SkinButtonTest, WithoutItsBitmapItIsAPlainButton) {
  EXPECT_FALSE(button.Load((folder / L"missing.bmp").c_str()));
  EXPECT_EQ(0, button.frameCount());
  test::Capture c = test::Capture::Print(h());
  RECT r;
  GetClientRect(h(), &r);
  EXPECT_GT(c.Count(r, GetSysColor(COLOR_BTNFACE)), r.right * r.bottom / 2);
  EXPECT_GT(test::Dark(c, r), 10);  // the edges and the caption
}

TEST_F(SkinButtonTest, EveryPressIsAClickDoubleClicksIncluded) {
  ASSERT_TRUE(button.Load(Strip(folder, L"b.bmp", 2).c_str()));
  auto& commands = host.page().commands;
  SendMessageW(h(), BM_CLICK, 0, 0);
  LPARAM at = MAKELPARAM(10, 10);
  SendMessageW(h(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(h(), WM_LBUTTONUP, 0, at);
  SendMessageW(h(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(h(), WM_LBUTTONUP, 0, at);
  test::PumpFor(20);
  int clicks = 0;
  for (WPARAM command : commands)
    if (LOWORD(command) == 1003) {
      EXPECT_EQ(BN_CLICKED, HIWORD(command));
      ++clicks;
    }
  EXPECT_EQ(3, clicks);
  // The dialog manager's default-button style does not undo the owner drawing.
  SendMessageW(h(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(BS_OWNERDRAW, GetWindowLongPtrW(h(), GWL_STYLE) & BS_TYPEMASK);
}

TEST_F(SkinButtonTest, TheStripIsLoadedWhenFirstDrawnFromWhereItWasNamedAndShared) {
  ASSERT_TRUE(button.Load(Strip(folder, L"late.bmp", 2).c_str()));
  // Only the headers were read: a strip that changes before the first paint is drawn as it is then.
  Strip(folder, L"late.bmp", 3);
  SIZE size = {};
  ASSERT_TRUE(ui::ReadBitmapSize(folder / L"late.bmp", &size));
  EXPECT_EQ(143 * 3, size.cx);
  wchar_t before[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, before);
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
  EXPECT_TRUE(Shows(h(), kFrames[0]));
  SetCurrentDirectoryW(before);
  EXPECT_EQ(3, button.frameCount()) << "the pixels have the last word";
  // Every holder of a file draws from one bitmap, loaded again once all have let go.
  auto first = ui::SharedSkinBitmap(folder / L"late.bmp");
  auto second = ui::SharedSkinBitmap(folder / L"late.bmp");
  ASSERT_TRUE(first);
  EXPECT_EQ(first.get(), second.get());
  EXPECT_FALSE(ui::SharedSkinBitmap(folder / L"missing.bmp"));
  ASSERT_TRUE(test::WriteFile(folder / L"text.bmp", "BM but no bitmap"));
  EXPECT_FALSE(ui::ReadBitmapSize(folder / L"text.bmp", &size));
}

TEST(PageColours, WhiteBackgroundsBlackTextTransparentStatics) {
  HDC dc = CreateCompatibleDC(nullptr);
  LRESULT result = 0;
  for (UINT message : {WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN, WM_CTLCOLORLISTBOX}) {
    SetTextColor(dc, RGB(1, 2, 3));
    ASSERT_TRUE(ui::ColourPageControl(message, reinterpret_cast<WPARAM>(dc), 0, result)) << message;
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)), result);
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
    bool transparent = message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN;
    EXPECT_EQ(transparent ? TRANSPARENT : OPAQUE, GetBkMode(dc)) << message;
  }
  EXPECT_FALSE(ui::ColourPageControl(WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc), 0, result));
  EXPECT_FALSE(ui::ColourPageControl(WM_PAINT, 0, 0, result));
  DeleteDC(dc);
}

TEST(PageColours, APageAndItsControlsAreWhite) {
  test::Host host;
  HWND label = host.page().Item(1004), edit = host.page().Item(1005);
  auto area = [](HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return test::Capture::Print(window).Count(r, kWhite) * 100 / (r.right * r.bottom);
  };
  EXPECT_EQ(100, test::Capture::Print(host.hwnd()).Count(RECT{0, 0, 200, 200}, kWhite) / 400);
  EXPECT_GT(area(label), 60);
  EXPECT_GT(area(edit), 60);
  EXPECT_GT(test::Dark(test::Capture::Print(label), RECT{0, 0, 60, 12}), 5);

  host.page().colour = false;  // the same page uncoloured is not white
  InvalidateRect(host.hwnd(), nullptr, TRUE);
  EXPECT_LT(test::Capture::Print(host.hwnd()).Count(RECT{0, 0, 200, 200}, kWhite), 100);
}

}  // namespace
