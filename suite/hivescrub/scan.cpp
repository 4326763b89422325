#include "scan.h"

#include "contracts/messages.h"
#include "contracts/report.h"
#include "registry_access.h"
#include "safelist.h"

namespace hivescrub {

namespace {
constexpr DWORD kProgressIntervalMs = 50;
}

bool Context::ClassExists(const std::wstring& name) {
  if (name.empty()) return false;
  std::wstring lowered = Lowered(name);
  auto found = classes_.find(lowered);
  if (found != classes_.end()) return found->second;
  bool exists = OpenRead(HKEY_CURRENT_USER, L"Software\\Classes\\" + name).valid() ||
                OpenRead(HKEY_LOCAL_MACHINE, L"Software\\Classes\\" + name).valid();
  classes_.emplace(std::move(lowered), exists);
  return exists;
}

Scan::Scan(HWND window, int category) : window_(window), category_(category) {}

bool Scan::Begin() {
  if (!stopped_ && !report::Send(window_, report_kind::kRegistryCategoryBegunBase + category_, L"")) stopped_ = true;
  return !stopped_;
}

void Scan::Progress(HKEY root, const std::wstring& key) {
  if (stopped_) return;
  DWORD now = GetTickCount();
  if (progressSent_ && now - lastProgress_ < kProgressIntervalMs) return;
  progressSent_ = true;
  lastProgress_ = now;
  if (!report::Send(window_, report_kind::kRegistryProgress, FullKeyPath(root, key).c_str())) stopped_ = true;
}

void Scan::Examine(const Check& check, const Entry& entry, HKEY key) {
  if (stopped_ || !key) return;
  Finding finding;
  if (!check.Judge(context_, entry, key, &finding)) return;
  if (IsSafelisted(check.id, finding.entry)) return;
  std::wstring text = ProblemReport(check.id, finding);
  if (!report::Send(window_, report_kind::kRegistryProblemBase + category_, text.c_str())) stopped_ = true;
}

void Scan::ForEachSubKey(HKEY root, const std::wstring& path, HKEY parent,
                         const std::function<void(const std::wstring&, HKEY)>& visit) {
  if (stopped_ || !parent) return;
  for (const std::wstring& name : SubKeyNames(parent)) {
    if (stopped_) return;
    std::wstring full = JoinKey(path, name);
    Progress(root, full);
    base::UniqueKey key = OpenRead(parent, name);
    if (key) visit(name, key.get());
  }
}

void Scan::ForEachSubKeyAt(HKEY root, const std::wstring& path,
                           const std::function<void(const std::wstring&, HKEY)>& visit) {
  if (stopped_ || InSharedView(root, path)) return;
  base::UniqueKey parent = OpenRead(root, path);
  ForEachSubKey(root, path, parent.get(), visit);
}

void Scan::ExamineTwoLevels(const Check& check, HKEY root, const std::wstring& path) {
  ForEachSubKeyAt(root, path, [&](const std::wstring& name, HKEY key) {
    std::wstring first = JoinKey(path, name);
    if (IsSafelisted(check.id, Entry::Key(root, first))) return;
    Examine(check, Entry::Key(root, first), key);
    ForEachSubKey(root, first, key, [&](const std::wstring& child, HKEY childKey) {
      std::wstring second = JoinKey(first, child);
      if (!IsSafelisted(check.id, Entry::Key(root, second))) Examine(check, Entry::Key(root, second), childKey);
    });
  });
}

void Scan::ExamineValues(const Check& check, HKEY root, const std::wstring& path) {
  if (stopped_ || InSharedView(root, path)) return;
  base::UniqueKey key = OpenRead(root, path);
  if (!key) return;
  Progress(root, path);
  for (const std::wstring& name : ValueNames(key.get())) {
    if (stopped_) return;
    Examine(check, Entry::Value(root, path, name), key.get());
  }
}

}  // namespace hivescrub
