#include "pages/backup/rescue_reg.h"

#include <cstring>
#include <cwchar>
#include <map>

#include "base/handles.h"

namespace rescue {
namespace {

const wchar_t kHeaderLine[] = L"Windows Registry Editor Version 5.00";
constexpr size_t kMaxKeyPath = 32767;
constexpr size_t kMaxName = 16383;

bool Fail(std::wstring* why, const wchar_t* text) {
  if (why) *why = text;
  return false;
}

std::wstring Lower(const std::wstring& s) {
  std::wstring out = s;
  if (!out.empty()) CharLowerBuffW(&out[0], static_cast<DWORD>(out.size()));
  return out;
}

bool SplitRoot(const std::wstring& full, HKEY* root, std::wstring* below) {
  static const struct {
    const wchar_t* name;
    HKEY root;
  } kRoots[] = {{L"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER}, {L"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE}};
  for (const auto& r : kRoots) {
    size_t n = std::wcslen(r.name);
    if (full.size() > n && _wcsnicmp(full.c_str(), r.name, n) == 0) {
      *root = r.root;
      *below = full.substr(n);
      return true;
    }
  }
  return false;
}

// A key path the registry can hold: no empty, over-long or control-character component.
bool PlainKeyPath(const std::wstring& key) {
  if (key.empty() || key.size() > kMaxKeyPath) return false;
  size_t start = 0;
  for (size_t i = 0; i <= key.size(); ++i) {
    if (i == key.size() || key[i] == L'\\') {
      if (i == start || i - start > 255) return false;
      start = i + 1;
    } else if (key[i] < 32) {
      return false;
    }
  }
  return true;
}

// A quoted text at line[*at]: only the two escapes the product writes, \\ and \".
bool Unquote(const std::wstring& line, size_t* at, std::wstring* out) {
  if (*at >= line.size() || line[*at] != L'"') return false;
  out->clear();
  for (size_t i = *at + 1; i < line.size(); ++i) {
    wchar_t c = line[i];
    if (c == L'"') {
      *at = i + 1;
      return true;
    }
    if (c == L'\\') {
      if (++i >= line.size() || (line[i] != L'\\' && line[i] != L'"')) return false;
      c = line[i];
    }
    if (c < 32) return false;
    out->push_back(c);
  }
  return false;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// "01,ab,..." (already joined across continuation lines); "" is an empty value.
bool HexBytes(const std::wstring& text, std::vector<BYTE>* out) {
  out->clear();
  for (size_t i = 0; i < text.size();) {
    if (i + 2 > text.size()) return false;
    int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    out->push_back(static_cast<BYTE>(high * 16 + low));
    i += 2;
    if (i == text.size()) break;
    if (text[i] != L',' || i + 1 == text.size()) return false;
    ++i;
  }
  return true;
}

bool ParseData(const std::wstring& data, RegOp* op) {
  if (data == L"-") {
    op->type = RegOp::kDeleteValue;
    return true;
  }
  op->type = RegOp::kSetValue;
  if (!data.empty() && data[0] == L'"') {
    std::wstring text;
    size_t at = 0;
    if (!Unquote(data, &at, &text) || at != data.size()) return false;
    op->valueType = REG_SZ;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    op->data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
    return true;
  }
  if (data.compare(0, 6, L"dword:") == 0) {
    if (data.size() != 14) return false;
    DWORD v = 0;
    for (size_t i = 6; i < 14; ++i) {
      int d = HexDigit(data[i]);
      if (d < 0) return false;
      v = v * 16 + static_cast<DWORD>(d);
    }
    op->valueType = REG_DWORD;
    op->data.resize(4);
    std::memcpy(op->data.data(), &v, 4);
    return true;
  }
  size_t colon = data.find(L':');
  if (colon == std::wstring::npos) return false;
  std::wstring prefix = data.substr(0, colon);
  if (prefix == L"hex") {
    op->valueType = REG_BINARY;
  } else if (prefix.size() > 5 && prefix.compare(0, 4, L"hex(") == 0 && prefix.back() == L')' && prefix.size() <= 13) {
    DWORD type = 0;
    for (size_t i = 4; i + 1 < prefix.size(); ++i) {
      int d = HexDigit(prefix[i]);
      if (d < 0) return false;
      type = type * 16 + static_cast<DWORD>(d);
    }
    op->valueType = type;
  } else {
    return false;
  }
  return HexBytes(data.substr(colon + 1), &op->data);
}

bool ParseValueLine(const std::wstring& line, RegOp* op) {
  size_t at = 0;
  if (line[0] == L'@') {
    op->name.clear();
    at = 1;
  } else if (!Unquote(line, &at, &op->name) || op->name.size() > kMaxName) {
    return false;
  }
  if (at >= line.size() || line[at] != L'=') return false;
  return ParseData(line.substr(at + 1), op);
}

// The text between the mark and the end; false when it is not whole UTF-16 with the mark.
bool Utf16Text(const std::vector<char>& bytes, std::wstring* text) {
  if (bytes.size() < 2 || bytes.size() % 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE)
    return false;
  text->resize((bytes.size() - 2) / 2);
  if (!text->empty()) std::memcpy(&(*text)[0], bytes.data() + 2, bytes.size() - 2);
  return true;
}

std::wstring ValueId(const RegOp& op) {
  return (op.root == HKEY_CURRENT_USER ? L"u\\" : L"m\\") + Lower(op.key) + L"\n" + Lower(op.name);
}
std::wstring KeyId(const RegOp& op) { return (op.root == HKEY_CURRENT_USER ? L"u\\" : L"m\\") + Lower(op.key); }

bool IdAtOrBelow(const std::wstring& id, const std::wstring& keyId) {
  return id.compare(0, keyId.size(), keyId) == 0 && (id.size() == keyId.size() || id[keyId.size()] == L'\\' ||
                                                     id[keyId.size()] == L'\n');
}

bool Stands(const RegOp& op) {
  base::UniqueKey key;
  LONG opened = RegOpenKeyExW(op.root, op.key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive());
  switch (op.type) {
    case RegOp::kMakeKey:
      return opened == ERROR_SUCCESS;
    case RegOp::kDeleteKey:
      return opened == ERROR_FILE_NOT_FOUND;
    case RegOp::kDeleteValue:
      return opened == ERROR_FILE_NOT_FOUND ||
             (opened == ERROR_SUCCESS &&
              RegQueryValueExW(key.get(), op.name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND);
    case RegOp::kSetValue: {
      if (opened != ERROR_SUCCESS) return false;
      DWORD type = REG_NONE, size = 0;
      if (RegQueryValueExW(key.get(), op.name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
      if (type != op.valueType || size != op.data.size()) return false;
      std::vector<BYTE> stored(size + 1);
      if (RegQueryValueExW(key.get(), op.name.c_str(), nullptr, &type, stored.data(), &size) != ERROR_SUCCESS)
        return false;
      return size == op.data.size() && (size == 0 || std::memcmp(stored.data(), op.data.data(), size) == 0);
    }
  }
  return false;
}

}  // namespace

int RegText::Entries() const {
  int n = 0;
  for (size_t i = 0; i < ops.size(); ++i) {
    if (ops[i].type == RegOp::kMakeKey) {
      bool empty = i + 1 == ops.size() || ops[i + 1].type == RegOp::kMakeKey || ops[i + 1].type == RegOp::kDeleteKey;
      n += empty ? 1 : 0;
    } else {
      ++n;
    }
  }
  return n;
}

bool ReadUndoBytes(const std::wstring& path, std::vector<char>* bytes, std::wstring* why) {
  base::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail(why, L"the file cannot be read");
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size)) return Fail(why, L"the file cannot be read");
  if (size.QuadPart == 0) return Fail(why, L"the file is empty");
  if (size.QuadPart > kLargestUndoFile) return Fail(why, L"the file is too large to be an undo file");
  bytes->resize(static_cast<size_t>(size.QuadPart));
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) || read != bytes->size())
    return Fail(why, L"the file cannot be read");
  return true;
}

bool ParseRegBytes(const std::vector<char>& bytes, RegText* out, std::wstring* why) {
  std::wstring text;
  if (!Utf16Text(bytes, &text)) return Fail(why, L"the file is not registry text");
  out->ops.clear();
  out->comments.clear();
  bool header = true, inKey = false;
  HKEY root = nullptr;
  std::wstring key;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find(L'\n', at);
    bool last = end == std::wstring::npos;
    std::wstring line = text.substr(at, (last ? text.size() : end) - at);
    at = last ? text.size() : end + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    // A hex value goes on over lines ending in a backslash.
    while (!line.empty() && line.back() == L'\\' && line.find(L"=hex") != std::wstring::npos && at < text.size()) {
      line.pop_back();
      end = text.find(L'\n', at);
      std::wstring next = text.substr(at, (end == std::wstring::npos ? text.size() : end) - at);
      at = end == std::wstring::npos ? text.size() : end + 1;
      if (!next.empty() && next.back() == L'\r') next.pop_back();
      size_t first = next.find_first_not_of(L' ');
      line += first == std::wstring::npos ? std::wstring() : next.substr(first);
    }
    if (header) {
      if (line != kHeaderLine) return Fail(why, L"the file is not registry text");
      header = false;
      continue;
    }
    if (line.empty()) continue;
    if (line[0] == L';') {
      out->comments.push_back(line.substr(1));
      continue;
    }
    if (line[0] == L'[') {
      if (line.size() < 3 || line.back() != L']') return Fail(why, L"a key line is damaged");
      bool remove = line[1] == L'-';
      std::wstring full = line.substr(remove ? 2 : 1, line.size() - (remove ? 3 : 2));
      if (!SplitRoot(full, &root, &key) || !PlainKeyPath(key)) return Fail(why, L"a key line names no key the product writes");
      RegOp op;
      op.type = remove ? RegOp::kDeleteKey : RegOp::kMakeKey;
      op.root = root;
      op.key = key;
      out->ops.push_back(op);
      inKey = !remove;
      continue;
    }
    if ((line[0] != L'"' && line[0] != L'@') || !inKey) return Fail(why, L"a line is not registry text");
    RegOp op;
    op.root = root;
    op.key = key;
    if (!ParseValueLine(line, &op)) return Fail(why, L"a value line is damaged");
    out->ops.push_back(std::move(op));
  }
  if (header) return Fail(why, L"the file is not registry text");
  return true;
}

