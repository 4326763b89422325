#include "pages/managers/bootlist_start_dlg.h"

#include <commctrl.h>

#include <algorithm>

#include "base/product.h"
#include "base/text.h"
#include "contracts/bootlist.h"
#include "contracts/buffers.h"
#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/managers/bootlist_ids.h"
#include "ui/controls/page_colours.h"
#include "ui/page_frame.h"

namespace {

using common_pages::DrawTextAt;
using common_pages::ScanJob;
using common_pages::ScanSession;

// One listing: Bootlist reports every entry to the page before it returns.
class ListJob : public ScanJob {
 public:
  explicit ListJob(HWND page) : ScanJob(page, page_msg::kStartupListComplete) {}

 protected:
  void Run() override {
    if (GoOn()) BootlistGetStartupList(window());
  }
};

}  // namespace

CBootlistStartDlg::CBootlistStartDlg() : ui::Page(IDD_BOOTLIST_START) { session_.SetReady(true); }

CBootlistStartDlg::~CBootlistStartDlg() {
  // The main window is closing: the workers are stopped and the page's window goes first, so that
  // whatever they still send fails at once; they end by themselves, nothing waits for them.
  session_.Close();
  Destroy();
}

bool CBootlistStartDlg::OnInitDialog(HWND) {
  refresh_.Bind(Item(IDC_BOOTLIST_REFRESH));
  remove_.Bind(Item(IDC_BOOTLIST_REMOVE));
  POINT at = CheckWindowsVersion() == 5 ? POINT{8, 53} : POINT{6, 56};
  RECT rect = {at.x, at.y, at.x + kListSize.cx, at.y + kListSize.cy};
  list_.Create(hwnd(), rect, L"",
               WS_VISIBLE | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
               WS_EX_CLIENTEDGE, IDC_BOOTLIST_LIST);
  list_.InsertColumn(0, L"Item", kItemColumnWidth);
  list_.InsertColumn(1, L"Command line", kCommandColumnWidth);
  pane_.Bind(Item(IDC_BOOTLIST_DETAIL));
  // The template's static ends before the links' text does: the pane reaches to the page's margin.
  SetWindowPos(pane_.hwnd(), nullptr, 0, 0, kPaneSize.cx, kPaneSize.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  refresh_.Load(L"Res\\Common\\QOR_Button_Refresh.bmp");
  remove_.Load(L"Res\\Common\\QOR_Button_Remove.bmp");
  return false;
}

bool CBootlistStartDlg::OnClicked(int id) {
  if (session_.Closing()) return false;
  if (id == IDC_BOOTLIST_REFRESH) Refresh();
  else if (id == IDC_BOOTLIST_REMOVE) Remove();
  else return false;
  return true;
}

bool CBootlistStartDlg::OnNotify(NMHDR& header, LRESULT&) {
  if (!session_.Closing() && header.idFrom == IDC_BOOTLIST_LIST && header.code == LVN_ITEMCHANGED)
    OnItemChanged(reinterpret_cast<const NMLISTVIEW&>(header));
  return false;
}

void CBootlistStartDlg::Paint(HDC dc) {
  RECT client = {};
  GetClientRect(hwnd(), &client);
  PaintPageFrame(dc, client.right, client.bottom);
  DrawTextAt(dc, fonts_.bold.get(), RGB(0, 0, 0), 8, 12,
             L"Features:Choose which programs you wish to launch at the Windows startup.");
  DrawTextAt(dc, fonts_.regular.get(), RGB(0, 0, 0), 8, 30,
             L"Automatically stop unneeded software from starting to improve system-boot speed.");
}

void CBootlistStartDlg::Refresh() {
  if (!session_.Reserve(hwnd())) return;  // another scan or clean runs: the list stays as it is
  entries_.clear();
  // A listing still running is stopped; the new one starts once every stopped worker has ended.
  session_.Start(std::make_shared<ListJob>(hwnd()));
  Refill();
  pane_.Clear();
}

void CBootlistStartDlg::OnListComplete(WPARAM serial) {
  // A new listing that could not start leaves the list empty, as one that found nothing.
  if (session_.OnWorkerEnded(serial) == ScanSession::End::kRunning) Refill();
}

LRESULT CBootlistStartDlg::OnReport(const COPYDATASTRUCT* data) {
  if (!data || data->dwData != report_kind::kStartupEntry) return report_reply::kGoOn;  // not a report of ours
  if (LRESULT verdict = session_.Verdict(); verdict != report_reply::kGoOn) return verdict;
  const auto* chars = static_cast<const wchar_t*>(data->lpData);
  size_t length = chars ? base::LengthBounded(chars, data->cbData / sizeof(wchar_t)) : 0;
  bootlist_page::StartupEntry entry;
  if (bootlist_page::ParseEntryReport(std::wstring_view(chars ? chars : L"", length), &entry))
    entries_.push_back(std::move(entry));
  return report_reply::kGoOn;
}

void CBootlistStartDlg::Refill() {
  // One redraw for the whole list: a list view that redraws for every row costs more than the rows.
  SendMessageW(list_.hwnd(), WM_SETREDRAW, FALSE, 0);
  list_.DeleteAllRows();
  for (const bootlist_page::StartupEntry& entry : entries_) {
    int row = list_.AddRow(entry.item.c_str());
    if (row >= 0) list_.SetText(row, 1, entry.command.c_str());
  }
  SendMessageW(list_.hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.hwnd(), nullptr, TRUE);
}

void CBootlistStartDlg::OnItemChanged(const NMLISTVIEW& change) {
  const UINT kChosen = LVIS_SELECTED | LVIS_FOCUSED;
  if (!(change.uChanged & LVIF_STATE) || (change.uNewState & kChosen) != kChosen || change.iItem < 0 ||
      static_cast<size_t>(change.iItem) >= entries_.size())
    return;
  const bootlist_page::StartupEntry& entry = entries_[change.iItem];
  wchar_t starts[contracts::kValueChars] = {}, program[contracts::kValueChars] = {};
  BootlistGetEntryTarget(entry.kind, entry.command.c_str(), starts, program);
  starts[contracts::kValueChars - 1] = program[contracts::kValueChars - 1] = L'\0';
  // A shortcut shows what it starts; a command line is shown whole.
  pane_.Show(entry.item, entry.kind == 2 && starts[0] ? std::wstring(starts) : entry.command, program);
}

void CBootlistStartDlg::Remove() {
  std::vector<std::pair<int, std::wstring>> removals;
  int rows = std::min<int>(list_.RowCount(), static_cast<int>(entries_.size()));
  for (int i = 0; i < rows; ++i)
    if (list_.IsChecked(i)) removals.emplace_back(entries_[i].kind, entries_[i].RemovalKey());
  if (removals.empty()) {
    MessageBoxW(hwnd(), L"Please choose one of the list above to remove the item.", product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (MessageBoxW(hwnd(), L"Are you sure to remove the item?", product::kCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  int failed = 0;
  for (const auto& removal : removals) failed += BootlistRemoveStartupList(removal.first, removal.second.c_str()) == 1 ? 0 : 1;
  Refresh();
  if (failed == 0) {
    MessageBoxW(hwnd(), L"Remove Completed.", product::kCaption, MB_OK | MB_ICONINFORMATION);
    return;
  }
  std::wstring text = failed == 1 ? std::wstring(L"1 entry could not be removed.")
                                  : std::to_wstring(failed) + L" entries could not be removed.";
  MessageBoxW(hwnd(), text.c_str(), product::kCaption, MB_OK | MB_ICONWARNING);
}

bool CBootlistStartDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_COPYDATA) {
    result = OnReport(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return true;
  }
  if (session_.Closing()) return false;
  // The listing starts when the page is first shown: at start-up it would cost a worker thread and
  // the programs' data for a page most sessions never visit.
  if (FirstShowing(message, wParam)) Refresh();
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (common_pages::HandlePagePaint(hwnd(), message, wParam, result, [this](HDC dc) { Paint(dc); })) return true;
  if (message == page_msg::kStartupListComplete) {
    OnListComplete(wParam);
    return true;
  }
  return false;
}
