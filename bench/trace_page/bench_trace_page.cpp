// What a trace scan of a large temporary folder costs through the page. Every file in the
// temporary folder is a trace, so the scan reports each of them as an item. On a temporary folder
// holding 50,000 files, one run measures:
//   (a) the bare walk of the folder (the engines' search calls, nothing else);
//   (e) the engine alone: the temporary-files scan on a worker thread, reporting to a window of
//       this thread that does nothing with the reports;
//   (p) the same category through the real page in the real main window: Start Scan to the
//       finished result page with 50,000 rows, without the pause of 6 ms after each of the first
//       items (it paces the list for the eye; it is not overhead).
// It prints the best of five rounds of (a) and (p) (each round's figures too), (e) once, and
// the ratios p/a (goal: at most 1.5) and p/e. Then the same 50,000 files as a browser's cache
// (Google Chrome's "Default\Cache\Cache_Data"): (a) and (p) of its Internet Cache category, whose
// scan finds the browser's profiles first.
#include <windows.h>
#include <commctrl.h>
#include <process.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "base/handles.h"
#include "bench/bench_support.h"
#include "contracts/messages.h"
#include "contracts/tracewipe.h"
#include "pages/cleaning/cleaning_ids.h"
#include "pages/cleaning/trace_categories.h"
#include "pages/cleaning/tracewipe_start_dlg.h"

namespace {

using bench::Pump;
using bench::Seconds;

constexpr int kFolders = 50, kFiles = 1000;  // 50,000 files
constexpr int kTemporaryFiles = 3;           // the categories' indexes
constexpr int kChromeCache = 40;
const wchar_t kChromeCacheBelowLocal[] = L"\\Google\\Chrome\\User Data\\Default\\Cache\\Cache_Data\\";

// The folder the temporary-files scan walks: the user's own, as GetTempPathW names it.
std::wstring TemporaryFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  return length > 0 && length <= MAX_PATH ? std::wstring(temp, length) : std::wstring();
}

std::wstring Folder(const std::wstring& temp, int folder) {
  return temp + L"lumaspan-bench\\d" + std::to_wstring(folder);
}

// Every folder on the way to path (ending with a backslash); the ones made, deepest last.
std::vector<std::wstring> MakeFolders(const std::wstring& path) {
  std::vector<std::wstring> made;
  for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1)) {
    if (CreateDirectoryW(path.substr(0, at).c_str(), nullptr)) made.push_back(path.substr(0, at));
  }
  return made;
}

bool MakeFiles(const std::wstring& temp) {
  CreateDirectoryW(temp.c_str(), nullptr);
  CreateDirectoryW((temp + L"lumaspan-bench").c_str(), nullptr);
  for (int d = 0; d < kFolders; ++d) {
    CreateDirectoryW(Folder(temp, d).c_str(), nullptr);
    for (int f = 0; f < kFiles; ++f) {
      std::wstring path = Folder(temp, d) + L"\\f" + std::to_wstring(f) + L".tmp";
      if (!base::UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))) return false;
    }
  }
  return true;
}

void RemoveFiles(const std::wstring& temp) {
  for (int d = 0; d < kFolders; ++d) {
    for (int f = 0; f < kFiles; ++f) DeleteFileW((Folder(temp, d) + L"\\f" + std::to_wstring(f) + L".tmp").c_str());
    RemoveDirectoryW(Folder(temp, d).c_str());
  }
  RemoveDirectoryW((temp + L"lumaspan-bench").c_str());
}

LRESULT CALLBACK Receiver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA) return report_reply::kGoOn;
  return DefWindowProcW(window, message, wParam, lParam);
}

unsigned __stdcall EngineWorker(void* window) {
  TracewipeScanWindowsTemporaryFiles(static_cast<HWND>(window));
  return 0;
}

double EngineAlone(HWND receiver) {
  double start = Seconds();
  base::UniqueHandle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, EngineWorker, receiver, 0, nullptr)));
  if (!thread) return -1;
  bench::WaitPumping(thread.get());
  return Seconds() - start;
}

class BenchMainDlg : public CMainDlg {
 protected:
  void RunSplash() override {}
};

