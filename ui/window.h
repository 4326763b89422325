// The window framework every Lumaspan window stands on. One object per window: the object is linked
// to its HWND when the window is created (or subclassed), and every message goes through the
// class's one dispatch function, OnMessage, a switch that returns true for what it handled.
// Unhandled messages go to the window's default procedure. WM_DRAWITEM, WM_MEASUREITEM and
// WM_NOTIFY are offered first to the child control they concern, as OCM_ messages, when that child
// is a framework window too.
//
// No exception leaves a window procedure, and every window procedure of the program (the
// framework's, a dialog's, the skin's) treats one alike: the message goes to the window's default
// processing, as if it had not been handled, and the exception's kind is recorded with the
// message's number (RecordProcedureFault: a debugger string and the module's last fault).
#pragma once
#include <windows.h>

namespace ui {

// Reflected notifications, as the controls receive them.
constexpr UINT OCM__BASE = WM_USER + 0x1C00;
constexpr UINT OCM_COMMAND = OCM__BASE + WM_COMMAND;
constexpr UINT OCM_DRAWITEM = OCM__BASE + WM_DRAWITEM;
constexpr UINT OCM_MEASUREITEM = OCM__BASE + WM_MEASUREITEM;
constexpr UINT OCM_NOTIFY = OCM__BASE + WM_NOTIFY;

// Records an exception stopped at a window procedure ("framework", "dialog", "skin") for a message.
// Call it only inside a catch block.
void RecordProcedureFault(const char* procedure, UINT message) noexcept;

// The point a mouse message carries in lParam (client coordinates; screen coordinates for the
// non-client and wheel messages), signed as the system packs it.
inline POINT PointFromLParam(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// The module whose resources (dialog templates, icons) the windows load.
HINSTANCE Instance();
void SetInstance(HINSTANCE instance);

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  HWND hwnd() const { return hwnd_; }
  // The framework object of a window, or null.
  static Window* FromHandle(HWND hwnd);

  // Creates a window of a class registered with RegisterClass below.
  HWND CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU idOrMenu);
  // Registers a window class whose procedure dispatches to framework objects.
  static ATOM RegisterClass(const wchar_t* className, UINT style = CS_DBLCLKS, HCURSOR cursor = nullptr,
                            HBRUSH background = nullptr);

  // Takes over an existing window (a control of a dialog template); its own procedure becomes the
  // default. Fails when the window is already linked to an object.
  bool Subclass(HWND hwnd);
  // Gives the window its own procedure back (done automatically when it is destroyed).
  void Unsubclass();

  // Destroys the window if it exists.
  void Destroy();

  // Destroying the object unlinks its window first, so no message reaches a half-destroyed object;
  // a window the object created (CreateEx, a modeless dialog) is then destroyed, a control it only
  // subclassed is left to its parent.

 protected:
  // The class's message table. Return true when the message was handled, with its result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Called after the last message, when the window is gone; the object may delete itself here.
  virtual void OnFinalMessage() {}
  // The default processing of a message: the subclassed window's own procedure, or the default
  // window (or dialog) procedure.
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Attach(HWND hwnd);

 private:
  friend class Dialog;
  // Where ui::Dialog decodes the message families of its typed handlers, after OnMessage.
  virtual bool OnDecoded(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
  LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
  static bool Reflect(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void Unlink();

  HWND hwnd_ = nullptr;
  WNDPROC previous_ = nullptr;  // the window's own procedure when subclassed
  bool owned_ = false;          // created by this object (destroyed with it)
};

}  // namespace ui
