// Entries that start or describe programs: category 7, "Startup Programs" (Run and RunOnce); 8,
// "Application Paths"; 10, "System Services"; 14, "Obsolete Software" (uninstall entries).
#include "categories.h"

#include "registry_access.h"
#include "scan.h"

namespace hivescrub {
namespace {

const wchar_t* const kRunKeys[] = {L"Software\\?Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
                                   L"Software\\?Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\RunOnce"};
const wchar_t kAppPaths[] = L"Software\\?Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\*";
const wchar_t kServices[] = L"SYSTEM\\CurrentControlSet\\Services";
const wchar_t kUninstallKeys[] = L"Software\\?Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\*";

bool InRun(const Entry& e) {
  if (!e.isValue) return false;
  for (const wchar_t* pattern : kRunKeys)
    if (MatchKey(e.key, pattern)) return true;
  return false;
}

bool JudgeRun(Context& context, const Entry& e, HKEY key, Finding* f) {
  std::wstring command = ReadString(key, e.value.c_str());
  if (command.empty()) return false;
  Target t = context.paths().Program(command, IsWow64Path(e.key));
  if (t.presence != Presence::kMissing) return false;
  return Found(f, Action::kDeleteValue, e, MissingText(L"Program", t));
}

bool InAppPaths(const Entry& e) { return !e.isValue && MatchKey(e.key, kAppPaths); }

bool JudgeAppPath(Context& context, const Entry& e, HKEY key, Finding* f) {
  std::wstring program = ReadString(key, nullptr);
  if (program.empty() || program.find(L'\\') == std::wstring::npos) return false;
  Target t = context.paths().Program(program, IsWow64Path(e.key));
  if (t.presence != Presence::kMissing) return false;
  return Found(f, Action::kDeleteKey, e, MissingText(L"Program", t));
}

bool InServices(const Entry& e) {
  return e.root == HKEY_LOCAL_MACHINE && !e.isValue && MatchKey(e.key, (std::wstring(kServices) + L"\\*").c_str());
}

// Win32 services only: drivers are loaded by the kernel from paths of their own. A service already
// disabled needs nothing.
bool JudgeService(Context& context, const Entry& e, HKEY key, Finding* f) {
  DWORD type = 0, start = 0;
  if (!ReadDword(key, L"Type", &type) || (type & (SERVICE_WIN32_OWN_PROCESS | SERVICE_WIN32_SHARE_PROCESS)) == 0 ||
      (type & (SERVICE_KERNEL_DRIVER | SERVICE_FILE_SYSTEM_DRIVER)) != 0)
    return false;
  if (ReadDword(key, L"Start", &start) && start == SERVICE_DISABLED) return false;
  std::wstring image = ReadString(key, L"ImagePath");
  if (image.empty()) return false;
  Target t = context.paths().ServiceImage(image, false);
  if (t.presence != Presence::kMissing) return false;
  return Found(f, Action::kDisableService, e, MissingText(L"Service program", t));
}

bool InUninstall(const Entry& e) { return !e.isValue && MatchKey(e.key, kUninstallKeys); }

// Windows Installer keeps its own products' entries; the others are obsolete when both the
// uninstall program and the install folder (when one is named) are gone.
bool JudgeUninstall(Context& context, const Entry& e, HKEY key, Finding* f) {
  DWORD msi = 0;
  if (ReadDword(key, L"WindowsInstaller", &msi) && msi != 0) return false;
  std::wstring uninstall = ReadString(key, L"UninstallString");
  if (uninstall.empty()) return false;
  bool wow64 = IsWow64Path(e.key);
  Target program = context.paths().Program(uninstall, wow64);
  if (program.presence != Presence::kMissing) return false;
  std::wstring detail = MissingText(L"Uninstall program", program);
  std::wstring location = ReadString(key, L"InstallLocation");
  if (!location.empty()) {
    Target folder = context.paths().Folder(location, wow64);
    if (folder.presence != Presence::kMissing) return false;
    detail += L"; " + MissingText(L"install folder", folder);
  }
  return Found(f, Action::kDeleteKey, e, detail);
}

// Examines every sub-key of the key list `below` (a path under Software) in both views.
void ExamineSubKeys(Scan& scan, const Check& check, HKEY root, const std::wstring& below) {
  for (const wchar_t* software : {L"Software\\", L"Software\\Wow6432Node\\"}) {
    std::wstring path = software + below;
    scan.ForEachSubKeyAt(root, path, [&](const std::wstring& name, HKEY key) {
      scan.Examine(check, Entry::Key(root, JoinKey(path, name)), key);
    });
  }
}

}  // namespace

const Check kRunValueCheck{kRunValue, InRun, JudgeRun};
const Check kAppPathCheck{kAppPath, InAppPaths, JudgeAppPath};
const Check kServiceCheck{kService, InServices, JudgeService};
const Check kUninstallCheck{kUninstall, InUninstall, JudgeUninstall};

void ScanStartup(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const wchar_t* software : {L"Software\\", L"Software\\Wow6432Node\\"})
      for (const wchar_t* list : {L"Microsoft\\Windows\\CurrentVersion\\Run", L"Microsoft\\Windows\\CurrentVersion\\RunOnce"})
        scan.ExamineValues(kRunValueCheck, root, std::wstring(software) + list);
}

void ScanPaths(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    ExamineSubKeys(scan, kAppPathCheck, root, L"Microsoft\\Windows\\CurrentVersion\\App Paths");
}

void ScanServices(Scan& scan) {
  scan.ForEachSubKeyAt(HKEY_LOCAL_MACHINE, kServices, [&](const std::wstring& name, HKEY key) {
    scan.Examine(kServiceCheck, Entry::Key(HKEY_LOCAL_MACHINE, JoinKey(kServices, name)), key);
  });
}

void ScanObsolete(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    ExamineSubKeys(scan, kUninstallCheck, root, L"Microsoft\\Windows\\CurrentVersion\\Uninstall");
}

}  // namespace hivescrub
