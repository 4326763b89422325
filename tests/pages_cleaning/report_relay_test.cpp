// The relay between a cleaning engine on a worker and its page: a page window on this thread takes
// batches by a script, while a worker reports through the relay as an engine does.
#include "pages/common/report_relay.h"

#include <windows.h>
#include <process.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "base/handles.h"
#include "contracts/messages.h"
#include "contracts/report.h"
#include "tests/support/pump.h"

namespace {

using cleaning_pages::kPacedItems;
using cleaning_pages::RelayedReport;
using cleaning_pages::ReportRelay;

constexpr ULONG_PTR kItem = report_kind::kJunkItem;
constexpr ULONG_PTR kProgress = report_kind::kCleanProgress;

// The page: takes what the script allows of each batch (all, a part, or 0 to end the scan), and
// keeps every report taken and the size of every batch offered.
class ScriptedPage {
 public:
  using Script = std::function<LRESULT(size_t batch, size_t offered)>;
  explicit ScriptedPage(Script script) : script_(std::move(script)) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ScriptedPage::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RelayTestPage";
    RegisterClassW(&wc);
    window_ = CreateWindowW(wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ScriptedPage() {
    if (IsWindow(window_)) DestroyWindow(window_);
  }
  HWND window() const { return window_; }
  std::vector<std::wstring> taken;
  std::vector<std::vector<ULONG_PTR>> batches;  // the kinds in each batch offered

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<ScriptedPage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != cleaning_pages::kRelayedReportsMessage || !page) return DefWindowProcW(window, message, wParam, lParam);
    const auto* reports = reinterpret_cast<const RelayedReport*>(lParam);
    std::vector<ULONG_PTR> kinds;
    for (size_t i = 0; i < wParam; ++i) kinds.push_back(reports[i].kind);
    page->batches.push_back(kinds);
    LRESULT reply = page->script_(page->batches.size() - 1, wParam);
    for (LRESULT i = 0; i + 1 < reply && static_cast<size_t>(i) < wParam; ++i)
      page->taken.emplace_back(reports[i].text, reports[i].length);
    return reply;
  }
  Script script_;
  HWND window_ = nullptr;
};

// The engine's side: on its own thread, items with a progress report between them, then the
// final flush. Remembers how many reports went on before the relay said to stop.
struct Engine {
  HWND page;
  int items;
  std::atomic<bool> stop{false};
  int sent = 0;
  bool flushed = false;

  static unsigned __stdcall Main(void* self) {
    auto* engine = static_cast<Engine*>(self);
    ReportRelay relay(engine->page, {kItem}, kPacedItems, engine->stop);
    for (int i = 0; i < engine->items; ++i) {
      std::wstring text = L"item" + std::to_wstring(i);
      if (!report::Send(relay.window(), kItem, text.c_str()) || !report::Send(relay.window(), kProgress, L"p"))
        return 0;
      ++engine->sent;
    }
    engine->flushed = relay.Flush();
    return 0;
  }
  void Run() {
    base::UniqueHandle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Engine::Main, this, 0, nullptr)));
    ASSERT_TRUE(thread);
    HANDLE handle = thread.get();
    ASSERT_TRUE(test::PumpUntil([&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, 60000));
  }
};

// Every report once, in order, whatever the page takes of each batch; the first items one batch
// each, the rest in batches.
TEST(ReportRelay, EveryReportReachesThePageOnceAndInOrder) {
  ScriptedPage page([](size_t batch, size_t offered) -> LRESULT {
    if (batch % 7 == 3) return 1;                                           // none taken: sent again
    if (batch % 5 == 2 && offered > 1) return static_cast<LRESULT>(offered / 2) + 1;  // a part taken
    return static_cast<LRESULT>(offered) + 1;
  });
  Engine engine{page.window(), static_cast<int>(kPacedItems) + 3000};
  engine.Run();
  EXPECT_TRUE(engine.flushed);
  std::vector<std::wstring> expected;
  for (int i = 0; i < engine.items; ++i) {
    expected.push_back(L"item" + std::to_wstring(i));
    expected.push_back(L"p");
  }
  EXPECT_EQ(expected, page.taken);
  // Until the paced items are through, no batch holds two items.
  size_t itemsSeen = 0, batchesWithSeveralItems = 0;
  for (const auto& batch : page.batches) {
    size_t items = 0;
    for (ULONG_PTR kind : batch) items += kind == kItem;
    if (itemsSeen + items <= kPacedItems) {
      EXPECT_LE(items, 1u);
    }
    batchesWithSeveralItems += items > 1;
    itemsSeen += items;
  }
  EXPECT_GT(batchesWithSeveralItems, 0u);
  EXPECT_LT(page.batches.size(), expected.size() / 2);
}

