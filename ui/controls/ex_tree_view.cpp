#include "ui/controls/ex_tree_view.h"

#include <shellapi.h>

#include <vector>

#include "base/handles.h"

namespace ui {
namespace {

// The action part of a TVN_ITEMEXPANDING action (the flags above it: partial, reset).
constexpr UINT kExpandAction = TVE_COLLAPSE | TVE_EXPAND;

// Room for any item text, the root folder included (names themselves are at most 259 characters).
constexpr int kTextMax = 32768;

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}

bool IsFolder(const std::wstring& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Calls visit(entry) for every entry of folder but "." and "..", until it returns false. A folder
// that cannot be listed (gone, no access, a path too long for the system) has no entries.
template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit) {
  WIN32_FIND_DATAW entry;
  base::UniqueFind find(FindFirstFileW(Join(folder, L"*.*").c_str(), &entry));
  if (!find) return;
  do {
    if (wcscmp(entry.cFileName, L".") == 0 || wcscmp(entry.cFileName, L"..") == 0) continue;
    if (!visit(entry)) return;
  } while (FindNextFileW(find.get(), &entry));
}

// The index of an item's small icon in the system image list. The icon index alone is asked for:
// asking for the icon itself would hand over an icon handle per item to be destroyed.
int IconIndex(const std::wstring& path, const std::wstring& name, bool folder, UINT extra) {
  SHFILEINFOW info = {};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra;
  if (path.size() < MAX_PATH && SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), flags)) return info.iIcon;
  // Gone, or too long to look at: the generic icon of its kind and extension.
  DWORD kind = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  if (name.size() < MAX_PATH && SHGetFileInfoW(name.c_str(), kind, &info, sizeof(info), flags | SHGFI_USEFILEATTRIBUTES))
    return info.iIcon;
  return -1;
}

void SetHasChildren(HWND tree, HTREEITEM item, bool hasChildren) {
  TVITEMW tv = {};
  tv.mask = TVIF_CHILDREN;
  tv.hItem = item;
  tv.cChildren = hasChildren ? 1 : 0;
  SendMessageW(tree, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

bool CExTreeView::SetSystemImageList() {
  SHFILEINFOW info = {};
  auto list = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!list || !hwnd()) return false;
  // The system's list is shared: the tree never destroys the lists it is given.
  SendMessageW(hwnd(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
  return true;
}

void CExTreeView::SetShowFiles(bool show) {
  showFiles_ = show;
  if (hwnd()) Reload();
}

void CExTreeView::Reload() {
  HWND tree = hwnd();
  if (!tree) return;
  SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
  SendMessageW(tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  HTREEITEM root = Insert(TVI_ROOT, root_, root_, true, false);
  if (root) SetHasChildren(tree, root, Fill(root, root_) > 0);
  SendMessageW(tree, TVM_SETBKCOLOR, 0, RGB(255, 255, 255));
  SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree, nullptr, TRUE);
}

int CExTreeView::Fill(HTREEITEM item, const std::wstring& folder) {
  if (!IsFolder(folder)) return 0;
  std::vector<std::wstring> folders, files;
  ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      folders.emplace_back(entry.cFileName);
    } else if (showFiles_ && Passes(entry.cFileName)) {
      files.emplace_back(entry.cFileName);
    }
    return true;
  });
  int added = 0;
  for (const auto& name : folders) {
    std::wstring path = Join(folder, name);
    if (Insert(item, name, path, true, HasVisibleChildren(path))) ++added;
  }
  for (const auto& name : files) {
    if (Insert(item, name, Join(folder, name), false, false)) ++added;
  }
  return added;
}

HTREEITEM CExTreeView::Insert(HTREEITEM parent, const std::wstring& text, const std::wstring& path, bool folder,
                              bool hasChildren) {
  TVINSERTSTRUCTW insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_CHILDREN;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.cChildren = hasChildren ? 1 : 0;
  int icon = IconIndex(path, text, folder, 0);
  if (icon >= 0) {
    int open = IconIndex(path, text, folder, SHGFI_OPENICON);
    item.mask |= TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.iImage = icon;
    item.iSelectedImage = open >= 0 ? open : icon;
  }
  return reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool CExTreeView::HasVisibleChildren(const std::wstring& folder) const {
  bool found = false;
  ForEachEntry(folder, [&](const WIN32_FIND_DATAW& entry) {
    found = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (showFiles_ && Passes(entry.cFileName));
    return !found;
  });
  return found;
}

bool CExTreeView::Passes(const std::wstring& name) const {
  if (filter_.empty()) return true;
  return name.find(L'.') != std::wstring::npos && name.size() >= filter_.size() &&
         name.compare(name.size() - filter_.size(), filter_.size(), filter_) == 0;
}

std::wstring CExTreeView::GetItemPath(HTREEITEM item) const {
  std::vector<std::wstring> names;
  std::vector<wchar_t> buffer(kTextMax);
  for (HTREEITEM i = item; i; i = Next(hwnd(), i, TVGN_PARENT)) {
    buffer[0] = L'\0';
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = i;
    tv.pszText = buffer.data();
    tv.cchTextMax = kTextMax;
    if (!SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return std::wstring();
    // The control may point pszText at its own copy instead of filling the buffer.
    names.emplace_back(tv.pszText ? tv.pszText : L"");
  }
  std::wstring path;
  for (auto name = names.rbegin(); name != names.rend(); ++name) path = path.empty() ? *name : Join(path, *name);
  return path;
}

std::wstring CExTreeView::GetSelectedPath() const {
  HTREEITEM selected = Next(hwnd(), nullptr, TVGN_CARET);
  return selected ? GetItemPath(selected) : std::wstring();
}

bool CExTreeView::OnMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  if (message != OCM_NOTIFY) return false;
  auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code != TVN_ITEMEXPANDINGW) return false;
  auto* change = reinterpret_cast<const NMTREEVIEWW*>(lParam);
  HTREEITEM item = change->itemNew.hItem;
  // A folder is filled once: when it is expanded while it has no children yet.
  if ((change->action & kExpandAction) == TVE_EXPAND && item && !Next(hwnd(), item, TVGN_CHILD)) {
    // A folder that vanished or emptied since the look-ahead loses its expand button.
    if (Fill(item, GetItemPath(item)) == 0) SetHasChildren(hwnd(), item, false);
  }
  result = FALSE;  // never stops the expansion
  return true;
}

}  // namespace ui
