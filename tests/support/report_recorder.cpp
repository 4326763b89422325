#include "tests/support/report_recorder.h"

namespace test {
namespace {
const wchar_t kClassName[] = L"LumaspanTestReportRecorder";

void RegisterOnce() {
  static ATOM atom = 0;
  if (atom) return;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;  // replaced per window once the object is attached
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  atom = RegisterClassW(&wc);
}
}  // namespace

ReportRecorder::ReportRecorder(Style style) {
  RegisterOnce();
  window_ = CreateWindowExW(0, kClassName, L"report recorder", style == Style::TopLevel ? WS_POPUP : 0, 0, 0,
                            10, 10, style == Style::MessageOnly ? HWND_MESSAGE : nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReportRecorder::Proc));
}

ReportRecorder::~ReportRecorder() {
  if (window_) DestroyWindow(window_);
}

void ReportRecorder::SetReply(LRESULT reply) {
  choose_ = [reply](const Report&, size_t) { return reply; };
}

void ReportRecorder::SetReplies(std::function<LRESULT(const Report&, size_t)> choose) { choose_ = std::move(choose); }

std::vector<Report> ReportRecorder::OfKind(ULONG_PTR kind) const {
  std::vector<Report> out;
  for (const Report& r : reports_)
    if (r.kind == kind) out.push_back(r);
  return out;
}

std::vector<std::wstring> ReportRecorder::TextsOfKind(ULONG_PTR kind) const {
  std::vector<std::wstring> out;
  for (const Report& r : reports_)
    if (r.kind == kind) out.push_back(r.text);
  return out;
}

LRESULT CALLBACK ReportRecorder::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ReportRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_COPYDATA) {
    LRESULT reply = self->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    if (!self->default_) return reply;
    reply = DefWindowProcW(window, message, wParam, lParam);
    self->reports_.back().reply = reply;
    return reply;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ReportRecorder::OnCopyData(const COPYDATASTRUCT* data) {
  Report r;
  r.kind = data->dwData;
  r.bytes = data->cbData;
  const wchar_t* chars = static_cast<const wchar_t*>(data->lpData);
  size_t count = data->cbData / sizeof(wchar_t);
  if (chars && count > 0) {
    r.terminated = chars[count - 1] == L'\0';
    size_t n = 0;
    while (n < count && chars[n] != L'\0') ++n;
    r.text.assign(chars, n);
  }
  r.reply = choose_ ? choose_(r, reports_.size()) : 0;
  reports_.push_back(r);
  return r.reply;
}

}  // namespace test
