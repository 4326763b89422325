// Typemend.dll: how Windows opens sixteen important file types — the command (or, for shortcuts,
// the class identifier) the registry gives now, the one Windows ships, and the repair.
#include "contracts/typemend.h"

#include <cwchar>
#include <string>
#include <vector>

#include "base/export_guard.h"
#include "base/handles.h"
#include "base/registry.h"
#include "base/text.h"
#include "base/undo_journal.h"
#include "contracts/buffers.h"

namespace {

struct Association {
  const wchar_t* extension;  // matched exactly, case included
  const wchar_t* shipped;    // stored unexpanded, capitalised as Windows ships it
  const wchar_t* shippedClass;  // the program identifier Windows ships for the extension
};

const wchar_t kRunItself[] = L"\"%1\" %*";
const wchar_t kNotepad[] = L"%SystemRoot%\\System32\\NOTEPAD.EXE %1";
const wchar_t kScriptHost[] = L"%SystemRoot%\\System32\\Wscript.exe \"%1\" %*";
const wchar_t kShortcut[] = L".lnk";

const Association kAssociations[] = {
    {L".txt", L"%SystemRoot%\\system32\\NOTEPAD.EXE %1", L"txtfile"},
    {L".exe", kRunItself, L"exefile"},
    {L".com", kRunItself, L"comfile"},
    {L".pif", kRunItself, L"piffile"},
    {L".reg", L"regedit.exe \"%1\"", L"regfile"},
    {L".bat", kRunItself, L"batfile"},
    {L".scr", L"\"%1\" /S", L"scrfile"},
    {L".chm", L"\"%SystemRoot%\\hh.exe\" %1", L"chm.file"},
    {L".hlp", L"%SystemRoot%\\System32\\winhlp32.exe %1", L"hlpfile"},
    {L".ini", kNotepad, L"inifile"},
    {L".inf", kNotepad, L"inffile"},
    {L".vbs", kScriptHost, L"VBSFile"},
    {kShortcut, L"{00021401-0000-0000-C000-000000000046}", L"lnkfile"},
    {L".js", kScriptHost, L"JSFile"},
    {L".cmd", kRunItself, L"cmdfile"},
    {L".scf", L"%SystemRoot%\\explorer.exe", L"SHCmdFile"},
};

const Association* FindAssociation(const wchar_t* extension) {
  if (!extension) return nullptr;
  for (const Association& row : kAssociations)
    if (std::wcscmp(row.extension, extension) == 0) return &row;
  return nullptr;
}

const wchar_t kCommand[] = L"\\shell\\open\\command";
const wchar_t kClassId[] = L"\\CLSID";
const wchar_t kUserClasses[] = L"Software\\Classes\\";

base::UniqueKey Open(HKEY root, const std::wstring& path, REGSAM access) {
  base::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, access, key.receive()) != ERROR_SUCCESS) key.reset();
  return key;
}

// The key's default value; "" when the key or a string value is missing, or the value does not fit.
std::wstring DefaultValueOf(const base::UniqueKey& key) {
  wchar_t text[contracts::kValueChars] = {};
  if (key) base::ReadRegistryString(key.get(), nullptr, text, contracts::kValueChars);
  return text;
}

// The program identifier the extension's key names; "" when there is none.
std::wstring ProgramIdentifier(const wchar_t* extension) {
  if (!extension || !*extension) return std::wstring();  // "" would open the whole root
  return DefaultValueOf(Open(HKEY_CLASSES_ROOT, extension, KEY_READ));
}

std::wstring CurrentAssociation(const wchar_t* extension) {
  std::wstring id = ProgramIdentifier(extension);
  if (id.empty()) return std::wstring();
  base::UniqueKey command = Open(HKEY_CLASSES_ROOT, id + kCommand, KEY_READ);
  if (command) return DefaultValueOf(command);
  return DefaultValueOf(Open(HKEY_CLASSES_ROOT, id + kClassId, KEY_READ));
}

std::wstring WithoutQuotes(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text)
    if (c != L'"') out += c;
  return out;
}

