// Addonward.dll: removes one browser add-on, keeping its exact registry entries as .reg text in the
// session's undo file "Backup\Addons\<local time stamp>.reg" (below the current folder, the program's
// folder), written and flushed before anything is deleted.
#include "contracts/addonward.h"

#include <string>
#include <vector>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/text.h"
#include "suite/addonward/addon_places.h"
#include "suite/hivescrub/registry_access.h"
#include "suite/hivescrub/undo.h"

namespace {

const wchar_t kUndoFolder[] = L"Backup\\Addons";

hivescrub::UndoLog& Undo() {
  static hivescrub::UndoLog log(kUndoFolder);
  return log;
}
constexpr size_t kMaxKey = 16383;  // the longest value name the registry takes; key names are shorter

// Only the add-on's own entry may go: a key is one name, never a path to somewhere else.
bool IsEntryName(const std::wstring& key) {
  return !key.empty() && key != L"." && key != L".." && key.find_first_of(L"\\/") == std::wstring::npos;
}

bool Holds(const addonward::Kind& kind, HKEY place, const std::wstring& key) {
  if (kind.isValue) return hivescrub::HasValue(place, key.c_str());
  return hivescrub::OpenRead(place, key).valid();
}

bool Describe(const addonward::Kind& kind, const std::wstring& place, const std::wstring& key, std::wstring* text) {
  if (kind.isValue) return hivescrub::UndoOfValue(kind.root, place, key, text);
  return hivescrub::UndoOfKey(kind.root, hivescrub::JoinKey(place, key), text);
}

bool Delete(const addonward::Kind& kind, const std::wstring& place, const std::wstring& key) {
  base::UniqueKey parent;
  REGSAM access = (kind.isValue ? KEY_SET_VALUE : KEY_READ) | KEY_WOW64_64KEY;
  if (RegOpenKeyExW(kind.root, place.c_str(), 0, access, parent.receive()) != ERROR_SUCCESS) return false;
  if (kind.isValue) return RegDeleteValueW(parent.get(), key.c_str()) == ERROR_SUCCESS;
  return hivescrub::DeleteKeyTree(parent.get(), key);
}

bool Remove(const wchar_t* keyText, const wchar_t* type) {
  const addonward::Kind* kind = addonward::FindKind(type);
  size_t length = base::LengthBounded(keyText, kMaxKey + 1);
  if (!kind || length > kMaxKey) return false;
  std::wstring key(keyText, length);
  if (!IsEntryName(key)) return false;

  // Every view that holds the add-on is described first; nothing is deleted unless the whole
  // description is safely on disk.
  std::vector<std::wstring> holders;
  std::wstring undo;
  for (const std::wstring& place : addonward::KindKeys(*kind)) {
    base::UniqueKey opened = hivescrub::OpenRead(kind->root, place);
    if (!opened || !Holds(*kind, opened.get(), key)) continue;
    std::wstring text;
    if (!Describe(*kind, place, key, &text)) return false;
    undo += text;
    holders.push_back(place);
  }
  if (holders.empty() || !Undo().Append(undo)) return false;
  bool removed = true;
  for (const std::wstring& place : holders) removed = Delete(*kind, place, key) && removed;
  return removed;
}

}  // namespace

extern "C" int WINAPI AddonwardRemoveBHO(const wchar_t* key, const wchar_t* type) {
  return base::Guarded([&] { return Remove(key, type) ? 1 : 0; });
}
