// What the benchmarks share: a clock, and a message-only window whose procedure receives a
// scan's reports.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>

#include <cstdio>

namespace bench {

// Seconds from an arbitrary start, to the resolution of the performance counter.
inline double Seconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A message-only window of its own class (className) running procedure; null when it cannot be made.
inline HWND MessageWindow(const wchar_t* className, WNDPROC procedure) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = className;
  RegisterClassW(&wc);
  return CreateWindowExW(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

// Runs a benchmark that shows the program's windows with what the program starts first: COM, the
// common controls and GDI+. Its result, or 1 when it failed.
inline int RunWithWindows(const char* name, int (*run)()) {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS |
                                                         ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  int result = 1;
  try {
    result = run();
  } catch (...) {
    std::printf("%s: failed\n", name);
  }
  Gdiplus::GdiplusShutdown(token);
  CoUninitialize();
  return result;
}

}  // namespace bench
