// The registry of browser add-ons for a test: the add-on keys of both registry views and the classes
// the test registers are taken out of the way and put back afterwards, and add-ons of each kind are
// seeded the way installers register them.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/registry_sandbox.h"

namespace addon_test {

enum class View { kNative, k32Bit };

class AddonRegistry {
 public:
  AddonRegistry();

  // Whether this system has a 32-bit view whose add-on keys are keys of their own.
  static bool Has32BitView();
  // The add-on key of a kind ("Toolbar", "Extensions", "BHO": machine-wide; "MenuExt": the user's) in
  // a view, below its root.
  static std::wstring KeyOf(const wchar_t* type, View view = View::kNative);
  static HKEY RootOf(const wchar_t* type);

  // A class under HKEY_CLASSES_ROOT\CLSID (or its 32-bit view) with a name and an in-process server;
  // a null name leaves the default value unset.
  void Class(const std::wstring& id, const wchar_t* name, const std::wstring& server, View view = View::kNative);
  void Toolbar(const std::wstring& id, View view = View::kNative);
  // An extension's values: ButtonText, MenuText, HotIcon (null: not set).
  void Extension(const std::wstring& key, const wchar_t* button, const wchar_t* menu, const wchar_t* icon);
  void MenuExt(const std::wstring& name, const std::wstring& target);
  void Helper(const std::wstring& id, const wchar_t* ownName, View view = View::kNative);

  test::RegistrySandbox& Sandbox(const wchar_t* type, View view = View::kNative);

 private:
  std::vector<std::unique_ptr<test::RegistrySandbox>> keys_;
  std::vector<std::unique_ptr<test::RegistrySandbox>> classes_;
};

}  // namespace addon_test
