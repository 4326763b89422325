// The report channel of a scan: progress texts and found items sent to the window that asked for
// the scan, through report::Send and its reply protocol. Once the receiver has ended the scan (the
// stop reply, or its window is gone) nothing more is sent, and every call answers false so that
// the scan, however deeply nested, unwinds at once.
//
// Progress is for the eye: a cross-thread report costs far more than examining a file, so the
// object being examined is sent only when kProgressIntervalMs have passed since the last progress
// report, and always for the first object of the scan (one reporter serves one drive or category).
// Every item is sent, each once, in the order found.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace cleaning {

class Reporter {
 public:
  // itemKind is the engine's item report kind (report_kind::kTraceItem or kJunkItem).
  Reporter(HWND window, ULONG_PTR itemKind) : window_(window), itemKind_(itemKind) {}
  Reporter(const Reporter&) = delete;
  Reporter& operator=(const Reporter&) = delete;

  static constexpr DWORD kProgressIntervalMs = 50;

  // Kind 20000: the object being examined now (sent or skipped as above). False once the scan
  // has been ended.
  bool Progress(std::wstring_view text);
  // The item kind: "name|location|size", size in decimal bytes.
  bool Item(std::wstring_view name, std::wstring_view location, uint64_t size);

  bool stopped() const { return stopped_; }

 private:
  bool Send(ULONG_PTR kind, const wchar_t* text, size_t length);

  HWND window_;
  ULONG_PTR itemKind_;
  bool stopped_ = false;
  bool progressSent_ = false;
  DWORD lastProgress_ = 0;  // GetTickCount of the last progress report sent
  std::wstring text_;  // reused: a walk of many files allocates once
};

// size as decimal digits appended to text.
void AppendDecimal(std::wstring& text, uint64_t size);

}  // namespace cleaning
