#include "suite/corebrisk/optimizer.h"

#include <cwchar>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "suite/corebrisk/models.h"
#include "suite/corebrisk/record.h"
#include "suite/corebrisk/services.h"

namespace corebrisk {
namespace {

struct Entry {
  std::wstring name;
  DWORD startType;
};

struct NoCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};

std::mutex overridesLock;
bool overridden[kModelCount] = {};
std::vector<Entry> overrides[kModelCount];

std::vector<Entry> TableOf(int model) {
  {
    std::lock_guard<std::mutex> lock(overridesLock);
    if (overridden[model]) return overrides[model];
  }
  std::vector<Entry> table;
  ModelTable builtIn = BuiltInTable(model);
  for (size_t i = 0; i < builtIn.count; ++i) table.push_back(Entry{builtIn.services[i].name, builtIn.services[i].startType});
  return table;
}

bool RecordAll(const ServiceManager& scm, Record& record) {
  std::set<std::wstring, NoCase> changed;
  for (const std::wstring& name : record.Changed()) changed.insert(name);
  for (const std::wstring& name : scm.Win32Services()) {
    if (changed.count(name)) continue;  // its configuration before the change is recorded already
    ServiceConfig config;
    if (scm.Read(name, &config) != Outcome::kDone) continue;  // unreadable: no model will change it
    if (!record.SaveOriginal(name, config)) return false;
  }
  return record.MarkComplete();
}

// Puts one changed service back to its recorded configuration and takes it off the list.
bool GiveBack(const ServiceManager& scm, Record& record, const std::wstring& name) {
  if (IsProtected(name)) return record.ForgetChanged(name);  // never changed by a model
  ServiceConfig original, now;
  if (!record.ReadOriginal(name, &original)) return false;  // damaged: the service stays as it is
  Outcome read = scm.Read(name, &now);
  if (read == Outcome::kAbsent) return record.ForgetChanged(name);
  if (read == Outcome::kFailed) return false;
  if (now.startType != original.startType && scm.SetStartType(name, original.startType) != Outcome::kDone)
    return false;
  if (original.delayed != Delayed::kUnknown && now.delayed != Delayed::kUnknown && now.delayed != original.delayed &&
      !scm.SetDelayed(name, original.delayed == Delayed::kYes))
    return false;
  return record.ForgetChanged(name);
}

bool Lower(const ServiceManager& scm, Record& record, const Entry& entry) {
  if (IsProtected(entry.name)) return true;
  ServiceConfig now;
  Outcome read = scm.Read(entry.name, &now);
  if (read == Outcome::kAbsent) return true;
  if (read == Outcome::kFailed) return false;
  if (now.startType >= entry.startType) return true;  // as quiet as the model asks, or quieter
  ServiceConfig recorded;
  if (!record.ReadOriginal(entry.name, &recorded) && !record.SaveOriginal(entry.name, now)) return false;
  // Listed before it changes: whatever happens next, "Windows Default" gives it back.
  if (!record.MarkChanged(entry.name)) return false;
  return scm.SetStartType(entry.name, entry.startType) != Outcome::kFailed;
}

bool ParseTable(const wchar_t* text, std::vector<Entry>* table) {
  std::wstring all(text, base::LengthBounded(text, 64 * 1024));
  size_t at = 0;
  while (at < all.size()) {
    size_t end = all.find(L'|', at);
    if (end == std::wstring::npos) end = all.size();
    std::wstring item = all.substr(at, end - at);
    size_t equals = item.find(L'=');
    if (equals == 0 || equals == std::wstring::npos || equals > 256 || item.size() != equals + 2) return false;
    wchar_t start = item[equals + 1];
    if (start != L'3' && start != L'4') return false;
    table->push_back(Entry{item.substr(0, equals), static_cast<DWORD>(start - L'0')});
    at = end + 1;
  }
  return true;
}

}  // namespace

bool InitRecord() {
  ServiceManager scm;
  Record record;
  if (!record.Open(true)) return false;
  if (record.Complete()) return true;
  return scm.Open() && RecordAll(scm, record);
}

bool ApplyModel(int model) {
  if (model < 0 || model >= kModelCount) return false;
  ServiceManager scm;
  Record record;
  if (!scm.Open() || !record.Open(true)) return false;
  if (!record.Complete() && !RecordAll(scm, record)) return false;
  bool ok = true;
  std::set<std::wstring, NoCase> held;  // changed, but not given back: a model must not touch them
  for (const std::wstring& name : record.Changed()) {
    if (!GiveBack(scm, record, name)) {
      ok = false;
      held.insert(name);
    }
  }
  for (const Entry& entry : TableOf(model)) {
    if (held.count(entry.name)) continue;
    if (!Lower(scm, record, entry)) ok = false;
  }
  return ok;
}

int StoredModel() {
  Record record;
  return record.Open(false) ? record.Model() : 0;
}

bool StoreModel(int model) {
  Record record;
  return record.Open(true) && record.SetModel(model);
}

bool OverrideTable(int model, const wchar_t* table) {
  if (model < 1 || model >= kModelCount || !table) return false;
  std::vector<Entry> parsed;
  if (!ParseTable(table, &parsed)) return false;
  std::lock_guard<std::mutex> lock(overridesLock);
  overrides[model] = std::move(parsed);
  overridden[model] = true;
  return true;
}

}  // namespace corebrisk
