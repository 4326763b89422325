// The main window with its real resources, skin and menu: start-up, page switching and the reset
// rules, the menu lock, the links, painting, and closing.
#include "app/main_dlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/plain_page.h"
#include "contracts/messages.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"
#include "tests/support/scratch.h"
#include "ui/gdiplus.h"

namespace {

// What happened to the pages of one test.
struct PageLog {
  int made = 0;
  int destroyed = 0;
  std::map<ui::Page*, int> resets;
};
PageLog* g_log = nullptr;

class RecordingPage : public CPlainPage {
 public:
  RecordingPage() { ++g_log->made; }
  ~RecordingPage() override { ++g_log->destroyed; }
  void ResetToStart() override { ++g_log->resets[this]; }
};

// The program's table with pages that record what is done to them.
class RecordingTable {
 public:
  RecordingTable() {
    PageTable real = DefaultPageTable();
    slots_.assign(real.slots, real.slots + real.count);
    for (PageSlot& slot : slots_) slot.create = &MakePage<RecordingPage>;
  }
  PageTable table() const { return PageTable{slots_.data(), slots_.size()}; }

 private:
  std::vector<PageSlot> slots_;
};

class TestMainDlg : public CMainDlg {
 public:
  explicit TestMainDlg(PageTable table) : CMainDlg(table) {}
  std::vector<std::wstring> opened;
  int abouts = 0;

 protected:
  void OpenUrl(const wchar_t* url) override { opened.push_back(url); }
  void ShowAbout() override { ++abouts; }
};

std::string Text(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

class MainWindow : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(L"C:\\Lumaspan");  // the staged program folder: the real skin
    g_log = &log_;
    main_ = std::make_unique<TestMainDlg>(table_.table());
  }
  void TearDown() override {
    main_.reset();
    g_log = nullptr;
    SetCurrentDirectoryW(previous_);
  }
  // Creates the main window (the splash runs inside) and waits for the home page.
  void Start() {
    ASSERT_TRUE(main_->Create(nullptr));
    ASSERT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 3000));
    test::PumpFor(50);
  }
  void Command(UINT id) { SendMessageW(main_->hwnd(), id, 0, 0); }
  bool Visible(UINT id) {
    ui::Page* page = main_->PageOf(id);
    return page && IsWindowVisible(page->hwnd());
  }
  int Resets(UINT id) { return log_.resets[main_->PageOf(id)]; }
  void ButtonDown(int x, int y, UINT message = WM_LBUTTONDOWN) {
    SendMessageW(main_->hwnd(), message, MK_LBUTTON, MAKELPARAM(x, y));
  }
  void Lock(ULONG_PTR kind) {
    COPYDATASTRUCT data = {};
    data.dwData = kind;
    EXPECT_EQ(0, SendMessageW(main_->hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
  }

  wchar_t previous_[MAX_PATH] = {};
  PageLog log_;
  RecordingTable table_;
  std::unique_ptr<TestMainDlg> main_;
};

TEST_F(MainWindow, StartsWithEveryPageMadeAndTheHomePageShown) {
  Start();
  EXPECT_EQ(12, log_.made);
  EXPECT_EQ(L"A key to clean-up", main_->CurrentPageName());
  const UINT others[] = {60101, 60102, 60103, 60104, 60201, 60202, 60203, 60204, 60301, 60302, 60400};
  for (UINT id : others) {
    ASSERT_TRUE(main_->PageOf(id)) << id;
    EXPECT_FALSE(Visible(id)) << id;
  }
  EXPECT_TRUE(Visible(page_id::kHome));
  EXPECT_TRUE(IsWindowVisible(main_->hwnd()));

  RECT client, page, menu;
  GetClientRect(main_->hwnd(), &client);
  EXPECT_EQ(785, client.right);
  EXPECT_EQ(570, client.bottom);
  // The page fills the page area exactly: (206, 106) to (779, 538).
  GetWindowRect(main_->PageOf(page_id::kHome)->hwnd(), &page);
  MapWindowPoints(nullptr, main_->hwnd(), reinterpret_cast<POINT*>(&page), 2);
  EXPECT_EQ("206,106-779,538", Text(page));
  GetWindowRect(main_->Menu().hwnd(), &menu);
  MapWindowPoints(nullptr, main_->hwnd(), reinterpret_cast<POINT*>(&menu), 2);
  EXPECT_EQ("5,106-206,538", Text(menu));
  EXPECT_EQ(0, main_->Menu().CurrentGroup());
  // The frame is the skin's.
  EXPECT_TRUE(main_->Skin().ThemeComplete());
  EXPECT_GT(main_->Skin().TitleHeight(), 0);
  EXPECT_TRUE(SendMessageW(main_->hwnd(), WM_GETICON, ICON_SMALL, 0));
}

TEST_F(MainWindow, SwitchingResetsOnlyTheControllingPages) {
  Start();
  Command(60101);  // leave home: it is reset
  EXPECT_TRUE(Visible(60101));
  EXPECT_FALSE(Visible(60100));
  EXPECT_EQ(1, Resets(60100));
  EXPECT_EQ(L"Registry Cleaner", main_->CurrentPageName());

  Command(60101);  // the page already shown: nothing happens to it
  EXPECT_TRUE(Visible(60101));
  EXPECT_EQ(0, Resets(60101));

  Command(60201);  // leave the registry cleaner: reset
  EXPECT_EQ(1, Resets(60101));
  Command(60102);  // leave the startup manager: kept as it was
  EXPECT_EQ(0, Resets(60201));
  Command(60103);
  EXPECT_EQ(1, Resets(60102));
  Command(60400);
  EXPECT_EQ(1, Resets(60103));
  Command(60104);
  EXPECT_EQ(0, Resets(60400));

  // The group headers without a page record their name and leave the page on screen.
  Command(60200);
  EXPECT_EQ(L"Options", main_->CurrentPageName());
  EXPECT_TRUE(Visible(60104));
  Command(60300);
  EXPECT_EQ(L"Backups", main_->CurrentPageName());
  EXPECT_EQ(60104, main_->CurrentPageId());
  int visible = 0;
  for (UINT id : {60100, 60101, 60102, 60103, 60104, 60201, 60202, 60203, 60204, 60301, 60302, 60400}) {
    visible += Visible(id) ? 1 : 0;
  }
  EXPECT_EQ(1, visible);
  EXPECT_EQ(12, log_.made);  // pages are made once
}

TEST_F(MainWindow, TheMenuSwitchesPagesUnlessLocked) {
  Start();
  HWND menu = main_->Menu().hwnd();
  auto click = [&](int y) {
    SendMessageW(menu, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, y));
    SendMessageW(menu, WM_LBUTTONUP, 0, MAKELPARAM(60, y));
  };
  click(26 + 2 * 26 + 10);  // "Evidence Cleaner"
  EXPECT_EQ(60103, main_->CurrentPageId());
  click(26 + 4 * 26 + 10);  // the "Optimize" header: the group opens, the page stays
  EXPECT_EQ(60103, main_->CurrentPageId());
  EXPECT_EQ(L"Options", main_->CurrentPageName());
  EXPECT_EQ(1, main_->Menu().CurrentGroup());

  Lock(report_kind::kMenuLock);
  EXPECT_TRUE(main_->Menu().IsLocked());
  click(2 * 26 + 10);  // "Startup Manager": ignored
  EXPECT_EQ(60103, main_->CurrentPageId());
  ButtonDown(700, 95);  // the banner's links still work
  EXPECT_EQ(1, main_->abouts);
  Lock(7);  // other kinds change nothing
  EXPECT_TRUE(main_->Menu().IsLocked());
  Lock(report_kind::kMenuUnlock);
  EXPECT_FALSE(main_->Menu().IsLocked());
  click(2 * 26 + 10);
  EXPECT_EQ(60201, main_->CurrentPageId());
  SendMessageW(main_->hwnd(), WM_COPYDATA, 0, 0);  // no data block: ignored
}

