#include "ui/dialog.h"

namespace ui {

// The dialog procedure only links the object at WM_INITDIALOG; from then on the framework's window
// procedure sees every message first and the dialog manager (which calls back here and gets FALSE)
// is the default.
INT_PTR CALLBACK Dialog::StubProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_INITDIALOG || FromHandle(hwnd)) return FALSE;
  auto* self = reinterpret_cast<Dialog*>(lParam);
  if (!self || !self->Subclass(hwnd)) return FALSE;
  LRESULT result = TRUE;
  try {
    if (!self->OnMessage(WM_INITDIALOG, wParam, lParam, result)) self->OnDecoded(WM_INITDIALOG, wParam, lParam, result);
  } catch (...) {
    RecordProcedureFault("dialog", message);
    result = TRUE;  // the dialog manager's own handling: the default focus
  }
  return result;
}

bool Dialog::OnDecoded(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog(reinterpret_cast<HWND>(wParam)) ? TRUE : FALSE;
      return true;
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_NOTIFY:
      return lParam && OnNotify(*reinterpret_cast<NMHDR*>(lParam), result);
    case WM_TIMER:
      return OnTimer(static_cast<UINT_PTR>(wParam));
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return OnMouse(message, PointFromLParam(lParam), wParam);
  }
  return false;
}

bool Dialog::OnCommand(int id, int code, HWND) { return code == BN_CLICKED && OnClicked(id); }

INT_PTR Dialog::DoModal(HWND parent) {
  if (hwnd()) return -1;
  return DialogBoxParamW(Instance(), MAKEINTRESOURCEW(template_), parent, &Dialog::StubProc,
                         reinterpret_cast<LPARAM>(this));
}

HWND Dialog::Create(HWND parent) {
  if (hwnd()) return nullptr;
  HWND hwnd = CreateDialogParamW(Instance(), MAKEINTRESOURCEW(template_), parent, &Dialog::StubProc,
                                 reinterpret_cast<LPARAM>(this));
  if (hwnd && FromHandle(hwnd) == this) owned_ = true;
  return hwnd;
}

void Dialog::EndDialog(INT_PTR result) {
  if (hwnd()) ::EndDialog(hwnd(), result);
}

void Dialog::UpdateData(bool save) {
  if (hwnd()) DoDataExchange(save);
}

void Dialog::ExchangeCheck(int id, int& value, bool save) {
  if (save) {
    value = IsDlgButtonChecked(hwnd(), id) == BST_CHECKED ? 1 : 0;
  } else {
    CheckDlgButton(hwnd(), id, value ? BST_CHECKED : BST_UNCHECKED);
  }
}

}  // namespace ui
