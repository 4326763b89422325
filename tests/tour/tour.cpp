// The page tour of `./lumaspan run` without a display: drives the running Lumaspan.exe from outside,
// as a user would with the mouse, and tells the caller each time a screen is ready to be captured.
// It prints the screen's name on a line once it is on screen and waits for a line on its input
// before it goes on. At the end it closes the main window.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kMenuId = 1000;
constexpr int kRow = 26;  // header and item height of the menu

struct Stop {
  const char* name;
  int header;  // the group whose header is clicked first (-1: none)
  int item;    // the item of that group clicked next (-1: the header only)
};

// Every page, in menu order. A group's header is clicked to open it, then its item.
const Stop kStops[] = {
    {"home", 0, -1},
    {"registry-cleaner", 0, 0},
    {"junk-file-cleaner", 0, 1},
    {"evidence-cleaner", 0, 2},
    {"file-shredder", 0, 3},
    {"startup-manager", 1, 0},
    {"bho-manager", 1, 1},
    {"system-optimizer", 1, 2},
    {"application-optimizer", 1, 3},
    {"registry-backup", 2, 0},
    {"favorites-backup", 2, 1},
    {"rescue-center", 2, 2},
    {"options", 3, -1},
};
const int kItems[] = {4, 4, 3, 0};

bool WaitFor(DWORD timeoutMs, bool (*done)(void*), void* context) {
  DWORD start = GetTickCount();
  while (!done(context)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

struct Search {
  DWORD process;
  HWND exclude;
  int width, height;
  HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam) {
  auto* s = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != s->process || window == s->exclude || !IsWindowVisible(window)) return TRUE;
  RECT r = {};
  GetWindowRect(window, &r);
  if (s->width && (r.right - r.left != s->width || r.bottom - r.top != s->height)) return TRUE;
  s->found = window;
  return FALSE;
}

HWND g_main = nullptr;

bool MainExists(void*) {
  g_main = FindWindowW(L"#32770", L"KeepLumaspan");
  return g_main != nullptr;
}

// The visible page: a visible dialog child of the main window.
HWND VisiblePage() {
  for (HWND child = GetWindow(g_main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

bool HomeShown(void*) { return IsWindowVisible(g_main) && VisiblePage() != nullptr; }

// Reports a screen and waits for the caller to have captured it.
bool Announce(const char* name) {
  std::printf("%s\n", name);
  std::fflush(stdout);
  char line[256];
  return std::fgets(line, sizeof(line), stdin) != nullptr;
}

void Settle() {
  // Let the program paint everything that is invalid before the capture.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(g_main, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored);
  RedrawWindow(g_main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(250);
}

void Click(HWND window, int x, int y) {
  LPARAM at = MAKELPARAM(x, y);
  PostMessageW(window, WM_MOUSEMOVE, 0, at);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(window, WM_LBUTTONUP, 0, at);
}

}  // namespace

int main() {
  if (!WaitFor(30000, &MainExists, nullptr)) {
    std::fprintf(stderr, "tour: the main window did not appear\n");
    return 1;
  }
  DWORD process = 0;
  GetWindowThreadProcessId(g_main, &process);

  // The splash shows while the main window is still hidden.
  for (DWORD start = GetTickCount(); !IsWindowVisible(g_main) && GetTickCount() - start < 10000; Sleep(10)) {
    Search splash = {process, g_main, 516, 275, nullptr};
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&splash));
    if (splash.found) {
      Sleep(300);  // a few status lines in
      if (!Announce("splash")) return 0;
      break;
    }
  }

  if (!WaitFor(30000, &HomeShown, nullptr)) {
    std::fprintf(stderr, "tour: the home page did not appear\n");
    return 1;
  }
  HWND menu = GetDlgItem(g_main, kMenuId);
  int current = 0;  // the expanded group
  for (const Stop& stop : kStops) {
    if (stop.header != current || stop.item < 0) {
      int top = stop.header * kRow + (stop.header > current ? kItems[current] * kRow : 0);
      Click(menu, 100, top + kRow / 2);
      current = stop.header;
    }
    if (stop.item >= 0) {
      Settle();
      Click(menu, 100, (current + 1) * kRow + stop.item * kRow + kRow / 2);
    }
    Settle();
    // Park the pointer over the page so the menu shows its chosen look, not a hover.
    PostMessageW(menu, WM_MOUSELEAVE, 0, 0);
    Settle();
    if (!Announce(stop.name)) return 0;
  }

  // The about box, from the banner's link.
  PostMessageW(g_main, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(700, 95));
  Search about = {process, g_main, 0, 0, nullptr};
  for (int i = 0; i < 100 && !about.found; ++i) {
    Sleep(50);
    about.found = nullptr;
    EnumWindows(&FindTopLevel, reinterpret_cast<LPARAM>(&about));
  }
  if (about.found) {
    Sleep(300);
    if (!Announce("about")) return 0;
    PostMessageW(about.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Sleep(300);
  }
  PostMessageW(g_main, WM_CLOSE, 0, 0);
  return 0;
}
