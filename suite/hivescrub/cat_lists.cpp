// Lists of file and folder references: category 4, "MRU and History Lists" (MUICache, open and save
// history); 6, "Shared Programs" (SharedDLLs); 12, "Windows Fonts"; 13, "Files and Folders"
// (Windows Installer folders).
#include "categories.h"

#include "registry_access.h"
#include "scan.h"

namespace hivescrub {
namespace {

const wchar_t* const kMuiCacheKeys[] = {
    L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache",
    L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache"};
const wchar_t kOpenSaveMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
const wchar_t kSharedDlls[] = L"Software\\?Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const wchar_t kFonts[] = L"Software\\?Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const wchar_t kInstallerFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";

bool Report(const Entry& e, const Target& t, const wchar_t* what, Finding* f) {
  return t.presence == Presence::kMissing && Found(f, Action::kDeleteValue, e, MissingText(what, t));
}

bool InMuiCache(const Entry& e) {
  if (e.root != HKEY_CURRENT_USER || !e.isValue) return false;
  for (const wchar_t* k : kMuiCacheKeys)
    if (MatchKey(e.key, k)) return true;
  return false;
}

// The value names are the programs: "C:\x\app.exe", on newer systems with ".FriendlyAppName" or
// ".ApplicationCompany" after it, or "@file,-id" resource references.
bool JudgeMuiCache(Context& context, const Entry& e, HKEY, Finding* f) {
  std::wstring name = e.value;
  for (const wchar_t* suffix : {L".FriendlyAppName", L".ApplicationCompany"})
    if (EndsWithNoCase(name, suffix)) name.resize(name.size() - wcslen(suffix));
  if (name.empty() || (name[0] != L'@' && name.find(L'\\') == std::wstring::npos)) return false;
  return Report(e, context.paths().File(name, false), L"File", f);
}

bool InOpenSaveMru(const Entry& e) {
  return e.root == HKEY_CURRENT_USER && e.isValue && !EqualNoCase(e.value, L"MRUList") &&
         MatchKey(e.key, (std::wstring(kOpenSaveMruKey) + L"\\*").c_str());
}

bool JudgeOpenSaveMru(Context& context, const Entry& e, HKEY key, Finding* f) {
  std::wstring path = ReadString(key, e.value.c_str());
  if (path.find(L'\\') == std::wstring::npos) return false;
  return Report(e, context.paths().File(path, false), L"File", f);
}

bool InSharedDlls(const Entry& e) { return e.root == HKEY_LOCAL_MACHINE && e.isValue && MatchKey(e.key, kSharedDlls); }

// The value names are the shared files; the data is their reference count.
bool JudgeSharedDll(Context& context, const Entry& e, HKEY, Finding* f) {
  if (e.value.find(L'\\') == std::wstring::npos) return false;
  return Report(e, context.paths().File(e.value, IsWow64Path(e.key)), L"Shared file", f);
}

bool InFonts(const Entry& e) { return e.root == HKEY_LOCAL_MACHINE && e.isValue && MatchKey(e.key, kFonts); }

// The data is a file in the Fonts folder, or an absolute path.
bool JudgeFont(Context& context, const Entry& e, HKEY key, Finding* f) {
  std::wstring file = ReadString(key, e.value.c_str());
  if (file.empty()) return false;
  PathJudge& paths = context.paths();
  std::wstring fonts = paths.windows() + L"\\Fonts";
  Target t;
  if (file.find_first_of(L"\\:") == std::wstring::npos) {
    t = paths.File(fonts + L"\\" + file, false);
  } else {
    t = paths.File(file, false);
    if (t.presence == Presence::kMissing) {  // installed by path once, then moved into the Fonts folder
      Target inFonts = paths.File(fonts + L"\\" + LastComponent(t.path), false);
      if (inFonts.presence != Presence::kMissing) return false;
    }
  }
  return Report(e, t, L"Font file", f);
}

bool InInstallerFolders(const Entry& e) {
  return e.root == HKEY_LOCAL_MACHINE && e.isValue && MatchKey(e.key, kInstallerFolders);
}

// The value names are folders that Windows Installer created and keeps track of.
bool JudgeInstallerFolder(Context& context, const Entry& e, HKEY, Finding* f) {
  if (e.value.find(L'\\') == std::wstring::npos) return false;
  return Report(e, context.paths().Folder(e.value, false), L"Folder", f);
}

}  // namespace

const Check kMuiCacheCheck{kMuiCache, InMuiCache, JudgeMuiCache};
const Check kOpenSaveMruCheck{kOpenSaveMru, InOpenSaveMru, JudgeOpenSaveMru};
const Check kSharedDllCheck{kSharedDll, InSharedDlls, JudgeSharedDll};
const Check kFontCheck{kFont, InFonts, JudgeFont};
const Check kInstallerFolderCheck{kInstallerFolder, InInstallerFolders, JudgeInstallerFolder};

void ScanMru(Scan& scan) {
  for (const wchar_t* key : kMuiCacheKeys) scan.ExamineValues(kMuiCacheCheck, HKEY_CURRENT_USER, key);
  scan.ForEachSubKeyAt(HKEY_CURRENT_USER, kOpenSaveMruKey, [&](const std::wstring& name, HKEY) {
    scan.ExamineValues(kOpenSaveMruCheck, HKEY_CURRENT_USER, JoinKey(kOpenSaveMruKey, name));
  });
}

namespace {
// Both views of a machine-wide list, the 32-bit one only when it is a key of its own.
void ExamineBothViews(Scan& scan, const Check& check, const std::wstring& below) {
  scan.ExamineValues(check, HKEY_LOCAL_MACHINE, L"Software\\" + below);
  scan.ExamineValues(check, HKEY_LOCAL_MACHINE, L"Software\\Wow6432Node\\" + below);
}
}  // namespace

void ScanShared(Scan& scan) {
  ExamineBothViews(scan, kSharedDllCheck, L"Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
}

void ScanFonts(Scan& scan) {
  ExamineBothViews(scan, kFontCheck, L"Microsoft\\Windows NT\\CurrentVersion\\Fonts");
}

void ScanFolders(Scan& scan) { scan.ExamineValues(kInstallerFolderCheck, HKEY_LOCAL_MACHINE, kInstallerFolders); }

}  // namespace hivescrub
