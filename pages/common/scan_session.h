// The control of a page's scans, written once for every scanning page. A session owns the running
// scan's job and worker, tells its end from that of a scan stopped before it (each job has its
// serial), starts a new scan only once the stopped workers have ended (so that every report comes
// from one worker), asks "Are you sure to stop scanning?", and holds the one reply rule:
//
//   kStop    no scan of this page is running, it was stopped or has ended, or the page is closing;
//   kResend  the scan runs but its views are not made yet, or the abort question is open: the
//            worker waits at its report and sends it again shortly;
//   kGoOn    the report is the page's to take.
//
// The page supplies the job (what the worker runs), makes its views and takes the reports. The
// session never waits for a worker: a stopped one is refused every report and ends by itself; one
// still running when the page closes is simply left to end, or to go with the process.
//
// Only one scan or clean runs at a time across the window and the console program: a scan holds
// the base::ScanLock from its start until it ends, is stopped or the page closes.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "base/scan_lock.h"
#include "base/thread.h"
#include "pages/common/scan_job.h"

namespace common_pages {

// Takes the scan lock; when another scan or clean holds it, says so over owner and returns an
// empty lock. The one place a page learns it may not start.
base::ScanLock TakeScanLock(HWND owner);

class ScanSession {
 public:
  // What the page learns from a worker's end message.
  enum class End {
    kNone,     // not this page's running scan (a stopped one's, or a stale message)
    kRunning,  // the running scan ended: the page shows its result
    kFailed,   // a start waiting for stopped workers could not start its own: the page shows what it has
  };
  // What the abort question came to.
  enum class Answer {
    kGoOn,     // cancelled, or no scan to stop: the scan runs on
    kStopped,  // stopped: the page shows what it has
    kEnded,    // the scan ended by itself while the question was open: the page shows its result
  };

  ScanSession() = default;
  ~ScanSession() { Close(); }
  ScanSession(const ScanSession&) = delete;
  ScanSession& operator=(const ScanSession&) = delete;

  // Takes the scan lock for the next Start before the page commits to it; false (the user told)
  // when another scan or clean holds it.
  bool Reserve(HWND owner);
  // The one place a scan starts: job runs on a worker now, or once the stopped workers have ended.
  // False when no worker could be started now (the page shows an empty result) or the scan lock
  // is held elsewhere.
  bool Start(std::shared_ptr<ScanJob> job);
  // The page's views are made (true) or gone (false); until they are made, reports wait.
  void SetReady(bool ready) { ready_ = ready; }
  // The one place a scan ends: the running scan (or the start waiting) is stopped; what its
  // worker still reports is refused and it ends by itself.
  void Stop();
  // The page is closing: every scan is stopped and every report refused from now on; nothing is
  // waited for.
  void Close();

  // The reply to a report of this page's scans now (see above).
  LRESULT Verdict() const;
  // A worker's end message (its wParam).
  End OnWorkerEnded(WPARAM serial);
  // Asks "Are you sure to stop scanning?" over owner while the scan waits.
  Answer AskToStop(HWND owner);

  // A scan was started and has neither ended nor been stopped (its worker may still be waiting
  // for a stopped one to end).
  bool Running() const { return (current_.job || pending_) && !closing_; }
  bool Asking() const { return asking_; }
  bool Closing() const { return closing_; }
  // The job of the running scan, if its worker has started.
  const std::shared_ptr<ScanJob>& job() const { return current_.job; }

 private:
  struct Worker {
    std::shared_ptr<ScanJob> job;
    base::Thread thread;
  };
  bool StartPending();
  void RetireCurrent();
  void ForgetEnded();

  std::shared_ptr<ScanJob> pending_;  // waits for the stopped workers to end
  Worker current_;                    // the running scan
  std::vector<Worker> retiring_;      // stopped scans whose workers are still winding down
  bool ready_ = false;
  bool asking_ = false;
  bool endedWhileAsking_ = false;
  bool closing_ = false;
  base::ScanLock lock_;  // held from Reserve or Start until the scan ends or is stopped
};

}  // namespace common_pages
