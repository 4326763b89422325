// Category 2, "System Software Settings": program keys whose install folder is gone; category 3,
// "Sounds and App Events": event sounds naming missing files; category 5, "Help Files Information":
// help registrations naming missing files.
#include "categories.h"

#include "registry_access.h"
#include "scan.h"

namespace hivescrub {
namespace {

// Values in which installers record a program's folder.
const wchar_t* const kInstallFolderValues[] = {
    L"InstallDir",  L"Install_Dir",  L"Install Dir",      L"InstallDirectory", L"Install Directory",
    L"InstallPath", L"Install Path", L"InstallLocation",  L"InstallFolder",    L"Install Folder"};

bool IsInstallFolderValue(const std::wstring& name) {
  for (const wchar_t* v : kInstallFolderValues)
    if (EqualNoCase(name, v)) return true;
  return false;
}

const wchar_t* const kSoftwareKeys[] = {L"Software\\?Wow6432Node\\*", L"Software\\?Wow6432Node\\*\\*"};

bool InSoftware(const Entry& e) {
  if (e.isValue && !IsInstallFolderValue(e.value)) return false;
  for (const wchar_t* pattern : kSoftwareKeys)
    if (MatchKey(e.key, pattern)) return true;
  return false;
}

// A program key is a problem when an install-folder value names a missing folder and none names one
// that exists. A key without sub-keys goes as a whole; a key with sub-keys (a vendor's key holding
// other products) loses only the value.
bool JudgeSoftware(Context& context, const Entry& e, HKEY key, Finding* f) {
  bool wow64 = IsWow64Path(e.key);
  KeyCounts counts;
  if (!QueryCounts(key, &counts) || counts.values == 0) return false;  // most keys: one query settles it
  Target missing;
  std::wstring missingValue;
  for (const wchar_t* name : kInstallFolderValues) {
    if (e.isValue && !EqualNoCase(e.value, name)) continue;
    if (!HasValue(key, name)) continue;
    std::wstring folder = ReadString(key, name);
    if (folder.empty()) continue;
    Target t = context.paths().Folder(folder, wow64);
    if (t.presence != Presence::kMissing) return false;
    if (missing.path.empty()) {
      missing = t;
      missingValue = name;
    }
  }
  if (missing.path.empty()) return false;
  std::wstring detail = MissingText(L"Install folder", missing);
  if (e.isValue) return Found(f, Action::kDeleteValue, e, detail);
  if (counts.subKeys == 0) return Found(f, Action::kDeleteKey, e, detail);
  // The value's own name, as it is spelled in the key, so the repair finds exactly it.
  for (const std::wstring& actual : ValueNames(key))
    if (EqualNoCase(actual, missingValue)) missingValue = actual;
  return Found(f, Action::kDeleteValue, Entry::Value(e.root, e.key, missingValue), detail);
}

bool InSound(const Entry& e) {
  return e.root == HKEY_CURRENT_USER && e.isValue && e.value.empty() &&
         MatchKey(e.key, L"AppEvents\\Schemes\\Apps\\*\\*\\.Current");
}

bool JudgeSound(Context& context, const Entry& e, HKEY key, Finding* f) {
  std::wstring sound = ReadString(key, nullptr);
  if (sound.empty()) return false;  // no sound for the event
  Target t = context.paths().File(sound, false, {context.paths().windows() + L"\\Media"});
  if (t.presence != Presence::kMissing) return false;
  return Found(f, Action::kDeleteValue, e, MissingText(L"Sound file", t));
}

const wchar_t* const kHelpKeys[] = {L"Software\\?Wow6432Node\\Microsoft\\Windows\\Help",
                                    L"Software\\?Wow6432Node\\Microsoft\\Windows\\HTML Help"};

bool InHelp(const Entry& e) {
  if (!e.isValue || e.value.empty()) return false;
  for (const wchar_t* pattern : kHelpKeys)
    if (MatchKey(e.key, pattern)) return true;
  return false;
}

// Each value names a help file; its data is the folder that holds it.
bool JudgeHelp(Context& context, const Entry& e, HKEY key, Finding* f) {
  if (e.value.find_first_of(L"\\/:") != std::wstring::npos) return false;
  std::wstring folder = ReadString(key, e.value.c_str());
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L' ')) folder.pop_back();
  if (folder.empty()) return false;
  Target t = context.paths().File(folder + L"\\" + e.value, IsWow64Path(e.key));
  if (t.presence != Presence::kMissing) return false;
  return Found(f, Action::kDeleteValue, e, MissingText(L"Help file", t));
}

}  // namespace

const Check kSoftwareFolderCheck{kSoftwareFolder, InSoftware, JudgeSoftware};
const Check kSoundCheck{kSound, InSound, JudgeSound};
const Check kHelpFileCheck{kHelpFile, InHelp, JudgeHelp};

void ScanSoftware(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const wchar_t* software : {L"Software", L"Software\\Wow6432Node"})
      scan.ExamineTwoLevels(kSoftwareFolderCheck, root, software);
}

void ScanSounds(Scan& scan) {
  const std::wstring apps = L"AppEvents\\Schemes\\Apps";
  scan.ForEachSubKeyAt(HKEY_CURRENT_USER, apps, [&](const std::wstring& app, HKEY appKey) {
    std::wstring appPath = JoinKey(apps, app);
    scan.ForEachSubKey(HKEY_CURRENT_USER, appPath, appKey, [&](const std::wstring& event, HKEY eventKey) {
      std::wstring current = JoinKey(JoinKey(appPath, event), L".Current");
      base::UniqueKey key = OpenRead(eventKey, L".Current");
      if (key) scan.Examine(kSoundCheck, Entry::Value(HKEY_CURRENT_USER, current, L""), key.get());
    });
  });
}

void ScanHelp(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const wchar_t* software : {L"Software", L"Software\\Wow6432Node"})
      for (const wchar_t* list : {L"Microsoft\\Windows\\Help", L"Microsoft\\Windows\\HTML Help"})
        scan.ExamineValues(kHelpFileCheck, root, JoinKey(software, list));
}

}  // namespace hivescrub
