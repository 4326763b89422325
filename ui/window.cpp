#include "ui/window.h"

namespace ui {
namespace {

const wchar_t kObjectProperty[] = L"Lumaspan.Window";
HINSTANCE g_instance = nullptr;

}  // namespace

HINSTANCE Instance() { return g_instance ? g_instance : GetModuleHandleW(nullptr); }
void SetInstance(HINSTANCE instance) { g_instance = instance; }

Window::~Window() {
  HWND hwnd = hwnd_;
  bool owned = owned_;
  Unlink();
  if (owned && hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
}

void Window::Unlink() {
  if (hwnd_ && IsWindow(hwnd_)) {
    if (previous_) SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(hwnd_, kObjectProperty);
  }
  previous_ = nullptr;
  hwnd_ = nullptr;
  owned_ = false;
}

Window* Window::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProperty)) : nullptr;
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
  SetPropW(hwnd, kObjectProperty, this);
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
  } catch (...) {
    // A handler that failed leaves the message to the default processing.
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
    RemovePropW(hwnd, kObjectProperty);
    if (previous) SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    self->previous_ = nullptr;
    self->hwnd_ = nullptr;
    self->owned_ = false;
    try {
      self->OnFinalMessage();
    } catch (...) {
    }
  }
  return result;
}

}  // namespace ui
