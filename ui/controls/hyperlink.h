// CHyperLink: a static text that shows a link, underlined, with the hand cursor, and opens its
// target (a web page, a "mailto:" address) when clicked.
#pragma once
#include <windows.h>

#include <string>

#include "ui/gdi.h"
#include "ui/window.h"

class CHyperLink : public ui::Window {
 public:
  static constexpr COLORREF kLinkColor = RGB(0, 128, 0);

  // Takes over a static control of a dialog template.
  bool Attach(HWND control);
  // The text shown and the target opened; an empty text shows the target.
  void SetLink(const wchar_t* text, const wchar_t* target);
  const std::wstring& Target() const { return target_; }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void Open();

 private:
  void Paint(HDC dc);

  std::wstring target_;
  ui::Font font_;
};
