#include "pages/home_registry/hivescrub_results_dlg.h"

#include <vector>

#include "contracts/hivescrub.h"
#include "contracts/messages.h"
#include "pages/cleaning/ignore_menu.h"
#include "pages/common/page_look.h"
#include "pages/common/scan_session.h"
#include "pages/home_registry/page_drawing.h"
#include "pages/home_registry/resource.h"
#include "ui/controls/page_colours.h"
#include "ui/paint.h"

namespace {

std::wstring NotRepairedText(int failed, int tried, bool noUndo) {
  if (noUndo && failed == tried)
    return L"Nothing was changed because no undo file could be made. Make sure the program's folder can be written "
           L"to, then try again.";
  std::wstring text = tried == 1 ? std::wstring(L"The problem could not be repaired.")
                                 : std::to_wstring(failed) + L" of " + std::to_wstring(tried) +
                                       L" problems could not be repaired.";
  if (noUndo) return text + L" No undo file could be made for the rest, so they were not changed.";
  return text + (failed == 1 ? L" It may" : L" They may") + L" have changed since the scan or be protected.";
}

}  // namespace

CHivescrubResultsDlg::CHivescrubResultsDlg()
    : ui::Dialog(IDD_HIVESCRUB_RESULTS),
      rowIcon_(ui::LoadBitmapFile(L"Res\\Common\\QOR_Home_Error.png")),
      normal_(ui::MakeFont(L"MS Sans Serif", 10)),
      countFont_(ui::MakeFont(L"Arial", 16, FW_BOLD)) {
  panel_.LoadImage(L"Res\\Dialog\\QOR_Results_Dlg_BG.jpg");
}

// The window and its list go first, while the row icon they draw is still here.
CHivescrubResultsDlg::~CHivescrubResultsDlg() { Destroy(); }

bool CHivescrubResultsDlg::AddProblemRow(const std::wstring& display) {
  if (!list_.hwnd()) return false;
  int before = rowCount();
  list_.AddItem(display.c_str(), ui::Usable(rowIcon_.get()) ? rowIcon_.get() : nullptr);
  return rowCount() == before + 1;
}

bool CHivescrubResultsDlg::AddProblemRow(const registry_scan::RegistryProblem& problem) {
  if (registry_pages::IsExcluded(excluded_, problem)) return false;
  base::Exclusion identity = registry_pages::ProblemExclusion(problem);
  if (!AddProblemRow(problem.display)) return false;
  identities_.resize(static_cast<size_t>(rowCount()) - 1);
  identities_.push_back(std::move(identity));
  return true;
}

bool CHivescrubResultsDlg::IgnoreRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= identities_.size() || identities_[row].identity.empty()) return false;
  if (!cleaning_pages::StoreExclusion(GetParent(hwnd()), identities_[row])) return false;
  SendMessageW(owner_, kForgetProblemMessage, 0, row);
  RemoveRow(row);
  return true;
}

int CHivescrubResultsDlg::SelectedRow() const {
  LRESULT row = list_.hwnd() ? SendMessageW(list_.hwnd(), LB_GETCURSEL, 0, 0) : LB_ERR;
  return row == LB_ERR ? -1 : static_cast<int>(row);
}

void CHivescrubResultsDlg::CountProblem() {
  ++problemCount_;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CHivescrubResultsDlg::RemoveRow(int row) {
  if (row < 0 || row >= rowCount()) return;
  SendMessageW(list_.hwnd(), LB_DELETESTRING, row, 0);
  if (static_cast<size_t>(row) < identities_.size()) identities_.erase(identities_.begin() + row);
  if (problemCount_ > 0) --problemCount_;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

int CHivescrubResultsDlg::rowCount() const {
  if (!list_.hwnd()) return 0;
  LRESULT count = SendMessageW(list_.hwnd(), LB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::wstring CHivescrubResultsDlg::RowText(int row) const {
  if (row < 0 || row >= rowCount()) return std::wstring();
  LRESULT length = SendMessageW(list_.hwnd(), LB_GETTEXTLEN, row, 0);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, L'\0');
  LRESULT copied = SendMessageW(list_.hwnd(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()));
  if (copied <= 0) return std::wstring();
  return std::wstring(text.data(), static_cast<size_t>(copied < length ? copied : length));
}

bool CHivescrubResultsDlg::OnInitDialog(HWND) {
  DWORD style =
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWVARIABLE;
  if (list_.Create(hwnd(), kListRect, style, WS_EX_STATICEDGE, IDC_PROBLEM_LIST)) ShowWindow(list_.hwnd(), SW_SHOW);
  common_pages::SkinButton(hwnd(), IDC_BACK, back_, L"Res\\Common\\QOR_Button_Back.bmp");
  common_pages::SkinButton(hwnd(), IDC_CLEAN, clean_, L"Res\\Common\\QOR_Button_Clean.bmp");
  // Left of Back, in the dialog's own font: the page's skin has no picture for it.
  RECT back = {};
  GetWindowRect(Item(IDC_BACK), &back);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&back), 2);
  HWND ignore = CreateWindowExW(0, L"BUTTON", L"Ignore", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                kListRect.left, back.top + 4, 100, back.bottom - back.top - 8, hwnd(),
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIgnoreButtonId)), ui::Instance(), nullptr);
  SendMessageW(ignore, WM_SETFONT, SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
  return true;
}

