#include "ui/window.h"

#include <cstdio>
#include <unordered_map>

#include "base/fault_record.h"

namespace ui {
namespace {

HINSTANCE g_instance = nullptr;

// Which object a window belongs to. The lookup runs for every message of every window (a scan
// sends the page tens of thousands of reports), so it stays inside the process: a window property
// would do the same, but under Wine each GetProp is a round trip to the server (two with a string
// name), and those round trips were the largest cost of a page receiving a scan's reports.
// Windows of several threads may be linked at once, hence the lock. Never destroyed: windows may
// still be unlinked while static objects are torn down at exit.
class Links {
 public:
  Links() { InitializeCriticalSection(&lock_); }
  Links(const Links&) = delete;
  Links& operator=(const Links&) = delete;

  void Set(HWND hwnd, Window* window) {
    EnterCriticalSection(&lock_);
    try {
      links_[hwnd] = window;
    } catch (...) {
    }
    LeaveCriticalSection(&lock_);
  }
  // Only the link to window: a handle the system has since given to another window keeps its own.
  void Remove(HWND hwnd, const Window* window) {
    EnterCriticalSection(&lock_);
    auto found = links_.find(hwnd);
    if (found != links_.end() && found->second == window) links_.erase(found);
    LeaveCriticalSection(&lock_);
  }
  Window* Get(HWND hwnd) {
    EnterCriticalSection(&lock_);
    auto found = links_.find(hwnd);
    Window* window = found == links_.end() ? nullptr : found->second;
    LeaveCriticalSection(&lock_);
    return window;
  }

 private:
  CRITICAL_SECTION lock_;
  std::unordered_map<HWND, Window*> links_;
};

Links& TheLinks() {
  static Links* links = new Links;
  return *links;
}

}  // namespace

void RecordProcedureFault(const char* procedure, UINT message) noexcept {
  char where[64] = {};
  std::snprintf(where, sizeof(where), "%s window procedure, message 0x%04X", procedure, message);
  base::RecordFault(where);
}

HINSTANCE Instance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }
void SetInstance(HINSTANCE instance) { g_instance = instance; }

Window::~Window() {
  HWND hwnd = hwnd_;
  bool owned = owned_;
  Unlink();
  if (owned && hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

void Window::Unlink() {
  if (hwnd_ && IsWindow(hwnd_) && previous_) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  }
  if (hwnd_) TheLinks().Remove(hwnd_, this);
  previous_ = nullptr;
  hwnd_ = nullptr;
  owned_ = false;
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? TheLinks().Get(hwnd) : nullptr;
}

ATOM Window::RegisterClass(const wchar_t* className, UINT style, HCURSOR cursor, HBRUSH background) {
  WNDCLASSEXW wc = {sizeof(wc)};
  if (GetClassInfoExW(Instance(), className, &wc)) return 1;  // already registered
  wc = {sizeof(wc)};
  wc.style = style;
  wc.lpfnWndProc = &Window::Proc;
  wc.hInstance = Instance();
  wc.hCursor = cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = className;
  return RegisterClassExW(&wc);
}

HWND Window::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU idOrMenu) {
  if (hwnd_) return nullptr;
  HWND hwnd = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, idOrMenu, Instance(), this);
  if (hwnd) owned_ = true;
  return hwnd;
}

void Window::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  TheLinks().Set(hwnd, this);
}

bool Window::Subclass(HWND hwnd) {
  if (!hwnd || hwnd_ || FromHandle(hwnd)) return false;
  Attach(hwnd);
  previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::Proc)));
  return previous_ != nullptr;
}

void Window::Unsubclass() {
  if (previous_) Unlink();
}

void Window::Destroy() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

bool Window::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam) {
  if (previous_) return CallWindowProcW(previous_, hwnd_, message, wParam, lParam);
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool Window::Reflect(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  HWND child = nullptr;
  switch (message) {
    case WM_DRAWITEM:
      child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
      break;
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
      if (mis->CtlType != ODT_MENU) child = GetDlgItem(parent, static_cast<int>(mis->CtlID));
      break;
    }
    case WM_NOTIFY:
      child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
      break;
    default:
      return false;
  }
  Window* target = FromHandle(child);
  if (!target || child == parent) return false;
  return target->OnMessage(OCM__BASE + message, wParam, lParam, result);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  try {
    if (Reflect(hwnd_, message, wParam, lParam, result)) return result;
    if (OnMessage(message, wParam, lParam, result)) return result;
    if (OnDecoded(message, wParam, lParam, result)) return result;
  } catch (...) {
    RecordProcedureFault("framework", message);
  }
  return Default(message, wParam, lParam);
}

LRESULT CALLBACK Window::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* self = FromHandle(hwnd);
  if (!self && message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) self->Attach(hwnd);
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

  LRESULT result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    WNDPROC previous = self->previous_;
    TheLinks().Remove(hwnd, self);
    if (previous) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    self->previous_ = nullptr;
    self->hwnd_ = nullptr;
    self->owned_ = false;
    try {
      self->OnFinalMessage();
    } catch (...) {
      RecordProcedureFault("framework", message);
    }
  }
  return result;
}

}  // namespace ui
