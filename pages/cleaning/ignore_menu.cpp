#include "pages/cleaning/ignore_menu.h"

#include <commctrl.h>

#include "base/handles.h"
#include "base/product.h"
#include "ui/window.h"

namespace cleaning_pages {
namespace {

constexpr UINT kIgnoreItem = 1, kIgnoreFolder = 2;

struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::DestroyMenu(h); }
};

}  // namespace

int ContextRow(HWND list, LPARAM point) {
  int row = -1;
  if (point == -1) {
    row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  } else {
    LVHITTESTINFO hit = {};
    hit.pt = ui::PointFromLParam(point);
    ScreenToClient(list, &hit.pt);
    row = static_cast<int>(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  }
  if (row < 0) return -1;
  LVITEMW selected = {};
  selected.stateMask = selected.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&selected));
  return row;
}

POINT MenuPoint(HWND list, int row, LPARAM point) {
  POINT at = ui::PointFromLParam(point);
  if (point != -1) return at;
  RECT r = {};
  r.left = LVIR_LABEL;
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  at = {r.left, r.bottom};
  ClientToScreen(list, &at);
  return at;
}

IgnoreChoice AskIgnore(HWND owner, POINT at, bool offerFolder) {
  base::Scoped<MenuTraits> menu(CreatePopupMenu());
  if (!menu) return IgnoreChoice::kNone;
  AppendMenuW(menu.get(), MF_STRING, kIgnoreItem, L"Ignore this item");
  if (offerFolder) AppendMenuW(menu.get(), MF_STRING, kIgnoreFolder, L"Ignore this folder");
  UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x,
                                                 at.y, 0, owner, nullptr));
  if (chosen == kIgnoreItem) return IgnoreChoice::kItem;
  if (chosen == kIgnoreFolder) return IgnoreChoice::kFolder;
  return IgnoreChoice::kNone;
}

bool StoreExclusion(HWND owner, const base::Exclusion& item) {
  const wchar_t* refusal = nullptr;
  switch (base::AddExclusion(item)) {
    case base::AddResult::kAdded:
    case base::AddResult::kAlreadyThere:
      return true;
    case base::AddResult::kRefusedDriveRoot:
      refusal = L"A whole drive cannot be excluded: nothing on it would ever be cleaned. Choose a folder on the "
                L"drive instead.";
      break;
    case base::AddResult::kRefusedEmptyOrLong:
      refusal = L"This item's name is too long to be kept as an exclusion.";
      break;
    case base::AddResult::kFailed:
      refusal = L"The exclusion could not be stored in the registry.";
      break;
  }
  MessageBoxW(owner, refusal, product::kCaption, MB_OK | MB_ICONWARNING);
  return false;
}

}  // namespace cleaning_pages
