// The startup manager page: the programs Windows starts at log-on, listed by Bootlist.dll on a
// worker thread, the detail pane of the selected one, and the removal of the checked ones.
//
// A listing's worker reports every entry to the page (WM_COPYDATA 100001) and ends with 60211,
// whose wParam names its listing. The list shows what the page had received at its last refill;
// 60211 of the running listing refills it whole. Refresh and Remove end a listing still running
// (its reports are answered "stop") and start a new one once that worker has ended, so the list
// never mixes two listings. Nothing suspends or kills a worker.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "pages/common/page_look.h"
#include "pages/common/scan_job.h"
#include "pages/common/scan_session.h"
#include "pages/managers/bootlist_entries.h"
#include "pages/managers/bootlist_show.h"
#include "ui/controls/check_list_view.h"
#include "ui/controls/skin_button.h"
#include "ui/page.h"

class CBootlistStartDlg : public ui::Page {
 public:
  static constexpr int kItemColumnWidth = 210;
  static constexpr int kCommandColumnWidth = 300;
  static constexpr SIZE kListSize = {555, 250};
  static constexpr SIZE kPaneSize = {548, 50};

  CBootlistStartDlg();
  ~CBootlistStartDlg() override;

  ui::CheckListView& List() { return list_; }
  CBootlistShow& Pane() { return pane_; }
  const std::vector<bootlist_page::StartupEntry>& Entries() const { return entries_; }
  // A listing is under way (its worker started or waiting for a stopped one to end).
  bool Listing() const { return session_.Running(); }

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool OnInitDialog(HWND focus) override;
  bool OnClicked(int id) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  void Paint(HDC dc);
  // Ends the running listing, forgets the entries, empties the list and the pane, and starts anew.
  void Refresh();
  void OnListComplete(WPARAM serial);
  LRESULT OnReport(const COPYDATASTRUCT* data);
  void Refill();
  void OnItemChanged(const NMLISTVIEW& change);
  void Remove();

  std::vector<bootlist_page::StartupEntry> entries_;
  common_pages::ScanSession session_;
  common_pages::PageFonts fonts_;
  ui::CheckListView list_;
  CBootlistShow pane_;
  ui::CSkinButton refresh_, remove_;
};
