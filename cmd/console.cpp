#include "cmd/console.h"

#include <algorithm>

namespace cmd {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], bytes, nullptr, nullptr);
  return out;
}

Console::Console(DWORD kind) : handle_(GetStdHandle(kind)) {
  DWORD mode = 0;
  console_ = handle_ && handle_ != INVALID_HANDLE_VALUE && GetConsoleMode(handle_, &mode);
}

void Console::Write(const std::wstring& text) const {
  if (!handle_ || handle_ == INVALID_HANDLE_VALUE || text.empty()) return;
  if (console_) {
    std::wstring shown;
    shown.reserve(text.size() + 8);
    for (wchar_t c : text) {
      if (c == L'\n') shown += L'\r';
      shown += c;
    }
    // WriteConsoleW takes a bounded count per call on old systems; write in slices.
    const size_t kSlice = 8192;
    for (size_t at = 0; at < shown.size(); at += kSlice) {
      DWORD n = static_cast<DWORD>(std::min(kSlice, shown.size() - at)), written = 0;
      if (!WriteConsoleW(handle_, shown.data() + at, n, &written, nullptr)) return;
    }
    return;
  }
  std::string bytes = Utf8(text);
  DWORD written = 0;
  WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace cmd
