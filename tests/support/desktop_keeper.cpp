// Keeps the test session's Wine desktop open. Wine closes a desktop a second after its last window
// process ends, and the desktop process holds the test's output open until then, so every test
// would cost a second more. This program holds one hidden window until the session's wineserver
// ends it.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = L"LumaspanDesktopKeeper";
  RegisterClassW(&wc);
  CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
