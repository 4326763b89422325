#include "pages/cleaning/cleaning_start_dlg.h"

#include <algorithm>
#include <climits>

#include "base/product.h"
#include "base/text.h"
#include "contracts/buffers.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/cleaning/cleaning_ids.h"
#include "ui/controls/page_colours.h"
#include "ui/link_cursor.h"
#include "ui/page_frame.h"

namespace cleaning_pages {
namespace {

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

std::wstring NotRemovedText(size_t failed, size_t tried) {
  if (tried == 1) return L"The item could not be removed. It may be in use, protected or already gone.";
  return std::to_wstring(failed) + L" of " + std::to_wstring(tried) + L" items could not be removed. " +
         (failed == 1 ? L"It may" : L"They may") + L" be in use, protected or already gone.";
}

}  // namespace

CCleaningStartDlg::CCleaningStartDlg(const Setup& setup)
    : ui::Page(setup.templateId), setup_(setup), state_(setup.idleState) {}

CCleaningStartDlg::~CCleaningStartDlg() {
  // The main window is closing, and closing ends the program at once. Every worker is told to stop
  // and this page's windows go first, so that whatever a worker sends from now on fails at once;
  // nothing waits for a worker: each ends by itself at its next report, or goes with the process
  // (a scan only reads).
  session_.Close();
  results_.reset();
  Destroy();
}

void CCleaningStartDlg::ResetToStart() {
  session_.Stop();
  session_.SetReady(false);
  if (results_) {
    results_->Destroy();
    results_.reset();
  }
  state_ = setup_.idleState;
  startPosted_ = false;
  found_.clear();
  found_.shrink_to_fit();
  total_ = 0;
  LockMenu(false);
}

void CCleaningStartDlg::LockMenu(bool lock) {
  if (lock == menuLocked_) return;
  menuLocked_ = lock;
  ::LockMenu(GetParent(hwnd()), lock ? 1 : 0);
}

bool CCleaningStartDlg::Scanning() const { return session_.Running() && results_ && !results_->finished(); }

bool CCleaningStartDlg::OnInitDialog(HWND) {
  start_.Bind(Item(IDC_START_SCAN));
  start_.Load(L"Res\\Common\\QOR_Button_Start_Scan.bmp");
  PlaceControl(hwnd(), IDC_START_SCAN, 420, 393, 143, 29);
  OnInitPage();  // the last scan's date is read when the page is shown
  return false;
}

bool CCleaningStartDlg::OnCommand(int id, int code, HWND control) {
  if (id != IDC_SELECT_ALL) return ui::Page::OnCommand(id, code, control);
  CheckAll(true);
  return true;
}

bool CCleaningStartDlg::OnClicked(int id) {
  if (id != IDC_START_SCAN) return false;
  OnStartScan();
  return true;
}

bool CCleaningStartDlg::OnMouse(UINT message, POINT at, WPARAM) {
  if (message != WM_LBUTTONDOWN) return false;
  if (Inside(kSelectAllLink, at)) CheckAll(true);
  if (Inside(kClearAllLink, at)) CheckAll(false);
  return true;
}

std::wstring CCleaningStartDlg::ReadLastScanDate() const {
  wchar_t text[contracts::kDateChars] = {};
  setup_.getLastScanDate(text);
  text[contracts::kDateChars - 1] = L'\0';
  return text;
}

void CCleaningStartDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
  DrawTextAt(dc, fonts_.bold.get(), kTitleGreen, 10, 10, setup_.features);
  DrawTextAt(dc, fonts_.regular.get(), kBodyText, 10, 30, L"Last Scan Time:");
  DrawTextAt(dc, fonts_.regular.get(), kBodyText, 100, 30, lastScan_);
  DrawTextAt(dc, fonts_.underline.get(), kLinkGreen, 25, 400, L"Select All");
  DrawTextAt(dc, fonts_.underline.get(), kLinkGreen, 100, 400, L"Clear All");
}

