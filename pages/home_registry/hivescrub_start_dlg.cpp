#include "pages/home_registry/hivescrub_start_dlg.h"

#include <cwchar>

#include "base/product.h"
#include "contracts/hivescrub.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/common/page_look.h"
#include "pages/common/scan_session.h"
#include "pages/home_registry/page_drawing.h"
#include "pages/home_registry/resource.h"
#include "ui/controls/page_colours.h"
#include "ui/link_cursor.h"
#include "ui/paint.h"

namespace {

constexpr COLORREF kBlockLine = RGB(230, 231, 224);
constexpr COLORREF kLinkGreen = RGB(0, 128, 0);
constexpr int kCaptionX = 50;
constexpr int kFirstCaptionY = 65;
constexpr int kCaptionStep = 21;

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

void Line(HDC dc, int x1, int x2, int y, COLORREF colour) {
  RECT r = {x1, y, x2, y + 1};
  ui::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush.get());
}

}  // namespace

const int CHivescrubStartDlg::kCheckIds[registry_scan::kCategories + 1] = {
    0,
    IDC_CHECK_ACTIVEX, IDC_CHECK_SOFTWARE, IDC_CHECK_SOUNDS, IDC_CHECK_MRU, IDC_CHECK_HELP,                // 1-5
    IDC_CHECK_SHARED, IDC_CHECK_STARTUP, IDC_CHECK_PATHS, IDC_CHECK_ASSOCIATIONS, IDC_CHECK_SERVICES,      // 6-10
    IDC_CHECK_EXTENSIONS, IDC_CHECK_FONTS, IDC_CHECK_FOLDERS, IDC_CHECK_OBSOLETE, IDC_CHECK_EMPTY};        // 11-15

CHivescrubStartDlg::CHivescrubStartDlg()
    : ui::Page(IDD_HIVESCRUB_START),
      selection_(registry_scan::AllSelected()),
      normal_(ui::MakeFont(L"MS Sans Serif", 10)),
      link_(ui::MakeFont(L"MS Sans Serif", 10, FW_NORMAL, true)) {
  for (int& check : checks_) check = 1;
  panel_.LoadImage(L"Res\\Dialog\\QOR_ScanNow_BG.jpg");
}

CHivescrubStartDlg::~CHivescrubStartDlg() {
  session_.Close();
  scan_.reset();
  results_.reset();
  // With the page's window gone every report of a running worker fails, so the engine unwinds and
  // the worker ends by itself; closing ends the program at once, nothing waits for it.
  Destroy();
}

void CHivescrubStartDlg::DoDataExchange(bool save) {
  for (int c = 1; c <= registry_scan::kCategories; ++c) ExchangeCheck(kCheckIds[c], checks_[c], save);
  ExchangeCheck(IDC_SELECT_ALL, selectAll_, save);
}

bool CHivescrubStartDlg::OnInitDialog(HWND) {
  UpdateData(false);
  common_pages::SkinButton(hwnd(), IDC_START_SCAN, startScan_, L"Res\\Common\\QOR_Button_Start_Scan.bmp");
  return true;
}

bool CHivescrubStartDlg::OnClicked(int id) {
  if (id == IDC_START_SCAN) OnStartScan();
  else if (id == IDC_SELECT_ALL) SetAllBoxes(true);
  else return false;
  return true;
}

bool CHivescrubStartDlg::OnMouse(UINT message, POINT at, WPARAM) {
  if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN) return false;
  OnButtonDown(at, message == WM_LBUTTONDOWN);
  return true;
}


