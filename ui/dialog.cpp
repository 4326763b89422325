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
    self->OnMessage(WM_INITDIALOG, wParam, lParam, result);
  } catch (...) {
  }
  return result;
}

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
