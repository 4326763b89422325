// The eight- and sixteen-block ChaCha20 paths (random_wide.cpp, random_wider.cpp), for processors
// with 256-bit and 512-bit integer registers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace erasemill {

constexpr size_t kWideBytes = 512;
constexpr size_t kWiderBytes = 1024;

// Fills the whole multiples of kWideBytes of size from state (the counter moves on); the caller
// checks first that the processor and the system support it.
void FillWide(uint32_t state[16], uint8_t* out, size_t size);
// The same for whole multiples of kWiderBytes.
void FillWider(uint32_t state[16], uint8_t* out, size_t size);

}  // namespace erasemill
