// CHivescrubResultsDlg: the problems a registry scan found, one row each in report order, with
// their count; "Clean" repairs every row, "Back" returns to the start page. The page holds no
// problem of its own: the controller (CHivescrubStartDlg) fills it during the scan and carries out
// each repair it asks for by row index, answering with the engine's result. When every repair
// succeeded the flow ends; otherwise the repaired rows leave the list (the controller is told to
// forget each, so that row i stays problem i), the rest stay for another try, and the user is told
// how many could not be repaired.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/exclusions.h"
#include "pages/home_registry/registry_exclusion.h"
#include "pages/home_registry/registry_scan.h"

#include "ui/controls/image_list_box.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/gdiplus.h"
#include "ui/page.h"
#include "ui/skin/bitmap.h"

class CHivescrubResultsDlg : public ui::Dialog {
 public:
  static constexpr RECT kListRect = {9, 83, 9 + 551, 83 + 251};
  // The "Ignore" button beside Back (made by the page, not the template).
  static constexpr int kIgnoreButtonId = 1194;
  // Sent to the owner for a repaired row before the row is taken off: forget problem lParam.
  static constexpr UINT kForgetProblemMessage = WM_APP + 0x141;

  CHivescrubResultsDlg();
  ~CHivescrubResultsDlg() override;

  void SetOwner(HWND owner) { owner_ = owner; }
  // Appends a row showing the display text ("title|detail") with the problem icon; false when the
  // list took no row.
  bool AddProblemRow(const std::wstring& display);
  // The same for a reported problem, unless the user's exclusions (read when this page was made,
  // at the start of its scan) exclude it: false then too, and the problem is neither kept nor
  // counted. The row remembers the problem's identity for "Ignore".
  bool AddProblemRow(const registry_scan::RegistryProblem& problem);
  // "Ignore this item" for a row: its identity is stored as an exclusion and the row leaves the
  // list and the count (the owner forgets it as it forgets a repaired one). False when nothing
  // was stored.
  bool IgnoreRow(int row);
  void CountProblem();
  // Takes a row off the list and out of the count.
  void RemoveRow(int row);

  int problemCount() const { return problemCount_; }
  int rowCount() const;
  // The text of a row ("" when there is none).
  std::wstring RowText(int row) const;
  HWND list() const { return list_.hwnd(); }

  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnClicked(int id) override;
  void OnClean();
  // The owner returns to its start view.
  void OnBack();
  void OnIgnore();
  int SelectedRow() const;
  void OnContextMenu(HWND window, LPARAM point);

  HWND owner_ = nullptr;
  base::ExclusionSet excluded_ = base::ExclusionSet::Load();
  std::vector<base::Exclusion> identities_;  // by row; empty identities for rows added by display text
  int problemCount_ = 0;
  CXuBitmap panel_;
  ui::GpBitmap rowIcon_;  // the item data of every row: it outlives the list
  ui::Font normal_, countFont_;
  ui::CImageListBoxHivescrub list_;
  ui::CSkinButton back_, clean_;
};
