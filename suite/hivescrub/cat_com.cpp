// Category 1, "ActiveX,OLE,COM Entries": classes whose every server is missing, AppID references to
// AppIDs that do not exist, and type library versions whose files are all missing.
#include "categories.h"

#include <cwctype>

#include "registry_access.h"
#include "scan.h"

namespace hivescrub {
namespace {

const wchar_t kClsidPattern[] = L"Software\\Classes\\?Wow6432Node\\CLSID\\*";
const wchar_t kTypeLibPattern[] = L"Software\\Classes\\?Wow6432Node\\TypeLib\\*\\*";

bool InClsid(const Entry& e) { return !e.isValue && MatchKey(e.key, kClsidPattern); }

bool JudgeClsidServer(Context& context, const Entry& e, HKEY key, Finding* f) {
  bool wow64 = IsWow64Path(e.key);
  Target missing;
  // The class works while any one of its servers does; 16-bit servers are not judged.
  for (const wchar_t* server : {L"InprocServer32", L"LocalServer32"}) {
    base::UniqueKey sub = OpenRead(key, server);
    if (!sub) continue;
    std::wstring path = ReadString(sub.get(), nullptr);
    if (path.empty()) return false;  // registered by other means (an assembly, a surrogate): not judged
    Target t = server[0] == L'I' ? context.paths().File(path, wow64) : context.paths().Program(path, wow64);
    if (t.presence != Presence::kMissing) return false;
    if (missing.path.empty()) missing = t;
  }
  if (missing.path.empty()) return false;
  // A class emulated by another, or one served by a surrogate, does not need its own server.
  if (OpenRead(key, L"TreatAs").valid() || HasValue(key, L"AppID") || HasValue(key, L"AutoTreatAs")) return false;
  return Found(f, Action::kDeleteKey, e, MissingText(L"Server file", missing));
}

bool InClsidAppId(const Entry& e) {
  return e.isValue && EqualNoCase(e.value, L"AppID") && MatchKey(e.key, kClsidPattern);
}

bool IsGuid(const std::wstring& s) {
  if (s.size() != 38 || s[0] != L'{' || s[37] != L'}') return false;
  for (size_t i = 1; i < 37; ++i) {
    bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? s[i] != L'-' : !std::iswxdigit(s[i])) return false;
  }
  return true;
}

bool JudgeClsidAppId(Context&, const Entry& e, HKEY key, Finding* f) {
  if (!HasValue(key, L"AppID")) return false;  // one query for the many classes without one
  std::wstring appId = ReadString(key, L"AppID");
  if (!IsGuid(appId)) return false;  // only a well-formed reference can be proven dangling
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
    for (const wchar_t* where : {L"Software\\Classes\\AppID\\", L"Software\\Classes\\Wow6432Node\\AppID\\"})
      if (OpenRead(root, where + appId).valid()) return false;
  return Found(f, Action::kDeleteValue, e, L"AppID not found: " + appId);
}

bool InTypeLib(const Entry& e) { return !e.isValue && MatchKey(e.key, kTypeLibPattern); }

// A type library path may end in "\n", the index of the library inside the file.
Target TypeLibFile(Context& context, const std::wstring& path, bool wow64) {
  Target t = context.paths().File(path, wow64);
  if (t.presence != Presence::kMissing) return t;
  size_t cut = path.find_last_of(L'\\');
  if (cut == std::wstring::npos || cut + 1 >= path.size()) return t;
  for (size_t i = cut + 1; i < path.size(); ++i)
    if (!std::iswdigit(path[i])) return t;
  Target file = context.paths().File(path.substr(0, cut), wow64);
  return file.presence == Presence::kMissing ? t : file;
}

// A version is a problem when it names at least one file and every file it names is missing.
bool JudgeTypeLib(Context& context, const Entry& e, HKEY key, Finding* f) {
  Target missing;
  for (const std::wstring& lcid : SubKeyNames(key)) {
    if (EqualNoCase(lcid, L"FLAGS") || EqualNoCase(lcid, L"HELPDIR")) continue;
    base::UniqueKey locale = OpenRead(key, lcid);
    if (!locale) return false;
    for (const std::wstring& platform : SubKeyNames(locale.get())) {
      base::UniqueKey file = OpenRead(locale.get(), platform);
      if (!file) return false;
      std::wstring path = ReadString(file.get(), nullptr);
      if (path.empty()) return false;
      bool wow64 = IsWow64Path(e.key) || EqualNoCase(platform, L"win32");
      Target t = TypeLibFile(context, path, wow64);
      if (t.presence != Presence::kMissing) return false;
      if (missing.path.empty()) missing = t;
    }
  }
  if (missing.path.empty()) return false;
  return Found(f, Action::kDeleteKey, e, MissingText(L"Type library", missing));
}

}  // namespace

const Check kClsidServerCheck{kClsidServer, InClsid, JudgeClsidServer};
const Check kClsidAppIdCheck{kClsidAppId, InClsidAppId, JudgeClsidAppId};
const Check kTypeLibCheck{kTypeLib, InTypeLib, JudgeTypeLib};

void ScanActivex(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const wchar_t* classes : {L"Software\\Classes", L"Software\\Classes\\Wow6432Node"}) {
      std::wstring clsid = JoinKey(classes, L"CLSID");
      scan.ForEachSubKeyAt(root, clsid, [&](const std::wstring& name, HKEY key) {
        std::wstring path = JoinKey(clsid, name);
        scan.Examine(kClsidServerCheck, Entry::Key(root, path), key);
        scan.Examine(kClsidAppIdCheck, Entry::Value(root, path, L"AppID"), key);
      });
    }
  }
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    for (const wchar_t* classes : {L"Software\\Classes", L"Software\\Classes\\Wow6432Node"}) {
      std::wstring typelib = JoinKey(classes, L"TypeLib");
      scan.ForEachSubKeyAt(root, typelib, [&](const std::wstring& lib, HKEY libKey) {
        std::wstring libPath = JoinKey(typelib, lib);
        scan.ForEachSubKey(root, libPath, libKey, [&](const std::wstring& version, HKEY key) {
          scan.Examine(kTypeLibCheck, Entry::Key(root, JoinKey(libPath, version)), key);
        });
      });
    }
  }
}

}  // namespace hivescrub
