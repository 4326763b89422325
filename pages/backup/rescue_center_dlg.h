// CRescueCenterDlg: the Rescue Center page. It lists every change the product can undo (rescue
// items: the undo files of the registry cleaner, the startup manager, the add-on manager and Repair
// All, and the favorites a restore replaced), newest first, and undoes or deletes the chosen one
// after asking. The list is read again each time the page is shown. The work runs on this thread
// with the menu locked: an undo is one registry editor run and a few file moves.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "pages/backup/backup_page.h"
#include "pages/backup/rescue_items.h"
#include "ui/controls/skin_button.h"
#include "ui/gdi.h"

class CRescueCenterDlg : public backup_pages::BackupPage {
 public:
  CRescueCenterDlg();

  // Reads the changes again from the program's folder (the current directory) and shows them.
  void Reload();
  const std::vector<rescue::Item>& Items() const { return items_; }
  HWND List() const;

 protected:
  void OnInitPage() override;
  bool OnButton(int id) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The chosen row's item, or null after telling the user to choose one.
  const rescue::Item* Chosen();
  void OnUndo();
  void OnDelete();
  // The link that opens the system optimizer, whose "Windows Default" undoes its own changes.
  void OnLink();
  void Select(const std::wstring& path);
  rescue::Places CurrentPlaces() const;

  std::vector<rescue::Item> items_;
  ui::CSkinButton refresh_, undo_, delete_;
  ui::Font link_;
};
