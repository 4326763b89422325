// What the engine reports and repairs: one registry entry (a key, or a value of a key), the action
// that repairs it, and why it is a problem.
#pragma once
#include <windows.h>

#include <string>

namespace hivescrub {

enum class Action { kDeleteValue, kDeleteKey, kDisableService };

struct Entry {
  HKEY root = nullptr;    // HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
  std::wstring key;       // the path below the root
  bool isValue = false;   // the problem is the value `value` of the key, not the key
  std::wstring value;     // "" is the default value

  static Entry Key(HKEY root, std::wstring key) { return Entry{root, std::move(key), false, std::wstring()}; }
  static Entry Value(HKEY root, std::wstring key, std::wstring value) {
    return Entry{root, std::move(key), true, std::move(value)};
  }
};

bool SameEntry(const Entry& a, const Entry& b);

struct Finding {
  Action action = Action::kDeleteValue;
  Entry entry;
  std::wstring detail;  // why it is a problem, naming the missing target
};

// The texts of a problem report, "id|repair text|title|detail".
//
// The repair text is "action;key path;value name" (the last field only for values). Each field
// escapes "%" as "%25", "|" as "%7C" and ";" as "%3B", so a name holding "|" round-trips exactly
// and the receiver's split at the first two "|" is never fooled.
//
// The display text is "title|detail"; the title is the full key path, followed by " [value name]"
// ("(Default)" for the default value) when the problem is a value. Inside the title and the detail
// every "|" is shown as U+00A6 and every control character as a space, and each is cut at
// kDisplayLimit characters, so the one "|" of the display text is always the separator.
constexpr size_t kDisplayLimit = 1024;

std::wstring RepairText(const Finding& finding);
bool ParseRepairText(const std::wstring& text, Action* action, Entry* entry);
std::wstring Title(const Entry& entry);
std::wstring DisplayText(const Finding& finding);
std::wstring ProblemReport(int id, const Finding& finding);

}  // namespace hivescrub
