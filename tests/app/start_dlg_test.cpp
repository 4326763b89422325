// The splash: the preload messages in order and 100 ms apart, delivered on the same thread even
// though their numbers lie above 0xFFFF, its status texts, its picture, and Enter and Escape.
#include "app/start_dlg.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/page_table.h"
#include "tests/support/pixels.h"
#include "ui/window.h"

namespace {

double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return c.QuadPart * 1000.0 / f.QuadPart;
}

// Stands in for the main window: records each preload message, the time, and what the splash
// shows at that moment; answers 1 as the main window does.
class Receiver : public ui::Window {
 public:
  struct Seen {
    UINT message;
    double at;
    std::wstring status;
  };
  std::vector<Seen> seen;
  int idleCalls = 0;
  CStartDlg* splash = nullptr;
  test::Capture picture;

 protected:
  bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    if (message == kSplashIdleMessage) {
      // Always more to do, 12 ms a piece: the splash must still keep its pace.
      ++idleCalls;
      Sleep(12);
      result = 1;
      return true;
    }
    if (message < 70000 || message > 70100) return false;
    seen.push_back({message, NowMs(), splash ? splash->StatusText() : L""});
    if (seen.size() == 1 && splash) {
      // Enter and Escape go to the splash while it works: it does not end.
      SendMessageW(splash->hwnd(), WM_COMMAND, IDCANCEL, 0);
      SendMessageW(splash->hwnd(), WM_COMMAND, IDOK, 0);
    }
    if (seen.size() == 3 && splash) picture = test::Capture::Print(splash->hwnd());
    result = 1;
    return true;
  }
};

class CurrentFolder {
 public:
  explicit CurrentFolder(const wchar_t* path) {
    GetCurrentDirectoryW(MAX_PATH, previous_);
    SetCurrentDirectoryW(path);
  }
  ~CurrentFolder() { SetCurrentDirectoryW(previous_); }

 private:
  wchar_t previous_[MAX_PATH] = {};
};

TEST(Splash, SendsThePreloadMessagesInOrderAHundredMillisecondsApart) {
  CurrentFolder folder(L"C:\\Lumaspan");
  ui::Window::RegisterClass(L"LumaspanSplashTestReceiver");
  Receiver receiver;
  ASSERT_TRUE(receiver.CreateEx(0, L"LumaspanSplashTestReceiver", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  CStartDlg splash(receiver.hwnd());
  receiver.splash = &splash;
  double start = NowMs();
  EXPECT_EQ(IDCANCEL, splash.DoModal(nullptr));
  double total = NowMs() - start;

  const UINT order[] = {70001, 70002, 70003, 70004, 70011, 70012, 70008, 70009, 70013, 70014, 70015};
  ASSERT_EQ(11u, receiver.seen.size());
  for (size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(order[i], receiver.seen[i].message);
    if (i > 0) {
      // At least the pause apart (the timer's granularity aside); a busy machine may make it longer.
      EXPECT_GE(receiver.seen[i].at - receiver.seen[i - 1].at, 90.0) << i;
    }
  }
  // Each message finds the status of the one before it on the splash.
  EXPECT_EQ(L"", receiver.seen[0].status);
  EXPECT_EQ(L"Registry Cleaner Initializing...", receiver.seen[1].status);
  EXPECT_EQ(L"JunkFile Cleaner Initializing...", receiver.seen[2].status);
  EXPECT_EQ(L"Application Optimizer Initializing...", receiver.seen[8].status);
  EXPECT_EQ(L"Options Initializing...", splash.StatusText());
  // The pauses went to the main window's start-up work, a piece at a time.
  EXPECT_GT(receiver.idleCalls, 30);
  // Ten ticks of 10 ms, then eleven steps of 100 ms: at least that long, longer on a busy machine.
  EXPECT_GT(total, 1150.0);

  // Its picture, with the status in white at (350, 200).
  ASSERT_TRUE(receiver.picture.ok());
  EXPECT_EQ(CStartDlg::kWidth, receiver.picture.width());
  EXPECT_EQ(CStartDlg::kHeight, receiver.picture.height());
  EXPECT_GT(receiver.picture.Count(RECT{350, 200, 500, 214}, RGB(255, 255, 255)), 20);
  EXPECT_EQ(0, receiver.picture.Count(RECT{20, 20, 120, 40}, RGB(255, 255, 255)));  // the green picture
}

TEST(Splash, SameThreadMessagesAboveSixteenBitsArrive) {
  ui::Window::RegisterClass(L"LumaspanSplashTestReceiver");
  Receiver receiver;
  ASSERT_TRUE(receiver.CreateEx(0, L"LumaspanSplashTestReceiver", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(1, SendMessageW(receiver.hwnd(), 70015, 0, 0));
  ASSERT_EQ(1u, receiver.seen.size());
  EXPECT_EQ(70015u, receiver.seen[0].message);
}

}  // namespace
