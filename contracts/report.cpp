#include "contracts/report.h"

#include <cwchar>
#include <string>

#include "contracts/messages.h"

namespace report {

bool Send(HWND window, ULONG_PTR kind, const wchar_t* text) {
  return Send(window, kind, text, text ? wcslen(text) : 0);
}

bool Send(HWND window, ULONG_PTR kind, const wchar_t* text, size_t length) {
  if (!text) {
    text = L"";
    length = 0;
  }
  // The receiver reads cbData bytes: the characters and their terminator.
  const size_t kMaxChars = 0x3FFFFFF;
  if (length > kMaxChars) return false;
  std::wstring copy;
  if (text[length] != L'\0') {  // a prefix of a longer text: send it terminated
    copy.assign(text, length);
    text = copy.c_str();
  }

  COPYDATASTRUCT data;
  data.dwData = kind;
  data.cbData = static_cast<DWORD>((length + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(text);
  for (;;) {
    if (!window || !IsWindow(window)) return false;
    SetLastError(ERROR_SUCCESS);
    LRESULT reply = SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    if (reply == 0 && GetLastError() == ERROR_INVALID_WINDOW_HANDLE) return false;
    if (reply == report_reply::kStop) return false;
    if (reply != report_reply::kResend) return true;
    Sleep(kResendDelayMs);
  }
}

}  // namespace report
