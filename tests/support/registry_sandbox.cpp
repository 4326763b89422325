#include "tests/support/registry_sandbox.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include "base/handles.h"

namespace test {

RegistrySandbox::Snapshot RegistrySandbox::Save(HKEY key) {
  Snapshot s;
  s.existed = true;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameChars = 16384, type = 0, bytes = 0;
    LONG rc = RegEnumValueW(key, i, name, &nameChars, nullptr, &type, nullptr, &bytes);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    Value v{std::wstring(name, nameChars), type, std::vector<BYTE>(bytes)};
    DWORD got = bytes;
    RegQueryValueExW(key, v.name.c_str(), nullptr, &type, v.data.empty() ? nullptr : v.data.data(), &got);
    v.data.resize(got);
    s.values.push_back(std::move(v));
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameChars = 256;
    LONG rc = RegEnumKeyExW(key, i, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    base::UniqueKey child;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, child.receive()) == ERROR_SUCCESS)
      s.keys[std::wstring(name, nameChars)] = Save(child.get());
  }
  return s;
}

void RegistrySandbox::Restore(HKEY key, const Snapshot& snapshot) {
  for (const Value& v : snapshot.values)
    RegSetValueExW(key, v.name.c_str(), 0, v.type, v.data.empty() ? nullptr : v.data.data(),
                   static_cast<DWORD>(v.data.size()));
  for (const auto& [name, child] : snapshot.keys) {
    base::UniqueKey sub;
    if (RegCreateKeyExW(key, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, sub.receive(), nullptr) ==
        ERROR_SUCCESS)
      Restore(sub.get(), child);
  }
}

RegistrySandbox::RegistrySandbox(HKEY root, std::wstring path) : root_(root), path_(std::move(path)) {
  existingAncestor_ = path_;
  do {
    size_t cut = existingAncestor_.rfind(L'\\');
    existingAncestor_ = cut == std::wstring::npos ? std::wstring() : existingAncestor_.substr(0, cut);
  } while (!existingAncestor_.empty() && !KeyExists(root_, existingAncestor_));
  base::UniqueKey key;
  if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS) {
    saved_ = Save(key.get());
    key.reset();
    DeleteKeyTree(root_, path_);
  }
}

RegistrySandbox::~RegistrySandbox() {
  DeleteKeyTree(root_, path_);
  if (!saved_.existed) {
    // The parents made on the way to the key go too, as long as nothing else was put in them.
    for (std::wstring parent = path_;;) {
      size_t cut = parent.rfind(L'\\');
      if (cut == std::wstring::npos) break;
      parent.resize(cut);
      if (parent.size() <= existingAncestor_.size()) break;
      DWORD subKeys = 1, values = 1;
      base::UniqueKey key;
      if (RegOpenKeyExW(root_, parent.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS ||
          RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS ||
          subKeys != 0 || values != 0)
        break;
      key.reset();
      if (RegDeleteKeyW(root_, parent.c_str()) != ERROR_SUCCESS) break;
    }
    return;
  }
  base::UniqueKey key;
  if (RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.receive(), nullptr) ==
      ERROR_SUCCESS)
    Restore(key.get(), saved_);
}

std::wstring RegistrySandbox::Sub(const std::wstring& sub) const { return sub.empty() ? path_ : path_ + L"\\" + sub; }

void RegistrySandbox::CreateKey(const std::wstring& sub) {
  base::UniqueKey key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root_, Sub(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           key.receive(), nullptr));
}

void RegistrySandbox::SetRaw(const std::wstring& sub, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
  base::UniqueKey key;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root_, Sub(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           key.receive(), nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), name, 0, type, static_cast<const BYTE*>(data), bytes));
}

void RegistrySandbox::SetString(const std::wstring& sub, const wchar_t* name, const std::wstring& value, DWORD type) {
  SetRaw(sub, name, type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void RegistrySandbox::SetDword(const std::wstring& sub, const wchar_t* name, DWORD value) {
  SetRaw(sub, name, REG_DWORD, &value, sizeof(value));
}

bool KeyExists(HKEY root, const std::wstring& path) {
  base::UniqueKey key;
  return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::wstring& path, const wchar_t* name) { return ValueType(root, path, name) != REG_NONE; }

DWORD ValueType(HKEY root, const std::wstring& path, const wchar_t* name) {
  base::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return REG_NONE;
  DWORD type = REG_NONE;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) return REG_NONE;
  return type;
}

std::vector<BYTE> ReadRaw(HKEY root, const std::wstring& path, const wchar_t* name) {
  base::UniqueKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) return {};
  DWORD bytes = 0, type = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
  std::vector<BYTE> data(bytes);
  if (RegQueryValueExW(key.get(), name, nullptr, &type, data.empty() ? nullptr : data.data(), &bytes) != ERROR_SUCCESS)
    return {};
  data.resize(bytes);
  return data;
}

std::wstring ReadString(HKEY root, const std::wstring& path, const wchar_t* name) {
  DWORD type = ValueType(root, path, name);
  if (type != REG_SZ && type != REG_EXPAND_SZ) return L"";
  std::vector<BYTE> raw = ReadRaw(root, path, name);
  std::wstring s(reinterpret_cast<const wchar_t*>(raw.data()), raw.size() / sizeof(wchar_t));
  while (!s.empty() && s.back() == L'\0') s.pop_back();
  return s;
}

void DeleteKeyTree(HKEY root, const std::wstring& path) {
  if (path.empty()) return;  // never the whole root
  SHDeleteKeyW(root, path.c_str());
}

}  // namespace test
