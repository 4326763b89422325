#include "cmd/engine_run.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "base/text.h"
#include "base/thread.h"
#include "contracts/hivescrub.h"
#include "contracts/litterbin.h"
#include "contracts/messages.h"
#include "contracts/tracewipe.h"
#include "pages/cleaning/found_items.h"
#include "pages/cleaning/trace_categories.h"
#include "pages/home_registry/registry_exclusion.h"

namespace cmd {
namespace {

const wchar_t kReportClass[] = L"LumaspanCmdReports";

// What the report window is collecting for: the current engine call's kind and category.
struct Collector {
  const base::ExclusionSet* exclusions;
  const std::atomic<bool>* stop;
  const Progress* progress;
  std::vector<Item>* items;
  Kind kind = Kind::kJunk;
  std::wstring category;
  int registryCategory = 0;
};

// A registry problem report "id|repair text|display text"; the repair text is
// "action;key path;value name" (the value only for a value), each field escaped.
bool ParseProblem(const std::wstring& text, Item* item) {
  size_t p1 = text.find(L'|');
  size_t p2 = p1 == std::wstring::npos ? p1 : text.find(L'|', p1 + 1);
  if (p2 == std::wstring::npos) return false;
  long id = wcstol(text.substr(0, p1).c_str(), nullptr, 10);
  item->id = static_cast<int>(id > INT_MAX ? INT_MAX : id < INT_MIN ? INT_MIN : id);
  item->repair = text.substr(p1 + 1, p2 - p1 - 1);
  return registry_pages::ParseRepairEntry(item->repair, &item->location, &item->name);
}

LRESULT Take(Collector& c, const COPYDATASTRUCT& data) {
  if (*c.stop) return report_reply::kStop;
  const auto* chars = static_cast<const wchar_t*>(data.lpData);
  std::wstring text(chars ? chars : L"", chars ? base::LengthBounded(chars, data.cbData / sizeof(wchar_t)) : 0);
  const ULONG_PTR kind = data.dwData;
  if (kind == report_kind::kCleanProgress || kind == report_kind::kRegistryProgress) {
    (*c.progress)(text);
    return report_reply::kGoOn;
  }
  Item item;
  item.kind = c.kind;
  item.category = c.category;
  if (c.kind == Kind::kRegistry) {
    if (kind != report_kind::kRegistryProblemBase + static_cast<ULONG_PTR>(c.registryCategory)) return report_reply::kGoOn;
    if (!ParseProblem(text, &item)) return report_reply::kGoOn;
    item.registryCategory = c.registryCategory;
    if (c.exclusions->ExcludesRegistry(item.registryCategory, item.location, item.name)) return report_reply::kGoOn;
  } else {
    if (kind != (c.kind == Kind::kJunk ? report_kind::kJunkItem : report_kind::kTraceItem)) return report_reply::kGoOn;
    cleaning_pages::FoundItem found;
    if (!cleaning_pages::ParseItemReport(text, &found)) return report_reply::kGoOn;
    item.location = found.location;
    item.name = found.name;
    item.size = found.size;
    if (cleaning_pages::IsExcluded(*c.exclusions, found)) return report_reply::kGoOn;
  }
  c.items->push_back(std::move(item));
  return report_reply::kGoOn;
}

LRESULT CALLBACK ReportProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) {
    auto* c = reinterpret_cast<Collector*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!c || !data) return report_reply::kGoOn;
    try {
      return Take(*c, *data);
    } catch (...) {
      return report_reply::kStop;  // out of memory: end the scan rather than list part of an item
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

struct ScanWork {
  const Arguments* what;
  Collector collector;
  bool finished = false;
};

void RunScans(HWND window, ScanWork& work) {
  const Arguments& what = *work.what;
  Collector& c = work.collector;
  if (what.junk) {
    LitterbinSetLastScanTime();
    LitterbinSetLastScanDate();
    c.kind = Kind::kJunk;
    for (const std::wstring& drive : what.drives.empty() ? FixedDrives() : what.drives) {
      if (*c.stop) return;
      c.category = drive;
      LitterbinGetJunkFile(window, drive.c_str());
    }
  }
  if (what.traces) {
    TracewipeSetLastScanTime();
    TracewipeSetLastScanDate();
    c.kind = Kind::kTrace;
    for (int i = 0; i < cleaning_pages::kTraceCategories; ++i) {
      if (!what.traceCategories.empty() &&
          std::find(what.traceCategories.begin(), what.traceCategories.end(), i) == what.traceCategories.end())
        continue;
      if (*c.stop) return;
      c.category = cleaning_pages::kTraceCategoryTable[i].text;
      TracewipeGetEvidenceFile(window, cleaning_pages::kTraceCategoryTable[i].group, 1, i);
    }
  }
  if (what.registry) {
    HivescrubSetLastScanTime();
    HivescrubSetLastScanDate();
    c.kind = Kind::kRegistry;
    for (int k = 1; k <= report_kind::kRegistryCategories; ++k) {
      if (!what.registryCategories.empty() &&
          std::find(what.registryCategories.begin(), what.registryCategories.end(), k) == what.registryCategories.end())
        continue;
      if (*c.stop) return;
      c.category = hivescrub::kCaptions[k];
      c.registryCategory = k;
      hivescrub::kScans[k](window);
    }
  }
  work.finished = !*c.stop;
}

void ScanThread(ScanWork& work) {
  try {
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = ReportProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kReportClass;
    RegisterClassExW(&wc);
    HWND window = CreateWindowExW(0, kReportClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!window) return;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&work.collector));
    RunScans(window, work);
    DestroyWindow(window);
  } catch (...) {
    work.finished = false;
  }
}

}  // namespace

