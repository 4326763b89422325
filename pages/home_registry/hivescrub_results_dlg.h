// CHivescrubResultsDlg: the problems a registry scan found, one row each in report order, with
// their count; "Clean" repairs every row, "Back" returns to the start page. The page holds no
// problem of its own: the controller (CHivescrubStartDlg) fills it during the scan and carries out
// each repair it asks for by row index.
#pragma once
#include <windows.h>

#include <string>

#include "ui/controls/image_list_box.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/page.h"
#include "ui/skin/bitmap.h"

class CHivescrubResultsDlg : public ui::Dialog {
 public:
  static constexpr RECT kListRect = {9, 83, 9 + 551, 83 + 251};

  CHivescrubResultsDlg();
  ~CHivescrubResultsDlg() override;

  void SetOwner(HWND owner) { owner_ = owner; }
  // Appends a row showing the display text ("title|detail") with the problem icon; false when the
  // list took no row.
  bool AddProblemRow(const std::wstring& display);
  void CountProblem();

  int problemCount() const { return problemCount_; }
  int rowCount() const;
  // The text of a row ("" when there is none).
  std::wstring RowText(int row) const;
  HWND list() const { return list_.hwnd(); }

  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnInitDialog();
  void OnClean();

  HWND owner_ = nullptr;
  int problemCount_ = 0;
  CXuBitmap panel_;
  ui::GpBitmap rowIcon_;  // the item data of every row: it outlives the list
  ui::Font normal_, countFont_;
  ui::CImageListBoxHivescrub list_;
  ui::CSkinButton back_, clean_;
};
