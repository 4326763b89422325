// CAddonwardStartDlg: the browser add-on manager page (60202). It lists the add-ons the registry
// holds (addon_list::Collect), unticked, and removes the ticked ones through Addonward.dll, which
// keeps each one's registry entries in an undo file first. Row i is always add-on i.
#pragma once
#include <windows.h>

#include <vector>

#include "pages/managers/addonward_list.h"
#include "ui/controls/check_list_view.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"
#include "ui/page.h"

class CAddonwardStartDlg : public ui::Page {
 public:
  // The two links under the list (left and top edges inside, right and bottom outside).
  static constexpr RECT kSelectAllLink = {22, 400, 74, 418};
  static constexpr RECT kClearAllLink = {97, 400, 146, 418};
  static constexpr SIZE kListSize = {555, 332};

  CAddonwardStartDlg();

  const std::vector<addon_list::Addon>& addons() const { return addons_; }
  ui::CheckListView& List() { return list_; }
  // Reads the add-ons again and lists them, every row unticked.
  void Refill();
  void Paint(HDC dc);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnMouse(UINT message, POINT at, WPARAM keys) override;
  bool OnClicked(int id) override;
  void OnRemove();
  // Every row takes the "Select All" box's state.
  void OnSelectAll();
  void OnButtonDown(POINT client);
  static bool OnLink(POINT client);
  HWND MainWindow() const { return GetParent(hwnd()); }

  std::vector<addon_list::Addon> addons_;
  ui::CheckListView list_;
  ui::CSkinButton remove_;
  ui::Font normal_, link_, bold_;
};
