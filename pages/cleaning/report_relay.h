// Between an engine and its page. A report sent across threads costs a round trip through the
// system and a wake of the page's thread, and a scan of a temporary folder reports every one of
// tens of thousands of files. The engine therefore reports to this relay, a window of its own
// worker thread (each report a direct call), which hands the reports on to the page in order, in
// batches: the first items one at a time (kPacedItems of them for a cleaning page), so that the
// user watches the list fill as the page paces it, then whatever came in the last kBatchMs at
// once. The page's replies still steer the scan: it takes a batch, part of it (the rest is sent
// again shortly, as a report answered kResend is), or ends the scan.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <iterator>
#include <string>
#include <vector>

#include "contracts/messages.h"

namespace cleaning_pages {

struct RelayedReport {
  ULONG_PTR kind;
  std::wstring text;
};

// Sent to the page: wParam the number of reports, lParam the first (RelayedReport*), valid for the
// length of the call. The page answers 0 to end the scan, else 1 + the number it took; a page that
// takes the whole batch may move the texts out of it.
constexpr UINT kRelayedReportsMessage = WM_APP + 0x120;

// The page's side: each report of a batch through take (a report handler answering report_reply
// values), as if each had come alone, until one is not taken; the reply to the relay.
template <typename Take>
LRESULT TakeRelayedReports(const RelayedReport* reports, size_t count, Take take) {
  if (!reports) return 1;
  size_t taken = 0;
  for (; taken < count; ++taken) {
    const RelayedReport& report = reports[taken];
    COPYDATASTRUCT data = {report.kind, static_cast<DWORD>(report.text.size() * sizeof(wchar_t)),
                           const_cast<wchar_t*>(report.text.c_str())};
    LRESULT reply = take(&data);
    if (reply == report_reply::kStop) return 0;
    if (reply == report_reply::kResend) break;
  }
  return static_cast<LRESULT>(taken) + 1;
}

// The same for a page that takes a batch whole or not at all: verdict (a report_reply value) is
// its answer for every report of the batch. It answers before it does the work, on the reports
// moved out of the batch, so the worker scans on while the page lists what came, on the other
// processor where there is one.
template <typename Take>
LRESULT TakeRelayedBatchAnsweringFirst(RelayedReport* reports, size_t count, LRESULT verdict, Take take) {
  if (verdict == report_reply::kStop) return 0;
  if (verdict == report_reply::kResend || !reports) return 1;
  const std::vector<RelayedReport> batch(std::make_move_iterator(reports), std::make_move_iterator(reports + count));
  const LRESULT reply = static_cast<LRESULT>(count) + 1;
  ReplyMessage(reply);  // the relay may free its reports from here on
  for (const RelayedReport& report : batch) {
    COPYDATASTRUCT data = {report.kind, static_cast<DWORD>(report.text.size() * sizeof(wchar_t)),
                           const_cast<wchar_t*>(report.text.c_str())};
    take(&data);
  }
  return reply;
}

constexpr size_t kPacedItems = 300;
constexpr DWORD kBatchMs = 40;
constexpr size_t kLargestBatch = 16384;

class ReportRelay {
 public:
  // pacedKinds: the kinds of the page's item reports; the first pacedItems of them go one at a
  // time. stop: the job's stop flag. batchMs: how long reports are gathered before they go on.
  ReportRelay(HWND page, std::vector<ULONG_PTR> pacedKinds, size_t pacedItems, const std::atomic<bool>& stop,
              DWORD batchMs = kBatchMs);
  ~ReportRelay();
  ReportRelay(const ReportRelay&) = delete;
  ReportRelay& operator=(const ReportRelay&) = delete;

  // Where the engine reports: the relay's window, or the page itself when the window could not be
  // made.
  HWND window() const { return window_ ? window_ : page_; }
  // Hands on what is still held, waiting while the page asks for it again; false when the scan
  // must end.
  bool Flush();

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Take(const COPYDATASTRUCT* data);
  // Whether the page is still there is learnt when a batch goes to it.
  bool Ended() const { return ended_ || stop_; }

  const HWND page_;
  const std::vector<ULONG_PTR> pacedKinds_;
  const size_t pacedItems_;
  const std::atomic<bool>& stop_;
  const DWORD batchMs_;
  HWND window_ = nullptr;
  std::vector<RelayedReport> held_;
  size_t itemsPassed_ = 0;
  DWORD flushedAt_ = 0;
  bool ended_ = false;
};

}  // namespace cleaning_pages
