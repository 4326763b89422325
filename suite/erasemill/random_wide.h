// The eight-block ChaCha20 path (random_wide.cpp), for processors with 256-bit integer registers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace erasemill {

constexpr size_t kWideBytes = 512;

// Fills the whole multiples of kWideBytes of size from state (the counter moves on); the caller
// checks first that the processor and the system support it.
void FillWide(uint32_t state[16], uint8_t* out, size_t size);

}  // namespace erasemill
