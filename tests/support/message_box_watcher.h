// Answers the message boxes a test provokes. A background thread looks for a visible "#32770"
// window of this process, records its caption and text, and presses a button: the next queued
// answer, else the default. The box itself runs on the test's thread, inside MessageBoxW, so the
// test goes on once the box is answered.
#pragma once
#include <windows.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace test {

struct SeenBox {
  std::wstring caption;
  std::wstring text;
  int pressed = 0;  // IDOK, IDCANCEL, ...
};

class MessageBoxWatcher {
 public:
  explicit MessageBoxWatcher(int defaultButton = IDOK);
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  // Buttons for the next boxes, in order (IDOK, IDCANCEL, IDYES, IDNO).
  void Answer(std::initializer_list<int> buttons);
  std::vector<SeenBox> seen() const;
  size_t count() const;
  // Waits (pumping this thread's messages) until n boxes have been answered.
  bool WaitForCount(size_t n, DWORD timeoutMs);

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  bool HandleBox(HWND box);

  int default_;
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<SeenBox> seen_;
  std::vector<HWND> handled_;
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
};

}  // namespace test
