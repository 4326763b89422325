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
// the ratios p/a (goal: at most 1.5) and p/e.
#include <windows.h>
#include <commctrl.h>
#include <process.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>

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
constexpr int kTemporaryFiles = 3;           // the category's index

// The folder the temporary-files scan walks: the user's own, as GetTempPathW names it.
std::wstring TemporaryFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  return length > 0 && length <= MAX_PATH ? std::wstring(temp, length) : std::wstring();
}

std::wstring Folder(const std::wstring& temp, int folder) {
  return temp + L"lumaspan-bench\\d" + std::to_wstring(folder);
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

// Only the temporary files chosen; Start Scan to the finished page; the rows listed.
double ThroughThePage(CTracewipeStartDlg* page, int* rows) {
  for (int g = 0; g < cleaning_pages::kTraceGroups; ++g) page->SetNodeChecked(page->GroupNode(g), false);
  for (int i = 0; i < cleaning_pages::kTraceCategories; ++i) page->SetNodeChecked(page->CategoryNode(i), i == kTemporaryFiles);
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

  double a = 1e9, p = 1e9;
  int rows = 0;
  long walked = 0;
  for (int round = 0; round < 5; ++round) {
    double walkStart = Seconds();
    walked = bench::BareWalk(temp, nullptr);
    double ra = Seconds() - walkStart;
    double rp = ThroughThePage(page, &rows);
    std::printf("round %d: walk %.2f s, page %.2f s (%d rows)\n", round + 1, ra, rp, rows);
    a = std::min(a, ra);
    p = std::min(p, rp);
  }
  RemoveFiles(temp);

  std::printf("(a) bare walk:                        %9.0f files/s  (%.2f s, %ld files)\n", walked / a, a, walked);
  std::printf("(e) engine alone, trivial receiver:   %9.0f files/s  (%.2f s)\n", walked / e, e);
  std::printf("(p) through the page, no item pause:  %9.0f files/s  (%.2f s, %d rows)\n", walked / p, p, rows);
  std::printf("time p/a = %.3f (goal <= 1.5)   time p/e = %.3f\n", p / a, p / e);
  return rows >= kFolders * kFiles && p / a <= 1.5 ? 0 : 2;
}

}  // namespace

int main() { return bench::RunWithWindows("bench_trace_page", &Run); }
