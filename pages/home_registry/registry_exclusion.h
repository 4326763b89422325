// The identity "Ignore this item" keeps of a registry cleaner finding: its category and the key
// path and value name its repair text names ("action;key path[;value name]", each field escaped
// with %25, %7C and %3B for "%", "|" and ";").
#pragma once
#include <string>

#include "base/exclusions.h"
#include "pages/home_registry/registry_scan.h"

namespace registry_pages {

// The key path and value name ("" for a finding about a key) of a repair text; false when the
// text is not of that form.
bool ParseRepairEntry(const std::wstring& repair, std::wstring* keyPath, std::wstring* valueName);
// The registry exclusion for the problem; an empty identity when its repair text cannot be read.
base::Exclusion ProblemExclusion(const registry_scan::RegistryProblem& problem);
bool IsExcluded(const base::ExclusionSet& set, const registry_scan::RegistryProblem& problem);

}  // namespace registry_pages
