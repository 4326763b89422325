#include "listing.h"

#include "base/handles.h"
#include "contracts/messages.h"
#include "contracts/report.h"
#include "registry_access.h"
#include "sources.h"

namespace bootlist {
namespace {

bool Report(HWND window, const std::wstring& item, const std::wstring& command, int kind) {
  std::wstring text = EntryReport(item, command, kind);
  return report::Send(window, report_kind::kStartupEntry, text.c_str(), text.size());
}

bool ReportRegistry(HWND window, int kind) {
  base::UniqueKey key = OpenSource(kind, KEY_QUERY_VALUE);
  if (!key) return true;  // no such key here: nothing starts from it
  for (const std::wstring& name : hivescrub::ValueNames(key.get())) {
    DWORD type = REG_NONE;
    if (!hivescrub::HasValue(key.get(), name.c_str(), &type) || !IsCommandType(type)) continue;
    if (!Report(window, name, hivescrub::ReadString(key.get(), name.c_str()), kind)) return false;
  }
  return true;
}

bool ReportFolder(HWND window, const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  base::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &found));
  if (!find) return true;
  do {
    std::wstring name = found.cFileName;
    // Windows starts the files of the folder itself; sub-folders and the folder's own settings
    // file start nothing.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || hivescrub::EqualNoCase(name, L"desktop.ini")) continue;
    if (!Report(window, name, folder + L"\\" + name, kStartupFolder)) return false;
  } while (FindNextFileW(find.get(), &found));
  return true;
}

}  // namespace

std::wstring EscapeField(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    if (c == L'%') out += L"%25";
    else if (c == L'|') out += L"%7C";
    else out += c;
  }
  return out;
}

std::wstring EntryReport(const std::wstring& item, const std::wstring& command, int kind) {
  return EscapeField(item) + L"|" + EscapeField(command) + L"|" + std::to_wstring(kind);
}

bool ReportStartupList(HWND window) {
  if (!window || !IsWindow(window)) return false;
  for (int kind = kUserRun; kind <= kMachineRunOnce; ++kind) {
    if (kind == kStartupFolder) {
      for (const std::wstring& folder : StartupFolders())
        if (!ReportFolder(window, folder)) return false;
    } else if (!ReportRegistry(window, kind)) {
      return false;
    }
  }
  return true;
}

}  // namespace bootlist
