// The system optimizer's work: the record taken once, the models applied and given back.
//
// A model only ever lowers a start type (automatic -> manual -> disabled): a service the owner set
// lower than the model asks stays as it is, so no model switches anything on. Every service of the
// model goes on the record's list of changes (its configuration of the first record kept); applying
// any model first gives back every service on that list to that first record, so models never add
// up and "Windows Default" (model 0) is exactly that giving back.
#pragma once
#include <windows.h>

namespace corebrisk {

// Records every Win32 service's configuration unless the record is complete already.
bool InitRecord();
enum class Applied { kApplied, kNotApplied, kPartly };
// Gives back every changed service, then applies the table of model 0-5, all or nothing: at the
// first refusal every service the run changed is put back as it was before the run (kNotApplied),
// kPartly when even that was refused. A service absent from this machine counts as done; one that
// vanishes while the model is applied counts as refused.
Applied ApplyModel(int model);
int StoredModel();
bool StoreModel(int model);
// Replaces the table of model 1-5 for this process ("name=3|name=4"); false, changing nothing, for
// a malformed table.
bool OverrideTable(int model, const wchar_t* table);

}  // namespace corebrisk
