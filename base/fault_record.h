// What became of an exception that reached a boundary it may not cross (a DLL export, a window
// procedure, a thread's start, the program's entry). The boundary turns it into its documented
// fallback; this records the exception's kind so that a developer can see it: as a debugger string
// ("Lumaspan: <kind> stopped at <where>") and as this module's last fault, for a test or a debugger
// to read. Call it only inside a catch block.
#pragma once

namespace base {

// where: the boundary, e.g. the export's name. Never throws.
void RecordFault(const char* where) noexcept;

// The module's faults so far and the text of the last one ("" when none).
long FaultCount() noexcept;
const wchar_t* LastFault() noexcept;

}  // namespace base