void CHivescrubStartDlg::OnStartScan() {
  UpdateData(true);
  for (int c = 1; c <= registry_scan::kCategories; ++c) selection_[c] = checks_[c] ? 1 : 0;
  if (registry_scan::CountSelected(selection_) == 0) {
    MessageBoxW(MainWindow(), L"Please select at least one option from the list that needs to be scanned for errors.",
                product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!session_.Reserve(MainWindow())) return;
  LockMenu(MainWindow(), 1);
  HivescrubSetLastScanTime();
  HivescrubSetLastScanDate();
  PostMessageW(hwnd(), page_msg::kRegistryStart, 0, 0);
}

void CHivescrubStartDlg::OpenScan() {
  if (view_ != kStartView || scan_) return;
  HWND main = MainWindow();
  POINT origin = PageOrigin();
  auto place = [origin](HWND page) {
    RECT r = {};
    GetClientRect(page, &r);
    OffsetRect(&r, origin.x, origin.y);
    MoveWindow(page, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  };

  auto scan = std::make_unique<CHivescrubScanDlg>();
  auto results = std::make_unique<CHivescrubResultsDlg>();
  results->SetOwner(hwnd());
  if (!scan->Create(main) || !results->Create(main)) {
    session_.Stop();
    LockMenu(main, 0);
    return;  // the start view stays; the windows made go with their objects
  }
  ShowWindow(hwnd(), SW_HIDE);
  scan_ = std::move(scan);
  results_ = std::move(results);
  ShowWindow(scan_->hwnd(), SW_SHOW);
  view_ = kScanningView;
  place(scan_->hwnd());
  scan_->SetSelection(selection_);
  place(results_->hwnd());

  problems_.clear();
  scan_->SetAbort([this] { AbortScan(); });
  // The views are made: reports are taken from the first. A stopped scan's worker still winding
  // down delays the start until it has ended.
  session_.SetReady(true);
  if (!session_.Start(std::make_shared<registry_scan::Job>(hwnd(), registry_scan::SelectedCategories(selection_)))) {
    ShowResults();  // nothing could be scanned: an empty result rather than a scan that never ends
    return;
  }
  scan_->StartClock();
}

LRESULT CHivescrubStartDlg::OnReport(const COPYDATASTRUCT* data) {
  if (!data) return report_reply::kGoOn;
  if (LRESULT verdict = session_.Verdict(); verdict != report_reply::kGoOn) return verdict;
  ULONG_PTR kind = data->dwData;
  if (kind < report_kind::kRegistryProgress ||
      kind > report_kind::kRegistryCategoryBegunBase + report_kind::kRegistryCategories)
    return report_reply::kGoOn;
  // The sender's structure is left as it is: a report answered "send again" is sent again from it.
  int code = static_cast<int>(kind - report_kind::kRegistryProgress);
  std::wstring text = registry_scan::ReportText(*data);
  if (code == 0) {
    scan_->ShowProgressText(text);
  } else if (code <= registry_scan::kCategories) {
    registry_scan::RegistryProblem problem;
    // A problem is kept only together with its row: row i is always problem i, so Clean repairs
    // exactly what is listed.
    if (!registry_scan::ParseProblem(text, code, &problem) || !results_->AddProblemRow(problem))
      return report_reply::kGoOn;
    problems_.push_back(std::move(problem));
    scan_->CountProblem(code);
    results_->CountProblem();
  } else {
    scan_->BeginCategory(code - registry_scan::kCategories);
    scan_->UpdateProgressBar();
  }
  return report_reply::kGoOn;
}

void CHivescrubStartDlg::OnScanEnded(WPARAM serial) {
  const common_pages::ScanSession::End end = session_.OnWorkerEnded(serial);
  if (end != common_pages::ScanSession::End::kNone && view_ == kScanningView) ShowResults();
}

void CHivescrubStartDlg::AbortScan() {
  if (view_ != kScanningView) return;
  const common_pages::ScanSession::Answer answer = session_.AskToStop(MainWindow());
  if (view_ == kScanningView && answer != common_pages::ScanSession::Answer::kGoOn) ShowResults();
}

void CHivescrubStartDlg::ShowResults() {
  session_.Stop();
  LockMenu(MainWindow(), 0);
  scan_->ScanEnded();
  ShowWindow(scan_->hwnd(), SW_HIDE);
  ShowWindow(results_->hwnd(), SW_SHOW);
  view_ = kResultsView;
}

LRESULT CHivescrubStartDlg::Repair(LPARAM index) {
  if (index < 0 || static_cast<size_t>(index) >= problems_.size()) return 0;
  const registry_scan::RegistryProblem& problem = problems_[static_cast<size_t>(index)];
  return HivescrubRepair(problem.id, problem.repair.c_str());
}

void CHivescrubStartDlg::ForgetProblem(LPARAM index) {
  if (index >= 0 && static_cast<size_t>(index) < problems_.size()) problems_.erase(problems_.begin() + index);
}

void CHivescrubStartDlg::ResetToStart() {
  // Left in the middle of a scan: the worker is refused its next report and ends.
  if (view_ == kScanningView && session_.Running()) LockMenu(MainWindow(), 0);
  session_.Stop();
  session_.SetReady(false);
  scan_.reset();
  results_.reset();
  view_ = kStartView;
}

void CHivescrubStartDlg::OnBack() {
  ResetToStart();
  ShowWindow(hwnd(), SW_SHOW);
}

void CHivescrubStartDlg::SetAllBoxes(bool checked) {
  for (int c = 1; c <= registry_scan::kCategories; ++c)
    CheckDlgButton(hwnd(), kCheckIds[c], checked ? BST_CHECKED : BST_UNCHECKED);
}

POINT CHivescrubStartDlg::PageOrigin() const {
  RECT r = {};
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(nullptr, MainWindow(), reinterpret_cast<POINT*>(&r), 2);
  return POINT{r.left, r.top};
}

RECT CHivescrubStartDlg::CaptionRect(int category) const {
  int y = kFirstCaptionY + kCaptionStep * (category - 1);
  SIZE size = {};
  ui::WindowDC dc(hwnd());
  {
    ui::Select font(dc.get(), normal_.get());
    const wchar_t* caption = hivescrub::kCaptions[category];
    GetTextExtentPoint32W(dc.get(), caption, static_cast<int>(wcslen(caption)), &size);
  }
  return RECT{kCaptionX - 4, y - 2, kCaptionX + size.cx + 4, y + 14};
}

bool CHivescrubStartDlg::OnLink(POINT client) {
  return Inside(kSelectAllLink, client) || Inside(kClearAllLink, client);
}

void CHivescrubStartDlg::OnButtonDown(POINT client, bool left) {
  if (Inside(kSelectAllLink, client) || Inside(kClearAllLink, client)) {
    bool all = Inside(kSelectAllLink, client);
    SetAllBoxes(all);
    CheckDlgButton(hwnd(), IDC_SELECT_ALL, all ? BST_CHECKED : BST_UNCHECKED);
    return;
  }
  // A caption is the label of its box, as the text of a check box is.
  for (int c = 1; left && c <= registry_scan::kCategories; ++c) {
    if (!Inside(CaptionRect(c), client)) continue;
    bool checked = IsDlgButtonChecked(hwnd(), kCheckIds[c]) == BST_CHECKED;
    CheckDlgButton(hwnd(), kCheckIds[c], checked ? BST_UNCHECKED : BST_CHECKED);
    return;
  }
}

void CHivescrubStartDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  registry_pages::PaintGround(dc, client, panel_);
  SetTextColor(dc, RGB(0, 0, 0));
  {
    ui::Select font(dc, normal_.get());
    registry_pages::Text(dc, 8, 12, L"Features: Optimizes and fixes your system by removing invalid registry errors.");
    registry_pages::Text(dc, 8, 30, L"Last Scan Time:");
    wchar_t date[100] = {};
    HivescrubGetLastScanDate(date);
    date[99] = L'\0';
    registry_pages::Text(dc, 100, 30, date);
    for (int c = 1; c <= registry_scan::kCategories; ++c)
      registry_pages::Text(dc, kCaptionX, kFirstCaptionY + kCaptionStep * (c - 1), hivescrub::kCaptions[c]);
  }
  Line(dc, 10, 558, 165, kBlockLine);
  Line(dc, 10, 558, 270, kBlockLine);
  {
    ui::Select font(dc, link_.get());
    SetTextColor(dc, kLinkGreen);
    registry_pages::Text(dc, 25, 400, L"Select All");
    registry_pages::Text(dc, 100, 400, L"Clear All");
  }
}

bool CHivescrubStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result, &OnLink)) return true;
  switch (message) {
    case WM_COPYDATA:
      result = OnReport(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return true;
  }
  switch (message) {
    case page_msg::kRegistryStart:
      OpenScan();
      return true;
    case page_msg::kRegistryFinished:
      OnScanEnded(wParam);
      return true;
    case page_msg::kRegistryBack:
      OnBack();
      return true;
    case page_msg::kRegistryRepairItem:
      result = Repair(lParam);
      return true;
    case CHivescrubResultsDlg::kForgetProblemMessage:
      ForgetProblem(lParam);
      return true;
  }
  return false;
}