TEST_F(MainWindow, LinkAreasOpenTheirTargetsAndSetTheCursor) {
  Start();
  struct {
    int x, y;
    const wchar_t* url;  // null: nothing; "about": the about box
  } cases[] = {
      {15, 10, L"http://www.lumaspan.com/"},   {201, 44, L"http://www.lumaspan.com/"},
      {202, 30, nullptr},                      {14, 30, nullptr},
      {15, 45, nullptr},                       {656, 544, L"http://www.lumaspan.com/"},
      {775, 563, L"http://www.lumaspan.com/"}, {776, 563, nullptr},
      {570, 81, L"http://www.lumaspan.com/help/"}, {650, 107, L"http://www.lumaspan.com/help/"},
      {651, 90, nullptr},                      {661, 81, L"about"},
      {769, 107, L"about"},                    {770, 90, nullptr},
      {400, 300, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    main_->opened.clear();
    int abouts = main_->abouts;
    SendMessageW(main_->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(c.x, c.y));
    EXPECT_EQ(LoadCursorW(nullptr, c.url ? IDC_HAND : IDC_ARROW), GetCursor());
    ButtonDown(c.x, c.y);
    if (!c.url) {
      EXPECT_TRUE(main_->opened.empty());
      EXPECT_EQ(abouts, main_->abouts);
    } else if (std::wstring(c.url) == L"about") {
      EXPECT_EQ(abouts + 1, main_->abouts);
    } else {
      ASSERT_EQ(1u, main_->opened.size());
      EXPECT_EQ(c.url, main_->opened[0]);
    }
  }
  ButtonDown(100, 20, WM_RBUTTONDOWN);  // the right button acts too
  EXPECT_EQ(1u, main_->opened.size());
  EXPECT_EQ(CMainDlg::kLogoLink, CMainDlg::LinkAt(POINT{15, 10}));
  EXPECT_EQ(CMainDlg::kNoLink, CMainDlg::LinkAt(POINT{202, 30}));
}

TEST_F(MainWindow, PaintsBannerStripsStatusBarAndMenu) {
  Start();
  test::Capture c = test::Capture::Screen(main_->hwnd());
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(RGB(239, 239, 239), c.At(2, 300));   // left strip
  EXPECT_EQ(RGB(239, 239, 239), c.At(782, 300));  // right strip
  EXPECT_EQ(RGB(239, 239, 239), c.At(400, 569));  // below the status bar
  EXPECT_EQ(RGB(227, 239, 243), c.At(400, 540));  // the status bar
  EXPECT_EQ(RGB(227, 239, 243), c.At(10, 560));
  // "Program Version:3.1.1.10079" in black from (16, 546).
  EXPECT_GT(c.Count(RECT{16, 546, 200, 562}, RGB(0, 0, 0)), 40);
  // The links in green RGB(0, 128, 0): "Help", "About" and the address.
  EXPECT_GT(c.Count(RECT{625, 90, 660, 106}, RGB(0, 128, 0)), 10);
  EXPECT_GT(c.Count(RECT{690, 90, 730, 106}, RGB(0, 128, 0)), 10);
  EXPECT_GT(c.Count(RECT{660, 546, 780, 562}, RGB(0, 128, 0)), 20);
  // The banner image, pixel for pixel where nothing is written over it.
  ui::GpBitmap banner = ui::LoadBitmapFile(L"Res\\QOR_Top.png");
  ASSERT_TRUE(ui::Usable(banner.get()));
  for (POINT p : {POINT{300, 5}, POINT{30, 25}, POINT{500, 80}, POINT{770, 30}}) {
    Gdiplus::Color pixel;
    banner->GetPixel(p.x, p.y, &pixel);
    EXPECT_EQ(RGB(pixel.GetR(), pixel.GetG(), pixel.GetB()), c.At(p.x, p.y)) << p.x << "," << p.y;
  }
  // The menu: the open group's header in its "down" image.
  ui::GpBitmap header = ui::LoadBitmapFile(L"Res\\Menu\\QOR_Button_Clean_Down.png");
  Gdiplus::Color pixel;
  header->GetPixel(150, 13, &pixel);
  EXPECT_EQ(RGB(pixel.GetR(), pixel.GetG(), pixel.GetB()), c.At(5 + 150, 106 + 13));
}

TEST_F(MainWindow, ClosingEndsTheModalLoopAtOnceAndDeletesThePages) {
  // Run modally as the program does; close with the skin's close button once the home page shows.
  test::MessageBoxWatcher boxes;  // would answer any question; none may be asked
  struct Closer {
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
      HWND main = FindWindowW(L"#32770", L"KeepLumaspan");
      if (main && IsWindowVisible(main)) SendMessageW(main, WM_NCLBUTTONUP, HTCLOSE, 0);
    }
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 50, &Closer::Tick);
  EXPECT_EQ(IDCANCEL, main_->DoModal(nullptr));
  KillTimer(nullptr, timer);
  EXPECT_EQ(0u, boxes.count());
  EXPECT_EQ(12, log_.made);
  EXPECT_EQ(0, log_.destroyed);  // the objects outlive their windows ...
  main_.reset();
  EXPECT_EQ(12, log_.destroyed);  // ... until the main window object goes
}

