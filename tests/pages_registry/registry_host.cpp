#include "tests/pages_registry/registry_host.h"

#include <cwchar>

#include "base/handles.h"
#include "contracts/messages.h"
#include "pages/home_registry/resource.h"
#include "tests/support/pump.h"

namespace regtest {

bool CopyTree(const std::wstring& from, const std::wstring& to) {
  if (!CreateDirectoryW(to.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  WIN32_FIND_DATAW data;
  base::UniqueFind find(FindFirstFileW((from + L"\\*").c_str(), &data));
  if (!find) return false;
  bool ok = true;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ok = CopyTree(from + L"\\" + name, to + L"\\" + name) && ok;
    } else {
      ok = CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE) && ok;
    }
  } while (FindNextFileW(find.get(), &data));
  return ok;
}

void RegistryCleaner::SetUp() {
  // The skin the pages load, beside the undo files the repairs write.
  ASSERT_TRUE(CopyTree(L"C:\\Lumaspan\\Res", program_ / L"Res"));
  bookkeeping_ = std::make_unique<test::RegistrySandbox>(
      HKEY_CURRENT_USER, L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\Registry Cleaner");
  boxes_ = std::make_unique<test::MessageBoxWatcher>(IDOK);
  main_ = std::make_unique<HostWindow>();
  ASSERT_TRUE(main_->Create(nullptr));
  ASSERT_TRUE(test::PumpUntil([&] { return main_->CurrentPageId() == static_cast<int>(page_id::kHome); }, 5000));
  SendMessageW(main(), page_id::kRegistryCleaner, 0, 0);
  page_ = dynamic_cast<CHivescrubStartDlg*>(main_->PageOf(page_id::kRegistryCleaner));
  ASSERT_NE(nullptr, page_);
  test::PumpFor(30);
}

void RegistryCleaner::TearDown() {
  main_.reset();
  boxes_.reset();
  bookkeeping_.reset();
}

void RegistryCleaner::Click(int id) { SendMessageW(GetDlgItem(page_->hwnd(), id), BM_CLICK, 0, 0); }

void RegistryCleaner::SelectOnly(std::initializer_list<int> categories) {
  POINT clearAll = {CHivescrubStartDlg::kClearAllLink.left + 5, CHivescrubStartDlg::kClearAllLink.top + 5};
  SendMessageW(page_->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(clearAll.x, clearAll.y));
  for (int c : categories) Click(CHivescrubStartDlg::kCheckIds[c]);
}

void RegistryCleaner::StartScan() {
  Click(IDC_START_SCAN);
  std::wstring boxes;
  if (boxes_)
    for (const test::SeenBox& box : boxes_->seen()) boxes += L" [" + box.text + L"]";
  // A small scan may well be over by the time this looks: its pages stay until the user goes back.
  ASSERT_TRUE(test::PumpUntil([&] { return page_->scanPage() != nullptr; }, 5000))
      << "message boxes:" << testing::PrintToString(boxes);
}

bool RegistryCleaner::WaitForResults(DWORD timeoutMs) {
  return test::PumpUntil([&] { return page_->viewState() == CHivescrubStartDlg::kResultsView; }, timeoutMs);
}

std::vector<std::wstring> RegistryCleaner::Rows() {
  std::vector<std::wstring> rows;
  CHivescrubResultsDlg* results = page_->resultsPage();
  for (int i = 0; results && i < results->rowCount(); ++i) rows.push_back(results->RowText(i));
  return rows;
}

BrokenClasses::BrokenClasses(int count) : count_(count), sandbox_(HKEY_CURRENT_USER, L"Software\\Classes\\CLSID") {
  for (int i = 0; i < count; ++i) {
    base::UniqueKey key;
    std::wstring server = Path(i) + L"\\InprocServer32";
    if (RegCreateKeyExW(HKEY_CURRENT_USER, server.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.receive(),
                        nullptr) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot seed class " << i;
      return;
    }
    std::wstring file = files_ / (L"gone" + std::to_wstring(i) + L".dll");
    RegSetValueExW(key.get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                   static_cast<DWORD>((file.size() + 1) * sizeof(wchar_t)));
  }
}

std::wstring BrokenClasses::Path(int i) const {
  wchar_t guid[40];
  swprintf(guid, 40, L"{4C554D41-0000-4000-8000-%012d}", i);
  return std::wstring(L"Software\\Classes\\CLSID\\") + guid;
}

bool BrokenClasses::Exists(int i) const { return test::KeyExists(HKEY_CURRENT_USER, Path(i)); }

namespace {
const wchar_t kSpyProperty[] = L"regtest.ReportSpy";
}

ReportSpy::ReportSpy(HWND window) : window_(window) {
  SetPropW(window, kSpyProperty, this);
  previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc)));
}

