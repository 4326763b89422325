// The 33 trace categories in the order of Tracewipe's global index, each with its group and the
// text the tree shows, and the four groups.
#pragma once

namespace cleaning_pages {

constexpr int kTraceGroups = 4;
constexpr int kTraceCategories = 33;

struct TraceCategoryInfo {
  int group;
  const wchar_t* text;
};

extern const wchar_t* const kTraceGroupNames[kTraceGroups];
extern const TraceCategoryInfo kTraceCategoryTable[kTraceCategories];

// What the worker is given for one category: its group and whether the user chose it.
struct TraceCategory {
  int group = 0;
  int selected = 0;
};

}  // namespace cleaning_pages
