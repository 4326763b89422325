// The browser settings Webmend knows: where each one lives and what Windows ships for it.
#pragma once
#include <windows.h>

namespace webmend {

struct Setting {
  const wchar_t* name;        // display name, matched exactly
  HKEY root;
  const wchar_t* key;
  const wchar_t* valueName;
  const wchar_t* generation5;  // the shipped value on NT 5.x
  const wchar_t* generation6;  // the shipped value on NT 6.x
};

// The row named exactly (case included) by name; null for anything else, null included.
const Setting* FindSetting(const wchar_t* name);

}  // namespace webmend
