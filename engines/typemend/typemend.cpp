// Typemend.dll: how Windows opens sixteen important file types — the command (or, for shortcuts,
// the class identifier) the registry gives now, the one Windows ships, and the repair.
#include "contracts/typemend.h"

#include <cwchar>
#include <string>

#include "base/handles.h"
#include "base/registry.h"
#include "base/text.h"
#include "contracts/buffers.h"

namespace {

struct Association {
  const wchar_t* extension;  // matched exactly, case included
  const wchar_t* shipped;    // stored unexpanded, capitalised as Windows ships it
};

const wchar_t kRunItself[] = L"\"%1\" %*";
const wchar_t kNotepad[] = L"%SystemRoot%\\System32\\NOTEPAD.EXE %1";
const wchar_t kScriptHost[] = L"%SystemRoot%\\System32\\Wscript.exe \"%1\" %*";
const wchar_t kShortcut[] = L".lnk";

const Association kAssociations[] = {
    {L".txt", L"%SystemRoot%\\system32\\NOTEPAD.EXE %1"},
    {L".exe", kRunItself},
    {L".com", kRunItself},
    {L".pif", kRunItself},
    {L".reg", L"regedit.exe \"%1\""},
    {L".bat", kRunItself},
    {L".scr", L"\"%1\" /S"},
    {L".chm", L"\"%SystemRoot%\\hh.exe\" %1"},
    {L".hlp", L"%SystemRoot%\\System32\\winhlp32.exe %1"},
    {L".ini", kNotepad},
    {L".inf", kNotepad},
    {L".vbs", kScriptHost},
    {kShortcut, L"{00021401-0000-0000-C000-000000000046}"},
    {L".js", kScriptHost},
    {L".cmd", kRunItself},
    {L".scf", L"%SystemRoot%\\explorer.exe"},
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

// Commands are written as the whole zero-filled 260-character buffer, as REG_EXPAND_SZ, so that
// the environment references in them are expanded when the shell runs them.
bool WriteCommand(HKEY root, const std::wstring& path, REGSAM access, const wchar_t* command) {
  base::UniqueKey key = Open(root, path, access);
  if (!key) return false;
  wchar_t buffer[contracts::kValueChars] = {};
  base::CopyBounded(buffer, contracts::kValueChars, command);
  return RegSetValueExW(key.get(), nullptr, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(buffer),
                        sizeof(buffer)) == ERROR_SUCCESS;
}

bool WriteClassId(HKEY root, const std::wstring& path, const wchar_t* classId) {
  base::UniqueKey key = Open(root, path, KEY_READ | KEY_WRITE);
  return key && base::WriteRegistryString(key.get(), nullptr, classId);
}

}  // namespace

extern "C" {

int WINAPI TypemendGetFileAssociation(const wchar_t* name, wchar_t* value) {
  try {
    if (!value) return 0;
    std::wstring current = CurrentAssociation(name);
    if (!current.empty()) base::CopyBounded(value, contracts::kValueChars, current.c_str());
    return 0;
  } catch (...) {
    return 0;
  }
}

int WINAPI TypemendGetDefaultFileAssociation(const wchar_t* name, wchar_t* value) {
  try {
    const Association* row = FindAssociation(name);
    if (row && value) base::CopyBounded(value, contracts::kValueChars, row->shipped);
    return 0;
  } catch (...) {
    return 0;
  }
}

int WINAPI TypemendCompare(const wchar_t* name) {
  try {
    const Association* row = FindAssociation(name);
    std::wstring shipped = row ? row->shipped : L"";
    return WithoutQuotes(CurrentAssociation(name)) == WithoutQuotes(shipped) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// Writes the shipped value back into the keys the type already has (the machine's and, when it
// exists, the user's own copy). Only the sixteen known types are ever written: for any other name
// there is no shipped value, and writing an empty command would break the type. Returns 1 when the
// machine's key was written.
int WINAPI TypemendFileAssociationRepair(const wchar_t* name) {
  try {
    const Association* row = FindAssociation(name);
    if (!row) return 0;
    std::wstring id = ProgramIdentifier(name);
    if (id.empty()) return 0;
    if (row->extension == kShortcut) {
      bool written = WriteClassId(HKEY_CLASSES_ROOT, id + kClassId, row->shipped);
      WriteClassId(HKEY_CURRENT_USER, kUserClasses + id + kClassId, row->shipped);
      return written ? 1 : 0;
    }
    bool written = WriteCommand(HKEY_CLASSES_ROOT, id + kCommand, KEY_WRITE, row->shipped);
    WriteCommand(HKEY_CURRENT_USER, kUserClasses + id + kCommand, KEY_READ | KEY_WRITE, row->shipped);
    return written ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

}  // extern "C"