// Only the one category chosen; Start Scan to the finished page; the rows listed.
double ThroughThePage(CTracewipeStartDlg* page, int category, int* rows) {
  for (int g = 0; g < cleaning_pages::kTraceGroups; ++g) page->SetNodeChecked(page->GroupNode(g), false);
  for (int i = 0; i < cleaning_pages::kTraceCategories; ++i) page->SetNodeChecked(page->CategoryNode(i), i == category);
  page->SetItemPause(0);
  double start = Seconds();
  SendMessageW(GetDlgItem(page->hwnd(), IDC_START_SCAN), BM_CLICK, 0, 0);
  while (!(page->ResultPage() && page->ResultPage()->finished())) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    Pump();
  }
  double seconds = Seconds() - start;
  *rows = page->ResultPage()->List().RowCount();
  SendMessageW(page->hwnd(), page_msg::kTraceBack, 0, 0);
  Pump();
  return seconds;
}

struct Figures {
  double a = 1e9, p = 1e9;  // the best of five rounds
  int rows = 0;
  long walked = 0;
};

// Five rounds of the bare walk of root and of the category through the page.
Figures Rounds(CTracewipeStartDlg* page, const std::wstring& root, int category) {
  Figures best;
  for (int round = 0; round < 5; ++round) {
    double walkStart = Seconds();
    best.walked = bench::BareWalk(root, nullptr);
    double ra = Seconds() - walkStart;
    double rp = ThroughThePage(page, category, &best.rows);
    std::printf("round %d: walk %.2f s, page %.2f s (%d rows)\n", round + 1, ra, rp, best.rows);
    best.a = std::min(best.a, ra);
    best.p = std::min(best.p, rp);
  }
  return best;
}

int Run() {
  if (!SetCurrentDirectoryW(L"C:\\Lumaspan")) {
    std::printf("bench_trace_page: no program folder C:\\Lumaspan; run it with ./lumaspan bench\n");
    return 1;
  }
  const std::wstring temp = TemporaryFolder();
  BenchMainDlg main;
  if (temp.empty() || !main.Create(nullptr)) {
    std::printf("bench_trace_page: no temporary folder, or the main window did not start\n");
    return 1;
  }
  Pump();
  SendMessageW(main.hwnd(), page_id::kTraceCleaner, 0, 0);
  auto* page = dynamic_cast<CTracewipeStartDlg*>(main.PageOf(page_id::kTraceCleaner));
  if (!page) {
    std::printf("bench_trace_page: the trace cleaner page did not start\n");
    return 1;
  }
  double made = Seconds();
  if (!MakeFiles(temp)) {
    std::printf("bench_trace_page: cannot write the files in %ls\n", temp.c_str());
    RemoveFiles(temp);
    return 1;
  }
  std::printf("temporary folder %ls: %d files made in %.1f s\n", temp.c_str(), kFolders * kFiles, Seconds() - made);
  // The engine alone reports every file across threads: once is enough to see what that costs.
  HWND receiver = bench::MessageWindow(L"LumaspanBenchTraceReceiver", Receiver);
  const double e = EngineAlone(receiver);  // the file system's caches warm, as for any later scan
  DestroyWindow(receiver);
  Figures temporary = Rounds(page, temp, kTemporaryFiles);
  RemoveFiles(temp);
  std::printf("(a) bare walk:                        %9.0f files/s  (%.2f s, %ld files)\n", temporary.walked / temporary.a,
              temporary.a, temporary.walked);
  std::printf("(e) engine alone, trivial receiver:   %9.0f files/s  (%.2f s)\n", temporary.walked / e, e);
  std::printf("(p) through the page, no item pause:  %9.0f files/s  (%.2f s, %d rows)\n", temporary.walked / temporary.p,
              temporary.p, temporary.rows);
  std::printf("time p/a = %.3f (goal <= 1.5)   time p/e = %.3f\n", temporary.p / temporary.a, temporary.p / e);

  // The same files as a browser's cache.
  wchar_t local[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local))) return 1;
  const std::wstring cache = std::wstring(local) + kChromeCacheBelowLocal;
  std::vector<std::wstring> madeFolders = MakeFolders(cache);
  Figures chrome;
  if (MakeFiles(cache)) chrome = Rounds(page, cache, kChromeCache);
  RemoveFiles(cache);
  for (auto folder = madeFolders.rbegin(); folder != madeFolders.rend(); ++folder) RemoveDirectoryW(folder->c_str());
  std::printf("browser cache: (a) %.2f s, (p) %.2f s (%d rows)   time p/a = %.3f (goal <= 1.5)\n", chrome.a, chrome.p,
              chrome.rows, chrome.p / chrome.a);
  const bool fast = temporary.p / temporary.a <= 1.5 && chrome.p / chrome.a <= 1.5;
  return temporary.rows >= kFolders * kFiles && chrome.rows >= kFolders * kFiles && fast ? 0 : 2;
}

}  // namespace

int main() { return bench::RunWithWindows("bench_trace_page", &Run); }
