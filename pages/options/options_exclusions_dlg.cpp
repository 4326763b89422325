#include "pages/options/options_exclusions_dlg.h"

#include <commctrl.h>
#include <shlobj.h>

#include <memory>

#include "base/product.h"
#include "pages/options/options_ids.h"
#include "ui/controls/page_colours.h"

namespace {

void Tell(HWND owner, const wchar_t* text, UINT icon) { MessageBoxW(owner, text, product::kCaption, MB_OK | icon); }

bool IsFullFolderPath(const std::wstring& path) {
  bool drive = path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  bool share = path.size() >= 5 && path[0] == L'\\' && path[1] == L'\\';
  return drive || share;
}

struct PidlDeleter {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};

}  // namespace

COptionsExclusionsDlg::COptionsExclusionsDlg() : ui::Dialog(IDD_OPTIONS_EXCLUSIONS) {}

std::wstring COptionsExclusionsDlg::ItemText(const base::Exclusion& item) {
  if (item.kind != base::ExclusionKind::kRegistry) return item.identity;
  // "<category>|<key path>|<value name>"; the value name may hold "|" itself.
  size_t first = item.identity.find(L'|');
  size_t second = first == std::wstring::npos ? std::wstring::npos : item.identity.find(L'|', first + 1);
  if (second == std::wstring::npos) return item.identity;
  std::wstring text = item.identity.substr(first + 1, second - first - 1);
  std::wstring value = item.identity.substr(second + 1);
  if (!value.empty()) text += L" [" + value + L"]";
  return text;
}

bool COptionsExclusionsDlg::OnInitDialog(HWND) {
  RECT r = {};
  GetWindowRect(Item(IDC_EXCLUSION_LIST_PLACE), &r);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
  DestroyWindow(Item(IDC_EXCLUSION_LIST_PLACE));
  if (list_.Create(hwnd(), r, L"", WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                   WS_EX_CLIENTEDGE, IDC_EXCLUSION_LIST)) {
    // No check boxes: a row is chosen, then removed.
    SendMessageW(list_.hwnd(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                 LVS_EX_FULLROWSELECT);
    list_.InsertColumn(0, L"Kind", 70);
    list_.InsertColumn(1, L"Item", r.right - r.left - 95);
  }
  SetDlgItemTextW(hwnd(), IDC_EXCLUSION_ADD_FOLDER, L"Add folder\u2026");
  Reload();
  return true;
}

bool COptionsExclusionsDlg::OnClicked(int id) {
  if (id == IDC_EXCLUSION_ADD_FOLDER) AddFolder(PickFolder());
  else if (id == IDC_EXCLUSION_REMOVE) OnRemove();
  else return false;
  return true;
}

void COptionsExclusionsDlg::Reload() {
  shown_ = base::ReadExclusions();
  if (!list_.hwnd()) return;
  list_.DeleteAllRows();
  for (const base::Exclusion& item : shown_) {
    int row = list_.AddRow(base::ExclusionKindWord(item.kind));
    if (row >= 0) list_.SetText(row, 1, ItemText(item).c_str());
  }
}

bool COptionsExclusionsDlg::AddFolder(const std::wstring& folder) {
  if (folder.empty()) return false;
  if (base::IsDriveRoot(folder)) {
    Tell(hwnd(), L"A whole drive cannot be excluded: nothing on it would ever be cleaned. Choose a folder on the drive "
                 L"instead.",
         MB_ICONWARNING);
    return false;
  }
  if (!IsFullFolderPath(folder)) {
    Tell(hwnd(), L"Only a folder with its full path can be excluded.", MB_ICONWARNING);
    return false;
  }
  base::AddResult added = base::AddExclusion({base::ExclusionKind::kFolder, folder});
  if (added == base::AddResult::kRefusedEmptyOrLong) {
    Tell(hwnd(), L"This folder's path is too long to be kept as an exclusion.", MB_ICONWARNING);
    return false;
  }
  if (added == base::AddResult::kFailed) {
    Tell(hwnd(), L"The exclusion could not be stored in the registry.", MB_ICONWARNING);
    return false;
  }
  Reload();
  return true;
}

bool COptionsExclusionsDlg::RemoveRow(int row) {
  if (row < 0 || static_cast<size_t>(row) >= shown_.size()) return false;
  bool removed = base::RemoveExclusion(shown_[row].identity);
  Reload();
  return removed;
}

void COptionsExclusionsDlg::OnRemove() {
  int row = list_.hwnd()
                ? static_cast<int>(SendMessageW(list_.hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
                : -1;
  if (row < 0) {
    Tell(hwnd(), L"Please select the exclusion to remove.", MB_ICONINFORMATION);
    return;
  }
  if (!RemoveRow(row)) Tell(hwnd(), L"The exclusion could not be removed.", MB_ICONWARNING);
}

std::wstring COptionsExclusionsDlg::PickFolder() {
  wchar_t path[MAX_PATH] = {};
  BROWSEINFOW info = {};
  info.hwndOwner = GetAncestor(hwnd(), GA_ROOT);
  info.pszDisplayName = path;
  info.lpszTitle = L"Choose a folder whose contents are never to be cleaned.";
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen(SHBrowseForFolderW(&info));
  if (!chosen || !SHGetPathFromIDListW(chosen.get(), path)) return std::wstring();
  path[MAX_PATH - 1] = L'\0';
  return path;
}

bool COptionsExclusionsDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  if (message == WM_SHOWWINDOW && wParam) Reload();  // the result pages may have added since
  return false;
}
