#include "engines/hivesafe/merged_check.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "base/handles.h"

namespace hivesafe {
namespace {

constexpr DWORD kLargestFile = 256u << 20;
constexpr int kValuesTried = 16;

bool ReadText(const std::wstring& path, std::wstring* text) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kLargestFile) return false;
  std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
      read != bytes.size())
    return false;
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    text->assign(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
    return true;
  }
  int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (chars <= 0) return false;
  text->resize(static_cast<size_t>(chars));
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &(*text)[0], chars);
  return true;
}

HKEY RootOf(const std::wstring& key, std::wstring* below) {
  static const struct {
    const wchar_t* name;
    HKEY root;
  } roots[] = {{L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {L"HKEY_USERS", HKEY_USERS},
               {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},   {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
               {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG}};
  for (const auto& r : roots) {
    size_t length = std::wcslen(r.name);
    if (key.compare(0, length, r.name) != 0) continue;
    if (key.size() == length) {
      below->clear();
      return r.root;
    }
    if (key[length] != L'\\') continue;
    *below = key.substr(length + 1);
    return r.root;
  }
  return nullptr;
}

// Reads a quoted text at text[*at] (on the opening quote) up to its closing quote, undoing the
// editor's escapes; false on an escape it does not write or a missing closing quote.
bool Quoted(const std::wstring& text, size_t* at, std::wstring* out) {
  out->clear();
  for (size_t i = *at + 1; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'"') {
      *at = i + 1;
      return true;
    }
    if (c == L'\\') {
      if (++i >= text.size()) return false;
      c = text[i];
      if (c == L'n') c = L'\n';
      else if (c != L'\\' && c != L'"') return false;
    }
    out->push_back(c);
  }
  return false;
}

// A "name"=data line whose value stands in the key with that data: 1 yes, 0 no, -1 not checkable.
int Check(const std::wstring& key, const std::wstring& line) {
  std::wstring name;
  size_t at = 0;
  if (line[0] == L'@') {
    at = 1;
  } else if (!Quoted(line, &at, &name)) {
    return -1;
  }
  if (at >= line.size() || line[at] != L'=') return -1;
  ++at;
  std::wstring below;
  HKEY root = RootOf(key, &below);
  if (!root) return -1;
  std::wstring data;
  DWORD dword = 0;
  bool isText = false;
  if (at < line.size() && line[at] == L'"') {
    if (!Quoted(line, &at, &data) || at != line.size()) return -1;
    isText = true;
  } else if (line.compare(at, 6, L"dword:") == 0 && line.size() == at + 14) {
    wchar_t* end = nullptr;
    dword = static_cast<DWORD>(std::wcstoul(line.c_str() + at + 6, &end, 16));
    if (*end) return -1;
  } else {
    return -1;
  }
  base::UniqueKey opened;
  if (RegOpenKeyExW(root, below.c_str(), 0, KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS) return 0;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return 0;
  std::vector<BYTE> stored(bytes + sizeof(wchar_t), 0);
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, stored.data(), &bytes) != ERROR_SUCCESS) return 0;
  if (!isText) return type == REG_DWORD && bytes == sizeof(DWORD) && *reinterpret_cast<DWORD*>(stored.data()) == dword;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return 0;
  std::wstring value(reinterpret_cast<const wchar_t*>(stored.data()), bytes / sizeof(wchar_t));
  while (!value.empty() && value.back() == L'\0') value.pop_back();
  return value == data ? 1 : 0;
}

}  // namespace

bool LooksMerged(const std::wstring& file) {
  std::wstring text;
  if (!ReadText(file, &text)) return false;
  size_t at = 0;
  bool header = true;
  std::wstring key;
  int tried = 0;
  while (at < text.size() && tried < kValuesTried) {
    size_t end = text.find(L'\n', at);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(at, end - at);
    at = end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (header) {
      if (line != L"Windows Registry Editor Version 5.00" && line != L"REGEDIT4") return false;
      header = false;
      continue;
    }
    if (line.empty()) continue;
    if (line[0] == L'[') {
      // A key that the file deletes ("[-…]") has no values to find.
      key = line.size() > 2 && line.back() == L']' && line[1] != L'-' ? line.substr(1, line.size() - 2) : L"";
      continue;
    }
    if (key.empty() || (line[0] != L'"' && line[0] != L'@')) continue;
    int checked = Check(key, line);
    if (checked == 1) return true;
    if (checked == 0) ++tried;
  }
  return false;
}

}  // namespace hivesafe
