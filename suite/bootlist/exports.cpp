// Bootlist.dll's exports: the start-up list, the removal of one entry, and what an entry starts.
#include "contracts/bootlist.h"

#include "base/export_guard.h"
#include "base/text.h"
#include "contracts/buffers.h"
#include "listing.h"
#include "removal.h"
#include "target.h"

namespace {

// The longest key the registry or a file path can have, with room to tell a longer one.
constexpr size_t kMaxKey = 32768;

bool ReadArgument(const wchar_t* text, std::wstring* out) {
  if (!text) return false;
  size_t n = base::LengthBounded(text, kMaxKey);
  if (n == kMaxKey) return false;
  out->assign(text, n);
  return true;
}

}  // namespace

extern "C" int WINAPI BootlistGetStartupList(HWND window) {
  return base::Guarded([&] { return bootlist::ReportStartupList(window) ? 1 : 0; });
}

extern "C" int WINAPI BootlistRemoveStartupList(int kind, const wchar_t* key) {
  return base::Guarded([&] {
    std::wstring k;
    return ReadArgument(key, &k) && bootlist::RemoveEntry(kind, k) ? 1 : 0;
  });
}

extern "C" int WINAPI BootlistGetEntryTarget(int kind, const wchar_t* commandLine, wchar_t* starts, wchar_t* program) {
  return base::Guarded([&] {
    std::wstring command;
    if (!ReadArgument(commandLine, &command)) return 0;
    bootlist::EntryTarget t = bootlist::ResolveEntry(kind, command);
    base::CopyBounded(starts, contracts::kValueChars, t.starts.c_str());
    // A program path cut short would name another file: none is given instead.
    base::CopyBounded(program, contracts::kValueChars, t.program.size() < contracts::kValueChars ? t.program.c_str() : L"");
    return t.program.empty() || t.program.size() >= contracts::kValueChars ? 0 : 1;
  });
}
