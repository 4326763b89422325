#include "base/fault_record.h"

#include <windows.h>

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <exception>
#include <typeinfo>

namespace base {
namespace {

constexpr size_t kFaultChars = 512;

// One record per module, kept under a lock that needs no construction (a fault may come while
// static objects are made or torn down).
volatile LONG g_count = 0;
volatile LONG g_busy = 0;
wchar_t g_last[kFaultChars] = {};

// The exception's type as written in the source ("std::runtime_error"), and its what() text when
// it has one: the kind is what tells a developer where to look.
void DescribeCurrent(char* kind, size_t kindSize, const char** what) {
  *what = nullptr;
  std::type_info* type = abi::__cxa_current_exception_type();
  const char* name = type ? type->name() : "unknown exception";
  int status = -1;
  char* readable = type ? abi::__cxa_demangle(name, nullptr, nullptr, &status) : nullptr;
  std::snprintf(kind, kindSize, "%s", status == 0 && readable ? readable : name);
  std::free(readable);
  try {
    throw;
  } catch (const std::exception& e) {
    *what = e.what();
  } catch (...) {
  }
}

}  // namespace

void RecordFault(const char* where) noexcept {
  char kind[160] = {};
  const char* what = nullptr;
  try {
    DescribeCurrent(kind, sizeof(kind), &what);
  } catch (...) {
    std::snprintf(kind, sizeof(kind), "%s", "unknown exception");
  }
  wchar_t text[kFaultChars] = {};
  std::swprintf(text, kFaultChars, L"Lumaspan: %hs%hs%hs%hs stopped at %hs\n", kind, what ? " (" : "",
                what ? what : "", what ? ")" : "", where ? where : "?");
  text[kFaultChars - 1] = L'\0';
  OutputDebugStringW(text);
  while (InterlockedCompareExchange(&g_busy, 1, 0) != 0) Sleep(0);
  std::wmemcpy(g_last, text, kFaultChars);
  InterlockedIncrement(&g_count);
  InterlockedExchange(&g_busy, 0);
}

long FaultCount() noexcept { return g_count; }

const wchar_t* LastFault() noexcept { return g_last; }

}  // namespace base