// A page that ends the scan (0), a stop flag, or a page that is gone: the engine's next report is
// answered "stop", and nothing more reaches the page.
TEST(ReportRelay, TheScanEndsWhenThePageEndsItOrIsGone) {
  ScriptedPage ending([](size_t batch, size_t offered) -> LRESULT {
    return batch == 10 ? 0 : static_cast<LRESULT>(offered) + 1;
  });
  Engine first{ending.window(), 100};
  first.Run();
  EXPECT_EQ(10, first.sent);  // batch 10 held the eleventh item, and ended the scan
  EXPECT_EQ(11u, ending.batches.size());

  ScriptedPage gone([](size_t, size_t offered) -> LRESULT { return static_cast<LRESULT>(offered) + 1; });
  DestroyWindow(gone.window());
  Engine second{gone.window(), 100};
  second.Run();
  EXPECT_EQ(0, second.sent);
  EXPECT_TRUE(gone.batches.empty());

  ScriptedPage stopped([](size_t, size_t offered) -> LRESULT { return static_cast<LRESULT>(offered) + 1; });
  Engine third{stopped.window(), 100};
  third.stop = true;
  third.Run();
  EXPECT_EQ(0, third.sent);
  EXPECT_TRUE(stopped.batches.empty());
}

// A page that answers a batch first lists it after the worker has its answer (the worker here
// spoils its reports as soon as it has it); stop and "send again" reach the worker, nothing listed.
struct AnsweringFirstPage {
  LRESULT verdict = report_reply::kGoOn;
  HANDLE answered = nullptr;  // set by the worker once it has the answer
  std::vector<std::wstring> listed;
  int listedAfterTheAnswer = 0;

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<AnsweringFirstPage*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != cleaning_pages::kRelayedReportsMessage || !page) return DefWindowProcW(window, message, wParam, lParam);
    return cleaning_pages::TakeRelayedBatchAnsweringFirst(
        reinterpret_cast<const RelayedReport*>(lParam), wParam, page->verdict, [page](const COPYDATASTRUCT* data) {
          page->listedAfterTheAnswer += WaitForSingleObject(page->answered, 10000) == WAIT_OBJECT_0;
          page->listed.emplace_back(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
          return report_reply::kGoOn;
        });
  }
};

struct BatchSender {
  HWND page;
  HANDLE answered;
  LRESULT reply = -1;
  static unsigned __stdcall Main(void* self) {
    auto* sender = static_cast<BatchSender*>(self);
    std::wstring texts[] = {L"one", L"two", L"three"};
    std::vector<RelayedReport> batch = {{kItem, texts[0].c_str(), 3}, {kProgress, texts[1].c_str(), 3},
                                        {kItem, texts[2].c_str(), 5}};
    sender->reply = SendMessageW(sender->page, cleaning_pages::kRelayedReportsMessage, batch.size(),
                                 reinterpret_cast<LPARAM>(batch.data()));
    for (std::wstring& text : texts) text.assign(text.size(), L'x');
    SetEvent(sender->answered);
    return 0;
  }
};

TEST(ReportRelay, APageThatAnswersFirstListsTheBatchWhileTheWorkerGoesOn) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = &AnsweringFirstPage::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"RelayTestAnsweringPage";
  RegisterClassW(&wc);
  for (LRESULT verdict : {report_reply::kGoOn, report_reply::kStop, report_reply::kResend}) {
    base::UniqueHandle answered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    AnsweringFirstPage page{verdict, answered.get()};
    HWND window = CreateWindowW(wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&page));
    BatchSender sender{window, answered.get()};
    base::UniqueHandle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &BatchSender::Main, &sender, 0, nullptr)));
    HANDLE handle = thread.get();
    ASSERT_TRUE(test::PumpUntil([&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, 60000));
    DestroyWindow(window);
    if (verdict == report_reply::kGoOn) {
      EXPECT_EQ(4, sender.reply);
      EXPECT_EQ((std::vector<std::wstring>{L"one", L"two", L"three"}), page.listed);
      EXPECT_EQ(3, page.listedAfterTheAnswer);
    } else {
      EXPECT_EQ(verdict == report_reply::kStop ? 0 : 1, sender.reply);
      EXPECT_TRUE(page.listed.empty());
    }
  }
}

}  // namespace
