// A hidden window that records the WM_COPYDATA reports it receives, in order, and answers each with
// a configurable reply, so tests can check what an engine reported and drive the stop/resend
// protocol. Reports sent from the window's own thread arrive at once (a direct call); reports from
// another thread arrive while the test pumps messages (tests/support/pump.h).
#pragma once
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace test {

struct Report {
  ULONG_PTR kind = 0;
  std::wstring text;  // the characters before the terminator
  DWORD bytes = 0;    // cbData as sent
  bool terminated = false;  // the last character within cbData was the terminator
  LRESULT reply = 0;  // what the recorder answered
};

class ReportRecorder {
 public:
  enum class Style { MessageOnly, TopLevel };
  explicit ReportRecorder(Style style = Style::MessageOnly);
  ~ReportRecorder();
  ReportRecorder(const ReportRecorder&) = delete;
  ReportRecorder& operator=(const ReportRecorder&) = delete;

  HWND window() const { return window_; }

  // The reply to every report from now on (report_reply values; anything else goes on).
  void SetReply(LRESULT reply);
  // A reply chosen per report; index counts every report received so far, from 0.
  void SetReplies(std::function<LRESULT(const Report&, size_t index)> choose);
  // Records each report, then leaves the message to DefWindowProc and answers what it returns, as a
  // window that knows nothing of reports does.
  void LeaveToDefWindowProc() { default_ = true; }

  const std::vector<Report>& reports() const { return reports_; }
  std::vector<Report> OfKind(ULONG_PTR kind) const;
  std::vector<std::wstring> TextsOfKind(ULONG_PTR kind) const;
  void Clear() { reports_.clear(); }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCopyData(const COPYDATASTRUCT* data);

  HWND window_ = nullptr;
  std::vector<Report> reports_;
  std::function<LRESULT(const Report&, size_t)> choose_;
  bool default_ = false;
};

}  // namespace test
