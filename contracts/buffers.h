// Sizes of the caller-owned output buffers of every export. The caller zeroes the buffer; the
// export writes a bounded, terminated text into it (see base/text.h).
#pragma once

namespace contracts {
constexpr int kDateChars = 100;   // last-scan dates and ages, greetings
constexpr int kValueChars = 260;  // registry values, paths, size texts
}  // namespace contracts
