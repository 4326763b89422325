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
    ServiceConfig config;
    // A service changed by a model, or recorded by an earlier call that did not finish, keeps the
    // configuration recorded first.
    if (changed.count(name) || record.ReadOriginal(name, &config)) continue;
    if (scm.Read(name, &config) != Outcome::kDone) continue;  // unreadable: no model will change it
    if (!record.SaveOriginal(name, config)) return false;
  }
  return record.MarkComplete();
}

// One model's run: the configuration every service had before this run changed it, and the list of
// changed services as it stood, so that a run that fails half-way can put all of it back.
class Run {
 public:
  Run(const ServiceManager& scm, Record& record) : scm_(scm), record_(record), listed_(record.Changed()) {}

  const std::vector<std::wstring>& Listed() const { return listed_; }

  // Changes one service, its configuration before the run kept first. A service that was there when
  // it was read and is gone when it is changed vanished during the run: that is a failure too.
  bool SetStartType(const std::wstring& name, const ServiceConfig& now, DWORD startType) {
    Keep(name, now);
    return scm_.SetStartType(name, startType) == Outcome::kDone;
  }
  bool SetDelayed(const std::wstring& name, const ServiceConfig& now, bool delayed) {
    Keep(name, now);
    return scm_.SetDelayed(name, delayed);
  }

  // Puts every service this run changed back as it was, latest first, and the list of changes as it
  // stood. False when something could not be put back (a service that has vanished meanwhile has
  // nothing left to put back and does not count).
  bool Undo() {
    bool all = true;
    for (auto it = before_.rbegin(); it != before_.rend(); ++it) {
      const std::wstring& name = it->first;
      const ServiceConfig& was = it->second;
      ServiceConfig now;
      Outcome read = scm_.Read(name, &now);
      if (read == Outcome::kAbsent) continue;
      if (read == Outcome::kFailed) {
        all = false;
        continue;
      }
      if (now.startType != was.startType && scm_.SetStartType(name, was.startType) == Outcome::kFailed) all = false;
      if (was.delayed != Delayed::kUnknown && now.delayed != Delayed::kUnknown && now.delayed != was.delayed &&
          !scm_.SetDelayed(name, was.delayed == Delayed::kYes))
        all = false;
    }
    std::set<std::wstring, NoCase> listed(listed_.begin(), listed_.end());
    for (const std::wstring& name : record_.Changed())
      if (!listed.count(name) && !record_.ForgetChanged(name)) all = false;
    for (const std::wstring& name : listed_)
      if (!record_.MarkChanged(name)) all = false;
    return all;
  }

 private:
  void Keep(const std::wstring& name, const ServiceConfig& now) {
    if (kept_.insert(name).second) before_.emplace_back(name, now);
  }

  const ServiceManager& scm_;
  Record& record_;
  const std::vector<std::wstring> listed_;
  std::set<std::wstring, NoCase> kept_;
  std::vector<std::pair<std::wstring, ServiceConfig>> before_;
};

// Puts one changed service back to its recorded configuration and takes it off the list.
bool GiveBack(Run& run, const ServiceManager& scm, Record& record, const std::wstring& name) {
  if (IsProtected(name)) return record.ForgetChanged(name);  // never changed by a model
  ServiceConfig original, now;
  if (!record.ReadOriginal(name, &original)) return false;  // damaged: nothing known to give back
  Outcome read = scm.Read(name, &now);
  if (read == Outcome::kAbsent) return record.ForgetChanged(name);  // removed since: nothing to give back
  if (read == Outcome::kFailed) return false;
  if (now.startType != original.startType && !run.SetStartType(name, now, original.startType)) return false;
  if (original.delayed != Delayed::kUnknown && now.delayed != Delayed::kUnknown && now.delayed != original.delayed &&
      !run.SetDelayed(name, now, original.delayed == Delayed::kYes))
    return false;
  return record.ForgetChanged(name);
}

// Lists the model's service, so that "Windows Default" gives it back to its first record whatever
// the owner sets meanwhile, and lowers it where it starts sooner than the model asks.
bool Lower(Run& run, const ServiceManager& scm, Record& record, const Entry& entry) {
  if (IsProtected(entry.name)) return true;
  ServiceConfig now;
  Outcome read = scm.Read(entry.name, &now);
  if (read == Outcome::kAbsent) return true;  // not on this machine
  if (read == Outcome::kFailed) return false;
  ServiceConfig recorded;
  if (!record.ReadOriginal(entry.name, &recorded) && !record.SaveOriginal(entry.name, now)) return false;
  // Listed before it changes: whatever happens next, "Windows Default" gives it back.
  if (!record.MarkChanged(entry.name)) return false;
  if (now.startType >= entry.startType) return true;  // as quiet as the model asks, or quieter
  return run.SetStartType(entry.name, now, entry.startType);
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

Applied ApplyModel(int model) {
  if (model < 0 || model >= kModelCount) return Applied::kNotApplied;
  ServiceManager scm;
  Record record;
  if (!scm.Open() || !record.Open(true)) return Applied::kNotApplied;
  if (!record.Complete() && !RecordAll(scm, record)) return Applied::kNotApplied;
  // All or nothing: the first refusal ends the run and puts back what the run had changed.
  Run run(scm, record);
  bool done = true;
  for (const std::wstring& name : run.Listed()) {
    if (!(done = GiveBack(run, scm, record, name))) break;
  }
  if (done) {
    for (const Entry& entry : TableOf(model)) {
      if (!(done = Lower(run, scm, record, entry))) break;
    }
  }
  if (done) return Applied::kApplied;
  return run.Undo() ? Applied::kNotApplied : Applied::kPartly;
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
