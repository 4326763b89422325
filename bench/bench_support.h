// What the benchmarks share: a clock, a message-only window whose procedure receives a scan's
// reports, and the bare folder walk the scans are measured against.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "base/com.h"
#include "base/handles.h"

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

// The bare walk of folder (ending in "\\"): the same search calls as the engines' walk (the
// Windows 7 options where the system takes them), and for each file either nothing or one progress
// report to `window`. Returns the files seen.
inline HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW* data) {
  HANDLE find = FindFirstFileExW(pattern.c_str(), static_cast<FINDEX_INFO_LEVELS>(1), data, FindExSearchNameMatch,
                                 nullptr, 2);
  if (find == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
    find = FindFirstFileW(pattern.c_str(), data);
  return find;
}

inline long BareWalk(const std::wstring& folder, HWND window) {
  long files = 0;
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirst(folder + L"*.*", &data));
  if (!find) return 0;
  do {
    if (wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      files += BareWalk(folder + data.cFileName + L"\\", window);
      continue;
    }
    ++files;
    if (window) {
      COPYDATASTRUCT copy = {20000, static_cast<DWORD>((wcslen(data.cFileName) + 1) * sizeof(wchar_t)),
                             data.cFileName};
      SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
    }
  } while (FindNextFileW(find.get(), &data));
  return files;
}

// Dispatches whatever is waiting for this thread's windows.
inline void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Waits for a thread to end while this thread's windows take what it sends them.
inline void WaitPumping(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
}

// Runs a benchmark that shows the program's windows with what the program starts first: COM, the
// common controls and GDI+. Its result, or 1 when it failed.
inline int RunWithWindows(const char* name, int (*run)()) {
  base::ComScope com;
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
  return result;
}

}  // namespace bench
