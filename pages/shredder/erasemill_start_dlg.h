// CErasemillStartDlg: the file shredder page. The user collects files in a list (Add, with the
// system's open dialog and multiple selection; Remove, one row at a time) and erases them beyond
// recovery with Erasemill (Erase). Row i of the list always shows files()[i].
//
// Erase tells the truth: the files Erasemill could not erase (in use, protected, gone) stay in the
// list, and the message says how many there are; "Erase Completed." only when every file went.
// Erasing runs on the user-interface thread with the main window's menu locked, as every
// operation of a page that the user must not leave half done.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "pages/common/page_look.h"
#include "ui/controls/check_list_view.h"
#include "ui/controls/skin_button.h"
#include "ui/page.h"

class CErasemillStartDlg : public ui::Page {
 public:
  static constexpr int kPasses = 3;  // zeros, ones, random bytes
  static constexpr size_t kSelectionChars = 65535;

  CErasemillStartDlg();

  // Appends every path not yet listed, each with its row, in order.
  void AddFiles(const std::vector<std::wstring>& paths);
  const std::vector<std::wstring>& files() const { return files_; }
  ui::CheckListView& List() { return list_; }

  // What the buttons do.
  void OnAdd();
  void OnRemove();
  void OnErase();

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // Runs the open dialog into buffer (kSelectionChars); false when nothing was chosen.
  virtual bool ChooseFiles(std::vector<wchar_t>& buffer);

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnClicked(int id) override;
  void Paint(HDC dc);
  HWND MainWindow() const { return GetParent(hwnd()); }

  std::vector<std::wstring> files_;
  cleaning_pages::PageFonts fonts_;
  ui::CheckListView list_;  // used without its check boxes
  ui::CSkinButton add_, remove_, erase_;
};
