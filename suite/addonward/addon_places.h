// Where each kind of browser add-on is registered: the add-on manager page lists them from these
// keys and Addonward.dll removes them from the same keys, so what is listed is what can be removed.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace addonward {

struct Kind {
  enum Id { kToolbar, kExtensions, kMenuExt, kHelperObject } id;
  const wchar_t* type;  // "Toolbar", "Extensions", "MenuExt" or "BHO": the type the page shows and passes
  HKEY root;
  const wchar_t* path;
  bool isValue;  // an add-on is a value of the kind's key (toolbars), else a sub-key of it
};

// The kinds, in the order the page collects them.
extern const Kind kKinds[4];

// The kind of a type name (exact case), or null for a type not known.
const Kind* FindKind(const wchar_t* type);

// The keys below the kind's root that hold its add-ons: the key itself and, on 64-bit Windows, for a
// machine-wide kind the 32-bit view's copy ("SOFTWARE\Wow6432Node\..."), where a 32-bit browser's
// add-ons are registered, unless that is a link to the native key (the same add-ons again).
std::vector<std::wstring> KindKeys(const Kind& kind);

bool Is64BitWindows();

}  // namespace addonward
