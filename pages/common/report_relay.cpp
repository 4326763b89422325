#include "pages/common/report_relay.h"

#include <algorithm>

#include "base/text.h"
#include "contracts/messages.h"
#include "contracts/report.h"

namespace common_pages {
namespace {

const wchar_t kClass[] = L"LumaspanReportRelay";

ATOM RelayClass() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;  // replaced by the relay's own once it knows its object
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    return RegisterClassExW(&wc);
  }();
  return atom;
}

}  // namespace

ReportRelay::ReportRelay(HWND page, std::vector<ULONG_PTR> pacedKinds, size_t pacedItems, const std::atomic<bool>& stop,
                         DWORD batchMs)
    : page_(page),
      pacedKinds_(std::move(pacedKinds)),
      pacedItems_(pacedItems),
      stop_(stop),
      batchMs_(batchMs),
      flushedAt_(GetTickCount()) {
  if (!RelayClass()) return;
  window_ = CreateWindowExW(0, kClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReportRelay::Proc));
}

ReportRelay::~ReportRelay() {
  if (window_) DestroyWindow(window_);
}

LRESULT CALLBACK ReportRelay::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* relay = reinterpret_cast<ReportRelay*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message != WM_COPYDATA || !relay) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return relay->Take(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  } catch (...) {
    relay->ended_ = true;  // out of memory: the page keeps what it has, the scan ends
    return report_reply::kStop;
  }
}

LRESULT ReportRelay::Take(const COPYDATASTRUCT* data) {
  if (Ended()) return report_reply::kStop;
  if (!data) return report_reply::kGoOn;
  const auto* chars = static_cast<const wchar_t*>(data->lpData);
  size_t length = chars ? base::LengthBounded(chars, data->cbData / sizeof(wchar_t)) : 0;
  held_.push_back(Held{data->dwData, texts_.size(), length});
  if (chars) texts_.insert(texts_.end(), chars, chars + length);
  texts_.push_back(L'\0');
  const bool item = std::find(pacedKinds_.begin(), pacedKinds_.end(), data->dwData) != pacedKinds_.end();
  const bool paced = item && itemsPassed_ < pacedItems_;
  if (item) ++itemsPassed_;
  if (paced || held_.size() >= kLargestBatch || GetTickCount() - flushedAt_ >= batchMs_) {
    if (!Flush()) return report_reply::kStop;
  }
  return report_reply::kGoOn;
}

bool ReportRelay::Flush() {
  batch_.resize(held_.size());
  for (size_t i = 0; i < held_.size(); ++i) batch_[i] = {held_[i].kind, texts_.data() + held_[i].offset, held_[i].length};
  size_t from = 0;
  while (from < batch_.size()) {
    if (Ended() || !IsWindow(page_)) {
      ended_ = true;
      break;
    }
    LRESULT reply = SendMessageW(page_, kRelayedReportsMessage, batch_.size() - from,
                                 reinterpret_cast<LPARAM>(batch_.data() + from));
    // 0 is also what a window that does not know the message answers: the scan ends.
    if (reply <= 0) {
      ended_ = true;
      break;
    }
    from += std::min(static_cast<size_t>(reply - 1), batch_.size() - from);
    if (from < batch_.size()) Sleep(report::kResendDelayMs);  // the page asks for the rest again later
  }
  held_.clear();
  texts_.clear();
  flushedAt_ = GetTickCount();
  return !Ended();
}

}  // namespace common_pages
