#include "pages/home_registry/registry_exclusion.h"

namespace registry_pages {
namespace {

bool Unescaped(const std::wstring& s, size_t from, size_t to, std::wstring* out) {
  out->clear();
  for (size_t i = from; i < to; ++i) {
    if (s[i] != L'%') {
      *out += s[i];
      continue;
    }
    if (i + 2 >= to) return false;
    wchar_t a = s[i + 1], b = static_cast<wchar_t>(s[i + 2] | 0x20);  // the hex letter in either case
    if (a == L'2' && s[i + 2] == L'5') *out += L'%';
    else if (a == L'7' && b == L'c') *out += L'|';
    else if (a == L'3' && b == L'b') *out += L';';
    else return false;
    i += 2;
  }
  return true;
}

}  // namespace

bool ParseRepairEntry(const std::wstring& repair, std::wstring* keyPath, std::wstring* valueName) {
  size_t first = repair.find(L';');
  if (first == std::wstring::npos || first == 0) return false;
  size_t second = repair.find(L';', first + 1);
  if (second != std::wstring::npos && repair.find(L';', second + 1) != std::wstring::npos) return false;
  size_t keyEnd = second == std::wstring::npos ? repair.size() : second;
  if (!Unescaped(repair, first + 1, keyEnd, keyPath) || keyPath->empty()) return false;
  if (second == std::wstring::npos) {
    valueName->clear();
    return true;
  }
  return Unescaped(repair, second + 1, repair.size(), valueName);
}

base::Exclusion ProblemExclusion(const registry_scan::RegistryProblem& problem) {
  base::Exclusion exclusion;
  exclusion.kind = base::ExclusionKind::kRegistry;
  std::wstring key, value;
  if (problem.category > 0 && ParseRepairEntry(problem.repair, &key, &value))
    exclusion.identity = base::RegistryIdentity(problem.category, key, value);
  return exclusion;
}

bool IsExcluded(const base::ExclusionSet& set, const registry_scan::RegistryProblem& problem) {
  if (set.empty()) return false;
  std::wstring key, value;
  return problem.category > 0 && ParseRepairEntry(problem.repair, &key, &value) &&
         set.ExcludesRegistry(problem.category, key, value);
}

}  // namespace registry_pages
