// Repairing one reported problem, given back its id and repair text.
#pragma once

namespace hivescrub {

// Judges the entry again and, when it is still the same problem, writes its undo and then deletes
// the value or key, or disables the service. Returns true when the registry was changed.
bool Repair(int id, const wchar_t* text);

}  // namespace hivescrub
