// The edge of every DLL export: nothing thrown inside crosses into the caller. An exception becomes
// the export's fallback value, and its kind is recorded (base/fault_record.h) under the export's
// name, which the compiler supplies from the calling function.
//
//   int WINAPI ToolsThing(const wchar_t* text) {
//     return base::Guarded([&] { return Thing(text) ? 1 : 0; });       // 0 on an exception
//   }
#pragma once
#include "base/fault_record.h"

namespace base {

template <typename Body>
int Guarded(Body&& body, int fallback = 0, const char* where = __builtin_FUNCTION()) noexcept {
  try {
    return body();
  } catch (...) {
    RecordFault(where);
    return fallback;
  }
}

}  // namespace base