TEST_F(MainWindow, WithoutItsSkinFilesItStillWorks) {
  // Started in a folder with no Res: no frame images, no banner, no menu images, no splash picture.
  test::ScratchFolder empty;
  SetCurrentDirectoryW(empty.path().c_str());
  Start();
  EXPECT_EQ(0, main_->Skin().TitleHeight());
  RECT menu;
  GetWindowRect(main_->Menu().hwnd(), &menu);
  MapWindowPoints(nullptr, main_->hwnd(), reinterpret_cast<POINT*>(&menu), 2);
  EXPECT_EQ("5,106-206,538", Text(menu));  // the layout the banner was drawn for
  test::Capture c = test::Capture::Screen(main_->hwnd());
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(RGB(239, 239, 239), c.At(2, 300));
  EXPECT_EQ(RGB(227, 239, 243), c.At(400, 540));
  Command(60301);
  EXPECT_TRUE(Visible(60301));
}

TEST_F(MainWindow, APageThatCannotBeMadeIsTriedAgainLater) {
  static int failures = 0;
  struct Flaky {
    static ui::Page* Make() { return failures-- > 0 ? nullptr : MakePage<RecordingPage>(); }
  };
  PageTable real = DefaultPageTable();
  std::vector<PageSlot> slots(real.slots, real.slots + real.count);
  slots[real.IndexOf(60202)].create = &Flaky::Make;
  failures = 1;  // the splash's attempt fails
  main_ = std::make_unique<TestMainDlg>(PageTable{slots.data(), slots.size()});
  Start();
  EXPECT_EQ(nullptr, main_->PageOf(60202));
  Command(60202);
  ASSERT_TRUE(main_->PageOf(60202));
  EXPECT_TRUE(Visible(60202));
}

}  // namespace
