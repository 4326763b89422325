#include "base/thread.h"

#include <process.h>

#include <atomic>

namespace base {
namespace {

std::atomic<int> g_live{0};

}  // namespace

int Thread::Live() { return g_live; }

Thread Thread::Start(std::unique_ptr<Job> job) {
  Thread thread;
  if (!job) return thread;
  ++g_live;
  // _beginthreadex, not CreateThread: the job may use the C runtime.
  uintptr_t handle = _beginthreadex(nullptr, 0, &Thread::Main, job.get(), 0, nullptr);
  if (!handle) {
    --g_live;
    return thread;
  }
  job.release();  // the thread's from here on
  thread.handle_.reset(reinterpret_cast<HANDLE>(handle));
  return thread;
}

unsigned __stdcall Thread::Main(void* argument) {
  try {
    std::unique_ptr<Job> job(static_cast<Job*>(argument));
    job->Run();
  } catch (...) {
    // The job's own failure ends the thread, never the process.
  }
  --g_live;
  return 0;
}

}  // namespace base
