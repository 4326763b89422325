// Human-readable byte counts: "0 bytes", "512 bytes", "1.50 KB", "12.3 MB", "456 GB".
#pragma once
#include <cstddef>
#include <cstdint>

namespace tools {

// Three significant figures, truncated (never rounded up into the next unit), binary units.
// Writes at most capacity characters including the terminator; returns the length written.
size_t FormatFileSize(uint64_t bytes, wchar_t* out, size_t capacity);

}  // namespace tools
