#include "pages/common/scan_session.h"

#include <algorithm>

#include "base/product.h"
#include "contracts/messages.h"

namespace common_pages {

base::ScanLock TakeScanLock(HWND owner) {
  base::ScanLock lock = base::ScanLock::TryTake();
  if (!lock.held()) {
    MessageBoxW(owner, L"Another Lumaspan scan or clean is running. Start again when it has finished.",
                product::kCaption, MB_OK | MB_ICONINFORMATION);
  }
  return lock;
}

bool ScanSession::Reserve(HWND owner) {
  if (closing_) return false;
  if (!lock_.held()) lock_ = TakeScanLock(owner);
  return lock_.held();
}

bool ScanSession::Start(std::shared_ptr<ScanJob> job) {
  if (closing_ || !job) return false;
  pending_.reset();
  RetireCurrent();  // the lock, if reserved, stays for this scan
  if (!lock_.held()) lock_ = base::ScanLock::TryTake();
  if (!lock_.held()) return false;
  pending_ = std::move(job);
  endedWhileAsking_ = false;
  ForgetEnded();
  if (!retiring_.empty() || StartPending()) return true;
  lock_.Release();
  return false;
}

bool ScanSession::StartPending() {
  if (!pending_) return false;
  current_.job = std::move(pending_);
  current_.thread = ScanJob::Start(current_.job);
  if (!current_.thread) current_ = Worker();
  return current_.job != nullptr;
}

void ScanSession::Stop() {
  pending_.reset();
  RetireCurrent();
  lock_.Release();
}

void ScanSession::Close() {
  closing_ = true;
  Stop();
  for (Worker& w : retiring_) w.job->Stop();
  // Their handles close; the workers, refused every report, end by themselves.
  retiring_.clear();
}

void ScanSession::RetireCurrent() {
  if (!current_.job) return;
  current_.job->Stop();
  if (current_.thread) retiring_.push_back(std::move(current_));
  current_ = Worker();
}

void ScanSession::ForgetEnded() {
  retiring_.erase(std::remove_if(retiring_.begin(), retiring_.end(), [](const Worker& w) { return w.thread.Ended(); }),
                  retiring_.end());
}

LRESULT ScanSession::Verdict() const {
  if (closing_ || !current_.job || current_.job->stopped()) return report_reply::kStop;
  if (!ready_ || asking_) return report_reply::kResend;
  return report_reply::kGoOn;
}

ScanSession::End ScanSession::OnWorkerEnded(WPARAM serial) {
  if (closing_) return End::kNone;
  if (current_.job && current_.job->serial() == serial) {
    if (asking_) {
      endedWhileAsking_ = true;  // settled once the question is answered
      return End::kNone;
    }
    current_ = Worker();
    lock_.Release();
    return End::kRunning;
  }
  retiring_.erase(std::remove_if(retiring_.begin(), retiring_.end(),
                                 [serial](const Worker& w) { return w.job->serial() == serial; }),
                  retiring_.end());
  if (retiring_.empty() && pending_ && !StartPending()) {
    lock_.Release();
    return End::kFailed;
  }
  return End::kNone;
}

ScanSession::Answer ScanSession::AskToStop(HWND owner) {
  if (!Running() || asking_) return Answer::kGoOn;
  asking_ = true;
  endedWhileAsking_ = false;
  const int answer = MessageBoxW(owner, L"Are you sure to stop scanning?", product::kCaption, MB_OKCANCEL | MB_ICONQUESTION);
  asking_ = false;
  const bool ended = endedWhileAsking_;
  endedWhileAsking_ = false;
  // Stopped or reset while the question was open: nothing is left to settle.
  if (closing_ || (!current_.job && !pending_)) return Answer::kGoOn;
  if (answer == IDOK) {
    if (ended) current_ = Worker();
    Stop();
    return Answer::kStopped;
  }
  if (ended) {
    current_ = Worker();
    lock_.Release();
    return Answer::kEnded;
  }
  return Answer::kGoOn;
}

}  // namespace common_pages