const wchar_t* KindWord(Kind kind) {
  switch (kind) {
    case Kind::kTrace: return L"Trace";
    case Kind::kRegistry: return L"Registry";
    case Kind::kJunk: break;
  }
  return L"Junk";
}

std::vector<std::wstring> FixedDrives() {
  std::vector<std::wstring> drives;
  DWORD present = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(present & (1u << i))) continue;
    const wchar_t root[4] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    if (GetDriveTypeW(root) == DRIVE_FIXED) drives.push_back(root);
  }
  return drives;
}

bool Scan(const Arguments& what, const base::ExclusionSet& exclusions, const std::atomic<bool>& stop,
          const Progress& progress, std::vector<Item>* items) {
  ScanWork work;
  work.what = &what;
  work.collector.exclusions = &exclusions;
  work.collector.stop = &stop;
  work.collector.progress = &progress;
  work.collector.items = items;
  // The scan is waited for without limit, so the thread may use what lies on this stack.
  base::Thread thread = base::Thread::Run([&work] { ScanThread(work); });
  if (!thread) return false;
  thread.Join();
  return work.finished;
}

bool Clean(std::vector<Item>* items, const std::atomic<bool>& stop, const Progress& progress) {
  bool noUndo = false;
  size_t done = 0;
  for (Item& item : *items) {
    if (stop) return false;
    progress(L"Cleaning " + std::to_wstring(++done) + L" of " + std::to_wstring(items->size()) + L": " +
             item.location + (item.kind == Kind::kJunk ? L"" : L" ") + item.name);
    bool removed = false;
    switch (item.kind) {
      case Kind::kJunk:
        removed = LitterbinCleanJunkFile(item.name.c_str(), item.location.c_str(), 0) == 1;
        if (!removed) item.why = L"in use, protected or already gone";
        break;
      case Kind::kTrace:
        removed = TracewipeCleanEvidenceFile(item.name.c_str(), item.location.c_str()) == 1;
        if (!removed) item.why = L"in use, protected or already gone";
        break;
      case Kind::kRegistry:
        if (noUndo) {
          item.why = L"not changed: no undo file could be written";
          break;
        }
        switch (HivescrubRepair(item.id, item.repair.c_str())) {
          case hivescrub::kRepaired: removed = true; break;
          case hivescrub::kNoUndoFile:
            noUndo = true;
            item.why = L"not changed: no undo file could be written";
            break;
          default: item.why = L"no longer that problem, or protected"; break;
        }
        break;
    }
    item.state = removed ? State::kRemoved : State::kFailed;
  }
  return true;
}

}  // namespace cmd
