// Flushing behind the writer: while a pass writes the rest of a large file, a thread of its own
// asks the system to write out what is already written, so the disk is busy while the pass makes
// and copies its chunks instead of waiting for them. The pass still ends with a flush of its own
// once everything is written, so it is on the disk before the next one begins. Where the system
// honours write-through as each write is made, a flush finds little left to do.
#pragma once
#include <windows.h>

#include "base/handles.h"

namespace erasemill {

class FlushBehind {
 public:
  // Flushes file (which must outlive this) whenever asked, on a thread made when first asked;
  // where no thread can be had, asking does nothing and the pass's own flush does it all.
  explicit FlushBehind(HANDLE file) : file_(file) {}
  FlushBehind(const FlushBehind&) = delete;
  FlushBehind& operator=(const FlushBehind&) = delete;
  ~FlushBehind() { Finish(); }

  // Has what is written so far flushed; returns at once. Asked while a flush is under way, the
  // next flush begins when that one ends.
  void Ask();
  // Waits for the flush under way and one still asked for, if any, and stops the thread; false
  // when a flush failed.
  bool Finish();

 private:
  static DWORD WINAPI Run(void* self) noexcept;

  HANDLE file_;
  base::UniqueHandle wake_;  // auto-reset: one more flush wanted
  base::UniqueHandle thread_;
  bool tried_ = false;
  volatile LONG asked_ = 0;  // a flush was asked for and has not begun
  volatile LONG stop_ = 0;
  volatile LONG failed_ = 0;
};

}  // namespace erasemill
