// The 53 trace categories in the order of Tracewipe's global index, each with its group and the
// text the tree shows, and the seven groups. The classic categories are 0-32 in groups 0-3; those
// of Windows Vista to 11 (33-37) belong to group 0, those of the Chromium-family browsers to
// groups 4-6 (38-52). The tree shows the groups in kTraceGroupOrder.
#pragma once
#include <string_view>

namespace cleaning_pages {

constexpr int kTraceGroups = 7;
constexpr int kTraceCategories = 53;

struct TraceCategoryInfo {
  int group;
  const wchar_t* text;
  bool passwords = false;  // saved passwords: asked about once more before they are removed
};

extern const wchar_t* const kTraceGroupNames[kTraceGroups];  // by group number
extern const int kTraceGroupOrder[kTraceGroups];             // group numbers, top of the tree first
extern const TraceCategoryInfo kTraceCategoryTable[kTraceCategories];

// The browser a trace's location belongs to ("Google Chrome", "Opera", ...), by the browser's own
// folder in it; null for any other location.
const wchar_t* BrowserOfLocation(std::wstring_view location);

// What the worker is given for one category: its group and whether the user chose it.
struct TraceCategory {
  int group = 0;
  int selected = 0;
};

}  // namespace cleaning_pages