// A key that is a symbolic link to another: a write through it would land in a key this repair
// knows nothing of.
bool IsLink(HKEY root, const std::wstring& path) {
  base::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
    return false;
  DWORD type = REG_NONE;
  return RegQueryValueExW(key.get(), L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

// Whether any key on the way from the classes folder down to path is a link.
bool LinkOnTheWay(HKEY root, const std::wstring& path) {
  for (size_t at = std::wcslen(kUserClasses);; ++at) {
    at = path.find(L'\\', at);
    if (IsLink(root, at == std::wstring::npos ? path : path.substr(0, at))) return true;
    if (at == std::wstring::npos) return false;
  }
}

// One default value a repair sets.
struct Change {
  HKEY root;
  std::wstring path;
  std::wstring text;
  bool command;  // an open command: the whole zero-filled 260-character buffer as REG_EXPAND_SZ,
                 // so that the environment references in it are expanded when the shell runs it
};

base::UndoJournal& Journal() {
  static base::UndoJournal journal(L"Backup\\Repairs");
  return journal;
}

bool Apply(const Change& change) {
  base::UniqueKey key;
  if (RegCreateKeyExW(change.root, change.path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                      key.receive(), nullptr) != ERROR_SUCCESS)
    return false;
  if (!change.command) return base::WriteRegistryString(key.get(), nullptr, change.text.c_str());
  wchar_t buffer[contracts::kValueChars] = {};
  base::CopyBounded(buffer, contracts::kValueChars, change.text.c_str());
  return RegSetValueExW(key.get(), nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(buffer),
                        sizeof(buffer)) == ERROR_SUCCESS;
}

bool HasDefaultValue(const base::UniqueKey& key) {
  return key && RegQueryValueExW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// What the repair sets in one classes folder (the machine's, always; the user's, where it already
// holds its own copy of the extension or of the shipped class): the extension back to the class
// Windows ships, and that class's open command (a shortcut's class identifier). The class the
// extension names now is never written: it may be a program's own, shared with other extensions.
void ChangesIn(HKEY root, bool always, const Association& row, std::vector<Change>* changes) {
  const std::wstring extension = kUserClasses + std::wstring(row.extension);
  const bool shortcut = row.extension == kShortcut;
  const std::wstring target = kUserClasses + std::wstring(row.shippedClass) + (shortcut ? kClassId : kCommand);
  base::UniqueKey extensionKey = Open(root, extension, KEY_QUERY_VALUE);
  if ((always || HasDefaultValue(extensionKey)) && DefaultValueOf(extensionKey) != row.shippedClass)
    changes->push_back({root, extension, row.shippedClass, false});
  base::UniqueKey targetKey = Open(root, target, KEY_QUERY_VALUE);
  if ((always || targetKey) && WithoutQuotes(DefaultValueOf(targetKey)) != WithoutQuotes(row.shipped))
    changes->push_back({root, target, row.shipped, !shortcut});
}

// 1 when every change was made; 0 when one could not be, or when its prior state could not be put
// in the undo journal first (then nothing is changed).
int Repair(const Association& row) {
  std::vector<Change> changes;
  ChangesIn(HKEY_LOCAL_MACHINE, true, row, &changes);
  ChangesIn(HKEY_CURRENT_USER, false, row, &changes);
  if (changes.empty()) return 1;
  std::wstring undo;
  for (const Change& change : changes) {
    std::wstring text;
    if (LinkOnTheWay(change.root, change.path) || !base::UndoOfValue(change.root, change.path, nullptr, 0, &text))
      return 0;
    undo += text;
  }
  if (!Journal().Append(undo)) return 0;
  bool all = true;
  for (const Change& change : changes) all = Apply(change) && all;
  return all ? 1 : 0;
}

std::wstring Expanded(const std::wstring& text) {
  wchar_t out[2048] = {};
  DWORD n = ExpandEnvironmentStringsW(text.c_str(), out, 2048);
  return n > 0 && n <= 2048 ? std::wstring(out) : text;
}

bool IsFile(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A program as the shell finds it: a path, a name on the search path, or a registered program name.
bool ProgramExists(const std::wstring& program) {
  if (program.empty()) return false;
  if (program.find_first_of(L"\\/:") != std::wstring::npos) return IsFile(program) || IsFile(program + L".exe");
  wchar_t found[MAX_PATH] = {};
  if (SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr) > 0 && IsFile(found)) return true;
  const std::wstring appPaths = L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  for (const std::wstring& name : {program, program + L".exe"}) {
    std::wstring registered = DefaultValueOf(Open(HKEY_LOCAL_MACHINE, appPaths + name, KEY_READ));
    if (!registered.empty() && IsFile(Expanded(WithoutQuotes(registered)))) return true;
  }
  return false;
}

// Whether a command names a program that exists. An unquoted command is read as the system reads
// one: each longer run of words up to a space is tried as the program. "%1" is the file itself.
bool NamesExistingProgram(const std::wstring& command) {
  std::wstring line = Expanded(command);
  size_t start = line.find_first_not_of(L" \t");
  if (start == std::wstring::npos) return false;
  line = line.substr(start);
  if (line[0] == L'"') {
    size_t close = line.find(L'"', 1);
    if (close == std::wstring::npos) return false;
    std::wstring program = line.substr(1, close - 1);
    return program == L"%1" || ProgramExists(program);
  }
  if (line.compare(0, 2, L"%1") == 0) return true;
  for (size_t at = line.find(L' ');; at = line.find(L' ', at + 1)) {
    if (ProgramExists(line.substr(0, at))) return true;
    if (at == std::wstring::npos) return false;
  }
}

bool ClassRegistered(const std::wstring& classId) {
  if (classId.empty() || classId.find(L'\\') != std::wstring::npos) return false;
  return Open(HKEY_CLASSES_ROOT, L"CLSID\\" + classId, KEY_READ).valid();
}

}  // namespace

extern "C" {

int WINAPI TypemendGetFileAssociation(const wchar_t* name, wchar_t* value) {
  return base::Guarded([&] {
    if (!value) return 0;
    std::wstring current = CurrentAssociation(name);
    if (!current.empty()) base::CopyBounded(value, contracts::kValueChars, current.c_str());
    return 0;
  });
}

int WINAPI TypemendGetDefaultFileAssociation(const wchar_t* name, wchar_t* value) {
  return base::Guarded([&] {
    const Association* row = FindAssociation(name);
    if (row && value) base::CopyBounded(value, contracts::kValueChars, row->shipped);
    return 0;
  });
}

int WINAPI TypemendCompare(const wchar_t* name) {
  return base::Guarded([&] {
    const Association* row = FindAssociation(name);
    std::wstring shipped = row ? row->shipped : L"";
    return WithoutQuotes(CurrentAssociation(name)) == WithoutQuotes(shipped) ? 1 : 0;
  });
}

// Points the extension back to the class Windows ships for it and mends that class's open
// command, in the machine's classes and in the user's own copies where they exist, every prior
// state journalled first. Only the sixteen known types are ever written.
int WINAPI TypemendFileAssociationRepair(const wchar_t* name) {
  return base::Guarded([&] {
    const Association* row = FindAssociation(name);
    return row ? Repair(*row) : 0;
  });
}

// A type is a problem when it opens nothing (no class, no command, a value that is no string), or
// when it is not what Windows ships and names no program (class, for a shortcut) that exists. A
// program the user chose instead is no problem.
int WINAPI TypemendCheck(const wchar_t* name) {
  return base::Guarded([&] {
    const Association* row = FindAssociation(name);
    if (!row) return 1;
    std::wstring current = CurrentAssociation(name);
    if (current.empty()) return 0;
    if (WithoutQuotes(current) == WithoutQuotes(row->shipped)) return 1;
    if (row->extension == kShortcut) return ClassRegistered(current) ? 1 : 0;
    return NamesExistingProgram(current) ? 1 : 0;
  }, 1);
}

int WINAPI TypemendSetUndoFile(const wchar_t* path) {
  return base::Guarded([&] {
    Journal().UseFile(path);
    return 1;
  });
}

}  // extern "C"
