#include "pages/common/scan_job.h"

#include "contracts/report.h"
#include "pages/common/report_relay.h"

namespace common_pages {
namespace {

std::atomic<int> g_liveWorkers{0};
std::atomic<unsigned> g_serials{0};

}  // namespace

ScanJob::ScanJob(HWND window, UINT endMessage, ULONG_PTR relayedItemKind, size_t pacedItems)
    : window_(window),
      endMessage_(endMessage),
      itemKind_(relayedItemKind),
      pacedItems_(pacedItems),
      reportWindow_(window),
      serial_(static_cast<WPARAM>(++g_serials)) {}

bool ScanJob::Tick(ULONG_PTR kind) const { return GoOn() && report::Send(reportWindow_, kind, L"", 0); }

int ScanJob::LiveWorkers() { return g_liveWorkers; }

base::Thread ScanJob::Start(const std::shared_ptr<ScanJob>& job) {
  if (!job) return base::Thread();
  ++g_liveWorkers;
  // The thread gets its own reference: the job lives as long as either side needs it.
  base::Thread thread = base::Thread::Run([job]() mutable {
    std::shared_ptr<ScanJob> mine = std::move(job);
    mine->Main();
    mine.reset();  // the page may be gone: the worker's share is the last
    --g_liveWorkers;
  });
  if (!thread) --g_liveWorkers;
  return thread;
}

void ScanJob::Main() {
  try {
    if (itemKind_ != 0) {
      ReportRelay relay(window_, {itemKind_}, pacedItems_, stop_);
      reportWindow_ = relay.window();
      Run();
      relay.Flush();
    } else {
      Run();
    }
  } catch (...) {
    // A failed scan ends like a finished one; the page shows what it received.
  }
  // Sent after the relay's last batch, so the page has seen every report before it learns the
  // scan is over. A page that is gone makes this a no-op; a page that stopped the job ignores it.
  if (IsWindow(window_)) SendMessageW(window_, endMessage_, serial_, 0);
}

}  // namespace common_pages
