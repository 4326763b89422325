// The random bytes of an erase's last pass: a ChaCha20 key stream under a key and nonce drawn from
// the system's cryptographic generator. The system generator itself is far too slow for hundreds
// of megabytes (about 5 MB/s under Wine); ChaCha20 under a secret random key is indistinguishable
// from it. Four blocks are made at a time in vector registers, eight where the processor has
// 256-bit integer registers and sixteen where it has 512-bit ones (random_wide.h).
#pragma once
#include <cstddef>
#include <cstdint>

namespace erasemill {

class RandomStream {
 public:
  // Keyed from the system's generator; false when it gave nothing.
  bool Seed();
  // Keyed with a given key and nonce, the block counter at 0 (for checking against the reference).
  void Key(const uint8_t key[32], const uint8_t nonce[8]);
  // The next bytes of the key stream; size must be a multiple of 256.
  void Fill(uint8_t* out, size_t size);
  // Moves the block counter on by blocks of 64 bytes, as if they had been made.
  void Skip(uint64_t blocks);
  // Whether Fill makes eight blocks at a time here.
  static bool WideAvailable();
  // Whether Fill makes sixteen blocks at a time here.
  static bool WiderAvailable();

 private:
  uint32_t state_[16] = {};
};

}  // namespace erasemill
