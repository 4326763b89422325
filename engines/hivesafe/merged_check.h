// Whether a registry editor file has been merged: the registry editor reports success whatever it
// did on some systems, so the file's own values are read back.
#pragma once
#include <string>

namespace hivesafe {

// True when the file is a registry editor file ("Windows Registry Editor Version 5.00" in UTF-16,
// or "REGEDIT4") and one of its first plain values (a string or a dword, up to 16 tried, so that a
// volatile one does not decide) stands in the registry now with the file's data. A damaged or
// foreign file, or one without such a value, is false.
bool LooksMerged(const std::wstring& file);

}  // namespace hivesafe
