#include "pages/backup/rescue_center_dlg.h"

#include <commctrl.h>

#include "contracts/messages.h"
#include "contracts/tools.h"
#include "pages/backup/backup_ids.h"

namespace {

constexpr COLORREF kLinkGreen = RGB(0, 128, 0);

std::wstring StateText(const rescue::Item& item) {
  switch (item.state) {
    case rescue::State::kReady: return L"Can be undone";
    case rescue::State::kUndone: return L"Undone";
    case rescue::State::kDamaged: return L"Damaged: " + item.problem;
    case rescue::State::kMissing: return L"Missing: " + item.problem;
  }
  return std::wstring();
}

void AddColumn(HWND list, int index, const wchar_t* title, int width) {
  LVCOLUMNW column = {};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.pszText = const_cast<wchar_t*>(title);
  column.cx = width;
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::wstring& text) {
  LVITEMW cell = {};
  cell.iSubItem = column;
  cell.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
}

std::wstring Plural(int n, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(n) + L" " + (n == 1 ? one : many);
}

}  // namespace

CRescueCenterDlg::CRescueCenterDlg()
    : BackupPage(IDD_RESCUE_CENTER,
                 {{8, 12, L"Every change Lumaspan made that can be undone, newest first."}}),
      link_(ui::MakeFont(L"MS Sans Serif", 10, FW_NORMAL, true)) {}

HWND CRescueCenterDlg::List() const { return GetDlgItem(hwnd(), IDC_RESCUE_LIST); }

void CRescueCenterDlg::OnInitPage() {
  HWND list = List();
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(textFont()), FALSE);
  SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddColumn(list, 0, L"Date and time", 125);
  AddColumn(list, 1, L"Kind", 115);
  AddColumn(list, 2, L"Entries", 55);
  AddColumn(list, 3, L"State", 250);
  SendMessageW(Item(IDC_RESCUE_LINK), WM_SETFONT, reinterpret_cast<WPARAM>(link_.get()), FALSE);
  SkinButton(IDC_BACKUP_REFRESH, refresh_, L"Res\\Common\\QOR_Button_Refresh.bmp");
  SkinButton(IDC_RESCUE_UNDO, undo_, L"Res\\Common\\QOR_Button_Undo.bmp");
  SkinButton(IDC_RESCUE_DELETE, delete_, L"Res\\Common\\QOR_Button_Delete.bmp");
}

rescue::Places CRescueCenterDlg::CurrentPlaces() const {
  wchar_t folder[MAX_PATH] = {};
  DWORD n = GetCurrentDirectoryW(MAX_PATH, folder);
  return rescue::SystemPlaces(n > 0 && n < MAX_PATH ? folder : L"");
}

void CRescueCenterDlg::Reload() {
  HWND list = List();
  if (!list) return;
  items_ = rescue::ListItems(CurrentPlaces());
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  SendMessageW(list, LVM_SETITEMCOUNT, items_.size(), 0);
  for (size_t i = 0; i < items_.size(); ++i) {
    const rescue::Item& item = items_[i];
    std::wstring when = rescue::WhenText(item);
    LVITEMW row = {};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = static_cast<int>(i);
    row.pszText = const_cast<wchar_t*>(when.c_str());
    row.lParam = static_cast<LPARAM>(i);
    int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
    if (at < 0) continue;
    SetCell(list, at, 1, rescue::KindName(item.kind));
    SetCell(list, at, 2, item.state == rescue::State::kDamaged ? std::wstring(L"-") : std::to_wstring(item.entries));
    SetCell(list, at, 3, StateText(item));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void CRescueCenterDlg::Select(const std::wstring& path) {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].path != path) continue;
    LVITEMW state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(List(), LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&state));
    SendMessageW(List(), LVM_ENSUREVISIBLE, i, FALSE);
  }
}

const rescue::Item* CRescueCenterDlg::Chosen() {
  int row = static_cast<int>(SendMessageW(List(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (row < 0 || static_cast<size_t>(row) >= items_.size()) {
    Ask(L"Please select a change in the list first.", MB_ICONINFORMATION);
    return nullptr;
  }
  return &items_[row];
}

void CRescueCenterDlg::OnUndo() {
  const rescue::Item* chosen = Chosen();
  if (!chosen) return;
  rescue::Item item = *chosen;
  if (item.state == rescue::State::kUndone) {
    Ask(L"This change has already been undone.", MB_ICONINFORMATION);
    return;
  }
  if (item.state != rescue::State::kReady) {
    Ask((L"This change cannot be undone: " + item.problem + L".").c_str(), MB_ICONERROR);
    return;
  }
  std::wstring question = L"Are you sure to undo this change?\n" + std::wstring(rescue::KindName(item.kind)) + L", " +
                          rescue::WhenText(item);
  if (Ask(question.c_str(), MB_ICONQUESTION) != IDOK) return;
  ::LockMenu(GetParent(hwnd()), 1);
  rescue::Outcome outcome = rescue::Undo(CurrentPlaces(), item);
  ::LockMenu(GetParent(hwnd()), 0);
  std::wstring text;
  if (outcome.refused) {
    text = outcome.why;
  } else if (outcome.notPutBack == 0) {
    text = L"Undo completed.";
  } else {
    text = std::to_wstring(outcome.notPutBack) + L" of the " + Plural(outcome.total, L"entry", L"entries") +
           L" could not be put back: " + outcome.why + L".";
  }
  if (outcome.keptBeside > 0)
    text += L"\n" + Plural(outcome.keptBeside, L"file was", L"files were") +
            L" put back under a new name beside a file of the same name that is there now; both were kept.";
  Ask(text.c_str(), outcome.refused || outcome.notPutBack ? MB_ICONERROR : MB_ICONINFORMATION);
  Reload();
  Select(item.path);
}

void CRescueCenterDlg::OnDelete() {
  const rescue::Item* chosen = Chosen();
  if (!chosen) return;
  rescue::Item item = *chosen;
  if (Ask(L"Are you sure to delete this undo file? The change can no longer be undone afterwards.", MB_ICONQUESTION) !=
      IDOK)
    return;
  if (!rescue::Delete(CurrentPlaces(), item)) Ask(L"The undo file could not be deleted completely.", MB_ICONERROR);
  Reload();
}

bool CRescueCenterDlg::OnButton(int id) {
  return Clicked(*this, id,
                 {{IDC_BACKUP_REFRESH, &CRescueCenterDlg::Reload},
                  {IDC_RESCUE_UNDO, &CRescueCenterDlg::OnUndo},
                  {IDC_RESCUE_DELETE, &CRescueCenterDlg::OnDelete},
                  {IDC_RESCUE_LINK, &CRescueCenterDlg::OnLink}});  // STN_CLICKED is BN_CLICKED's code
}

void CRescueCenterDlg::OnLink() { PostMessageW(GetParent(hwnd()), page_id::kSystemOptimizer, 0, 0); }

bool CRescueCenterDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_SHOWWINDOW && wParam) Reload();  // what other pages undid or wrote meanwhile
  if (message == WM_SETCURSOR && reinterpret_cast<HWND>(wParam) == Item(IDC_RESCUE_LINK)) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    result = TRUE;
    return true;
  }
  bool handled = BackupPage::OnMessage(message, wParam, lParam, result);
  if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == Item(IDC_RESCUE_LINK))
    SetTextColor(reinterpret_cast<HDC>(wParam), kLinkGreen);
  return handled;
}
