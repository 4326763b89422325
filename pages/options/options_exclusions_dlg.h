// COptionsExclusionsDlg: the "Exclusions" tab of the options page: every exclusion the user keeps,
// with its kind, and "Add folder..." / "Remove". The tab reads and writes the store itself
// (base/exclusions.h); the result pages add to the same store through "Ignore this item".
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/exclusions.h"
#include "ui/controls/check_list_view.h"
#include "ui/dialog.h"

class COptionsExclusionsDlg : public ui::Dialog {
 public:
  COptionsExclusionsDlg();

  // Reads the store again and lists it.
  void Reload();
  // Adds a folder exclusion as "Add folder..." does once the folder is chosen; a drive root or a
  // path that is not a full folder path is refused with a message. True when it was stored.
  bool AddFolder(const std::wstring& folder);
  // Removes the exclusion of a row; false when there is none.
  bool RemoveRow(int row);
  const std::vector<base::Exclusion>& Shown() const { return shown_; }
  ui::CheckListView& List() { return list_; }
  // The text the list shows for an exclusion: a path as it is, a registry finding as its key path
  // with the value name in brackets.
  static std::wstring ItemText(const base::Exclusion& item);

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  // The folder the user picks; empty when cancelled. Tests replace the picker.
  virtual std::wstring PickFolder();

 private:
  bool OnInitDialog(HWND focus) override;
  bool OnClicked(int id) override;
  void OnRemove();

  ui::CheckListView list_;
  std::vector<base::Exclusion> shown_;  // by row
};
