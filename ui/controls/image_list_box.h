// Owner-drawn list boxes of the pages: every row shows an icon and text on alternating row colours
// (RGB(243, 245, 253) for even rows, white for odd ones); the selected row is grey, inset by one
// pixel, with white text; the focused row gets a focus rectangle.
//
// CImageListBox has 25-pixel rows with one line of text. CImageListBoxHivescrub has 50-pixel rows
// with a bold title and two lines of detail: a row text "title|detail" is split at its first "|",
// and the detail shows as two lines of at most 81 characters each.
//
// The list box must be owner-drawn (LBS_OWNERDRAWVARIABLE, or FIXED) with LBS_HASSTRINGS, and its
// parent a framework window, which reflects WM_MEASUREITEM and WM_DRAWITEM back to it. Each row's
// item data is its icon, a GDI+ image owned by the caller, which must outlive the row.
#pragma once
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "ui/gdi.h"
#include "ui/window.h"

namespace ui {

class CImageListBox : public Window {
 public:
  static constexpr COLORREF kEvenRow = RGB(243, 245, 253);
  static constexpr COLORREF kOddRow = RGB(255, 255, 255);
  static constexpr COLORREF kSelectedRow = RGB(128, 128, 128);

  CImageListBox() : CImageListBox(25) {}

  // Takes over a list box of a dialog template; rows it already has get this class's height.
  bool Bind(HWND listBox);
  // Creates an owner-drawn list box as a child of parent (style gets WS_CHILD) and takes it over.
  HWND Create(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id);

  // Appends a row: LB_ADDSTRING with the text, then LB_SETITEMDATA with the image; returns what the
  // second call returns, or the failure of the first (the second is then not made).
  LRESULT AddItem(const wchar_t* text, Gdiplus::Image* image);

  int rowHeight() const { return rowHeight_; }

 protected:
  explicit CImageListBox(int rowHeight) : rowHeight_(rowHeight) {}

  struct Row {
    std::wstring text;
    Gdiplus::Image* image = nullptr;  // null when the row has no usable image
    int imageWidth = 0;
    int textOffset = 0;  // (row height - text height of the list's font) / 2
  };
  // Draws the text and icon of a row whose background and text colour are set.
  virtual void DrawRow(HDC dc, const RECT& rect, const Row& row);
  // Draws an image at its own pixel size.
  static void DrawImage(HDC dc, Gdiplus::Image* image, int x, int y);

  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Draw(const DRAWITEMSTRUCT& item);
  int rowHeight_;
};

class CImageListBoxHivescrub : public CImageListBox {
 public:
  static constexpr size_t kDetailLine = 81;  // characters per detail line

  struct RowText {
    std::wstring title, line1, line2;
  };
  // The title is the text before the first "|", the detail what follows it; a text without "|" is
  // both. Line 1 is the first 81 characters of the detail, line 2 the next 81; the rest is dropped.
  static RowText Split(const std::wstring& text);

  CImageListBoxHivescrub();

 protected:
  void DrawRow(HDC dc, const RECT& rect, const Row& row) override;

 private:
  Font title_;
  Font detail_;
};

}  // namespace ui
