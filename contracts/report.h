// Sending one scan report to the window that asked for the scan, with the reply protocol every
// engine honours: 0 go on; 1 stop now; 2 not taken yet, send the same report again after about
// 50 ms. A window that no longer exists ends the scan too.
#pragma once
#include <windows.h>

#include <cstddef>

namespace report {

constexpr DWORD kResendDelayMs = 50;

// Sends text (null reads as "") as a WM_COPYDATA report of `kind` to `window` and waits for the
// reply. Returns true when the scan may go on, false when it must end now.
bool Send(HWND window, ULONG_PTR kind, const wchar_t* text);
bool Send(HWND window, ULONG_PTR kind, const wchar_t* text, size_t length);

}  // namespace report
