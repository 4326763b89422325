#include "engines/bookvault/holding.h"

#include <windows.h>

#include <algorithm>

#include "engines/bookvault/entries.h"
#include "engines/bookvault/file_ops.h"

namespace bookvault {

bool Holding::Open() {
  taken_.clear();
  if (keep_) return CreateDirectoryW(folder_.c_str(), nullptr) != 0;
  return FreshFolder(folder_);
}

bool Holding::Take(const std::wstring& entry) {
  if (!MoveEntry(entry, Join(folder_, Leaf(entry)))) return false;
  taken_.push_back(entry);
  return true;
}

bool Holding::Undo() {
  bool all = true;
  for (auto it = taken_.rbegin(); it != taken_.rend(); ++it)
    all = MoveEntry(Join(folder_, Leaf(*it)), *it) && all;
  taken_.clear();
  RemoveDirectoryW(folder_.c_str());  // only succeeds when nothing stayed behind
  return all;
}

void Holding::Release(const std::wstring& target) {
  if (keep_) {
    for (const std::wstring& entry : taken_) {
      std::wstring held = Join(folder_, Leaf(entry));
      if (SameEntry(held, Join(target, Leaf(entry)))) DeleteEntry(held);
    }
    RemoveDirectoryW(folder_.c_str());  // only succeeds when nothing differed
  } else {
    DeleteEntry(folder_);
  }
  taken_.clear();
}

bool ReplaceEntries(const std::wstring& target, const std::vector<std::wstring>& old,
                    const std::vector<std::wstring>& incoming, Holding& holding,
                    const std::function<bool(const std::wstring& name)>& bring) {
  std::vector<std::wstring> inTheWay = old;
  for (const std::wstring& name : incoming) {
    std::wstring place = Join(target, name);
    bool known = std::any_of(inTheWay.begin(), inTheWay.end(),
                             [&](const std::wstring& path) { return SamePath(path, place); });
    if (!known && Exists(place)) inTheWay.push_back(place);
  }
  if (!holding.Open()) return false;
  for (const std::wstring& entry : inTheWay) {
    if (!holding.Take(entry)) {
      holding.Undo();
      return false;
    }
  }
  for (size_t i = 0; i < incoming.size(); ++i) {
    if (bring(incoming[i])) continue;
    // Every incoming name was free before it was brought, so what stands there now is ours.
    for (size_t j = 0; j <= i; ++j) DeleteEntry(Join(target, incoming[j]));
    holding.Undo();
    return false;
  }
  holding.Release(target);
  return true;
}

}  // namespace bookvault
