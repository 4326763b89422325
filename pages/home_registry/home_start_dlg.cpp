#include "pages/home_registry/home_start_dlg.h"

#include <shellapi.h>

#include <cwchar>

#include "base/product.h"
#include "base/registry.h"
#include "base/undo_journal.h"
#include "contracts/ctrlguard.h"
#include "contracts/hivescrub.h"
#include "contracts/litterbin.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "contracts/tracewipe.h"
#include "contracts/typemend.h"
#include "contracts/webmend.h"
#include "pages/cleaning/found_items.h"
#include "pages/common/page_look.h"
#include "pages/common/report_relay.h"
#include "pages/common/scan_session.h"
#include "pages/home_registry/home_resource.h"
#include "pages/home_registry/page_drawing.h"
#include "pages/home_registry/registry_scan.h"
#include "ui/controls/page_colours.h"
#include "ui/link_cursor.h"
#include "ui/paint.h"

using namespace one_click;

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\Lumaspan Software\\KeepLumaspan";
constexpr wchar_t kHelpPage[] = L"http://www.lumaspan.com/help/";
constexpr wchar_t kRegistryRoot[] = L"HKEY_CURRENT_USER\\";
constexpr wchar_t kRepairUndoFolder[] = L"Backup\\Repairs";
constexpr COLORREF kQuiet = RGB(153, 153, 153);
constexpr COLORREF kLinkGreen = RGB(0, 128, 0);

const wchar_t* const kAbilities[] = {
    L"KeepLumaspan can optimize and fixe your system by removing invalid registry errors,Remove junk file to",
    L"free up disk space and improve system performance,Delete history records to protect your personal info",
    L"rmation,Repair broken file association to avoid future system crashing,Restore IE default settings to ",
    L"keep browser secure and faster,Block malicious ActiveX and improve system security."};

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

// A value of the home page's key as stored; false when the key or value is missing or no string.
bool ReadSetting(const wchar_t* name, wchar_t (&text)[260]) {
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return false;
  return base::ReadRegistryString(key.get(), name, text, 260);
}

