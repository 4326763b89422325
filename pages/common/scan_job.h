// A scan's worker thread and what it is given. The job is shared between the page and the worker:
// it holds the page's window handle by value, its own copy of the inputs (the derived job's
// categories or drives) and a stop flag, never a pointer into the page, so a page that is
// destroyed (the main window closed) cannot be touched by the worker. The engine reports to a relay
// on the worker thread (report_relay.h) that hands the reports on to the page on the page's thread
// in order; the page's replies are what stop or pause a scan. Nothing suspends or kills a worker.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <memory>

#include "base/thread.h"

namespace common_pages {

class ScanJob {
 public:
  // Sends endMessage (wParam: serial()) to window when the worker is done. With relayedItemKind
  // (the kind of the page's item reports) the engines report through a relay (report_relay.h),
  // which the page must answer, the first pacedItems items one at a time; without, straight to
  // the page.
  ScanJob(HWND window, UINT endMessage, ULONG_PTR relayedItemKind = 0, size_t pacedItems = 0);
  virtual ~ScanJob() = default;
  ScanJob(const ScanJob&) = delete;
  ScanJob& operator=(const ScanJob&) = delete;

  HWND window() const { return window_; }
  // Tells this job's end message from any other's.
  WPARAM serial() const { return serial_; }
  // The worker stops before its next engine call; the engine itself stops at its next report,
  // which the page answers "stop".
  void Stop() { stop_ = true; }
  bool stopped() const { return stop_; }
  // The flag itself, for a job that runs its own relay.
  const std::atomic<bool>& stopFlag() const { return stop_; }

  // Runs the job on a new worker thread, which keeps its own reference to it; an empty Thread when
  // none can start.
  static base::Thread Start(const std::shared_ptr<ScanJob>& job);
  // Worker threads started and not yet finished, in the whole process.
  static int LiveWorkers();

 protected:
  // The engine calls, on the worker thread, each given reportWindow().
  virtual void Run() = 0;
  // Where the engines report while Run runs.
  HWND reportWindow() const { return reportWindow_; }
  // False once the scan must end: stopped, or the page's window is gone.
  bool GoOn() const { return !stop_ && IsWindow(window_); }
  // A report without text (the tick before a drive or category); false when the page ended the scan.
  bool Tick(ULONG_PTR kind) const;

 private:
  // The worker thread's whole life.
  void Main();

  const HWND window_;
  const UINT endMessage_;
  const ULONG_PTR itemKind_;
  const size_t pacedItems_;
  HWND reportWindow_;  // the relay's, set on the worker thread before Run
  const WPARAM serial_;
  std::atomic<bool> stop_{false};
};

}  // namespace common_pages

// The cleaner pages, where this layer began, name it as their own.
namespace cleaning_pages {
using namespace common_pages;
}  // namespace cleaning_pages