void CHivescrubResultsDlg::OnContextMenu(HWND window, LPARAM point) {
  if (window != list_.hwnd()) return;
  int row = SelectedRow();
  POINT at = ui::PointFromLParam(point);
  if (point != -1) {
    POINT client = at;
    ScreenToClient(list_.hwnd(), &client);
    LRESULT hit = SendMessageW(list_.hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
    row = HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
    if (row >= 0) SendMessageW(list_.hwnd(), LB_SETCURSEL, row, 0);
  } else if (row >= 0) {  // from the keyboard: below the selected row
    RECT r = {};
    SendMessageW(list_.hwnd(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    at = {r.left + 20, r.bottom};
    ClientToScreen(list_.hwnd(), &at);
  }
  if (row < 0 || row >= rowCount()) return;
  if (cleaning_pages::AskIgnore(hwnd(), at, false) == cleaning_pages::IgnoreChoice::kItem) IgnoreRow(row);
}

void CHivescrubResultsDlg::OnClean() {
  HWND main = GetParent(hwnd());
  if (MessageBoxW(main, L"Are you sure to remove the item?", L"KeepLumaspan", MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
    return;
  const base::ScanLock lock = common_pages::TakeScanLock(main);
  if (!lock.held()) return;
  // Every listed problem, strictly from the first row to the last; each send returns once that
  // problem is repaired, with the engine's result. Once the undo file cannot be written no repair
  // can be made, so the rest are not tried.
  int rows = rowCount();
  std::vector<int> repaired;
  bool noUndo = false;
  for (int i = 0; i < rows && !noUndo; ++i) {
    LRESULT outcome = SendMessageW(owner_, page_msg::kRegistryRepairItem, 0, i);
    if (outcome == hivescrub::kRepaired) repaired.push_back(i);
    noUndo = outcome == hivescrub::kNoUndoFile;
  }
  if (static_cast<int>(repaired.size()) == rows) {
    MessageBoxW(main, L"Repair Completed.", L"KeepLumaspan", MB_OK | MB_ICONINFORMATION);
    OnBack();
    return;
  }
  // The last row first, so that the numbers of the rows still to go do not change.
  for (auto row = repaired.rbegin(); row != repaired.rend(); ++row) {
    SendMessageW(owner_, kForgetProblemMessage, 0, *row);
    RemoveRow(*row);
  }
  MessageBoxW(main, NotRepairedText(rows - static_cast<int>(repaired.size()), rows, noUndo).c_str(), L"KeepLumaspan",
              MB_OK | MB_ICONWARNING);
}

void CHivescrubResultsDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  registry_pages::PaintGround(dc, client, panel_);
  SetTextColor(dc, RGB(0, 0, 0));
  {
    ui::Select font(dc, normal_.get());
    registry_pages::Text(dc, 8, 12, L"Scan Results");
    registry_pages::Text(dc, 8, 26, L"Registry Cleaner has completed the analysis of you system");
  }
  registry_pages::PaintProblemCount(dc, countFont_.get(), problemCount_);
}

bool CHivescrubResultsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (ui::HandlePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (message == WM_CONTEXTMENU) {
    OnContextMenu(reinterpret_cast<HWND>(wParam), lParam);
    return true;
  }
  return false;
}

bool CHivescrubResultsDlg::OnClicked(int id) {
  return Clicked(*this, id,
                 {{IDC_CLEAN, &CHivescrubResultsDlg::OnClean},
                  {IDC_BACK, &CHivescrubResultsDlg::OnBack},
                  {kIgnoreButtonId, &CHivescrubResultsDlg::OnIgnore}});
}

void CHivescrubResultsDlg::OnBack() { PostMessageW(owner_, page_msg::kRegistryBack, 0, 0); }

void CHivescrubResultsDlg::OnIgnore() {
  if (SelectedRow() < 0)
    MessageBoxW(GetParent(hwnd()), L"Please select the problem to ignore.", L"KeepLumaspan", MB_OK | MB_ICONINFORMATION);
  else
    IgnoreRow(SelectedRow());
}
