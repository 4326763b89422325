// The one reply rule and the serials of every scanning page (ScanSession), with real workers that
// report to a recorder window and end with its end message.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "contracts/messages.h"
#include "contracts/report.h"
#include "pages/common/scan_job.h"
#include "pages/common/scan_session.h"
#include "tests/support/pump.h"

namespace {

using common_pages::ScanJob;
using common_pages::ScanSession;

constexpr UINT kEnd = WM_APP + 0x300;
constexpr ULONG_PTR kKind = 4242;

// A page's window: every report is answered by the session's rule, every end message recorded.
struct Page {
  ScanSession* session = nullptr;
  WPARAM lastEnd = 0;
  int ends = 0;
  HWND window = nullptr;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Page*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_COPYDATA) return self->session->Verdict();
    if (self && message == kEnd) {
      self->lastEnd = wParam;
      ++self->ends;
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  Page() {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScanSessionTestPage";
    RegisterClassW(&wc);
    window = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Page() { DestroyWindow(window); }
};

// Reports until it is answered "stop" or has sent `reports`; remembers how it ended.
class CountingJob : public ScanJob {
 public:
  CountingJob(HWND page, int reports) : ScanJob(page, kEnd), reports_(reports) {}
  std::atomic<bool> refused{false};
  std::atomic<int> sent{0};

 protected:
  void Run() override {
    for (int i = 0; i < reports_; ++i) {
      if (!report::Send(window(), kKind, L"x")) {
        refused = true;
        return;
      }
      ++sent;
    }
  }

 private:
  const int reports_;
};

TEST(ScanSession, AClosingPageAnswersStopAndAStoppedScansEndIsNotTheNextOnes) {
  Page page;
  ScanSession session;
  page.session = &session;
  EXPECT_EQ(report_reply::kStop, session.Verdict());  // no scan runs

  // Not ready (the views are being made): the worker waits at its first report.
  auto first = std::make_shared<CountingJob>(page.window, 1000000);
  ASSERT_TRUE(session.Start(first));
  EXPECT_EQ(report_reply::kResend, session.Verdict());
  session.SetReady(true);
  ASSERT_TRUE(test::PumpUntil([&] { return first->sent > 10; }, 10000));
  EXPECT_EQ(report_reply::kGoOn, session.Verdict());

  // Stopped, and a new scan asked for at once: it waits for the stopped worker, and the stopped
  // scan's end is not taken for the end of the new one.
  auto second = std::make_shared<CountingJob>(page.window, 1000000);
  ASSERT_TRUE(session.Start(second));
  ASSERT_TRUE(test::PumpUntil([&] { return page.ends == 1; }, 10000));
  EXPECT_EQ(first->serial(), page.lastEnd);
  EXPECT_TRUE(first->refused);
  EXPECT_EQ(ScanSession::End::kNone, session.OnWorkerEnded(page.lastEnd));
  EXPECT_TRUE(session.Running());
  ASSERT_TRUE(test::PumpUntil([&] { return second->sent > 10; }, 10000));

  // The page closes: every report is answered "stop" and the worker ends by itself.
  session.Close();
  EXPECT_EQ(report_reply::kStop, session.Verdict());
  EXPECT_FALSE(session.Running());
  ASSERT_TRUE(test::PumpUntil([&] { return page.ends == 2; }, 10000));
  EXPECT_TRUE(second->refused);
  EXPECT_EQ(ScanSession::End::kNone, session.OnWorkerEnded(second->serial()));
}

}  // namespace
