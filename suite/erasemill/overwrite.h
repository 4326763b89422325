// The overwrite step of an erase: what each pass writes and what it covers. Kept apart from the
// rest of the erase so that a test can run it on a file it keeps open and read back every pass.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

namespace erasemill {

constexpr int kMinPasses = 1;
constexpr int kMaxPasses = 35;

enum class Pattern { kZeros, kOnes, kRandom };

// The pattern of pass (counted from 0) of passes: zeros and ones in turn, and the last pass random
// bytes (random_stream.h), so that what stays on the disk shows no pattern. Three passes are
// zeros, ones, random.
Pattern PassPattern(int pass, int passes);

// The allocation unit of the volume holding an open file, in bytes; 0 when the system does not say.
uint32_t AllocationUnit(HANDLE file);

// length rounded up to a whole number of units; false when that does not fit in 64 bits.
bool RoundUp(uint64_t length, uint32_t unit, uint64_t* rounded);

// Called once a pass is on the disk, with its number (from 0).
using PassDone = std::function<void(int pass)>;

// Overwrites one open stream (read and write access) passes times. Each pass covers the stream's
// length rounded up to the volume's allocation unit, so the slack after the end goes too; a
// sparse stream only where it holds data (its holes have nothing on the disk). A stream that takes
// less than one unit on the disk (resident in its file record) is written in place at its own
// length and never grown. Each pass is flushed to the disk before the next begins. The stream is
// left at the length the passes covered. False when a write, a flush or the random generator fails.
bool OverwriteStream(HANDLE file, int passes, const PassDone& done = nullptr);

}  // namespace erasemill
