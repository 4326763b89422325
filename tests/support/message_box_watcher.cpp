#include "tests/support/message_box_watcher.h"

#include <algorithm>

#include "tests/support/pump.h"

namespace test {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t buffer[4096] = {};
  GetWindowTextW(window, buffer, 4096);
  return buffer;
}

struct Search {
  DWORD process;
  std::vector<HWND> boxes;
};

BOOL CALLBACK Collect(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window)) return TRUE;
  wchar_t cls[32] = {};
  GetClassNameW(window, cls, 32);
  if (wcscmp(cls, L"#32770") == 0) search->boxes.push_back(window);
  return TRUE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(int defaultButton) : default_(defaultButton) {
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &MessageBoxWatcher::ThreadMain, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  SetEvent(stop_);
  // The watcher may be pressing a button of a box on this thread: keep this thread's messages
  // flowing until it has finished.
  while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) PumpFor(0);
  CloseHandle(thread_);
  CloseHandle(stop_);
}

void MessageBoxWatcher::Answer(std::initializer_list<int> buttons) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.insert(answers_.end(), buttons.begin(), buttons.end());
}

std::vector<SeenBox> MessageBoxWatcher::seen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_;
}

size_t MessageBoxWatcher::count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return seen_.size();
}

bool MessageBoxWatcher::WaitForCount(size_t n, DWORD timeoutMs) {
  return PumpUntil([&] { return count() >= n; }, timeoutMs);
}

DWORD WINAPI MessageBoxWatcher::ThreadMain(void* self) {
  static_cast<MessageBoxWatcher*>(self)->Run();
  return 0;
}

void MessageBoxWatcher::Run() {
  while (WaitForSingleObject(stop_, 10) == WAIT_TIMEOUT) {
    Search search{GetCurrentProcessId(), {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    // Forget boxes that are gone, so a new box that reuses a handle is seen.
    handled_.erase(std::remove_if(handled_.begin(), handled_.end(), [](HWND h) { return !IsWindow(h); }),
                   handled_.end());
    for (HWND box : search.boxes) {
      if (std::find(handled_.begin(), handled_.end(), box) != handled_.end()) continue;
      if (HandleBox(box)) handled_.push_back(box);
    }
  }
}

bool MessageBoxWatcher::HandleBox(HWND box) {
  HWND textControl = GetDlgItem(box, 0xFFFF);
  if (!textControl) return false;  // not a message box, or not filled in yet
  SeenBox seen;
  seen.caption = TextOf(box);
  seen.text = TextOf(textControl);
  int button;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    button = answers_.empty() ? default_ : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
  }
  if (!GetDlgItem(box, button)) button = GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
  seen.pressed = button;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    seen_.push_back(seen);
  }
  HWND control = GetDlgItem(box, button);
  DWORD_PTR ignored = 0;
  if (control) SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &ignored);
  // A box that did not take the click (not yet active) gets its command directly.
  for (int i = 0; i < 50 && IsWindow(box); ++i) Sleep(10);
  if (IsWindow(box)) PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  return true;
}

}  // namespace test
