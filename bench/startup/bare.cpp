// The baselines of the start-up benchmark: the least a windowed program does before its window is
// on screen (the same runtime, a window with one child), so that what the benchmark measures
// beyond it is Lumaspan's own. Built twice: plain, and with LUMASPAN_LIBRARIES also starting what
// Lumaspan's entry starts (COM, the version 6 common controls of its manifest, GDI+) and binding
// the same system libraries (every one that the program and its DLLs import), so the cost of the
// platform's libraries can be told apart.
#include <windows.h>

#ifdef LUMASPAN_LIBRARIES
#include <commctrl.h>
#include <objbase.h>
#include <gdiplus.h>
#include <shellapi.h>
#include <oleauto.h>
#include <commdlg.h>
#include <shlwapi.h>
#include <urlmon.h>
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef LUMASPAN_LIBRARIES
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartup(&token, &input, nullptr);
  // Bound at load time as in the program, never called.
  if (!instance) {
    ShellExecuteW(nullptr, nullptr, nullptr, nullptr, nullptr, 0);
    SysFreeString(nullptr);
    GetOpenFileNameW(nullptr);
    PathFileExistsW(nullptr);
    URLDownloadToFileW(nullptr, nullptr, nullptr, 0, nullptr);
  }
#endif
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"LumaspanBenchBare";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, wc.lpszClassName, L"LumaspanBenchBare", WS_POPUP | WS_CAPTION, 100, 100, 791, 599,
                              nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE, 206, 106, 573, 432, main, nullptr, instance, nullptr);
  ShowWindow(main, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_CLOSE) break;
    DispatchMessageW(&msg);
  }
  return 0;
}
