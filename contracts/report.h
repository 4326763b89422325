// Sending one scan report to the window that asked for the scan, with the reply protocol every
// engine honours (contracts/messages.h, report_reply): kStop ends the scan, kResend sends the same
// report again after about 50 ms, any other reply goes on. A window that no longer exists ends the
// scan too.
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
