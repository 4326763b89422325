// Category 9, "File Associations": extensions naming classes that exist nowhere, and classes whose
// open command starts a missing program; category 11, "File Extensions": the user's per-extension
// "open with" lists that name nothing that exists.
#include "categories.h"

#include "registry_access.h"
#include "scan.h"

namespace hivescrub {
namespace {

const wchar_t kExtensionPattern[] = L"Software\\Classes\\*";
const wchar_t kOpenVerbPattern[] = L"Software\\Classes\\*\\shell\\open";
const wchar_t kFileExts[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

bool InExtension(const Entry& e) {
  return e.isValue && e.value.empty() && MatchKey(e.key, kExtensionPattern) && LastComponent(e.key)[0] == L'.';
}

bool JudgeExtension(Context& context, const Entry& e, HKEY key, Finding* f) {
  std::wstring progId = ReadString(key, nullptr);
  if (progId.empty() || progId.find(L'\\') != std::wstring::npos || context.ClassExists(progId)) return false;
  return Found(f, Action::kDeleteValue, e, L"Class not found: " + progId);
}

bool InOpenVerb(const Entry& e) { return !e.isValue && MatchKey(e.key, kOpenVerbPattern); }

// Verbs carried out by a COM handler or by Windows Installer (a descriptor in "command") do not
// depend on the command line.
bool JudgeOpenVerb(Context& context, const Entry& e, HKEY key, Finding* f) {
  if (HasValue(key, L"DelegateExecute") || HasValue(key, L"ExplorerCommandHandler")) return false;
  base::UniqueKey command = OpenRead(key, L"command");
  if (!command || HasValue(command.get(), L"DelegateExecute") || HasValue(command.get(), L"command")) return false;
  if (OpenRead(key, L"DropTarget").valid() || OpenRead(key, L"ddeexec").valid()) return false;
  std::wstring line = ReadString(command.get(), nullptr);
  if (line.empty()) return false;
  Target t = context.paths().Program(line, false);
  if (t.presence != Presence::kMissing) return false;
  return Found(f, Action::kDeleteKey, e, MissingText(L"Program", t));
}

bool InFileExts(const Entry& e) {
  return e.root == HKEY_CURRENT_USER && !e.isValue && MatchKey(e.key, (std::wstring(kFileExts) + L"\\*").c_str());
}

bool ApplicationExists(Context& context, const std::wstring& name) {
  if (context.ClassExists(L"Applications\\" + name)) return true;
  Target t = context.paths().File(name, false);
  return t.presence != Presence::kMissing;
}

bool JudgeFileExt(Context& context, const Entry& e, HKEY key, Finding* f) {
  // The user's own choice is kept whatever the lists say.
  if (OpenRead(key, L"UserChoice").valid()) return false;
  std::wstring missing;
  auto note = [&missing](const std::wstring& name) { missing += (missing.empty() ? L"" : L", ") + name; };
  if (base::UniqueKey list = OpenRead(key, L"OpenWithList")) {
    for (const std::wstring& value : ValueNames(list.get())) {
      if (EqualNoCase(value, L"MRUList")) continue;
      std::wstring app = ReadString(list.get(), value.c_str());
      if (app.empty()) continue;
      if (ApplicationExists(context, app)) return false;
      note(app);
    }
  }
  if (base::UniqueKey progIds = OpenRead(key, L"OpenWithProgids")) {
    for (const std::wstring& progId : ValueNames(progIds.get())) {
      if (progId.empty()) continue;
      if (context.ClassExists(progId)) return false;
      note(progId);
    }
  }
  if (missing.empty()) return false;
  return Found(f, Action::kDeleteKey, e, L"Programs and classes not found: " + missing);
}

}  // namespace

const Check kExtensionClassCheck{kExtensionClass, InExtension, JudgeExtension};
const Check kOpenCommandCheck{kOpenCommand, InOpenVerb, JudgeOpenVerb};
const Check kFileExtCheck{kFileExt, InFileExts, JudgeFileExt};

void ScanAssociations(Scan& scan) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring classes = L"Software\\Classes";
    base::UniqueKey parent = OpenRead(root, classes);
    if (!parent) continue;
    for (const std::wstring& name : SubKeyNames(parent.get())) {
      if (!scan.ok()) return;
      std::wstring path = JoinKey(classes, name);
      scan.Progress(root, path);
      if (name[0] == L'.') {
        base::UniqueKey key = OpenRead(parent.get(), name);
        if (key) scan.Examine(kExtensionClassCheck, Entry::Value(root, path, L""), key.get());
      } else {
        base::UniqueKey verb = OpenRead(parent.get(), name + L"\\shell\\open");
        if (verb) scan.Examine(kOpenCommandCheck, Entry::Key(root, path + L"\\shell\\open"), verb.get());
      }
    }
  }
}

void ScanExtensions(Scan& scan) {
  scan.ForEachSubKeyAt(HKEY_CURRENT_USER, kFileExts, [&](const std::wstring& name, HKEY key) {
    scan.Examine(kFileExtCheck, Entry::Key(HKEY_CURRENT_USER, JoinKey(kFileExts, name)), key);
  });
}

}  // namespace hivescrub