void WriteSetting(const wchar_t* name, int value) {
  CheckRegistryKey(kSettingsKey, name, std::to_wstring(value).c_str());
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Whether a trace as kept (a value of a key under HKEY_CURRENT_USER, or a file in a folder) is
// still there.
bool TraceExists(const std::wstring& name, const std::wstring& location) {
  if (location.compare(0, wcslen(kRegistryRoot), kRegistryRoot) != 0) return FileExists(location + name);
  std::wstring path = location.substr(wcslen(kRegistryRoot));
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  base::UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
    return false;
  return RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

const int CHomeStartDlg::kGroupIds[kGroups + 1] = {
    0, IDC_HOME_GROUP_REGISTRY, IDC_HOME_GROUP_JUNK, IDC_HOME_GROUP_EVIDENCE,
    IDC_HOME_GROUP_FILEASSOC, IDC_HOME_GROUP_BROWSER, IDC_HOME_GROUP_ACTIVEX};

CHomeStartDlg::CHomeStartDlg()
    : ui::Page(IDD_HOME_START),
      groups_(AllGroups()),
      picture_(ui::LoadBitmapFile(L"Res\\Dialog\\QOR_Home_Image_BG.png")),
      normal_(ui::MakeFont(L"MS Sans Serif", 10)),
      title_(ui::MakeFont(L"Arial", 16, FW_BOLD)) {
  for (int& check : checks_) check = 1;
}

CHomeStartDlg::~CHomeStartDlg() {
  session_.Close();
  scan_.reset();
  // With the page's window gone every report of a running worker fails, so the engine unwinds and
  // the worker ends by itself; closing ends the program at once, nothing waits for it.
  Destroy();
}

void CHomeStartDlg::DoDataExchange(bool save) {
  for (int g = kRegistry; g <= kActiveX; ++g) ExchangeCheck(kGroupIds[g], checks_[g], save);
  ExchangeCheck(IDC_HOME_SELECT_ALL, selectAll_, save);
}

bool CHomeStartDlg::OnInitDialog(HWND) {
  UpdateData(false);
  drives_ = FixedDrives();
  common_pages::SkinButton(hwnd(), IDC_HOME_START_SCAN, startScan_, L"Res\\Common\\AKEY_CLEANUP.bmp");
  return true;
}

bool CHomeStartDlg::OnClicked(int id) {
  if (id == IDC_HOME_START_SCAN) {
    OnStartScan();
    return true;
  }
  if (id != IDC_HOME_SELECT_ALL) return false;
  bool all = IsDlgButtonChecked(hwnd(), IDC_HOME_SELECT_ALL) == BST_CHECKED;
  for (int g = kRegistry; g <= kActiveX; ++g) CheckDlgButton(hwnd(), kGroupIds[g], all ? BST_CHECKED : BST_UNCHECKED);
  return true;
}

bool CHomeStartDlg::OnMouse(UINT message, POINT at, WPARAM) {
  if (message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN) return false;
  if (Inside(kHelpPress, at)) OpenHelp();
  return true;
}


void CHomeStartDlg::OnStartScan() {
  for (auto& list : lists_) list.clear();
  UpdateData(true);
  Groups chosen = {};
  for (int g = kRegistry; g <= kActiveX; ++g) chosen[g] = checks_[g] ? 1 : 0;
  if (CountGroups(chosen) == 0) {
    MessageBoxW(MainWindow(), L"Please select at least one option from the list that needs to be scanned for errors.",
                product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (!session_.Reserve(MainWindow())) return;
  LockMenu(MainWindow(), 1);
  groups_ = chosen;
  if (groups_[kRegistry]) {
    HivescrubSetLastScanTime();
    HivescrubSetLastScanDate();
  }
  if (groups_[kJunk]) {
    LitterbinSetLastScanTime();
    LitterbinSetLastScanDate();
  }
  if (groups_[kEvidence]) {
    TracewipeSetLastScanTime();
    TracewipeSetLastScanDate();
  }
  view_ = kStartView;
  OpenScan();
}

void CHomeStartDlg::OpenScan() {
  if (scan_) return;
  // The worker starts first (once a stopped one has ended) and scans while the page is being made;
  // its reports wait until the page is there (the session is not ready until then).
  std::vector<Control> controls;
  if (groups_[kActiveX]) controls = ReadControlList(kControlList);
  const int controlCount = static_cast<int>(controls.size());
  finished_ = false;
  pausesTaken_ = 0;
  session_.SetReady(false);
  const bool started = session_.Start(
      std::make_shared<Job>(hwnd(), groups_, drives_, std::move(controls), itemPauseMs_ ? kPausedItems : 0));

  HWND main = MainWindow();
  auto scan = std::make_unique<CHomeScanDlg>();
  scan->SetOwner(hwnd());
  if (!scan->Create(main)) {
    session_.Stop();  // the worker ends at its next report
    LockMenu(main, 0);
    return;
  }
  RECT area = {};
  GetWindowRect(hwnd(), &area);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&area), 2);
  ShowWindow(hwnd(), SW_HIDE);
  scan_ = std::move(scan);
  RECT client = {};
  GetClientRect(scan_->hwnd(), &client);
  MoveWindow(scan_->hwnd(), area.left, area.top, client.right, client.bottom, TRUE);
  ShowWindow(scan_->hwnd(), SW_SHOW);
  view_ = kScanningView;
  scan_->SetSelected(CountGroups(groups_));
  scan_->SetDivisor(kJunk, static_cast<int>(drives_.size()));
  scan_->SetDivisor(kActiveX, controlCount);
  scan_->SetAbort([this] { AbortScan(); });
  scan_->LockTabs(true);
  session_.SetReady(true);
  if (!started) Finish();  // nothing could be scanned: an empty result rather than a scan that never ends
}

LRESULT CHomeStartDlg::OnReport(const COPYDATASTRUCT* data) {
  if (!data) return report_reply::kGoOn;
  if (LRESULT verdict = session_.Verdict(); verdict != report_reply::kGoOn) return verdict;
  // The sender's structure is left as it is: a report answered "send again" is sent again from it.
  const ULONG_PTR kind = data->dwData;
  std::wstring text = registry_scan::ReportText(*data);
  if (kind == report_kind::kRegistryProgress || kind == report_kind::kCleanProgress) {
    scan_->ShowExamined(text);
  } else if (kind > report_kind::kRegistryProblemBase &&
             kind <= report_kind::kRegistryProblemBase + report_kind::kRegistryCategories) {
    registry_scan::RegistryProblem problem;
    if (!registry_scan::ParseProblem(text, static_cast<int>(kind - report_kind::kRegistryProblemBase), &problem) ||
        scan_->list(kRegistry).Hides(problem))
      return report_reply::kGoOn;
    size_t bar = problem.display.find(L'|');
    std::wstring title = problem.display.substr(0, bar);
    std::wstring detail = bar == std::wstring::npos ? std::wstring() : problem.display.substr(bar + 1);
    lists_[kRegistry].emplace_back(std::to_wstring(problem.id), problem.repair);
    scan_->AddRow(kRegistry, title, detail, std::wstring());
    scan_->CountItem(kRegistry);
  } else if (kind > report_kind::kRegistryCategoryBegunBase &&
             kind <= report_kind::kRegistryCategoryBegunBase + report_kind::kRegistryCategories) {
    scan_->Tick(kRegistry);
  } else if (kind == report_kind::kJunkItem || kind == report_kind::kTraceItem) {
    TakeFile(kind == report_kind::kJunkItem ? kJunk : kEvidence, text);
  } else if (kind == report_kind::kJunkDriveTick) {
    scan_->Tick(kJunk);
  } else if (kind == report_kind::kTraceCategoryTick) {
    scan_->Tick(kEvidence);
  } else if (kind == report_kind::kFileAssocProgress || kind == report_kind::kBrowserProgress ||
             kind == report_kind::kActiveXProgress) {
    scan_->ShowExamined(text.substr(0, text.find(L'|')));
  } else if (kind == report_kind::kFileAssocItem || kind == report_kind::kBrowserItem ||
             kind == report_kind::kActiveXItem) {
    TakeItem(kind == report_kind::kFileAssocItem ? kFileAssoc : kind == report_kind::kBrowserItem ? kBrowser : kActiveX,
             text);
  } else if (kind == report_kind::kFileAssocTick || kind == report_kind::kBrowserTick ||
             kind == report_kind::kActiveXTick) {
    scan_->Tick(kind == report_kind::kFileAssocTick ? kFileAssoc : kind == report_kind::kBrowserTick ? kBrowser : kActiveX);
  } else if (kind == report_kind::kGroupFinished) {
    scan_->GroupFinished();
  } else if (kind > report_kind::kGroupBegunBase && kind <= report_kind::kGroupBegunBase + 10 * kGroups &&
             kind % 10 == 0) {
    scan_->ShowGroup(static_cast<int>((kind - report_kind::kGroupBegunBase) / 10), true);
  }
  return report_reply::kGoOn;
}

// A junk file or trace "name|full path|size": kept as the name and its folder (a registry location
// whole), so the clean removes exactly what was reported.
void CHomeStartDlg::TakeFile(int group, const std::wstring& text) {
  cleaning_pages::FoundItem item;
  if (!cleaning_pages::ParseItemReport(text, &item) || scan_->list(group).Hides(item)) return;
  lists_[group].emplace_back(item.name, item.location);
  scan_->AddRow(group, item.name, item.location, cleaning_pages::SizeText(item.size));
  scan_->CountItem(group);
  if (itemPauseMs_ && pausesTaken_ < kPausedItems) {
    Sleep(itemPauseMs_);
    ++pausesTaken_;
  }
}

// A file type, browser setting or control "first|second|third". A control is kept as (class
// identifier, name) and shown with its name under "Item" and its identifier under "CLSID".
void CHomeStartDlg::TakeItem(int group, const std::wstring& text) {
  Fields fields;
  if (!SplitFields(text, &fields) || fields.first.empty()) return;
  lists_[group].emplace_back(fields.first, fields.second);
  if (group == kActiveX)
    scan_->AddRow(group, fields.second, fields.first, fields.third);
  else
    scan_->AddRow(group, fields.first, fields.second, fields.third);
  scan_->CountItem(group);
}

void CHomeStartDlg::OnScanEnded(WPARAM serial) {
  if (session_.OnWorkerEnded(serial) != common_pages::ScanSession::End::kNone) Finish();
}

void CHomeStartDlg::AbortScan() {
  if (view_ != kScanningView || finished_) return;
  if (session_.AskToStop(MainWindow()) != common_pages::ScanSession::Answer::kGoOn) Finish();
}

void CHomeStartDlg::Finish() {
  if (view_ != kScanningView || !scan_ || finished_) return;
  finished_ = true;
  session_.Stop();
  LockMenu(MainWindow(), 0);
  scan_->LockTabs(false);
  scan_->SetStatusText(L"Scan Complete!");
  scan_->ShowResultLayout();
  scan_->FillOverall(groups_);
  StoreScore();
  for (int g : {kRegistry, kJunk, kEvidence}) scan_->list(g).SetIgnoreOwner(hwnd(), g);
}

// The health score and the count of problems, as the start view shows them next time.
void CHomeStartDlg::StoreScore() {
  const Tally& tally = scan_->tally();
  int errors = 0;
  for (int g = kRegistry; g <= kActiveX; ++g) errors += tally.found[g];
  WriteSetting(L"SystemStatus", HealthScore(tally));
  WriteSetting(L"ErrorNumber", errors);
}

// A row the user ignored on the results: it is neither repaired nor scored any more.
void CHomeStartDlg::ForgetIgnored(WPARAM group, LPARAM row) {
  if (!scan_ || group < kRegistry || group > kActiveX || row < 0 || static_cast<size_t>(row) >= lists_[group].size())
    return;
  lists_[group].erase(lists_[group].begin() + row);
  scan_->UncountItem(static_cast<int>(group));
  scan_->FillOverall(groups_);
  StoreScore();
}

// Whether the repair of one kept item took: the engine's own answer, or the problem being gone.
int CHomeStartDlg::RepairGroup(int group) {
  int left = 0;
  for (const Found& item : lists_[group]) {
    const wchar_t* first = item.first.c_str();
    const wchar_t* second = item.second.c_str();
    bool repaired = false;
    switch (group) {
      case kRegistry:
        repaired = HivescrubRepair(_wtoi(first), second) == 1;
        break;
      case kJunk:
        // A file already gone needs no repair; a drive's Recycle Bin ("Recycle Bin" in "X:\") is
        // no file, so only the engine's own answer tells that it was emptied.
        repaired = LitterbinCleanJunkFile(first, second, 0) == 1 ||
                   (!(item.first == L"Recycle Bin" && item.second.size() == 3) && !FileExists(item.second + item.first));
        break;
      case kEvidence:
        TracewipeCleanEvidenceFile(first, second);
        repaired = !TraceExists(item.first, item.second);
        break;
      case kFileAssoc:
        repaired = TypemendFileAssociationRepair(first) == 1 && TypemendCheck(first) == 1;
        break;
      case kBrowser: {
        wchar_t standard[260] = {};
        WebmendDefaultSetting(first, standard);
        standard[259] = L'\0';
        repaired = WebmendSetSetting(first, standard) == 0 && WebmendCompare(first) == 1;
        break;
      }
      case kActiveX:
        repaired = CtrlguardBlock(first) == 1;
        break;
    }
    if (!repaired) ++left;
  }
  return left;
}

void CHomeStartDlg::OnRepairAll() {
  if (!scan_ || !finished_) return;
  if (MessageBoxW(MainWindow(), L"Are you sure to repair the item?", product::kCaption, MB_OKCANCEL | MB_ICONQUESTION) !=
      IDOK)
    return;
  base::ScanLock lock = common_pages::TakeScanLock(MainWindow());
  if (!lock.held()) return;
  Tally tally = scan_->tally();
  // The changes of one run share one undo file, "Backup\Repairs\<local time stamp>.reg"; a
  // library that cannot write it refuses its change, which then counts as not repaired.
  const std::wstring undo = base::FreeJournalPath(kRepairUndoFolder);
  TypemendSetUndoFile(undo.c_str());
  WebmendSetUndoFile(undo.c_str());
  CtrlguardSetUndoFile(undo.c_str());
  std::array<int, kGroups + 1> left = {};
  int total = 0, unrepaired = 0, unscanned = 0;
  for (int g = kRegistry; g <= kActiveX; ++g) {
    left[g] = RepairGroup(g);
    total += static_cast<int>(lists_[g].size());
    unrepaired += left[g];
    if (!tally.begun[g]) ++unscanned;
  }
  TypemendSetUndoFile(nullptr);
  WebmendSetUndoFile(nullptr);
  CtrlguardSetUndoFile(nullptr);
  lock.Release();
  ResetToStart();
  ShowWindow(hwnd(), SW_SHOW);
  // The perfect status only when nothing is left and nothing went unscanned: a computer with
  // problems still on it, or whose scan was cut short, is scored by what is known to remain.
  if (unrepaired == 0 && unscanned == 0) {
    WriteSetting(L"SystemStatus", 1000);
    WriteSetting(L"ErrorNumber", 0);
  } else {
    WriteSetting(L"SystemStatus", HealthScoreLeft(tally, left));
    WriteSetting(L"ErrorNumber", unrepaired);
  }
  WriteSetting(L"CleanNumber", total - unrepaired);
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (unrepaired > 0) {
    std::wstring notice = std::to_wstring(unrepaired) + L" of the " + std::to_wstring(total) +
                          L" problems found could not be repaired.";
    MessageBoxW(MainWindow(), notice.c_str(), product::kCaption, MB_OK | MB_ICONINFORMATION);
  }
}

void CHomeStartDlg::ResetToStart() {
  // Left in the middle of a scan: the worker is refused its next report and ends.
  if (view_ == kScanningView && !finished_) LockMenu(MainWindow(), 0);
  session_.Stop();
  session_.SetReady(false);
  scan_.reset();
  view_ = kStartView;
}

void CHomeStartDlg::OnBack() {
  ResetToStart();
  ShowWindow(hwnd(), SW_SHOW);
}

void CHomeStartDlg::OpenHelp() { ShellExecuteW(MainWindow(), L"open", kHelpPage, nullptr, nullptr, SW_SHOWNORMAL); }

std::vector<StatusText> CHomeStartDlg::StatusBlock() const {
  wchar_t score[260] = {}, errors[260] = {};
  bool stored = ReadSetting(L"SystemStatus", score);
  wchar_t date[100] = {};
  HivescrubGetLastScanDate(date);
  date[99] = L'\0';
  return one_click::StatusBlock(stored ? score : nullptr, ReadSetting(L"ErrorNumber", errors) ? _wtoi(errors) : 0,
                                date);
}

void CHomeStartDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  registry_pages::PaintGround(dc, client, CXuBitmap());
  if (ui::Usable(picture_.get())) {
    Gdiplus::Graphics graphics(dc);
    graphics.DrawImage(picture_.get(), 10, 10, picture_->GetWidth(), picture_->GetHeight());
  }
  ui::Select font(dc, normal_.get());
  SetTextColor(dc, kQuiet);
  registry_pages::Text(dc, 50, 120, L"What KeepLumaspan can do?");
  for (int i = 0; i < 4; ++i) registry_pages::Text(dc, 50, 140 + 15 * i, kAbilities[i]);
  for (const StatusText& text : StatusBlock()) {
    ui::Select titleFont(dc, text.y == 20 ? title_.get() : normal_.get());
    SetTextColor(dc, text.colour);
    registry_pages::Text(dc, text.x, text.y, text.text);
  }
  SetTextColor(dc, kLinkGreen);
  registry_pages::Text(dc, 410, 310, L"Help");
}

bool CHomeStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (ui::HandleLinkCursor(hwnd(), message, wParam, lParam, result, [](POINT p) { return Inside(kHelpCursor, p); }))
    return true;
  switch (message) {
    case WM_COPYDATA:
      result = OnReport(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return true;
    case common_pages::kRelayedReportsMessage:
      result = common_pages::TakeRelayedReports(reinterpret_cast<const common_pages::RelayedReport*>(lParam),
                                                  static_cast<size_t>(wParam),
                                                  [this](const COPYDATASTRUCT* data) { return OnReport(data); });
      return true;
    case page_msg::kHomeFinished:
      OnScanEnded(wParam);
      return true;
    case page_msg::kHomeBack:
      OnBack();
      return true;
    case page_msg::kHomeRepairAll:
      OnRepairAll();
      return true;
    case CHomeListView::kRowIgnoredMessage:
      ForgetIgnored(wParam, lParam);
      return true;
  }
  return false;
}