ReportSpy::~ReportSpy() {
  if (!IsWindow(window_)) return;
  if (GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc))
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  RemovePropW(window_, kSpyProperty);
}

LRESULT CALLBACK ReportSpy::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* spy = static_cast<ReportSpy*>(GetPropW(window, kSpyProperty));
  if (!spy) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = CallWindowProcW(spy->previous_, window, message, wParam, lParam);
  if (message == WM_COPYDATA && lParam)
    spy->seen_.push_back(Seen{reinterpret_cast<const COPYDATASTRUCT*>(lParam)->dwData, result});
  return result;
}

std::vector<int> ReportSpy::CategoriesBegun() const {
  std::vector<int> begun;
  for (const Seen& s : seen_)
    if (s.kind >= 10016 && s.kind <= 10030 && s.reply == report_reply::kGoOn) begun.push_back(static_cast<int>(s.kind - 10015));
  return begun;
}

namespace {

struct Search {
  DWORD process;
  const std::function<bool(HWND)>* match;
  HWND found;
};

BOOL CALLBACK Visit(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || !IsWindowVisible(window) || !(*search->match)(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindTopLevel(DWORD process, const std::function<bool(HWND)>& match) {
  Search search{process, &match, nullptr};
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

DelayedAnswer::DelayedAnswer(int button, DWORD holdMs, std::function<void()> whileOpen)
    : button_(button), holdMs_(holdMs), whileOpen_(std::move(whileOpen)) {
  thread_ = CreateThread(nullptr, 0, &DelayedAnswer::ThreadMain, this, 0, nullptr);
}

DelayedAnswer::~DelayedAnswer() {
  Wait();
  CloseHandle(thread_);
}

void DelayedAnswer::Wait() {
  // The box runs on the test's thread: keep its messages flowing until the answer is in.
  while (MsgWaitForMultipleObjects(1, &thread_, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) test::PumpFor(0);
}

bool DelayedAnswer::answered() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return answered_;
}

std::wstring DelayedAnswer::text() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return text_;
}

DWORD WINAPI DelayedAnswer::ThreadMain(void* self) {
  static_cast<DelayedAnswer*>(self)->Run();
  return 0;
}

void DelayedAnswer::Run() {
  auto messageBox = [](HWND window) {
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    return wcscmp(cls, L"#32770") == 0 && GetDlgItem(window, 0xFFFF) != nullptr;  // not any dialog
  };
  HWND box = nullptr;
  for (DWORD start = GetTickCount(); !box && GetTickCount() - start < 30000; Sleep(10))
    box = FindTopLevel(GetCurrentProcessId(), messageBox);
  if (!box) return;
  wchar_t text[1024] = {};
  GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 1024);
  Sleep(holdMs_);
  if (whileOpen_) whileOpen_();
  HWND control = GetDlgItem(box, button_);
  DWORD_PTR ignored = 0;
  if (control) SendMessageTimeoutW(control, BM_CLICK, 0, 0, SMTO_NORMAL, 2000, &ignored);
  for (int i = 0; i < 50 && IsWindow(box); ++i) Sleep(10);
  if (IsWindow(box))
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), reinterpret_cast<LPARAM>(control));
  std::lock_guard<std::mutex> lock(mutex_);
  answered_ = true;
  text_ = text;
}

}  // namespace regtest
