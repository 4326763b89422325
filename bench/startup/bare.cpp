// The baseline of the start-up benchmark: the least a windowed program does before its window is
// on screen (the same runtime, a window with one child), so that what the benchmark measures
// beyond it is Lumaspan's own.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
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
