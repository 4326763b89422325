// The real program closed in the middle of a registry scan: the page and its window go away while
// the worker is inside the engine, and the program still ends at once with its own exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>

#include "base/handles.h"
#include "contracts/messages.h"
#include "pages/home_registry/resource.h"
#include "tests/pages_registry/registry_host.h"
#include "tests/support/start_process.h"

namespace {

// The page of the main window that holds controls with all these identifiers (shown or not).
HWND PageWith(HWND main, std::initializer_list<int> ids) {
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    bool all = true;
    for (int id : ids) all = all && GetDlgItem(child, id) != nullptr;
    if (all) return child;
  }
  return nullptr;
}

HWND VisiblePage(HWND main) {
  for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(child)) return child;
  }
  return nullptr;
}

template <typename Done>
bool WaitFor(Done done, DWORD timeoutMs) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
    if (done()) return true;
  return done();
}

TEST(ClosingMidScan, TheProgramEndsAtOnceWithItsExitCodeWhileTheWorkerScans) {
  regtest::BrokenClasses classes(3000);
  test::RegistrySandbox bookkeeping(HKEY_CURRENT_USER, L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Registry Cleaner");
  STARTUPINFOW si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  wchar_t line[] = L"\"C:\\Lumaspan\\Lumaspan.exe\"";
  ASSERT_TRUE(test::StartProcess(L"C:\\Lumaspan\\Lumaspan.exe", line, FALSE, 0, L"C:\\Lumaspan", &si, &pi));
  base::UniqueHandle process(pi.hProcess), thread(pi.hThread);

  HWND main = nullptr;
  auto titled = [](HWND window) {
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    return wcscmp(title, L"KeepLumaspan") == 0;
  };
  ASSERT_TRUE(WaitFor([&] { return (main = regtest::FindTopLevel(pi.dwProcessId, titled)) != nullptr; }, 30000));
  // The splash is over once the home page shows.
  ASSERT_TRUE(WaitFor([&] { return VisiblePage(main) != nullptr; }, 30000));
  SendMessageW(main, page_id::kRegistryCleaner, 0, 0);
  HWND start = PageWith(main, {IDC_START_SCAN, IDC_SELECT_ALL, IDC_CHECK_EMPTY});
  ASSERT_TRUE(start && IsWindowVisible(start));
  SendMessageW(GetDlgItem(start, IDC_START_SCAN), BM_CLICK, 0, 0);

  // Well inside the scan: the scan page is up and problems are arriving.
  HWND list = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        HWND results = PageWith(main, {IDC_CLEAN, IDC_BACK, IDC_PROBLEM_LIST});
        list = results ? GetDlgItem(results, IDC_PROBLEM_LIST) : nullptr;
        return list && SendMessageW(list, LB_GETCOUNT, 0, 0) >= 20;
      },
      60000));
  HWND scan = PageWith(main, {IDC_ABORT, IDC_SCAN_PROGRESS});
  ASSERT_TRUE(scan && IsWindowVisible(scan));
  ASSERT_LT(SendMessageW(list, LB_GETCOUNT, 0, 0), 3000) << "the scan ended before the window was closed";

  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.get(), 60000)) << "the program did not end";
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  EXPECT_EQ(static_cast<DWORD>(IDCANCEL), code) << "the main window's own result, not a crash";
}

}  // namespace
