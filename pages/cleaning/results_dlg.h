// The result page of a cleaning scan, shown while the scan runs and afterwards: a header with the
// page's picture, title, subtitle and counters, the list of what was found (one checked row per
// item), the select-all box and the Abort, Clean and Back buttons. It only displays and forwards:
// the page that controls the scan owns the items and the worker, feeds the rows and totals, and
// does what Abort and Clean ask for. The trace and junk result pages derive from it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/exclusions.h"
#include "pages/cleaning/found_items.h"
#include "pages/cleaning/ignore_menu.h"
#include "pages/common/page_look.h"
#include "pages/cleaning/result_list.h"
#include "ui/controls/skin_button.h"
#include "ui/dialog.h"
#include "ui/gdiplus.h"

namespace cleaning_pages {

class CCleaningResultsDlg : public ui::Dialog {
 public:
  struct Texts {
    const wchar_t* picture;  // the header picture's file
    const wchar_t* scanningTitle;
    const wchar_t* scanningSubtitle;
    const wchar_t* finishedTitle;
    const wchar_t* finishedSubtitle;
    const wchar_t* foundWords;  // between the count and the total while scanning: " Junk File(s) ("
    const wchar_t* totalWords;  // between the count and the total when finished: " Junk Files that take up "
  };
  // The page that controls the scan.
  class Owner {
   public:
    virtual void AbortScan() = 0;
    virtual void CleanChecked() = 0;
    // The item a row shows, by the number AddRow was given; null when there is none.
    virtual const FoundItem* FoundAt(size_t index) const = 0;

   protected:
    ~Owner() = default;
  };

  // The page's place: the list, the buttons, the header band.
  static constexpr RECT kListRect = {9, 83, 560, 336};
  static constexpr POINT kCleanAt = {415, 387};
  // How long the Clean button, shown where Abort stood, takes no press of the mouse.
  static constexpr DWORD kCleanHoldMs = 700;
  static constexpr POINT kBackAt = {265, 387};
  static constexpr RECT kHeaderRect = {0, 0, 573, 80};
  // While a scan adds rows the list is told of them at this pace rather than row by row (the
  // first row at once).
  static constexpr UINT_PTR kListTimer = 3;
  static constexpr UINT kListRefreshMs = 250;

  CCleaningResultsDlg(UINT templateId, const Texts& texts);

  // Creates the page as a child of parent, at rect, and shows it. Back posts backMessage to
  // ownerWindow; Abort and Clean call the owner.
  bool Open(HWND parent, const RECT& rect, Owner* owner, HWND ownerWindow, UINT backMessage);

  // Appends a checked row for the owner's item index; its texts are asked of the owner when the
  // row is drawn or read. The list shows it on its timer.
  void AddRow(size_t index);
  // True when the user's exclusions, read when this page was made (at the start of its scan),
  // exclude the item: the controlling page then neither keeps nor lists it.
  bool Hides(const FoundItem& item) const { return IsExcluded(excluded_, item); }
  // "Ignore this item" (or, for a file, "Ignore this folder") for a row: the exclusion is stored
  // and every row it now excludes leaves the list and the counters. False when nothing was stored
  // (the user was told why).
  bool IgnoreRow(int row, IgnoreChoice choice);
  // The counters of the header (repainted on the next RepaintHeader).
  void SetTotals(int count, uint64_t total);
  void RepaintHeader();
  // The scan is over (aborted or not): the finished header, Abort hidden, Back and Clean shown.
  virtual void Finish(bool aborted);
  bool finished() const { return finished_; }

  // The numbers of the items whose rows are checked, in row order.
  std::vector<size_t> CheckedItems() const;
  // The numbers of the items of every row, in row order.
  std::vector<size_t> RowItems() const;
  // Takes the rows of these items (sorted ascending) off the list.
  void RemoveRows(const std::vector<size_t>& sortedItems) { list_.RemoveItems(sortedItems); }
  ui::CheckListView& List() { return list_; }

  // The header's lines as they are drawn now.
  std::wstring Title() const;
  std::wstring Subtitle() const;
  std::wstring CounterLine() const;

 protected:
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnTimer(UINT_PTR id) override;
  // Called once the common controls are in place.
  virtual void OnInit() {}
  // What a derived page draws beyond the common header: the band's right end (y 44-74) and the
  // strip between the list and the buttons (y 338-384).
  virtual void PaintExtra(HDC) {}
  // Repaints the strip between the list and the buttons.
  void RepaintStrip();
  const PageFonts& fonts() const { return fonts_; }

 private:
  bool OnInitDialog(HWND defaultFocus) override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;
  bool OnClicked(int id) override;
  void Paint(HDC dc);
  void PaintHeader(HDC dc);
  void OnSelectAll();
  void OnAbort();  // while the scan runs
  void OnClean();  // once it has finished
  void OnBack();
  // A cell's text and check mark for the list: the owner's item by the row's number.
  void GiveCell(NMLVDISPINFOW* info) const;

  Texts texts_;
  base::ExclusionSet excluded_ = base::ExclusionSet::Load();
  Owner* owner_ = nullptr;
  HWND ownerWindow_ = nullptr;
  UINT backMessage_ = 0;
  ResultList list_;
  ui::CSkinButton abort_, clean_, back_;
  ui::GpBitmap picture_, band_;
  PageFonts fonts_;
  int count_ = 0;
  uint64_t total_ = 0;
  bool finished_ = false;
};

}  // namespace cleaning_pages
