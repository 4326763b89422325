#include "tests/addonward/addon_registry.h"

#include <gtest/gtest.h>

#include "suite/addonward/addon_places.h"

namespace addon_test {

namespace {
const wchar_t* const kTypes[] = {L"Toolbar", L"Extensions", L"MenuExt", L"BHO"};
}

bool AddonRegistry::Has32BitView() { return addonward::KindKeys(*addonward::FindKind(L"Toolbar")).size() == 2; }

std::wstring AddonRegistry::KeyOf(const wchar_t* type, View view) {
  std::vector<std::wstring> keys = addonward::KindKeys(*addonward::FindKind(type));
  return view == View::k32Bit && keys.size() == 2 ? keys[1] : keys[0];
}

HKEY AddonRegistry::RootOf(const wchar_t* type) { return addonward::FindKind(type)->root; }

AddonRegistry::AddonRegistry() {
  for (const wchar_t* type : kTypes) {
    keys_.push_back(std::make_unique<test::RegistrySandbox>(RootOf(type), KeyOf(type)));
    bool separate = KeyOf(type, View::k32Bit) != KeyOf(type);
    keys_.push_back(separate ? std::make_unique<test::RegistrySandbox>(RootOf(type), KeyOf(type, View::k32Bit)) : nullptr);
  }
}

test::RegistrySandbox& AddonRegistry::Sandbox(const wchar_t* type, View view) {
  for (size_t i = 0; i < 4; ++i) {
    if (wcscmp(kTypes[i], type) != 0) continue;
    test::RegistrySandbox* s = keys_[2 * i + (view == View::k32Bit ? 1 : 0)].get();
    return s ? *s : *keys_[2 * i];
  }
  ADD_FAILURE() << "no add-on type " << testing::PrintToString(std::wstring(type));
  return *keys_[0];
}

void AddonRegistry::Class(const std::wstring& id, const wchar_t* name, const std::wstring& server, View view) {
  std::wstring classes = view == View::k32Bit && Has32BitView() ? L"Software\\Classes\\Wow6432Node\\CLSID\\"
                                                                  : L"Software\\Classes\\CLSID\\";
  classes_.push_back(std::make_unique<test::RegistrySandbox>(HKEY_LOCAL_MACHINE, classes + id));
  if (name) classes_.back()->SetString(L"", nullptr, name);
  classes_.back()->SetString(L"InprocServer32", nullptr, server);
  classes_.back()->SetString(L"InprocServer32", L"ThreadingModel", L"Apartment");
}

void AddonRegistry::Toolbar(const std::wstring& id, View view) {
  BYTE none[1] = {};
  Sandbox(L"Toolbar", view).SetRaw(L"", id.c_str(), REG_BINARY, none, 0);
}

void AddonRegistry::Extension(const std::wstring& key, const wchar_t* button, const wchar_t* menu, const wchar_t* icon) {
  test::RegistrySandbox& s = Sandbox(L"Extensions");
  s.CreateKey(key);
  s.SetString(key, L"CLSID", L"{1FBA04EE-3024-11D2-8F1F-0000F87ABD16}");
  if (button) s.SetString(key, L"ButtonText", button);
  if (menu) s.SetString(key, L"MenuText", menu);
  if (icon) s.SetString(key, L"HotIcon", icon);
}

void AddonRegistry::MenuExt(const std::wstring& name, const std::wstring& target) {
  Sandbox(L"MenuExt").SetString(name, nullptr, target);
  Sandbox(L"MenuExt").SetDword(name, L"Contexts", 0x22);
}

void AddonRegistry::Helper(const std::wstring& id, const wchar_t* ownName, View view) {
  test::RegistrySandbox& s = Sandbox(L"BHO", view);
  s.CreateKey(id);
  if (ownName) s.SetString(id, nullptr, ownName);
  s.SetDword(id, L"NoExplorer", 1);
}

}  // namespace addon_test
