#include "base/registry_editor.h"

#include <windows.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "base/handles.h"

namespace base {
namespace {

// Far below the system's limit: the arguments name one file, and anything longer is not one.
constexpr size_t kCommandLineChars = 10000;

}  // namespace

bool RunRegistryEditor(const std::wstring& arguments) {
  wchar_t windows[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, windows))) return false;
  std::wstring editor = std::wstring(windows) + L"\\regedit.exe";
  if (arguments.size() >= kCommandLineChars) return false;
  std::vector<wchar_t> commandLine(kCommandLineChars, L'\0');  // CreateProcessW may write into it
  std::wmemcpy(commandLine.data(), arguments.c_str(), arguments.size());
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(editor.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started))
    return false;
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  if (WaitForSingleObject(process.get(), INFINITE) != WAIT_OBJECT_0) return false;
  DWORD exitCode = 1;
  return GetExitCodeProcess(process.get(), &exitCode) && exitCode == 0;
}

}  // namespace base
