#include "pages/cleaning/scan_job.h"

#include <process.h>

#include "contracts/report.h"
#include "pages/cleaning/report_relay.h"

namespace cleaning_pages {
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

base::UniqueHandle ScanJob::Start(const std::shared_ptr<ScanJob>& job) {
  if (!job) return base::UniqueHandle();
  // The thread gets its own reference: the job lives as long as either side needs it.
  auto* reference = new std::shared_ptr<ScanJob>(job);
  ++g_liveWorkers;
  uintptr_t thread = _beginthreadex(nullptr, 0, &ScanJob::ThreadMain, reference, 0, nullptr);
  if (!thread) {
    --g_liveWorkers;
    delete reference;
    return base::UniqueHandle();
  }
  return base::UniqueHandle(reinterpret_cast<HANDLE>(thread));
}

unsigned __stdcall ScanJob::ThreadMain(void* argument) {
  std::shared_ptr<ScanJob> job;
  try {
    std::unique_ptr<std::shared_ptr<ScanJob>> reference(static_cast<std::shared_ptr<ScanJob>*>(argument));
    job = std::move(*reference);
    if (job->itemKind_ != 0) {
      ReportRelay relay(job->window_, {job->itemKind_}, job->pacedItems_, job->stop_);
      job->reportWindow_ = relay.window();
      job->Run();
      relay.Flush();
    } else {
      job->Run();
    }
  } catch (...) {
    // A failed scan ends like a finished one; the page shows what it received.
  }
  if (job) {
    // Sent after the relay's last batch, so the page has seen every report before it learns the
    // scan is over. A page that is
    // gone makes this a no-op; a page that stopped the job ignores it.
    if (IsWindow(job->window_)) SendMessageW(job->window_, job->endMessage_, job->serial_, 0);
    job.reset();
  }
  --g_liveWorkers;
  return 0;
}

}  // namespace cleaning_pages
