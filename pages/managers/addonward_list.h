// The browser add-ons the add-on manager page lists, read from the registry: toolbars, toolbar
// button extensions, context-menu extensions and Browser Helper Objects, from both registry views
// on 64-bit Windows, each add-on once.
#pragma once
#include <string>
#include <vector>

namespace addon_list {

// The longest name or path shown; the key is always kept whole, since it names what is removed.
constexpr size_t kMaxShown = 259;

struct Addon {
  std::wstring name;
  std::wstring type;  // "Toolbar", "Extensions", "MenuExt" or "BHO", as Addonward.dll takes it
  std::wstring path;
  std::wstring key;
};

// Every add-on with a name, in the order found: toolbars, extensions, menu extensions, then Browser
// Helper Objects. Keys that cannot be opened and values that are not strings contribute nothing.
std::vector<Addon> Collect();

}  // namespace addon_list
