// Text out of the console program: UTF-16 to a console window (WriteConsoleW shows every letter
// whatever the code page), UTF-8 to a file or pipe it was redirected into.
#pragma once
#include <windows.h>

#include <string>

namespace cmd {

std::string Utf8(const std::wstring& text);

class Console {
 public:
  // kind: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit Console(DWORD kind);
  // Writes text as it is ("\n" becomes "\r\n" on a console only).
  void Write(const std::wstring& text) const;

 private:
  HANDLE handle_;
  bool console_ = false;
};

}  // namespace cmd
