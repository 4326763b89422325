#include "base/undo_journal.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/handles.h"

namespace base {

const wchar_t kRegHeader[] = L"Windows Registry Editor Version 5.00\r\n";

bool RegWritable(const std::wstring& name) {
  for (wchar_t c : name)
    if (c < 32) return false;  // a line break or control character cannot be written back exactly
  return true;
}

std::wstring RegQuoted(const std::wstring& s) {
  std::wstring out = L"\"";
  for (wchar_t c : s) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

namespace {

// A string written as text must come back with the same bytes: terminated once, at the end, with
// no character that .reg text cannot carry.
bool PlainString(const std::vector<BYTE>& data) {
  if (data.size() < 2 || data.size() % 2) return false;
  size_t chars = data.size() / 2;
  const wchar_t* s = reinterpret_cast<const wchar_t*>(data.data());
  if (s[chars - 1] != 0) return false;
  for (size_t i = 0; i + 1 < chars; ++i)
    if (s[i] < 32) return false;
  return true;
}

void AppendHex(std::wstring* out, const std::wstring& prefix, const std::vector<BYTE>& data) {
  *out += prefix;
  size_t column = prefix.size();
  wchar_t byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    swprintf(byte, 4, L"%02x", data[i]);
    *out += byte;
    column += 2;
    if (i + 1 < data.size()) {
      *out += L',';
      ++column;
      if (column > 76) {
        *out += L"\\\r\n  ";
        column = 2;
      }
    }
  }
}

std::wstring ValueName(const std::wstring& name) { return name.empty() ? std::wstring(L"@") : RegQuoted(name); }

}  // namespace

bool ExistingValueLine(HKEY key, const std::wstring& name, std::wstring* out) {
  if (!RegWritable(name)) return false;
  DWORD type = REG_NONE, bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
  std::vector<BYTE> data(bytes);
  DWORD got = bytes;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &got) != ERROR_SUCCESS)
    return false;
  data.resize(got);
  std::wstring line = ValueName(name) + L"=";
  if (type == REG_SZ && PlainString(data)) {
    line += RegQuoted(std::wstring(reinterpret_cast<const wchar_t*>(data.data()), data.size() / 2 - 1));
  } else if (type == REG_DWORD && data.size() == 4) {
    wchar_t text[16];
    DWORD v;
    std::memcpy(&v, data.data(), 4);
    swprintf(text, 16, L"dword:%08lx", static_cast<unsigned long>(v));
    line += text;
  } else if (type == REG_BINARY) {
    AppendHex(&line, L"hex:", data);
  } else {
    wchar_t prefix[24];
    swprintf(prefix, 24, L"hex(%lx):", static_cast<unsigned long>(type));
    AppendHex(&line, prefix, data);
  }
  *out += line + L"\r\n";
  return true;
}


namespace {

// The value's line; "name=-" when it does not exist. False when it cannot be read.
bool ValueLine(HKEY key, const std::wstring& name, std::wstring* out) {
  DWORD type = REG_NONE, bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) == ERROR_FILE_NOT_FOUND) {
    *out += ValueName(name) + L"=-\r\n";
    return true;
  }
  return ExistingValueLine(key, name, out);
}

std::wstring Full(HKEY root, const std::wstring& key) { return std::wstring(RootName(root)) + L"\\" + key; }

bool MakeFolders(const std::wstring& folder) {
  for (size_t at = folder.find(L'\\'); at != std::wstring::npos; at = folder.find(L'\\', at + 1))
    if (at > 0 && folder[at - 1] != L':') CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  DWORD attributes = GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[MAX_PATH * 2] = {};
  DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 2, full, nullptr);
  return n > 0 && n < MAX_PATH * 2 ? std::wstring(full, n) : std::wstring();
}

}  // namespace

const wchar_t* RootName(HKEY root) {
  if (root == HKEY_CLASSES_ROOT) return L"HKEY_CLASSES_ROOT";
  if (root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER";
  if (root == HKEY_LOCAL_MACHINE) return L"HKEY_LOCAL_MACHINE";
  if (root == HKEY_USERS) return L"HKEY_USERS";
  return L"";
}

bool UndoOfValue(HKEY root, const std::wstring& key, const wchar_t* value, REGSAM view, std::wstring* text) {
  std::wstring name = value ? value : L"";
  if (!*RootName(root) || key.empty() || !RegWritable(key) || !RegWritable(name)) return false;
  base::UniqueKey opened;
  LONG status = RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, opened.receive());
  if (status == ERROR_SUCCESS) {
    std::wstring out = L"\r\n[" + Full(root, key) + L"]\r\n";
    if (!ValueLine(opened.get(), name, &out)) return false;
    *text = out;
    return true;
  }
  if (status != ERROR_FILE_NOT_FOUND) return false;
  // The outermost missing key is the one a write creates, with everything below it.
  for (size_t at = 0;; ++at) {
    at = key.find(L'\\', at);
    std::wstring prefix = at == std::wstring::npos ? key : key.substr(0, at);
    base::UniqueKey probe;
    status = RegOpenKeyExW(root, prefix.c_str(), 0, KEY_QUERY_VALUE | view, probe.receive());
    if (status == ERROR_FILE_NOT_FOUND) {
      *text = L"\r\n[-" + Full(root, prefix) + L"]\r\n";
      return true;
    }
    if (status != ERROR_SUCCESS || at == std::wstring::npos) return false;
  }
}

std::wstring FreeJournalPath(const wchar_t* folder) {
  if (!folder || !MakeFolders(folder)) return std::wstring();
  SYSTEMTIME now;
  GetLocalTime(&now);
  wchar_t stamp[32];
  swprintf(stamp, 32, L"%04u%02u%02u%02u%02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
           now.wSecond);
  for (int n = 1; n < 100; ++n) {
    std::wstring candidate =
        FullPath(std::wstring(folder) + L"\\" + stamp + (n > 1 ? L"-" + std::to_wstring(n) : L"") + L".reg");
    if (candidate.empty()) return candidate;
    if (GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
      return candidate;
  }
  return std::wstring();
}

void UndoJournal::UseFile(const wchar_t* path) { chosen_ = path ? path : L""; }

bool UndoJournal::Append(const std::wstring& text) {
  std::wstring path = chosen_;
  if (path.empty()) {
    // The session's file goes on being used unless the user removed it meanwhile.
    if (session_.empty() || GetFileAttributesW(session_.c_str()) == INVALID_FILE_ATTRIBUTES)
      session_ = FreeJournalPath(folder_.c_str());
    path = session_;
  }
  if (path.empty()) return false;
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const bool created = GetLastError() != ERROR_ALREADY_EXISTS;
  LARGE_INTEGER size = {}, zero = {};
  if (!GetFileSizeEx(file.get(), &size) || !SetFilePointerEx(file.get(), zero, nullptr, FILE_END)) return false;
  std::wstring block = size.QuadPart == 0 ? std::wstring(1, L'\uFEFF') + kRegHeader + text : text;
  DWORD bytes = static_cast<DWORD>(block.size() * sizeof(wchar_t)), written = 0;
  bool ok = WriteFile(file.get(), block.data(), bytes, &written, nullptr) && written == bytes &&
            FlushFileBuffers(file.get());
  if (!ok) {  // the file as it was, so the undo of earlier repairs still imports
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    if (created) {
      file.reset();
      DeleteFileW(path.c_str());
    }
    return false;
  }
  path_ = path;
  return true;
}

}  // namespace base
