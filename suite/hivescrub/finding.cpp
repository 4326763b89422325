#include "finding.h"

#include <vector>

#include "registry_access.h"

namespace hivescrub {
namespace {

const struct {
  Action action;
  const wchar_t* name;
} kActions[] = {{Action::kDeleteValue, L"DeleteValue"},
                {Action::kDeleteKey, L"DeleteKey"},
                {Action::kDisableService, L"DisableService"}};

std::wstring Escaped(const std::wstring& s) {
  std::wstring out;
  out.reserve(s.size());
  for (wchar_t c : s) {
    if (c == L'%') out += L"%25";
    else if (c == L'|') out += L"%7C";
    else if (c == L';') out += L"%3B";
    else out += c;
  }
  return out;
}

bool Unescaped(const std::wstring& s, std::wstring* out) {
  out->clear();
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != L'%') {
      *out += s[i];
      continue;
    }
    if (i + 2 >= s.size()) return false;
    std::wstring code = s.substr(i + 1, 2);
    if (code == L"25") *out += L'%';
    else if (code == L"7C" || code == L"7c") *out += L'|';
    else if (code == L"3B" || code == L"3b") *out += L';';
    else return false;
    i += 2;
  }
  return true;
}

std::wstring Shown(const std::wstring& s) {
  std::wstring out;
  size_t n = s.size() > kDisplayLimit ? kDisplayLimit - 1 : s.size();
  out.reserve(n + 1);
  for (size_t i = 0; i < n; ++i) {
    wchar_t c = s[i];
    out += c == L'|' ? L'\u00A6' : c < 32 ? L' ' : c;
  }
  if (n < s.size()) out += L'\u2026';
  return out;
}

}  // namespace

bool SameEntry(const Entry& a, const Entry& b) {
  return a.root == b.root && a.isValue == b.isValue && EqualNoCase(a.key, b.key) &&
         (!a.isValue || EqualNoCase(a.value, b.value));
}

std::wstring RepairText(const Finding& f) {
  std::wstring text;
  for (const auto& a : kActions)
    if (a.action == f.action) text = a.name;
  text += L";" + Escaped(FullKeyPath(f.entry.root, f.entry.key));
  if (f.entry.isValue) text += L";" + Escaped(f.entry.value);
  return text;
}

bool ParseRepairText(const std::wstring& text, Action* action, Entry* entry) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (;;) {
    size_t cut = text.find(L';', start);
    fields.push_back(text.substr(start, cut == std::wstring::npos ? std::wstring::npos : cut - start));
    if (cut == std::wstring::npos) break;
    start = cut + 1;
  }
  if (fields.size() != 2 && fields.size() != 3) return false;
  bool known = false;
  for (const auto& a : kActions)
    if (fields[0] == a.name) {
      *action = a.action;
      known = true;
    }
  if (!known) return false;
  std::wstring path;
  if (!Unescaped(fields[1], &path) || !SplitKeyPath(path, &entry->root, &entry->key)) return false;
  entry->isValue = fields.size() == 3;
  entry->value.clear();
  if (entry->isValue && !Unescaped(fields[2], &entry->value)) return false;
  return entry->isValue == (*action == Action::kDeleteValue);
}

std::wstring Title(const Entry& e) {
  std::wstring title = FullKeyPath(e.root, e.key);
  if (e.isValue) title += L" [" + (e.value.empty() ? std::wstring(L"(Default)") : e.value) + L"]";
  return title;
}

std::wstring DisplayText(const Finding& f) { return Shown(Title(f.entry)) + L"|" + Shown(f.detail); }

std::wstring ProblemReport(int id, const Finding& f) {
  return std::to_wstring(id) + L"|" + RepairText(f) + L"|" + DisplayText(f);
}

}  // namespace hivescrub
