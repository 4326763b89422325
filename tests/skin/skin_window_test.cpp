// The skinned frame: the theme reader, the slices, the hit-test table, the painted frame, the
// window region, the frame buttons, maximize, restore and minimize, and bad themes.
#include "ui/skin/skin_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/skin/skin_files.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "ui/skin/skin_manager.h"
#include "ui/window.h"

namespace {

const COLORREF kMask = RGB(255, 0, 255);
// Active and inactive colours of each part of the test theme.
const COLORREF kCapLeft[] = {RGB(200, 0, 0), RGB(100, 0, 0)};
const COLORREF kMiddle[] = {RGB(0, 0, 200), RGB(0, 0, 100)};
const COLORREF kCapRight[] = {RGB(0, 200, 200), RGB(0, 100, 100)};
const COLORREF kLeft[] = {RGB(10, 120, 10), RGB(10, 60, 10)};
const COLORREF kRight[] = {RGB(120, 120, 10), RGB(60, 60, 10)};
const COLORREF kBottom[] = {RGB(120, 10, 120), RGB(60, 10, 60)};
// Button cells: normal, pressed, hover.
const COLORREF kCell[] = {RGB(20, 20, 20), RGB(40, 40, 40), RGB(60, 60, 60)};
const COLORREF kMinimizeCell = RGB(90, 90, 90);

constexpr int T = 20, L = 4, R = 4, B = 4;
constexpr int kCellW = 16, kCellH = 12;

// A theme with a 60-pixel title (caps of 10), 4-pixel borders, and close, minimize, maximize and
// restore buttons 16 x 12 at 20, 40 and 60 pixels from the right edge. The title's first two
// columns of its top row, and the left border's top-left pixel, have the mask colour.
void WriteTestTheme(skin_test::ThemeFolder& theme, const std::string& extra = std::string()) {
  test::WriteBitmap(theme.Common(L"title.bmp"), 60, 2 * T, [](int x, int y) {
    int v = y / T;
    if (y == 0 && x < 2) return kMask;
    return x < 10 ? kCapLeft[v] : x < 50 ? kMiddle[v] : kCapRight[v];
  });
  test::WriteBitmap(theme.Common(L"left.bmp"), 2 * L, 40, [](int x, int y) {
    return x == 0 && y == 0 ? kMask : kLeft[x / L];
  });
  test::WriteBitmap(theme.Common(L"right.bmp"), 2 * R, 40, [](int x, int) { return kRight[x / R]; });
  test::WriteBitmap(theme.Common(L"bottom.bmp"), 60, 2 * B, [](int, int y) { return kBottom[y / B]; });
  test::WriteBitmap(theme.Common(L"close.bmp"), 3 * kCellW, 2 * kCellH,
                         [](int x, int) { return kCell[x / kCellW]; });
  test::WriteBitmap(theme.Common(L"min.bmp"), 3 * kCellW, 2 * kCellH, [](int, int) { return kMinimizeCell; });
  test::WriteBitmap(theme.Common(L"max.bmp"), 3 * kCellW, 2 * kCellH, [](int, int) { return RGB(0, 90, 0); });
  test::WriteBitmap(theme.Common(L"restore.bmp"), 3 * kCellW, 2 * kCellH,
                         [](int, int) { return RGB(0, 0, 90); });
  theme.WriteTheme(
      "[General]\r\nColorMask=255,0,255\r\nTextShift=200\r\n"
      "[FrameParams]\r\nTitle=title.bmp\r\nLeftBorder=left.bmp\r\nRightBorder=right.bmp\r\nBottomBorder=bottom.bmp\r\n"
      "TopTopHeight=10\r\nTopBotHeight=10\r\nButtonCount=4\r\nButtonImgCount=3\r\n"
      "[FrameButton0]\r\nButtonImage=close.bmp\r\nType=0\r\nXCoord=20\r\nYCoord=4\r\n"
      "[FrameButton1]\r\nButtonImage=min.bmp\r\nType=2\r\nXCoord=40\r\nYCoord=4\r\n"
      "[FrameButton2]\r\nButtonImage=max.bmp\r\nType=1\r\nXCoord=60\r\nYCoord=4\r\n"
      "[FrameButton3]\r\nButtonImage=restore.bmp\r\nType=1\r\nXCoord=60\r\nYCoord=4\r\n" +
      extra);
}

// A top-level window that records WM_CLOSE instead of closing.
class Host : public ui::Window {
 public:
  int closes = 0;
  HWND Make(DWORD style, int width = 300, int height = 200) {
    RegisterClass(L"LumaspanSkinTestHost");
    HWND h = CreateEx(0, L"LumaspanSkinTestHost", L"", style, 100, 100, width, height, nullptr, nullptr);
    return h;
  }

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message == WM_CLOSE) {
      ++closes;
      result = 0;
      return true;
    }
    if (message == WM_ERASEBKGND) {
      RECT r;
      GetClientRect(hwnd(), &r);
      ui::WindowDC dc(hwnd());
      FillRect(dc.get(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      result = TRUE;
      return true;
    }
    return false;
  }
};

constexpr DWORD kFullStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

class SkinnedWindow : public testing::Test {
 protected:
  void Open(DWORD style = kFullStyle) {
    WriteTestTheme(theme_);
    ASSERT_TRUE(host_.Make(style));
    ASSERT_TRUE(skin_.Attach(host_.hwnd()));
    ShowWindow(host_.hwnd(), SW_SHOW);
    SetForegroundWindow(host_.hwnd());
    test::PumpFor(100);
    SendMessageW(host_.hwnd(), WM_NCACTIVATE, TRUE, 0);
  }
  LRESULT Hit(int x, int y) { return skin_.HitTest(POINT{x, y}); }
  COLORREF At(int x, int y) {
    RECT w;
    GetWindowRect(host_.hwnd(), &w);
    skin_.RedrawFrame();
    test::PumpFor(20);  // the drawing reaches the screen when the thread looks at its messages
    test::Capture c = test::Capture::ScreenRect(w);
    return c.At(x, y);
  }
  skin_test::ThemeFolder theme_;
  Host host_;
  CXuSkinWindow skin_;
};

TEST(SkinSlice, CapsAndTheTiledMiddle) {
  CXuSkinWindow::Slice s = CXuSkinWindow::MakeSlice(60, 10, 10);
  EXPECT_EQ(10, s.capEnd);
  EXPECT_EQ(50, s.capStart);
  s = CXuSkinWindow::MakeSlice(60, 10, 50);  // second cap = width - first cap: one pixel of middle
  EXPECT_EQ(10, s.capEnd);
  EXPECT_EQ(11, s.capStart);
  s = CXuSkinWindow::MakeSlice(60, 40, 40);  // overlapping caps: still one pixel of middle
  EXPECT_EQ(40, s.capEnd);
  EXPECT_EQ(41, s.capStart);
  s = CXuSkinWindow::MakeSlice(60, 0, 0);  // no caps: all middle
  EXPECT_EQ(0, s.capEnd);
  EXPECT_EQ(60, s.capStart);
  s = CXuSkinWindow::MakeSlice(60, 500, -7);  // nonsense stays inside the image
  EXPECT_EQ(59, s.capEnd);
  EXPECT_EQ(60, s.capStart);
  s = CXuSkinWindow::MakeSlice(0, 10, 10);
  EXPECT_EQ(0, s.capEnd);
  EXPECT_EQ(0, s.capStart);
}

TEST(SkinManager, ImagePathsAreUnderResCommonAndMustFit) {
  skin_test::ThemeFolder theme;
  theme.WriteTheme("[P]\r\nShort=frame.bmp\r\nLong=" + std::string(260, 'x') + ".bmp\r\nEmpty=\r\n");
  const CSkinManager& skin = CSkinManager::GetInstance();
  wchar_t path[CSkinManager::kPathChars];
  EXPECT_TRUE(skin.GetImagePath(L"P", L"Short", path));
  EXPECT_STREQ(L"Res\\Common\\frame.bmp", path);
  EXPECT_FALSE(skin.GetImagePath(L"P", L"Long", path));
  EXPECT_STREQ(L"", path);
  EXPECT_FALSE(skin.GetImagePath(L"P", L"Empty", path));
  EXPECT_FALSE(skin.GetImagePath(L"P", L"Missing", path));
  wchar_t small[12];
  EXPECT_FALSE(skin.GetImagePath(L"P", L"Short", small, 12));  // "Res\Common\frame.bmp" needs 21
  EXPECT_STREQ(L"", small);
}

TEST_F(SkinnedWindow, ReadsTheThemesMetricsAndFramesTheClientArea) {
  Open();
  EXPECT_TRUE(skin_.ThemeComplete());
  EXPECT_EQ(T, skin_.TitleHeight());
  EXPECT_EQ(L, skin_.LeftWidth());
  EXPECT_EQ(R, skin_.RightWidth());
  EXPECT_EQ(B, skin_.BottomHeight());
  EXPECT_EQ(10, skin_.TitleSlice().capEnd);
  EXPECT_EQ(50, skin_.TitleSlice().capStart);
  RECT window, client;
  GetWindowRect(host_.hwnd(), &window);
  GetClientRect(host_.hwnd(), &client);
  EXPECT_EQ(300 - L - R, client.right);
  EXPECT_EQ(200 - T - B, client.bottom);
  LONG style = GetWindowLongW(host_.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  skin_.SetClientSize(500, 300);
  GetWindowRect(host_.hwnd(), &window);
  EXPECT_EQ(500 + L + R, window.right - window.left);
  EXPECT_EQ(300 + T + B, window.bottom - window.top);
  MINMAXINFO info = {};
  SendMessageW(host_.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(1, info.ptMinTrackSize.x);
  EXPECT_EQ(1, info.ptMinTrackSize.y);
}

TEST_F(SkinnedWindow, HitTestTable) {
  Open();
  const int W = 300, H = 200;
  EXPECT_EQ(HTCLOSE, Hit(W - 20, 4));                 // left and top edges are inside
  EXPECT_EQ(HTCLOSE, Hit(W - 20 + kCellW - 1, 4 + kCellH - 1));
  EXPECT_EQ(HTCAPTION, Hit(W - 20, 4 + kCellH));      // just below the button
  EXPECT_EQ(HTMINBUTTON, Hit(W - 40, 10));
  EXPECT_EQ(HTMAXBUTTON, Hit(W - 60 + kCellW - 1, 10));
  EXPECT_EQ(HTCAPTION, Hit(W - 60 + kCellW, 10));     // between two buttons
  EXPECT_EQ(HTSYSMENU, Hit(L, 5));
  EXPECT_EQ(HTCAPTION, Hit(L + GetSystemMetrics(SM_CXSMICON), 5));
  EXPECT_EQ(HTTOPLEFT, Hit(0, 0));
  EXPECT_EQ(HTTOPLEFT, Hit(L - 1, T - 1));
  EXPECT_EQ(HTTOPRIGHT, Hit(W - 1, 0));
  EXPECT_EQ(HTBOTTOMLEFT, Hit(0, H - 1));
  EXPECT_EQ(HTBOTTOMRIGHT, Hit(W - 1, H - 1));
  EXPECT_EQ(HTLEFT, Hit(0, 100));
  EXPECT_EQ(HTRIGHT, Hit(W - 1, 100));
  EXPECT_EQ(HTBOTTOM, Hit(150, H - 1));
  EXPECT_EQ(HTTOP, Hit(150, B - 1));
  EXPECT_EQ(HTCLIENT, Hit(150, B));  // between the top edge band and the caption
  EXPECT_EQ(HTCAPTION, Hit(150, 5));
  EXPECT_EQ(HTCAPTION, Hit(W - R - 1, T - 1));
  EXPECT_EQ(HTCLIENT, Hit(150, T));
  EXPECT_EQ(HTCLIENT, Hit(150, 100));
}

TEST_F(SkinnedWindow, WithoutThickFrameOrBoxesTheEdgesAndButtonsDoNotAnswer) {
  Open(WS_POPUP | WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(HTCLOSE, Hit(300 - 20, 4));
  EXPECT_EQ(HTCAPTION, Hit(300 - 40, 10));  // minimize image shown, but the window has no box
  EXPECT_EQ(HTCAPTION, Hit(300 - 60, 10));
  EXPECT_EQ(HTCLIENT, Hit(0, 0));
  EXPECT_EQ(HTCLIENT, Hit(0, 100));
  EXPECT_EQ(HTCLIENT, Hit(150, 199));
  EXPECT_EQ(kMinimizeCell, At(300 - 40 + 2, 6));  // still drawn
  SendMessageW(host_.hwnd(), WM_NCLBUTTONUP, HTCAPTION, 0);
  EXPECT_EQ(CXuSkinWindow::kNormal, skin_.GetState());
  EXPECT_FALSE(IsIconic(host_.hwnd()));
}

TEST_F(SkinnedWindow, PaintsTheFrameFromTheSlices) {
  Open();
  const int W = 300, H = 200;
  EXPECT_EQ(kCapLeft[0], At(L + 5, 1));
  EXPECT_EQ(kMiddle[0], At(150, 1));
  EXPECT_EQ(kMiddle[0], At(W - R - 11, 1));  // the tiled middle reaches the right cap: no gap
  EXPECT_EQ(kCapRight[0], At(W - R - 10, 1));
  EXPECT_EQ(kCapRight[0], At(W - R - 1, 1));
  EXPECT_EQ(kLeft[0], At(1, 100));
  EXPECT_EQ(kRight[0], At(W - 2, 100));
  EXPECT_EQ(kBottom[0], At(150, H - 2));
  EXPECT_EQ(kCell[0], At(W - 20 + 3, 8));
  // Inactive: the second variant of every image.
  SendMessageW(host_.hwnd(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(skin_.IsActive());
  EXPECT_EQ(kMiddle[1], At(150, 1));
  EXPECT_EQ(kLeft[1], At(1, 100));
  EXPECT_EQ(kBottom[1], At(150, H - 2));
}

TEST_F(SkinnedWindow, AMiddleSliceOfOnePixelStillFillsTheTitle) {
  WriteTestTheme(theme_, "[FrameParams]\r\n");
  test::WriteBitmap(theme_.Common(L"title.bmp"), 21, 2 * T, [](int x, int y) {
    return x < 10 ? kCapLeft[y / T] : x == 10 ? kMiddle[y / T] : kCapRight[y / T];
  });
  theme_.WriteTheme(
      "[FrameParams]\r\nTitle=title.bmp\r\nLeftBorder=left.bmp\r\nRightBorder=right.bmp\r\n"
      "BottomBorder=bottom.bmp\r\nTopTopHeight=10\r\nTopBotHeight=11\r\n");
  ASSERT_TRUE(host_.Make(kFullStyle));
  ASSERT_TRUE(skin_.Attach(host_.hwnd()));
  ShowWindow(host_.hwnd(), SW_SHOW);
  test::PumpFor(100);
  EXPECT_EQ(11, skin_.TitleSlice().capStart);
  EXPECT_EQ(kMiddle[0], At(150, 1));
  EXPECT_EQ(kMiddle[0], At(300 - R - 11, 1));
  EXPECT_EQ(kCapRight[0], At(300 - R - 10, 1));
}

TEST_F(SkinnedWindow, TheMaskColourOfTheTitleIsSeeThrough) {
  Open();
  ui::Region region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, GetWindowRgn(host_.hwnd(), region.get()));
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));      // the left border's corner
  EXPECT_FALSE(PtInRegion(region.get(), L, 0));      // the title's first two columns
  EXPECT_FALSE(PtInRegion(region.get(), L + 1, 0));
  EXPECT_TRUE(PtInRegion(region.get(), L + 2, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 1, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 0, 1));
  EXPECT_TRUE(PtInRegion(region.get(), 150, 100));
  EXPECT_TRUE(PtInRegion(region.get(), 299, 199));
  EXPECT_FALSE(PtInRegion(region.get(), 300, 100));
  // After a change of size the region follows.
  SetWindowPos(host_.hwnd(), nullptr, 0, 0, 400, 250, SWP_NOMOVE | SWP_NOZORDER);
  ASSERT_NE(ERROR, GetWindowRgn(host_.hwnd(), region.get()));
  EXPECT_TRUE(PtInRegion(region.get(), 399, 249));
  EXPECT_FALSE(PtInRegion(region.get(), L, 0));
}

TEST_F(SkinnedWindow, CloseActsWhereTheButtonIsReleased) {
  Open();
  SendMessageW(host_.hwnd(), WM_NCLBUTTONDOWN, HTCLOSE, 0);
  EXPECT_EQ(kCell[1], At(300 - 20 + 3, 8));  // pressed look
  SendMessageW(host_.hwnd(), WM_NCLBUTTONUP, HTCAPTION, 0);
  EXPECT_EQ(0, host_.closes);
  SendMessageW(host_.hwnd(), WM_NCMOUSEMOVE, HTCLOSE, 0);
  EXPECT_EQ(kCell[2], At(300 - 20 + 3, 8));  // hover look
  SendMessageW(host_.hwnd(), WM_NCLBUTTONUP, HTCLOSE, 0);
  EXPECT_EQ(1, host_.closes);
  EXPECT_EQ(kCell[0], At(300 - 20 + 3, 8));
}

TEST_F(SkinnedWindow, MaximizeRestoreAndMinimize) {
  Open();
  RECT before, now, work;
  GetWindowRect(host_.hwnd(), &before);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

  SendMessageW(host_.hwnd(), WM_NCLBUTTONUP, HTMAXBUTTON, 0);
  EXPECT_EQ(CXuSkinWindow::kMaximized, skin_.GetState());
  GetWindowRect(host_.hwnd(), &now);
  EXPECT_TRUE(EqualRect(&now, &work));
  EXPECT_EQ(HTCLIENT, Hit(0, 100));  // no resizing edges while maximized
  const int W = work.right - work.left;
  EXPECT_EQ(RGB(0, 0, 90), At(W - 60 + 2, 6));  // the restore image replaces maximize

  SendMessageW(host_.hwnd(), WM_NCLBUTTONUP, HTMAXBUTTON, 0);
  EXPECT_EQ(CXuSkinWindow::kNormal, skin_.GetState());
  GetWindowRect(host_.hwnd(), &now);
  EXPECT_TRUE(EqualRect(&now, &before));

  SendMessageW(host_.hwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(CXuSkinWindow::kMaximized, skin_.GetState());
  SendMessageW(host_.hwnd(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_EQ(CXuSkinWindow::kNormal, skin_.GetState());

  SendMessageW(host_.hwnd(), WM_NCLBUTTONUP, HTMINBUTTON, 0);
  EXPECT_EQ(CXuSkinWindow::kMinimized, skin_.GetState());
  EXPECT_TRUE(IsIconic(host_.hwnd()));
  SendMessageW(host_.hwnd(), WM_COMMAND, SC_RESTORE, 0);  // from the system menu
  EXPECT_FALSE(IsIconic(host_.hwnd()));
  EXPECT_EQ(CXuSkinWindow::kNormal, skin_.GetState());
  GetWindowRect(host_.hwnd(), &now);
  EXPECT_TRUE(EqualRect(&now, &before));
}

TEST_F(SkinnedWindow, SystemMenuCommands) {
  Open();
  SendMessageW(host_.hwnd(), WM_COMMAND, SC_MAXIMIZE, 0);
  EXPECT_EQ(CXuSkinWindow::kNormal, skin_.GetState());
  SendMessageW(host_.hwnd(), WM_COMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(IsIconic(host_.hwnd()));
  SendMessageW(host_.hwnd(), WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(IsIconic(host_.hwnd()));
  SendMessageW(host_.hwnd(), WM_COMMAND, SC_CLOSE, 0);
  test::PumpUntil([&] { return host_.closes > 0; }, 1000);
  EXPECT_EQ(1, host_.closes);
}

TEST_F(SkinnedWindow, DetachGivesTheWindowBack) {
  Open();
  skin_.Detach();
  EXPECT_TRUE(GetWindowLongW(host_.hwnd(), GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_EQ(HTCLIENT, SendMessageW(host_.hwnd(), WM_NCHITTEST, 0, MAKELPARAM(250, 250)));
  ui::Region region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(ERROR, GetWindowRgn(host_.hwnd(), region.get()));
  // The system's frame again.
  RECT client, frame = {0, 0, 0, 0};
  GetClientRect(host_.hwnd(), &client);
  AdjustWindowRectEx(&frame, GetWindowLongW(host_.hwnd(), GWL_STYLE), FALSE,
                     GetWindowLongW(host_.hwnd(), GWL_EXSTYLE));
  EXPECT_EQ(200 - (frame.bottom - frame.top), client.bottom);
  DestroyWindow(host_.hwnd());
}

TEST(SkinTheme, AMissingThemeGivesDefaultsAndNoFrame) {
  skin_test::ThemeFolder theme;  // no theme.ini
  Host host;
  ASSERT_TRUE(host.Make(kFullStyle));
  CXuSkinWindow skin;
  ASSERT_TRUE(skin.Attach(host.hwnd()));
  EXPECT_EQ(0, skin.TitleHeight());
  EXPECT_EQ(RGB(255, 0, 255), skin.MaskColor());
  RECT window, client;
  GetWindowRect(host.hwnd(), &window);
  GetClientRect(host.hwnd(), &client);
  EXPECT_EQ(window.right - window.left, client.right);
  ShowWindow(host.hwnd(), SW_SHOW);
  skin.RedrawFrame();
  EXPECT_EQ(HTCLIENT, skin.HitTest(POINT{100, 100}));
  EXPECT_EQ(HTSYSMENU, skin.HitTest(POINT{0, 5}));  // the icon's place stays
  EXPECT_FALSE(CXuSkinWindow().Attach(host.hwnd()));  // one skin per window
}

TEST(SkinTheme, ABrokenThemeLoadsWhatItCanAndNeverOverflows) {
  skin_test::ThemeFolder theme;
  test::WriteBitmap(theme.Common(L"left.bmp"), 8, 40, [](int, int) { return RGB(1, 2, 3); });
  test::WriteBitmap(theme.Common(L"close.bmp"), 30, 20, [](int, int) { return RGB(4, 5, 6); });
  theme.WriteTheme(
      "garbage without a section\r\n\x01\x02\xff\xfe\r\n[General]\r\nColorMask=123456789012345678901234567890,1,2,3,4\r\n"
      "[FrameParams]\r\nTitle=" + std::string(300, 'T') + ".bmp\r\nLeftBorder=left.bmp\r\n"
      "RightBorder=right.png\r\nBottomBorder=missing.bmp\r\nTopTopHeight=99999999999\r\n"
      "ButtonCount=100000\r\nButtonImgCount=0\r\n"
      "[FrameButton0]\r\nButtonImage=close.bmp\r\nType=0\r\nXCoord=40\r\nYCoord=2\r\n");
  Host host;
  ASSERT_TRUE(host.Make(kFullStyle));
  CXuSkinWindow skin;
  ASSERT_TRUE(skin.Attach(host.hwnd()));
  EXPECT_FALSE(skin.ThemeComplete());
  EXPECT_EQ(L, skin.LeftWidth());
  EXPECT_EQ(0, skin.TitleHeight());
  EXPECT_EQ(0, skin.RightWidth());
  EXPECT_EQ(RGB(21, 1, 2), skin.MaskColor());  // the first nine digits of a part: 123456789 & 0xFF
  ShowWindow(host.hwnd(), SW_SHOW);
  skin.RedrawFrame();
  // Zero cells per button image reads as one: the close button is the whole image.
  EXPECT_EQ(HTCLOSE, skin.HitTest(POINT{300 - 40 + 29, 2}));
}

}  // namespace
