// The start-up list: every entry reported to the window as WM_COPYDATA 100001
// "item|command line|kind", kinds in ascending order. Inside the item and the command line "%" is
// sent as "%25" and "|" as "%7C", so a name holding "|" can neither hide an entry nor shift its
// fields.
#pragma once
#include <windows.h>

#include <string>

namespace bootlist {

std::wstring EscapeField(const std::wstring& text);
std::wstring EntryReport(const std::wstring& item, const std::wstring& command, int kind);

// Reports every entry; false when the window ended the listing (a "stop" reply, or gone).
bool ReportStartupList(HWND window);

}  // namespace bootlist
