#include "app/placement.h"

void CenterOnOwner(HWND window) {
  RECT area = {};
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner && IsWindowVisible(owner)) {
    GetWindowRect(owner, &area);
  } else {
    MONITORINFO info = {sizeof(info)};
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    area = info.rcWork;
  }
  RECT rect = {};
  GetWindowRect(window, &rect);
  int x = area.left + ((area.right - area.left) - (rect.right - rect.left)) / 2;
  int y = area.top + ((area.bottom - area.top) - (rect.bottom - rect.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