std::wstring FullKey(const RegOp& op) {
  return std::wstring(op.root == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER\\" : L"HKEY_LOCAL_MACHINE\\") + op.key;
}

bool KeyAtOrBelow(const std::wstring& key, const std::wstring& prefix) {
  return key.size() >= prefix.size() && _wcsnicmp(key.c_str(), prefix.c_str(), prefix.size()) == 0 &&
         (key.size() == prefix.size() || key[prefix.size()] == L'\\');
}

bool KeyBelow(const std::wstring& key, const std::wstring& prefix) {
  return key.size() > prefix.size() + 1 && KeyAtOrBelow(key, prefix);
}

int OpsNotInRegistry(const RegText& text) {
  // The last word on each value and key: a later deleted key takes everything below it, a later
  // value or key brings its deleted parents back.
  std::map<std::wstring, size_t> last;  // id -> op index
  size_t deletedKeys = 0;               // in last: the scans below are only needed with some
  for (size_t i = 0; i < text.ops.size(); ++i) {
    const RegOp& op = text.ops[i];
    bool isKeyOp = op.type == RegOp::kMakeKey || op.type == RegOp::kDeleteKey;
    std::wstring keyId = KeyId(op);
    if (op.type == RegOp::kDeleteKey || deletedKeys > 0) {
      for (auto it = last.begin(); it != last.end();) {
        const RegOp& earlier = text.ops[it->second];
        bool gone = op.type == RegOp::kDeleteKey ? IdAtOrBelow(it->first, keyId)
                                                 : earlier.type == RegOp::kDeleteKey && IdAtOrBelow(keyId, it->first);
        if (gone && earlier.type == RegOp::kDeleteKey) --deletedKeys;
        it = gone ? last.erase(it) : ++it;
      }
    }
    if (op.type == RegOp::kDeleteKey) ++deletedKeys;
    last[isKeyOp ? keyId : ValueId(op)] = i;
  }
  int missing = 0;
  for (const auto& entry : last) {
    size_t i = entry.second;
    const RegOp& op = text.ops[i];
    // A key that holds values is told by its values.
    if (op.type == RegOp::kMakeKey && i + 1 < text.ops.size() && text.ops[i + 1].type != RegOp::kMakeKey &&
        text.ops[i + 1].type != RegOp::kDeleteKey)
      continue;
    if (!Stands(op)) ++missing;
  }
  return missing;
}

}  // namespace rescue
