#include "pages/managers/addonward_list.h"

#include <set>

#include "suite/addonward/addon_places.h"
#include "suite/hivescrub/registry_access.h"

namespace addon_list {
namespace {

using hivescrub::OpenRead;
using hivescrub::ReadString;

std::wstring Shown(std::wstring text) {
  if (text.size() > kMaxShown) text.resize(kMaxShown);
  return text;
}

// The class an add-on names. A 32-bit add-on's class is registered in the 32-bit view first.
base::UniqueKey OpenClass(const std::wstring& id, bool wow64) {
  if (wow64) {
    base::UniqueKey key = OpenRead(HKEY_CLASSES_ROOT, L"Wow6432Node\\CLSID\\" + id);
    if (key) return key;
  }
  return OpenRead(HKEY_CLASSES_ROOT, L"CLSID\\" + id);
}

std::wstring ServerOf(HKEY classKey) {
  base::UniqueKey server = OpenRead(classKey, L"InprocServer32");
  return server ? ReadString(server.get(), nullptr) : std::wstring();
}

class Collector {
 public:
  void Add(const std::wstring& name, const addonward::Kind& kind, const std::wstring& path, const std::wstring& key) {
    // The same add-on in both views (or twice in one, by case) is one add-on: removing it removes all.
    if (name.empty() || key.empty() || !seen_.insert(std::wstring(kind.type) + L"|" + hivescrub::Lowered(key)).second)
      return;
    found_.push_back(Addon{Shown(name), kind.type, Shown(path), key});
  }

  void Toolbars(const addonward::Kind& kind, const std::wstring& place, HKEY key) {
    for (const std::wstring& id : hivescrub::ValueNames(key)) {
      if (id.empty()) continue;
      base::UniqueKey cls = OpenClass(id, hivescrub::IsWow64Path(place));
      if (cls) Add(ReadString(cls.get(), nullptr), kind, ServerOf(cls.get()), id);
    }
  }

  void Extensions(const addonward::Kind& kind, HKEY key) {
    for (const std::wstring& sub : hivescrub::SubKeyNames(key)) {
      base::UniqueKey extension = OpenRead(key, sub);
      if (!extension) continue;
      std::wstring name = ReadString(extension.get(), L"ButtonText");
      if (name.empty()) name = ReadString(extension.get(), L"MenuText");
      Add(name, kind, ReadString(extension.get(), L"HotIcon"), sub);
    }
  }

  void MenuExtensions(const addonward::Kind& kind, HKEY key) {
    for (const std::wstring& sub : hivescrub::SubKeyNames(key)) {
      // Listed by its name even when it cannot be read: the user still sees it is there.
      base::UniqueKey extension = OpenRead(key, sub);
      Add(sub, kind, extension ? ReadString(extension.get(), nullptr) : std::wstring(), sub);
    }
  }

  void HelperObjects(const addonward::Kind& kind, const std::wstring& place, HKEY key) {
    for (const std::wstring& id : hivescrub::SubKeyNames(key)) {
      base::UniqueKey cls = OpenClass(id, hivescrub::IsWow64Path(place));
      std::wstring name = cls ? ReadString(cls.get(), nullptr) : std::wstring();
      if (name.empty()) {
        base::UniqueKey own = OpenRead(key, id);
        if (own) name = ReadString(own.get(), nullptr);
      }
      Add(name, kind, cls ? ServerOf(cls.get()) : std::wstring(), id);
    }
  }

  std::vector<Addon> found_;

 private:
  std::set<std::wstring> seen_;
};

}  // namespace

std::vector<Addon> Collect() {
  Collector c;
  for (const addonward::Kind& kind : addonward::kKinds) {
    for (const std::wstring& place : addonward::KindKeys(kind)) {
      base::UniqueKey key = OpenRead(kind.root, place);
      if (!key) continue;
      switch (kind.id) {
        case addonward::Kind::kToolbar: c.Toolbars(kind, place, key.get()); break;
        case addonward::Kind::kExtensions: c.Extensions(kind, key.get()); break;
        case addonward::Kind::kMenuExt: c.MenuExtensions(kind, key.get()); break;
        case addonward::Kind::kHelperObject: c.HelperObjects(kind, place, key.get()); break;
      }
    }
  }
  return std::move(c.found_);
}

}  // namespace addon_list
