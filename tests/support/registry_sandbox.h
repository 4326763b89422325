// Registry state for a test. A RegistrySandbox takes a key out of the way for the length of a test:
// it saves whatever the key holds (values and sub-keys, whole), deletes it, and on destruction
// deletes whatever the test left and puts the saved state back exactly. Parent keys that did not
// exist before the sandbox and are left empty are removed too, so a test leaves no empty keys.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace test {

class RegistrySandbox {
 public:
  RegistrySandbox(HKEY root, std::wstring path);
  ~RegistrySandbox();
  RegistrySandbox(const RegistrySandbox&) = delete;
  RegistrySandbox& operator=(const RegistrySandbox&) = delete;

  const std::wstring& path() const { return path_; }
  // path + "\" + sub (or path itself for an empty sub).
  std::wstring Sub(const std::wstring& sub) const;

  // Creates the key (path\sub) and sets one value in it.
  void SetString(const std::wstring& sub, const wchar_t* name, const std::wstring& value, DWORD type = REG_SZ);
  void SetDword(const std::wstring& sub, const wchar_t* name, DWORD value);
  void SetRaw(const std::wstring& sub, const wchar_t* name, DWORD type, const void* data, DWORD bytes);
  void CreateKey(const std::wstring& sub);

 private:
  struct Value {
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  struct Snapshot {
    bool existed = false;
    std::vector<Value> values;
    std::map<std::wstring, Snapshot> keys;
  };
  static Snapshot Save(HKEY key);
  static void Restore(HKEY key, const Snapshot& snapshot);

  HKEY root_;
  std::wstring path_;
  std::wstring existingAncestor_;  // the deepest ancestor of path_ that existed at construction
  Snapshot saved_;
};

// Plain helpers for checking the registry from tests.
bool KeyExists(HKEY root, const std::wstring& path);
bool ValueExists(HKEY root, const std::wstring& path, const wchar_t* name);
// The value as a string (REG_SZ or REG_EXPAND_SZ); "" when missing.
std::wstring ReadString(HKEY root, const std::wstring& path, const wchar_t* name);
DWORD ValueType(HKEY root, const std::wstring& path, const wchar_t* name);  // REG_NONE when missing
std::vector<BYTE> ReadRaw(HKEY root, const std::wstring& path, const wchar_t* name);
void DeleteKeyTree(HKEY root, const std::wstring& path);

}  // namespace test
