#include "target.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include "base/com.h"
#include "paths.h"
#include "registry_access.h"
#include "sources.h"

namespace bootlist {
namespace {

bool Exists(const std::wstring& path) { return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The target and arguments of a shortcut file; false when it cannot be read as one.
bool ReadShortcut(const std::wstring& file, std::wstring* path, std::wstring* arguments) {
  base::ComScope com;  // as far as the thread has no COM in another model already
  base::ComPtr<IShellLinkW> link;
  base::ComPtr<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.receiveVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.receiveVoid())) ||
      FAILED(persist->Load(file.c_str(), STGM_READ)))
    return false;
  wchar_t target[MAX_PATH] = {};
  wchar_t args[INFOTIPSIZE] = {};
  // Only the stored path: resolving a moved target would search the disk and could show a window.
  if (link->GetPath(target, MAX_PATH, nullptr, 0) != S_OK) target[0] = L'\0';
  if (FAILED(link->GetArguments(args, INFOTIPSIZE))) args[0] = L'\0';
  target[MAX_PATH - 1] = args[INFOTIPSIZE - 1] = L'\0';
  *path = target;
  *arguments = args;
  return true;
}

EntryTarget ResolveFile(const std::wstring& file) {
  EntryTarget t{file, file};
  std::wstring path, arguments;
  if (!hivescrub::EndsWithNoCase(file, L".lnk") || !ReadShortcut(file, &path, &arguments) || path.empty()) return t;
  t.starts = path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
  if (!arguments.empty()) t.starts += L" " + arguments;
  if (Exists(path)) t.program = path;  // else the shortcut itself, the one thing there is to show
  return t;
}

std::wstring Searched(const std::wstring& name) {
  wchar_t found[MAX_PATH] = {};
  DWORD n = SearchPathW(nullptr, name.c_str(), L".exe", MAX_PATH, found, nullptr);
  return n > 0 && n < MAX_PATH ? std::wstring(found, n) : std::wstring();
}

}  // namespace

EntryTarget ResolveEntry(int kind, const std::wstring& commandLine) {
  if (kind == kStartupFolder) return ResolveFile(commandLine);
  EntryTarget t{commandLine, {}};
  hivescrub::PathJudge judge;
  hivescrub::Target program = judge.Program(commandLine, kind == kMachineRun32);
  if (program.presence != hivescrub::Presence::kPresent) return t;
  t.program = program.path.find(L'\\') == std::wstring::npos ? Searched(program.path) : program.path;
  return t;
}

}  // namespace bootlist
