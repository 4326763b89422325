#include "suite/erasemill/flush_behind.h"
#include "base/thread.h"

namespace erasemill {

void FlushBehind::Ask() {
  if (!thread_ && !tried_) {
    tried_ = true;  // a file too small to ask never has a thread made for it
    wake_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (wake_) thread_ = base::Thread::Run([this] { Run(this); }).Release();
  }
  if (thread_) {
    InterlockedExchange(&asked_, 1);
    SetEvent(wake_.get());
  }
}

bool FlushBehind::Finish() {
  if (thread_) {
    InterlockedExchange(&stop_, 1);
    SetEvent(wake_.get());
    WaitForSingleObject(thread_.get(), INFINITE);
    thread_.reset();
  }
  return InterlockedCompareExchange(&failed_, 0, 0) == 0;
}

DWORD WINAPI FlushBehind::Run(void* self) noexcept {
  auto* flusher = static_cast<FlushBehind*>(self);
  for (;;) {
    WaitForSingleObject(flusher->wake_.get(), INFINITE);
    // A stop that comes before the thread has woken for the last request must not drop it.
    if (InterlockedExchange(&flusher->asked_, 0) && !FlushFileBuffers(flusher->file_))
      InterlockedExchange(&flusher->failed_, 1);
    if (InterlockedCompareExchange(&flusher->stop_, 0, 0)) return 0;
  }
}

}  // namespace erasemill
