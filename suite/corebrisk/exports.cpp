// Corebrisk.dll: the exports. Nothing is thrown past them.
#include "contracts/corebrisk.h"

#include "base/export_guard.h"
#include "base/text.h"
#include "suite/corebrisk/optimizer.h"

extern "C" {

int WINAPI CorebriskInitRegistry(void) {
  return base::Guarded([&] { return corebrisk::InitRecord() ? 1 : 0; });
}

int WINAPI CorebriskGetType(void) {
  return base::Guarded([&] { return corebrisk::StoredModel(); }, -1);
}

int WINAPI CorebriskLoadFile(int model) {
  return base::Guarded([&] {
    switch (corebrisk::ApplyModel(model)) {
      case corebrisk::Applied::kApplied: return 1;
      case corebrisk::Applied::kNotApplied: return 0;
      case corebrisk::Applied::kPartly: return -1;
    }
    return -1;
  }, -1);  // what was changed before is not known
}

int WINAPI CorebriskSetType(const wchar_t* model) {
  return base::Guarded([&] {
    if (base::LengthBounded(model, 2) != 1 || model[0] < L'0' || model[0] > L'5') return 0;
    return corebrisk::StoreModel(model[0] - L'0') ? 1 : 0;
  });
}

int WINAPI CorebriskSetModelTable(int model, const wchar_t* table) {
  return base::Guarded([&] { return corebrisk::OverrideTable(model, table) ? 1 : 0; });
}

}  // extern "C"
