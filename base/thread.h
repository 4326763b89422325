// The one way Lumaspan starts a thread. The new thread owns its job: it runs it once and destroys
// it itself, so nothing the starter holds is ever touched by the thread after the start (hand it
// copies, or shared ownership). The starter keeps a Thread: the thread's handle, owned, which can
// be asked whether the thread has ended or waited for. Letting a Thread go closes the handle and
// waits for nothing: a worker is never killed, it ends by itself, and a window never blocks on it.
// No exception leaves a job: the thread ends as if the job had returned.
#pragma once
#include <windows.h>

#include <memory>
#include <utility>

#include "base/handles.h"

namespace base {

class Thread {
 public:
  // What a thread runs; destroyed on the thread once Run returns.
  class Job {
   public:
    virtual ~Job() = default;
    virtual void Run() = 0;
  };

  Thread() = default;
  Thread(Thread&&) noexcept = default;
  Thread& operator=(Thread&&) noexcept = default;

  // Starts a thread running job; an empty Thread when none could be started (job is then
  // destroyed here, unrun).
  static Thread Start(std::unique_ptr<Job> job);
  // The same for any callable, moved into the thread.
  template <typename Callable>
  static Thread Run(Callable callable) {
    struct Call final : Job {
      explicit Call(Callable c) : callable(std::move(c)) {}
      void Run() override { callable(); }
      Callable callable;
    };
    return Start(std::make_unique<Call>(std::move(callable)));
  }

  explicit operator bool() const { return handle_.valid(); }
  HANDLE handle() const { return handle_.get(); }
  // True when there is no thread or it has returned.
  bool Ended() const { return !handle_ || WaitForSingleObject(handle_.get(), 0) == WAIT_OBJECT_0; }
  // Waits up to timeoutMs for the thread to return; true when it has (or there is none).
  bool Join(DWORD timeoutMs = INFINITE) const {
    return !handle_ || WaitForSingleObject(handle_.get(), timeoutMs) == WAIT_OBJECT_0;
  }
  // Hands the handle over (to a caller that waits on it itself); the Thread is empty after.
  UniqueHandle Release() { return std::move(handle_); }
  // Threads started and not yet returned, in the whole process.
  static int Live();

 private:
  static unsigned __stdcall Main(void* job);
  UniqueHandle handle_;
};

}  // namespace base
