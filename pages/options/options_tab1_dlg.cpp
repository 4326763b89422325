#include "pages/options/options_tab1_dlg.h"

#include <string>

#include "base/product.h"
#include "pages/common/page_look.h"
#include "pages/options/options_ids.h"
#include "ui/controls/page_colours.h"

COptionsTab1Dlg::COptionsTab1Dlg() : ui::Dialog(IDD_OPTIONS_TAB1) {}

void COptionsTab1Dlg::DoDataExchange(bool save) {
  ExchangeCheck(IDC_STARTUP_RUN, startupRun_, save);
  ExchangeCheck(IDC_LIVE_UPDATE, liveUpdate_, save);
}

bool COptionsTab1Dlg::OnInitDialog(HWND) {
  UpdateData(false);
  website_.Attach(Item(IDC_OPTIONS_WEBSITE));
  website_.SetLink(product::kWebAddress, product::kWebSite);
  support_.Attach(Item(IDC_OPTIONS_SUPPORT));
  support_.SetLink(product::kSupportAddress, product::kSupportMail);
  common_pages::SkinButton(hwnd(), IDC_CHECK_UPDATE, update_, L"Res\\Common\\QOR_Button_Update.bmp");
  for (const wchar_t* text : {L"Daily", L"Weekly", L"At logon"})
    SendDlgItemMessageW(hwnd(), IDC_CLEAN_FREQUENCY, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  schedule_ = options_page::LoadSchedule();
  ShowSchedule();
  return true;
}

void COptionsTab1Dlg::ShowSchedule() {
  const options_page::CleanSchedule& s = schedule_;
  CheckDlgButton(hwnd(), IDC_CLEAN_AUTO, s.enabled ? BST_CHECKED : BST_UNCHECKED);
  SendDlgItemMessageW(hwnd(), IDC_CLEAN_FREQUENCY, CB_SETCURSEL, static_cast<WPARAM>(s.frequency), 0);
  CheckDlgButton(hwnd(), IDC_CLEAN_JUNK, s.junk ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_CLEAN_TRACES, s.traces ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(hwnd(), IDC_CLEAN_REGISTRY, s.registry ? BST_CHECKED : BST_UNCHECKED);
  for (int id : {IDC_CLEAN_FREQUENCY, IDC_CLEAN_JUNK, IDC_CLEAN_TRACES, IDC_CLEAN_REGISTRY})
    EnableWindow(Item(id), s.enabled);
}

void COptionsTab1Dlg::OnScheduleChanged() {
  options_page::CleanSchedule s;
  s.enabled = IsDlgButtonChecked(hwnd(), IDC_CLEAN_AUTO) == BST_CHECKED;
  LRESULT choice = SendDlgItemMessageW(hwnd(), IDC_CLEAN_FREQUENCY, CB_GETCURSEL, 0, 0);
  s.frequency = choice == 1 ? options_page::Frequency::kWeekly
                : choice == 2 ? options_page::Frequency::kAtLogon
                              : options_page::Frequency::kDaily;
  s.junk = IsDlgButtonChecked(hwnd(), IDC_CLEAN_JUNK) == BST_CHECKED;
  s.traces = IsDlgButtonChecked(hwnd(), IDC_CLEAN_TRACES) == BST_CHECKED;
  s.registry = IsDlgButtonChecked(hwnd(), IDC_CLEAN_REGISTRY) == BST_CHECKED;
  // The console program lies beside the running one.
  wchar_t path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
  std::wstring folder = n > 0 && n <= MAX_PATH ? std::wstring(path, n) : std::wstring();
  folder = folder.substr(0, folder.find_last_of(L'\\') == std::wstring::npos ? 0 : folder.find_last_of(L'\\'));
  std::wstring error;
  if (folder.empty()) error = L"The program's folder is not known.";
  if (!folder.empty() && options_page::ApplySchedule(s, folder, options_page::SchedulerApi::kAuto, &error) &&
      options_page::StoreSchedule(s)) {
    schedule_ = s;
  } else {
    std::wstring text = L"The automatic cleaning could not be set up in the Task Scheduler.";
    if (!error.empty()) text += L"\n\n" + error + L".";
    MessageBoxW(GetAncestor(hwnd(), GA_ROOT), text.c_str(), product::kCaption, MB_OK | MB_ICONWARNING);
  }
  ShowSchedule();
}

void COptionsTab1Dlg::OnBoxClicked(int id, UINT message) {
  WPARAM state = SendDlgItemMessageW(hwnd(), id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  // A store that failed must not leave the box showing a setting that is not in effect.
  LRESULT stored = SendMessageW(GetParent(hwnd()), message, state, 0);
  CheckDlgButton(hwnd(), id, stored ? BST_CHECKED : BST_UNCHECKED);
  UpdateData(true);
}

bool COptionsTab1Dlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (ui::ColourPageControl(message, wParam, lParam, result)) return true;
  return false;
}

bool COptionsTab1Dlg::OnCommand(int id, int code, HWND control) {
  if (id == IDC_CLEAN_FREQUENCY && code == CBN_SELCHANGE) {
    OnScheduleChanged();
    return true;
  }
  return ui::Dialog::OnCommand(id, code, control);
}

bool COptionsTab1Dlg::OnClicked(int id) {
  return Clicked(*this, id,
                 {{IDC_STARTUP_RUN, &COptionsTab1Dlg::OnStartupRun},
                  {IDC_LIVE_UPDATE, &COptionsTab1Dlg::OnLiveUpdate},
                  {IDC_CHECK_UPDATE, &COptionsTab1Dlg::OnCheckUpdate},
                  {IDC_CLEAN_AUTO, &COptionsTab1Dlg::OnScheduleChanged},
                  {IDC_CLEAN_JUNK, &COptionsTab1Dlg::OnScheduleChanged},
                  {IDC_CLEAN_TRACES, &COptionsTab1Dlg::OnScheduleChanged},
                  {IDC_CLEAN_REGISTRY, &COptionsTab1Dlg::OnScheduleChanged}});
}

void COptionsTab1Dlg::OnStartupRun() { OnBoxClicked(IDC_STARTUP_RUN, OPTIONS_MSG_STARTUP_RUN); }

void COptionsTab1Dlg::OnLiveUpdate() { OnBoxClicked(IDC_LIVE_UPDATE, OPTIONS_MSG_LIVE_UPDATE); }

void COptionsTab1Dlg::OnCheckUpdate() { SendMessageW(GetParent(hwnd()), OPTIONS_MSG_CHECK_UPDATE, 0, 0); }