void CCleaningStartDlg::OnStartScan() {
  if (state_ != setup_.idleState || startPosted_) return;
  if (!PrepareScan()) {
    MessageBoxW(hwnd(), setup_.nothingSelected, product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!session_.Reserve(hwnd())) return;
  LockMenu(true);
  setup_.setLastScanTime();
  setup_.setLastScanDate();
  lastScan_ = ReadLastScanDate();
  startPosted_ = true;
  PostMessageW(hwnd(), setup_.startMessage, 0, 0);
}

void CCleaningStartDlg::OnStartMessage() {
  // Only the start this page asked for, and only once: a reset in between cancelled it.
  if (!startPosted_) return;
  startPosted_ = false;
  if (state_ != setup_.idleState || results_) return;
  state_ = setup_.startMessage;
  found_.clear();
  pausesTaken_ = 0;
  total_ = 0;
  // The worker starts before the result page is made and scans meanwhile: what it reports waits
  // until the page is there to take it (the session is not ready until then).
  session_.SetReady(false);
  const bool started = session_.Start(MakeJob());
  std::unique_ptr<CCleaningResultsDlg> results = MakeResultPage();
  RECT at = {};
  GetWindowRect(hwnd(), &at);
  MapWindowPoints(nullptr, GetParent(hwnd()), reinterpret_cast<POINT*>(&at), 2);
  ShowWindow(hwnd(), SW_HIDE);
  if (!results || !results->Open(GetParent(hwnd()), at, this, hwnd(), setup_.backMessage)) {
    session_.Stop();
    state_ = setup_.idleState;
    LockMenu(false);
    ShowWindow(hwnd(), SW_SHOW);
    return;
  }
  results_ = std::move(results);
  session_.SetReady(true);
  OnScanOpened();
  // No worker could be started: the page shows what it has.
  if (!started) EndScan(false);
}

void CCleaningStartDlg::OnWorkerEnded(WPARAM serial) {
  if (session_.OnWorkerEnded(serial) != ScanSession::End::kNone && results_) EndScan(false);
}

void CCleaningStartDlg::EndScan(bool aborted) {
  session_.Stop();  // a scan shown as over takes no more reports
  LockMenu(false);
  if (results_ && !results_->finished()) results_->Finish(aborted);
}

LRESULT CCleaningStartDlg::OnReport(const COPYDATASTRUCT* data) {
  if (!data) return report_reply::kGoOn;
  ULONG_PTR kind = data->dwData;
  if (kind != setup_.itemKind && kind != setup_.tickKind && kind != report_kind::kCleanProgress) {
    return report_reply::kGoOn;  // not a report of this page's scans
  }
  if (LRESULT verdict = Verdict(); verdict != report_reply::kGoOn) return verdict;
  const auto* chars = static_cast<const wchar_t*>(data->lpData);
  size_t length = chars ? base::LengthBounded(chars, data->cbData / sizeof(wchar_t)) : 0;
  std::wstring_view text(chars ? chars : L"", length);
  if (kind == setup_.itemKind) {
    AddItem(text);
  } else {
    OnProgress(kind, text);
  }
  return report_reply::kGoOn;
}

LRESULT CCleaningStartDlg::OnRelayedReports(const RelayedReport* reports, size_t count) {
  auto take = [this](const COPYDATASTRUCT* data) { return OnReport(data); };
  // While the list is paced the worker waits out each pause, and this thread gets back to its
  // own messages between one item and the next; after that the worker scans on meanwhile.
  const bool pacing = itemPauseMs_ && found_.size() < kPausedItems;
  inBatch_ = true;
  LRESULT reply =
      pacing ? TakeRelayedReports(reports, count, take) : TakeRelayedBatchAnsweringFirst(reports, count, Verdict(), take);
  inBatch_ = false;
  if (headerDue_ && results_) results_->RepaintHeader();
  headerDue_ = false;
  return reply;
}

void CCleaningStartDlg::AddItem(std::wstring_view text) {
  FoundItem item;
  if (!ParseItemReport(text, &item) || results_->Hides(item)) return;
  const uint64_t size = item.size;
  found_.push_back(std::move(item));
  results_->AddRow(found_.size() - 1);
  total_ = SaturatingAdd(total_, size);
  results_->SetTotals(static_cast<int>(std::min<size_t>(found_.size(), INT_MAX)), total_);
  if (itemPauseMs_ && found_.size() <= kPausedItems) {
    Sleep(itemPauseMs_);
    ++pausesTaken_;
  }
  if (GetRandNumber() == 1) {
    if (inBatch_)
      headerDue_ = true;
    else
      results_->RepaintHeader();
  }
}

void CCleaningStartDlg::AbortScan() {
  if (!Scanning()) return;
  const ScanSession::Answer answer = session_.AskToStop(results_->hwnd());
  if (!results_ || results_->finished()) return;  // reset while the question was open
  if (answer != ScanSession::Answer::kGoOn) EndScan(answer == ScanSession::Answer::kStopped);
}

void CCleaningStartDlg::CleanChecked() {
  if (!results_ || !results_->finished()) return;
  HWND owner = results_->hwnd();
  // The items are the ones kept from the reports, whole: the list's texts are only their display.
  std::vector<size_t> checked = results_->CheckedItems();
  if (checked.empty()) {
    MessageBoxW(owner, L"You haven't selected any, please select items to clean.", product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MessageBoxW(owner, L"Are you sure to remove the item?", product::kCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  const size_t chosen = checked.size();
  if (!ConfirmCleaning(&checked) || checked.empty()) return;
  const base::ScanLock lock = common_pages::TakeScanLock(owner);
  if (!lock.held()) return;
  std::vector<size_t> removed;
  for (size_t index : checked) {
    if (index < found_.size() && CleanItem(found_[index])) removed.push_back(index);
  }
  if (removed.size() == chosen) {
    MessageBoxW(owner, L"Remove Completed.", product::kCaption, MB_OK | MB_ICONINFORMATION);
    PostMessageW(hwnd(), setup_.backMessage, 0, 0);
    return;
  }
  // What is gone leaves the list; what could not be removed stays listed, as it was, for the user
  // to see and try again.
  std::sort(removed.begin(), removed.end());
  results_->RemoveRows(removed);
  std::vector<size_t> rows = results_->RowItems();
  total_ = 0;
  for (size_t index : rows) {
    if (index < found_.size()) total_ = SaturatingAdd(total_, found_[index].size);
  }
  results_->SetTotals(static_cast<int>(std::min<size_t>(rows.size(), INT_MAX)), total_);
  results_->RepaintHeader();
  std::wstring notice = removed.size() < checked.size() ? NotRemovedText(checked.size() - removed.size(), checked.size())
                                                        : std::wstring();
  std::wstring note = LeftBehindNote();
  if (!note.empty()) notice += (notice.empty() ? L"" : L"\n\n") + note;
  if (!notice.empty()) MessageBoxW(owner, notice.c_str(), product::kCaption, MB_OK | MB_ICONWARNING);
}

bool CCleaningStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (session_.Closing()) {
    if (message == WM_COPYDATA) result = report_reply::kStop;
    if (message == kRelayedReportsMessage) result = 0;
    return message == WM_COPYDATA || message == kRelayedReportsMessage;
  }
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (message == setup_.startMessage) {
    OnStartMessage();
    return true;
  }
  if (message == setup_.finishedMessage) {
    OnWorkerEnded(wParam);
    return true;
  }
  if (message == setup_.backMessage) {
    ResetToStart();
    ShowWindow(hwnd(), SW_SHOW);
    return true;
  }
  if (HandlePagePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result,
                           [](POINT p) { return Inside(kSelectAllLink, p) || Inside(kClearAllLink, p); })) {
    return true;
  }
  switch (message) {
    case WM_SHOWWINDOW:
      if (wParam && state_ == setup_.idleState) {
        lastScan_ = ReadLastScanDate();
        OnShown();
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return false;
    case kRelayedReportsMessage:
      result = OnRelayedReports(reinterpret_cast<const RelayedReport*>(lParam), static_cast<size_t>(wParam));
      return true;
    case WM_COPYDATA:
      result = OnReport(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return true;
  }
  return false;
}

}  // namespace cleaning_pages
