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

RepairResult Repair(int id, const wchar_t* text) {
  constexpr RepairResult kRefused = RepairResult::kNotRepaired;
  if (!text) return kRefused;
  size_t length = base::LengthBounded(text, kMaxRepairText);
  if (length == kMaxRepairText) return kRefused;
  const Check* check = FindCheck(id);
  Action action;
  Entry entry;
  if (!check || !ParseRepairText(std::wstring(text, length), &action, &entry)) return kRefused;
  if (!check->InDomain(entry) || IsSafelisted(check->id, entry)) return kRefused;

  // The entry must still be the problem that was reported: the same action on the same entry.
  {
    base::UniqueKey key = OpenRead(entry.root, entry.key);
    if (!key || (entry.isValue && !HasValue(key.get(), entry.value.c_str()))) return kRefused;
    Context context;
    Finding finding;
    if (!check->Judge(context, entry, key.get(), &finding)) return kRefused;
    if (finding.action != action || !SameEntry(finding.entry, entry)) return kRefused;
  }

  std::wstring undo;
  bool described = action == Action::kDeleteKey ? UndoOfKey(entry.root, entry.key, &undo)
                   : action == Action::kDeleteValue ? UndoOfValue(entry.root, entry.key, entry.value, &undo)
                                                    : UndoOfValue(entry.root, entry.key, L"Start", &undo);
  // An entry the undo text cannot describe is refused like any other; an undo file that cannot be
  // written refuses every repair, and the caller must be able to tell the user so.
  if (!described) return kRefused;
  if (!AppendUndo(undo)) return RepairResult::kNoUndoFile;
  return Apply(action, entry) ? RepairResult::kRepaired : kRefused;
}

}  // namespace hivescrub
