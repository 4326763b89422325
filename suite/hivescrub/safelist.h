// The safelist: registry places the engine never reports and never changes, and entries Windows
// (or Wine) itself ships broken. Each row says why; the table is in safelist.cpp.
#pragma once

#include "finding.h"

namespace hivescrub {

// True when the entry must not be reported by the check `check` nor changed by its repair: the
// entry lies on the safelist, or (for a key) a protected key lies below it.
bool IsSafelisted(int check, const Entry& entry);

// The reason of the first row that covers the entry, or null.
const wchar_t* SafelistReason(int check, const Entry& entry);

}  // namespace hivescrub
