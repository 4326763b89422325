#include "base/exclusions.h"

#include <windows.h>

#include "base/handles.h"
#include "base/registry.h"

namespace base {
namespace {

std::wstring Upper(std::wstring text) {
  // The invariant locale's upper case, so that a path matches the way the file system folds it.
  if (!text.empty())
    ::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.c_str(), static_cast<int>(text.size()), &text[0],
                   static_cast<int>(text.size()));
  return text;
}

std::wstring WithoutTrailingSlash(std::wstring path) {
  while (path.size() > 1 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

}  // namespace

std::wstring RegistryIdentity(int category, const std::wstring& keyPath, const std::wstring& valueName) {
  return std::to_wstring(category) + L"|" + keyPath + L"|" + valueName;
}

const wchar_t* ExclusionKindWord(ExclusionKind kind) {
  switch (kind) {
    case ExclusionKind::kRegistry: return L"Registry";
    case ExclusionKind::kFolder: return L"Folder";
    case ExclusionKind::kFile: break;
  }
  return L"File";
}

bool ExclusionKindFromWord(const wchar_t* word, ExclusionKind* kind) {
  for (ExclusionKind k : {ExclusionKind::kRegistry, ExclusionKind::kFile, ExclusionKind::kFolder}) {
    if (::lstrcmpiW(word, ExclusionKindWord(k)) == 0) {
      *kind = k;
      return true;
    }
  }
  return false;
}

bool IsDriveRoot(const std::wstring& path) {
  std::wstring p = WithoutTrailingSlash(path);
  if (p.size() == 2 && p[1] == L':') return true;
  if (p.size() == 1 && (p[0] == L'\\' || p[0] == L'/')) return true;
  if (p.size() > 2 && p[0] == L'\\' && p[1] == L'\\') {  // \\server\share with nothing below
    size_t server = p.find(L'\\', 2);
    return server == std::wstring::npos || p.find(L'\\', server + 1) == std::wstring::npos;
  }
  return false;
}

AddResult AddExclusion(const Exclusion& item) {
  std::wstring identity = item.kind == ExclusionKind::kRegistry ? item.identity : WithoutTrailingSlash(item.identity);
  if (identity.empty() || identity.size() > kMaxExclusionLength) return AddResult::kRefusedEmptyOrLong;
  if (item.kind == ExclusionKind::kFolder && IsDriveRoot(identity)) return AddResult::kRefusedDriveRoot;
  UniqueKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kExclusionsKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        key.receive(), nullptr) != ERROR_SUCCESS)
    return AddResult::kFailed;
  if (::RegQueryValueExW(key.get(), identity.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
    return AddResult::kAlreadyThere;
  const wchar_t* word = ExclusionKindWord(item.kind);
  DWORD bytes = static_cast<DWORD>((::lstrlenW(word) + 1) * sizeof(wchar_t));
  if (::RegSetValueExW(key.get(), identity.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(word), bytes) !=
      ERROR_SUCCESS)
    return AddResult::kFailed;
  return AddResult::kAdded;
}

bool RemoveExclusion(const std::wstring& identity) {
  UniqueKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kExclusionsKey, 0, KEY_SET_VALUE, key.receive()) != ERROR_SUCCESS)
    return false;
  return ::RegDeleteValueW(key.get(), identity.c_str()) == ERROR_SUCCESS;
}

std::vector<Exclusion> ReadExclusions() {
  std::vector<Exclusion> items;
  UniqueKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kExclusionsKey, 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
    return items;
  // Value names are at most 16,383 characters; anything over our own bound is not ours.
  std::wstring name(16384, L'\0');
  wchar_t data[16];
  for (DWORD i = 0;; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    LONG rc = ::RegEnumValueW(key.get(), i, &name[0], &nameLength, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;  // too long a name: skip it, keep reading
    if (nameLength == 0 || nameLength > kMaxExclusionLength) continue;
    // The kind word through the bounded reader: only a whole, terminated string that fits.
    if (!ReadRegistryString(key.get(), name.c_str(), data, sizeof(data) / sizeof(data[0]))) continue;
    Exclusion item;
    if (!ExclusionKindFromWord(data, &item.kind)) continue;
    item.identity.assign(name.c_str(), nameLength);
    if (item.kind == ExclusionKind::kFolder && IsDriveRoot(item.identity)) continue;
    items.push_back(std::move(item));
  }
  return items;
}

ExclusionSet ExclusionSet::Load() { return ExclusionSet(ReadExclusions()); }

ExclusionSet::ExclusionSet(const std::vector<Exclusion>& items) {
  for (const Exclusion& item : items) {
    switch (item.kind) {
      case ExclusionKind::kRegistry: registry_.insert(Upper(item.identity)); break;
      case ExclusionKind::kFile: files_.insert(Upper(WithoutTrailingSlash(item.identity))); break;
      case ExclusionKind::kFolder: folders_.push_back(Upper(WithoutTrailingSlash(item.identity)) + L"\\"); break;
    }
  }
}

bool ExclusionSet::ExcludesPath(const std::wstring& path) const {
  if (empty() || path.empty()) return false;
  std::wstring upper = Upper(WithoutTrailingSlash(path));
  if (files_.count(upper) != 0) return true;
  std::wstring asFolder = upper + L"\\";
  for (const std::wstring& folder : folders_) {
    if (asFolder.compare(0, folder.size(), folder) == 0) return true;
  }
  return false;
}

bool ExclusionSet::ExcludesRegistry(int category, const std::wstring& keyPath, const std::wstring& valueName) const {
  if (registry_.empty()) return false;
  return registry_.count(Upper(RegistryIdentity(category, keyPath, valueName))) != 0;
}

}  // namespace base
