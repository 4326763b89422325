#include "safelist.h"

#include <vector>

#include "checks.h"
#include "registry_access.h"

namespace hivescrub {
namespace {

enum class Scope { kKey, kTree };

struct Row {
  int check;            // 0: every check and every repair
  HKEY root;            // null: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE
  const wchar_t* key;   // a MatchKey pattern ("*" for any one component)
  Scope scope;          // the key alone, or the key and everything below it
  const wchar_t* reason;
  const wchar_t* value = nullptr;  // only this value of the key

};

constexpr HKEY kBoth = nullptr;
const HKEY kMachine = HKEY_LOCAL_MACHINE;

const Row kRows[] = {
    // Keys never touched by any repair.
    {0, kBoth, L"Software", Scope::kKey, L"the top of the hive's software settings"},
    {0, kBoth, L"Software\\Classes", Scope::kKey, L"the root of every class registration"},
    {0, kBoth, L"Software\\Microsoft", Scope::kKey, L"the root of Windows' own settings"},
    {0, kBoth, L"Software\\Wow6432Node", Scope::kKey, L"the root of the 32-bit view"},
    {0, kBoth, L"Software\\Wow6432Node\\Microsoft", Scope::kKey, L"the root of Windows' own 32-bit settings"},
    {0, kBoth, L"Software\\Wow6432Node\\Classes", Scope::kKey, L"the root of the 32-bit class registrations"},
    {0, kBoth, L"Software\\Classes\\CLSID", Scope::kKey, L"the root of every COM class"},
    {0, kBoth, L"Software\\Classes\\TypeLib", Scope::kKey, L"the root of every type library"},
    {0, kBoth, L"Software\\Policies", Scope::kTree, L"set by administrators; a policy key means something even when empty"},
    {0, kBoth, L"Software\\Wow6432Node\\Policies", Scope::kTree, L"set by administrators; a policy key means something even when empty"},
    {0, kBoth, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies", Scope::kTree, L"set by administrators; a policy key means something even when empty"},
    {0, kBoth, L"Software\\Lumaspan Software", Scope::kTree, L"the suite's own settings"},
    {0, kMachine, L"SYSTEM\\CurrentControlSet\\Control", Scope::kTree, L"boot and driver configuration"},
    {0, kMachine, L"SYSTEM\\CurrentControlSet\\Enum", Scope::kTree, L"the devices' configuration"},

    // Services Windows cannot start or stay up without: even with their program missing they are
    // left to Windows' own repair tools.
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\RpcSs", Scope::kKey, L"COM and RPC depend on it"},
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\DcomLaunch", Scope::kKey, L"COM servers start through it"},
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\PlugPlay", Scope::kKey, L"devices are set up through it"},
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\EventLog", Scope::kKey, L"Windows logs through it"},
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\SamSs", Scope::kKey, L"logon depends on it"},
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\Power", Scope::kKey, L"power management depends on it"},

    // Program keys: Windows' own components and class registrations are no programs' settings.
    {kSoftwareFolder, kBoth, L"Software\\Microsoft", Scope::kTree, L"Windows' own components, kept by Windows' servicing"},
    {kSoftwareFolder, kBoth, L"Software\\Wow6432Node\\Microsoft", Scope::kTree, L"Windows' own components, kept by Windows' servicing"},
    {kSoftwareFolder, kBoth, L"Software\\Classes", Scope::kTree, L"class registrations, judged by their own categories"},
    {kSoftwareFolder, kBoth, L"Software\\Wow6432Node\\Classes", Scope::kTree, L"class registrations, judged by their own categories"},
    {kSoftwareFolder, kBoth, L"Software\\Wine", Scope::kTree, L"Wine's own configuration"},
    {kSoftwareFolder, kBoth, L"Software\\Wow6432Node", Scope::kKey, L"the 32-bit view, walked as a root of its own"},

    // Empty keys whose presence means something.
    {kEmptyKey, kBoth, L"Software\\Microsoft", Scope::kTree, L"Windows creates empty keys here that its components and servicing expect"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\Microsoft", Scope::kTree, L"Windows creates empty keys here that its components and servicing expect"},
    {kEmptyKey, kBoth, L"Software\\Classes", Scope::kTree, L"an empty class or extension key still registers the name"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\Classes", Scope::kTree, L"an empty class or extension key still registers the name"},
    {kEmptyKey, kBoth, L"Software\\Clients", Scope::kTree, L"mail, browser and media clients are found by the presence of their keys"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\Clients", Scope::kTree, L"mail, browser and media clients are found by the presence of their keys"},
    {kEmptyKey, kBoth, L"Software\\RegisteredApplications", Scope::kKey, L"Default Programs reads the list even when it is empty"},
    {kEmptyKey, kBoth, L"Software\\Registered Applications", Scope::kKey, L"Wine's name of the Default Programs list, read even when empty"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\Registered Applications", Scope::kKey, L"Wine's name of the Default Programs list, read even when empty"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\RegisteredApplications", Scope::kKey, L"Default Programs reads the list even when it is empty"},
    {kEmptyKey, kBoth, L"Software\\ODBC", Scope::kTree, L"data source keys exist as markers"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\ODBC", Scope::kTree, L"data source keys exist as markers"},
    {kEmptyKey, kBoth, L"Software\\Wine", Scope::kTree, L"Wine's own configuration: its empty keys are its defaults"},
    {kEmptyKey, kBoth, L"Software\\Wow6432Node\\Wine", Scope::kTree, L"Wine's own configuration: its empty keys are its defaults"},

    // Entries that Wine ships broken.
    {kService, kMachine, L"SYSTEM\\CurrentControlSet\\Services\\FontCache3.0.0.0", Scope::kKey,
     L"Wine registers the WPF font cache service without the .NET files that hold its program"},
    {kFont, kMachine, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", Scope::kKey,
     L"Wine registers the MS Serif bitmap font under a file name it does not ship", L"MS Serif"},
};

bool RowCovers(const Row& row, const std::vector<std::wstring>& parts) {
  std::wstring prefix;
  for (size_t i = 0; i < parts.size(); ++i) {
    prefix = JoinKey(prefix, parts[i]);
    bool last = i + 1 == parts.size();
    if ((last || row.scope == Scope::kTree) && MatchKey(prefix, row.key)) return true;
  }
  return false;
}

// Whether a key protected by the row lies below the key being deleted.
bool RowBelow(const Row& row, const std::wstring& key, size_t depth) {
  std::vector<std::wstring> pattern = Components(row.key);
  if (pattern.size() <= depth) return false;
  std::wstring head;
  for (size_t i = 0; i < depth; ++i) head = JoinKey(head, pattern[i]);
  return MatchKey(key, head.c_str());
}

}  // namespace

const wchar_t* SafelistReason(int check, const Entry& entry) {
  std::vector<std::wstring> parts = Components(entry.key);
  for (const Row& row : kRows) {
    if (row.check != 0 && row.check != check) continue;
    if (row.root && row.root != entry.root) continue;
    if (row.value && (!entry.isValue || !EqualNoCase(entry.value, row.value))) continue;
    if (RowCovers(row, parts)) return row.reason;
    if (!entry.isValue && row.check == 0 && RowBelow(row, entry.key, parts.size())) return row.reason;
  }
  return nullptr;
}

bool IsSafelisted(int check, const Entry& entry) { return SafelistReason(check, entry) != nullptr; }

}  // namespace hivescrub
