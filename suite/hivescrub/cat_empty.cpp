// Category 15, "Empty Registry Keys": keys one or two levels below HKCU\Software and HKLM\Software
// with no values and no sub-keys, outside the safelist.
#include "categories.h"

#include "registry_access.h"
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
  if (IsLinkKey(e.root, e.key)) return false;
  return Found(f, Action::kDeleteKey, e, L"Empty key: no values and no sub-keys");
}

}  // namespace

const Check kEmptyKeyCheck{kEmptyKey, InEmpty, JudgeEmpty};

void ScanEmpty(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) scan.ExamineTwoLevels(kEmptyKeyCheck, root, L"Software");
}

}  // namespace hivescrub
