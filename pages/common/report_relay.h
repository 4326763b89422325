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

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <vector>

#include "contracts/messages.h"

namespace common_pages {

// A report as the page gets it: its text (length characters, then a terminator) lies in the
// relay's buffer and is valid for the length of the call only.
struct RelayedReport {
  ULONG_PTR kind;
  const wchar_t* text;
  size_t length;
};

// Sent to the page: wParam the number of reports, lParam the first (const RelayedReport*). The
// page answers 0 to end the scan, else 1 + the number it took.
constexpr UINT kRelayedReportsMessage = WM_APP + 0x120;

inline COPYDATASTRUCT AsCopyData(const RelayedReport& report) {
  return {report.kind, static_cast<DWORD>(report.length * sizeof(wchar_t)), const_cast<wchar_t*>(report.text)};
}

// The page's side: each report of a batch through take (a report handler answering report_reply
// values), as if each had come alone, until one is not taken; the reply to the relay.
template <typename Take>
LRESULT TakeRelayedReports(const RelayedReport* reports, size_t count, Take take) {
  if (!reports) return 1;
  size_t taken = 0;
  for (; taken < count; ++taken) {
    COPYDATASTRUCT data = AsCopyData(reports[taken]);
    LRESULT reply = take(&data);
    if (reply == report_reply::kStop) return 0;
    if (reply == report_reply::kResend) break;
  }
  return static_cast<LRESULT>(taken) + 1;
}

// The same for a page that takes a batch whole or not at all: verdict (a report_reply value) is
// its answer for every report of the batch. It answers before it does the work, on its own copy
// of the batch (one block for all the texts), so the worker scans on while the page lists what
// came, on the other processor where there is one.
template <typename Take>
LRESULT TakeRelayedBatchAnsweringFirst(const RelayedReport* reports, size_t count, LRESULT verdict, Take take) {
  if (verdict == report_reply::kStop) return 0;
  if (verdict == report_reply::kResend || !reports) return 1;
  size_t chars = 0;
  for (size_t i = 0; i < count; ++i) chars += reports[i].length + 1;
  std::vector<wchar_t> texts(chars);
  std::vector<RelayedReport> batch(reports, reports + count);
  wchar_t* at = texts.data();
  for (RelayedReport& report : batch) {
    std::copy(report.text, report.text + report.length, at);
    at[report.length] = L'\0';
    report.text = at;
    at += report.length + 1;
  }
  const LRESULT reply = static_cast<LRESULT>(count) + 1;
  ReplyMessage(reply);  // the relay may reuse its buffer from here on
  for (const RelayedReport& report : batch) {
    COPYDATASTRUCT data = AsCopyData(report);
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
  // A report held: its kind and where its text lies in texts_. The buffers keep their size from
  // batch to batch, so holding a report allocates nothing.
  struct Held {
    ULONG_PTR kind;
    size_t offset, length;
  };

  HWND window_ = nullptr;
  std::vector<Held> held_;
  std::vector<wchar_t> texts_;
  std::vector<RelayedReport> batch_;
  size_t itemsPassed_ = 0;
  DWORD flushedAt_ = 0;
  bool ended_ = false;
};

}  // namespace common_pages

// The cleaner pages, where this layer began, name it as their own.
namespace cleaning_pages {
using namespace common_pages;
}  // namespace cleaning_pages
