// The one registry string read of Lumaspan: REG_SZ or REG_EXPAND_SZ only, an even byte count,
// zero-terminated, bounded. Anything else reads as "".
#pragma once
#include <windows.h>
#include <cstddef>
#include <string>

namespace base {

// Reads value `name` of `key` into out (capacity characters, terminator included). On any failure
// (missing, other type, odd length, unterminated, longer than fits) out holds "" and false is returned.
bool ReadRegistryString(HKEY key, const wchar_t* name, wchar_t* out, size_t capacity);

// The same rules without a size limit (values up to 1 MB); "" on failure.
std::wstring ReadRegistryString(HKEY key, const wchar_t* name);

// Sets value `name` of `key` to text as REG_SZ, terminator included.
bool WriteRegistryString(HKEY key, const wchar_t* name, const wchar_t* text);

}  // namespace base
