#include "engines/common/reporter.h"

#include "contracts/messages.h"
#include "contracts/report.h"

namespace cleaning {

void AppendDecimal(std::wstring& text, uint64_t size) {
  wchar_t digits[24];
  size_t n = 0;
  do {
    digits[n++] = static_cast<wchar_t>(L'0' + size % 10);
    size /= 10;
  } while (size);
  while (n) text.push_back(digits[--n]);
}

bool Reporter::Send(ULONG_PTR kind, const wchar_t* text, size_t length) {
  if (stopped_) return false;
  if (!report::Send(window_, kind, text, length)) stopped_ = true;
  return !stopped_;
}

bool Reporter::Progress(std::wstring_view text) {
  if (stopped_) return false;
  // GetTickCount, not GetTickCount64: the engines run on Windows XP too. The unsigned difference
  // is right across the counter's wrap.
  DWORD now = GetTickCount();
  if (progressSent_ && now - lastProgress_ < kProgressIntervalMs) return true;
  progressSent_ = true;
  lastProgress_ = now;
  text_.assign(text);
  return Send(report_kind::kCleanProgress, text_.c_str(), text_.size());
}

bool Reporter::Item(std::wstring_view name, std::wstring_view location, uint64_t size) {
  text_.assign(name);
  text_.push_back(L'|');
  text_.append(location);
  text_.push_back(L'|');
  AppendDecimal(text_, size);
  return Send(itemKind_, text_.c_str(), text_.size());
}

}  // namespace cleaning
