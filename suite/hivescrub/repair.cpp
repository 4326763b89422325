#include "repair.h"

#include "base/text.h"
#include "checks.h"
#include "registry_access.h"
#include "safelist.h"
#include "undo.h"

namespace hivescrub {
namespace {

constexpr size_t kMaxRepairText = 1 << 20;

bool Apply(Action action, const Entry& e) {
  switch (action) {
    case Action::kDeleteValue: {
      base::UniqueKey key;
      if (RegOpenKeyExW(e.root, e.key.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS)
        return false;
      return RegDeleteValueW(key.get(), e.value.c_str()) == ERROR_SUCCESS;
    }
    case Action::kDeleteKey: {
      base::UniqueKey parent;
      if (RegOpenKeyExW(e.root, ParentPath(e.key).c_str(), 0, KEY_READ | KEY_WOW64_64KEY, parent.receive()) !=
          ERROR_SUCCESS)
        return false;
      return DeleteKeyTree(parent.get(), LastComponent(e.key));
    }
    case Action::kDisableService: {
      // Written where the service control manager keeps it; it takes effect when the manager next
      // reads its database. A service whose program is missing cannot run in the meantime anyway.
      base::UniqueKey key;
      if (RegOpenKeyExW(e.root, e.key.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS)
        return false;
      DWORD disabled = SERVICE_DISABLED;
      return RegSetValueExW(key.get(), L"Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&disabled),
                            sizeof(disabled)) == ERROR_SUCCESS;
    }
  }
  return false;
}

}  // namespace

bool Repair(int id, const wchar_t* text) {
  if (!text) return false;
  size_t length = base::LengthBounded(text, kMaxRepairText);
  if (length == kMaxRepairText) return false;
  const Check* check = FindCheck(id);
  Action action;
  Entry entry;
  if (!check || !ParseRepairText(std::wstring(text, length), &action, &entry)) return false;
  if (!check->InDomain(entry) || IsSafelisted(check->id, entry)) return false;

  // The entry must still be the problem that was reported: the same action on the same entry.
  {
    base::UniqueKey key = OpenRead(entry.root, entry.key);
    if (!key || (entry.isValue && !HasValue(key.get(), entry.value.c_str()))) return false;
    Context context;
    Finding finding;
    if (!check->Judge(context, entry, key.get(), &finding)) return false;
    if (finding.action != action || !SameEntry(finding.entry, entry)) return false;
  }

  std::wstring undo;
  bool described = action == Action::kDeleteKey ? UndoOfKey(entry.root, entry.key, &undo)
                   : action == Action::kDeleteValue ? UndoOfValue(entry.root, entry.key, entry.value, &undo)
                                                    : UndoOfValue(entry.root, entry.key, L"Start", &undo);
  if (!described || !AppendUndo(undo)) return false;
  return Apply(action, entry);
}

}  // namespace hivescrub
