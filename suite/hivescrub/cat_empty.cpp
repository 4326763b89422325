// Category 15, "Empty Registry Keys": keys one or two levels below HKCU\Software and HKLM\Software
// with no values and no sub-keys, outside the safelist.
#include "categories.h"

#include "registry_access.h"
#include "safelist.h"
#include "scan.h"

namespace hivescrub {
namespace {

bool InEmpty(const Entry& e) {
  return !e.isValue && (MatchKey(e.key, L"Software\\*") || MatchKey(e.key, L"Software\\*\\*"));
}

bool JudgeEmpty(Context&, const Entry& e, HKEY key, Finding* f) {
  KeyCounts counts;
  if (!QueryCounts(key, &counts) || counts.subKeys != 0 || counts.values != 0) return false;
  // A link to an empty key is not an empty key of its own: deleting it would delete the target.
  if (IsLink(e.root, e.key)) return false;
  f->action = Action::kDeleteKey;
  f->entry = e;
  f->detail = L"Empty key: no values and no sub-keys";
  return true;
}

}  // namespace

const Check kEmptyKeyCheck{kEmptyKey, InEmpty, JudgeEmpty};

void ScanEmpty(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring software = L"Software";
    base::UniqueKey top = OpenRead(root, software);
    scan.ForEachSubKey(root, software, top.get(), [&](const std::wstring& name, HKEY key) {
      std::wstring path = JoinKey(software, name);
      if (IsSafelisted(kEmptyKey, Entry::Key(root, path))) return;
      scan.Examine(kEmptyKeyCheck, Entry::Key(root, path), key);
      scan.ForEachSubKey(root, path, key, [&](const std::wstring& child, HKEY childKey) {
        std::wstring childPath = JoinKey(path, child);
        if (!IsSafelisted(kEmptyKey, Entry::Key(root, childPath)))
          scan.Examine(kEmptyKeyCheck, Entry::Key(root, childPath), childKey);
      });
    });
  }
}

}  // namespace hivescrub
