// Repairing one reported problem, given back its id and repair text.
#pragma once

namespace hivescrub {

enum class RepairResult { kNotRepaired, kRepaired, kNoUndoFile };

// Judges the entry again and, when it is still the same problem, writes its undo and then deletes
// the value or key, or disables the service. kRepaired when the registry was changed; kNoUndoFile
// when the undo could not be written, so nothing was touched.
RepairResult Repair(int id, const wchar_t* text);

}  // namespace hivescrub
