// The report sender every engine uses, against a recording window: the text and byte count it
// sends, and the reply protocol (stop, send again, anything else goes on; a vanished window stops).
#include "contracts/report.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "contracts/messages.h"
#include "tests/support/pump.h"
#include "tests/support/report_recorder.h"

namespace {

TEST(ReportSend, SendsTheTextWithItsTerminator) {
  test::ReportRecorder recorder;
  EXPECT_TRUE(report::Send(recorder.window(), 30001, L"a.txt|C:\\x\\a.txt|12"));
  EXPECT_TRUE(report::Send(recorder.window(), 20000, nullptr));
  EXPECT_TRUE(report::Send(recorder.window(), 20000, L"abcdef", 3));
  ASSERT_EQ(3u, recorder.reports().size());
  const test::Report& item = recorder.reports()[0];
  EXPECT_EQ(30001u, item.kind);
  EXPECT_EQ(L"a.txt|C:\\x\\a.txt|12", item.text);
  EXPECT_EQ((item.text.size() + 1) * 2, item.bytes);
  EXPECT_TRUE(item.terminated);
  EXPECT_EQ(L"", recorder.reports()[1].text);
  EXPECT_EQ(2u, recorder.reports()[1].bytes);
  EXPECT_EQ(L"abc", recorder.reports()[2].text);
  EXPECT_TRUE(recorder.reports()[2].terminated);
}

TEST(ReportSend, TheStopReplyEndsTheScan) {
  test::ReportRecorder recorder;
  recorder.SetReply(report_reply::kStop);
  EXPECT_FALSE(report::Send(recorder.window(), 20000, L"x"));
  EXPECT_EQ(1u, recorder.reports().size());
}

TEST(ReportSend, TheResendReplySendsTheSameReportAgainShortly) {
  test::ReportRecorder recorder;
  recorder.SetReplies(
      [](const test::Report&, size_t index) { return index < 2 ? report_reply::kResend : report_reply::kGoOn; });
  DWORD start = GetTickCount();
  EXPECT_TRUE(report::Send(recorder.window(), 30001, L"n|l|1"));
  DWORD elapsed = GetTickCount() - start;
  ASSERT_EQ(3u, recorder.reports().size());
  for (const test::Report& r : recorder.reports()) EXPECT_EQ(L"n|l|1", r.text);
  EXPECT_GE(elapsed, 80u);  // two pauses of about 50 ms
}

TEST(ReportSend, TheAnswersOfOrdinaryReceiversGoOn) {
  test::ReportRecorder recorder;
  for (LRESULT reply : {LRESULT(0), LRESULT(TRUE), LRESULT(-1), LRESULT(2), LRESULT(7)}) {
    recorder.SetReply(reply);
    EXPECT_TRUE(report::Send(recorder.window(), 20000, L"x")) << reply;
  }
  recorder.LeaveToDefWindowProc();
  EXPECT_TRUE(report::Send(recorder.window(), 20000, L"x"));
}

TEST(ReportSend, AWindowThatIsGoneEndsTheScan) {
  EXPECT_FALSE(report::Send(nullptr, 20000, L"x"));
  HWND gone;
  {
    test::ReportRecorder recorder;
    gone = recorder.window();
  }
  EXPECT_FALSE(report::Send(gone, 20000, L"x"));
}

TEST(ReportSend, FromAWorkerThreadInOrderUntilTheWindowCloses) {
  auto recorder = std::make_unique<test::ReportRecorder>();
  HWND window = recorder->window();
  std::atomic<int> sent{0};
  std::atomic<bool> ended{false};
  std::thread worker([&] {
    for (int i = 0; i < 100000; ++i) {
      if (!report::Send(window, 20000, std::to_wstring(i).c_str())) break;
      ++sent;
    }
    ended = true;
  });
  ASSERT_TRUE(test::PumpUntil([&] { return recorder->reports().size() >= 50; }, 20000));
  for (size_t i = 0; i < 50; ++i) EXPECT_EQ(std::to_wstring(i), recorder->reports()[i].text);
  recorder.reset();  // the page goes away mid-scan
  EXPECT_TRUE(test::PumpUntil([&] { return ended.load(); }, 5000));
  worker.join();
  EXPECT_LT(sent.load(), 100000);
}

TEST(ReportSend, AWorkerWaitsWhileTheReceiverAnswersResend) {
  test::ReportRecorder recorder;
  std::atomic<bool> answering2{true};
  recorder.SetReplies([&](const test::Report&, size_t) { return answering2 ? report_reply::kResend : report_reply::kGoOn; });
  std::atomic<bool> done{false};
  std::thread worker([&] {
    report::Send(recorder.window(), 30001, L"first");
    report::Send(recorder.window(), 30001, L"second");
    done = true;
  });
  test::PumpFor(300);
  EXPECT_FALSE(done.load());
  size_t resent = recorder.reports().size();
  EXPECT_GE(resent, 3u);  // the same report, over and over
  for (const test::Report& r : recorder.reports()) EXPECT_EQ(L"first", r.text);
  answering2 = false;
  EXPECT_TRUE(test::PumpUntil([&] { return done.load(); }, 5000));
  worker.join();
  EXPECT_EQ(L"second", recorder.reports().back().text);
}

}  // namespace
