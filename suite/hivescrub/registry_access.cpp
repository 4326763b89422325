#include "registry_access.h"

#include <cwctype>

namespace hivescrub {

const wchar_t* RootName(HKEY root) {
  if (root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER";
  if (root == HKEY_LOCAL_MACHINE) return L"HKEY_LOCAL_MACHINE";
  return L"";
}

bool SplitKeyPath(const std::wstring& full, HKEY* root, std::wstring* sub) {
  static const struct {
    const wchar_t* name;
    HKEY root;
  } kRoots[] = {{L"HKEY_CURRENT_USER", HKEY_CURRENT_USER}, {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}};
  for (const auto& r : kRoots) {
    std::wstring prefix = std::wstring(r.name) + L"\\";
    if (full.size() > prefix.size() && StartsWithNoCase(full, prefix)) {
      *root = r.root;
      *sub = full.substr(prefix.size());
      // No empty component, no trailing separator: the path must name exactly one key.
      if (sub->find(L"\\\\") != std::wstring::npos || sub->back() == L'\\' || sub->front() == L'\\') return false;
      return true;
    }
  }
  return false;
}

std::wstring FullKeyPath(HKEY root, const std::wstring& sub) { return JoinKey(RootName(root), sub); }

std::wstring JoinKey(const std::wstring& parent, const std::wstring& child) {
  if (parent.empty()) return child;
  if (child.empty()) return parent;
  return parent + L"\\" + child;
}

base::UniqueKey OpenRead(HKEY parent, const std::wstring& sub) {
  base::UniqueKey key;
  if (!parent) return key;
  if (RegOpenKeyExW(parent, sub.c_str(), 0, kReadAccess, key.receive()) != ERROR_SUCCESS) key.reset();
  return key;
}

bool QueryCounts(HKEY key, KeyCounts* counts) {
  DWORD subKeys = 0, values = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return false;
  counts->subKeys = subKeys;
  counts->values = values;
  return true;
}

namespace {

// The names a key enumerates, sub-keys or values: one size query, then one call per name.
template <typename Enumerate>
std::vector<std::wstring> Names(DWORD count, DWORD longest, Enumerate enumerate) {
  std::vector<std::wstring> names;
  names.reserve(count);
  std::wstring buffer(longest + 2 > 258 ? longest + 2 : 258, L'\0');
  for (DWORD i = 0;; ++i) {
    DWORD chars = static_cast<DWORD>(buffer.size());
    LONG rc = enumerate(i, &buffer[0], &chars);
    if (rc == ERROR_MORE_DATA && buffer.size() < 32768) {  // a longer name appeared meanwhile
      buffer.assign(32768, L'\0');
      --i;
      continue;
    }
    if (rc != ERROR_SUCCESS) break;
    std::wstring name(buffer.data(), chars);
    if (name.find(L'\0') != std::wstring::npos) continue;
    names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

std::vector<std::wstring> SubKeyNames(HKEY key) {
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return {};
  return Names(count, longest, [key](DWORD i, wchar_t* name, DWORD* chars) {
    return RegEnumKeyExW(key, i, name, chars, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::wstring> ValueNames(HKEY key) {
  DWORD count = 0, longest = 0;
  if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                       nullptr) != ERROR_SUCCESS)
    return {};
  return Names(count, longest, [key](DWORD i, wchar_t* name, DWORD* chars) {
    return RegEnumValueW(key, i, name, chars, nullptr, nullptr, nullptr, nullptr);
  });
}

bool HasValue(HKEY key, const wchar_t* name, DWORD* type) {
  DWORD t = REG_NONE;
  if (RegQueryValueExW(key, name, nullptr, &t, nullptr, nullptr) != ERROR_SUCCESS) return false;
  if (type) *type = t;
  return true;
}

bool ReadDword(HKEY key, const wchar_t* name, DWORD* value) {
  DWORD type = REG_NONE, data = 0, bytes = sizeof(data);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes) != ERROR_SUCCESS) return false;
  if (type != REG_DWORD || bytes != sizeof(data)) return false;
  *value = data;
  return true;
}

std::wstring LastComponent(const std::wstring& path) {
  size_t cut = path.rfind(L'\\');
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring ParentPath(const std::wstring& path) {
  size_t cut = path.rfind(L'\\');
  return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

std::vector<std::wstring> Components(const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t cut = path.find(L'\\', start);
    if (cut == std::wstring::npos) cut = path.size();
    parts.push_back(path.substr(start, cut - start));
    start = cut + 1;
  }
  return parts;
}

bool IsWow64Path(const std::wstring& path) {
  for (const std::wstring& part : Components(path))
    if (EqualNoCase(part, L"Wow6432Node")) return true;
  return false;
}

bool EqualNoCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && _wcsnicmp(a.c_str(), b.c_str(), a.size()) == 0;
}

bool StartsWithNoCase(const std::wstring& s, const std::wstring& prefix) {
  return s.size() >= prefix.size() && _wcsnicmp(s.c_str(), prefix.c_str(), prefix.size()) == 0;
}

bool EndsWithNoCase(const std::wstring& s, const std::wstring& suffix) {
  return s.size() >= suffix.size() && _wcsicmp(s.c_str() + s.size() - suffix.size(), suffix.c_str()) == 0;
}

std::wstring Lowered(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

}  // namespace hivescrub

namespace hivescrub {
namespace {

bool MatchFrom(const std::vector<std::wstring>& key, size_t k, const std::vector<std::wstring>& pattern, size_t p) {
  if (p == pattern.size()) return k == key.size();
  const std::wstring& part = pattern[p];
  if (!part.empty() && part[0] == L'?') {
    if (k < key.size() && EqualNoCase(key[k], part.substr(1)) && MatchFrom(key, k + 1, pattern, p + 1)) return true;
    return MatchFrom(key, k, pattern, p + 1);
  }
  if (k == key.size()) return false;
  if (part != L"*" && !EqualNoCase(key[k], part)) return false;
  return MatchFrom(key, k + 1, pattern, p + 1);
}

}  // namespace

bool MatchKey(const std::wstring& key, const wchar_t* pattern) {
  if (key.empty()) return false;
  return MatchFrom(Components(key), 0, Components(pattern), 0);
}

std::wstring ReadString(HKEY key, const wchar_t* name) {
  // Most values the engine reads are short paths: one query into a stack buffer settles them.
  wchar_t buffer[MAX_PATH * 2];
  if (base::ReadRegistryString(key, name, buffer, MAX_PATH * 2)) return buffer;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS || bytes <= sizeof(buffer))
    return std::wstring();
  return base::ReadRegistryString(key, name);
}

}  // namespace hivescrub

namespace hivescrub {

bool IsLinkKey(HKEY root, const std::wstring& path) {
  base::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive()) !=
      ERROR_SUCCESS)
    return false;
  DWORD type = REG_NONE;
  return RegQueryValueExW(key.get(), L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

bool InSharedView(HKEY root, const std::wstring& path) {
  std::wstring prefix;
  bool wow64 = false;
  for (const std::wstring& part : Components(path)) {
    prefix = JoinKey(prefix, part);
    wow64 = wow64 || EqualNoCase(part, L"Wow6432Node");
    if (wow64 && IsLinkKey(root, prefix)) return true;
  }
  return false;
}

namespace {

constexpr int kMaxDepth = 512;  // the registry's own nesting limit

LONG DeleteOneKey(HKEY parent, const std::wstring& name) {
  // RegDeleteKeyExW keeps the 64-bit view in a 32-bit process; systems without it have one view.
  using Fn = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
  static const Fn deleteEx = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegDeleteKeyExW")));
  if (deleteEx) return deleteEx(parent, name.c_str(), KEY_WOW64_64KEY, 0);
  return RegDeleteKeyW(parent, name.c_str());
}

// NtDeleteKey deletes the very key a handle was opened on; RegDeleteKey opens the key again by its
// name, and a link key opened by name is its target.
using NtDeleteKeyFn = LONG(WINAPI*)(HANDLE);
NtDeleteKeyFn NtDeleteKeyFunction() {
  static const NtDeleteKeyFn function = reinterpret_cast<NtDeleteKeyFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtDeleteKey")));
  return function;
}

bool IsLink(HKEY key) {
  DWORD type = REG_NONE;
  return RegQueryValueExW(key, L"SymbolicLinkValue", nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS &&
         type == REG_LINK;
}

// Every key is opened as itself, never as what it links to: a link is deleted and not entered, so
// nothing of its target can go with it.
bool DeleteTree(HKEY parent, const std::wstring& name, int depth, NtDeleteKeyFn deleteKey) {
  if (depth > kMaxDepth) return false;
  base::UniqueKey key;
  if (RegOpenKeyExW(parent, name.c_str(), REG_OPTION_OPEN_LINK, KEY_READ | DELETE | KEY_WOW64_64KEY, key.receive()) !=
      ERROR_SUCCESS)
    return false;
  if (!IsLink(key.get())) {
    for (const std::wstring& child : SubKeyNames(key.get()))
      if (!DeleteTree(key.get(), child, depth + 1, deleteKey)) return false;
  }
  return deleteKey(key.get()) == 0;  // STATUS_SUCCESS
}

// Without a way to delete a key by its handle only a tree free of links can be deleted safely.
bool PlainTree(HKEY parent, const std::wstring& name, int depth) {
  if (depth > kMaxDepth || IsLinkKey(parent, name)) return false;
  base::UniqueKey key = OpenRead(parent, name);
  if (!key) return false;
  for (const std::wstring& child : SubKeyNames(key.get()))
    if (!PlainTree(key.get(), child, depth + 1)) return false;
  return true;
}

bool DeletePlainTree(HKEY parent, const std::wstring& name, int depth) {
  if (depth > kMaxDepth) return false;
  {
    base::UniqueKey key;
    if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ | DELETE | KEY_WOW64_64KEY, key.receive()) != ERROR_SUCCESS)
      return false;
    for (const std::wstring& child : SubKeyNames(key.get()))
      if (!DeletePlainTree(key.get(), child, depth + 1)) return false;
  }
  return DeleteOneKey(parent, name) == ERROR_SUCCESS;
}

}  // namespace

bool DeleteKeyTree(HKEY parent, const std::wstring& name) {
  if (name.empty()) return false;
  if (NtDeleteKeyFn deleteKey = NtDeleteKeyFunction()) return DeleteTree(parent, name, 0, deleteKey);
  return PlainTree(parent, name, 0) && DeletePlainTree(parent, name, 0);
}

}  // namespace hivescrub
