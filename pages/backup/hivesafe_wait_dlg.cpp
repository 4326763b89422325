#include "pages/backup/hivesafe_wait_dlg.h"
#include "base/thread.h"

#include <process.h>

#include <memory>

#include "contracts/hivesafe.h"
#include "pages/backup/backup_ids.h"

namespace {

// Posted by the worker when the engine call has returned; wParam is its result.
constexpr UINT kCallReturned = WM_APP + 1;

struct Call {
  HWND window;
  std::function<int()> run;
};

unsigned __stdcall RunCall(void* argument) {
  try {
    std::unique_ptr<Call> call(static_cast<Call*>(argument));
    int result = 0;
    try {
      result = call->run();
    } catch (...) {
      result = 0;
    }
    // A window that is gone by now (its owner was destroyed) makes this a no-op.
    PostMessageW(call->window, kCallReturned, static_cast<WPARAM>(result), 0);
  } catch (...) {
  }
  return 0;
}

void CentreOverOwner(HWND window) {
  HWND owner = GetWindow(window, GW_OWNER);
  RECT over = {}, own = {};
  if (!owner || !GetWindowRect(owner, &over)) SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  GetWindowRect(window, &own);
  int width = own.right - own.left, height = own.bottom - own.top;
  SetWindowPos(window, nullptr, over.left + (over.right - over.left - width) / 2,
               over.top + (over.bottom - over.top - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CHivesafeWaitDlg::CHivesafeWaitDlg() : CHivesafeWaitDlg(IDD_HIVESAFE_WAIT, L"Taking Registry Backup") {}

CHivesafeWaitDlg::CHivesafeWaitDlg(UINT templateId, const wchar_t* title)
    : ui::Dialog(templateId), title_(title), font_(ui::MakeFont(L"Arial", 18, FW_BOLD)) {}

std::function<int()> CHivesafeWaitDlg::EngineCall() const {
  return [] { return HivesafeBackup(HivesafeCheckIfFirst() ? 1 : 0); };
}

bool CHivesafeWaitDlg::OnInitDialog(HWND) {
  CentreOverOwner(hwnd());
  SendMessageW(Item(IDC_BACKUP_WAIT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  SetDlgItemTextW(hwnd(), IDC_BACKUP_WAIT_TITLE, title_);
  SetTimer(hwnd(), kStartTimer, kStartDelayMs, nullptr);
  return false;  // no control takes the focus: Enter presses nothing
}

void CHivesafeWaitDlg::StartCall() {
  KillTimer(hwnd(), kStartTimer);
  if (started_) return;
  started_ = true;
  auto* call = new Call{hwnd(), EngineCall()};
  if (base::Thread thread = base::Thread::Run([call] { RunCall(call); })) {
    worker_ = thread.Release();
    return;
  }
  // No thread to be had: the call is made here, as the window cannot repaint meanwhile.
  std::unique_ptr<Call> here(call);
  result_ = here->run();
  EndDialog(IDCANCEL);
}

bool CHivesafeWaitDlg::OnMessage(UINT message, WPARAM wParam, LPARAM, LRESULT&) {
  switch (message) {
    case kCallReturned:
      result_ = static_cast<int>(wParam);
      EndDialog(IDCANCEL);
      return true;
  }
  return false;
}

// Esc, Enter and the close box: the window stays until the registry editor is done.
bool CHivesafeWaitDlg::OnCommand(int id, int, HWND) { return id == IDCANCEL || id == IDOK; }

bool CHivesafeWaitDlg::OnTimer(UINT_PTR id) {
  if (id != kStartTimer) return false;
  StartCall();
  return true;
}

CHivesafeRestoreDlg::CHivesafeRestoreDlg() : CHivesafeWaitDlg(IDD_HIVESAFE_RESTORE, L"Taking Registry Restore") {}

std::function<int()> CHivesafeRestoreDlg::EngineCall() const {
  return [full = full, name = SharedString(fileName.c_str(), fileName.size())] { return HivesafeRestore(full, name); };
}
