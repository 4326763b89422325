#include "suite/erasemill/random_stream.h"

#include <windows.h>
#include <ntsecapi.h>

#include <cstring>

#include "suite/erasemill/random_wide.h"

namespace erasemill {
namespace {

typedef uint32_t Lanes __attribute__((vector_size(16)));  // one state word of four blocks

inline uint32_t Load32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// By reference: a vector passed by value changes the i686 calling convention.
inline void Rotate(Lanes& x, int n) { x = (x << n) | (x >> (32 - n)); }

inline void Quarter(Lanes& a, Lanes& b, Lanes& c, Lanes& d) {
  a += b, d ^= a, Rotate(d, 16);
  c += d, b ^= c, Rotate(b, 12);
  a += b, d ^= a, Rotate(d, 8);
  c += d, b ^= c, Rotate(b, 7);
}

}  // namespace

bool RandomStream::Seed() {
  uint8_t secret[40];
  if (!RtlGenRandom(secret, sizeof(secret))) return false;
  Key(secret, secret + 32);
  SecureZeroMemory(secret, sizeof(secret));
  return true;
}

void RandomStream::Key(const uint8_t key[32], const uint8_t nonce[8]) {
  static const uint8_t kSigma[] = "expand 32-byte k";
  for (int i = 0; i < 4; ++i) state_[i] = Load32(kSigma + 4 * i);
  for (int i = 0; i < 8; ++i) state_[4 + i] = Load32(key + 4 * i);
  state_[12] = state_[13] = 0;  // the 64-bit block counter
  state_[14] = Load32(nonce);
  state_[15] = Load32(nonce + 4);
}

bool RandomStream::WideAvailable() {
  // The processor's flag and the system's saving of the wide registers, both checked by the compiler's
  // run-time support.
  static const bool available = __builtin_cpu_supports("avx2");
  return available;
}

bool RandomStream::WiderAvailable() {
  static const bool available = __builtin_cpu_supports("avx512f");
  return available;
}

void RandomStream::Skip(uint64_t blocks) {
  uint64_t counter = ((uint64_t(state_[13]) << 32) | state_[12]) + blocks;
  state_[12] = static_cast<uint32_t>(counter);
  state_[13] = static_cast<uint32_t>(counter >> 32);
}

void RandomStream::Fill(uint8_t* out, size_t size) {
  size_t at = 0;
  if (WiderAvailable()) {
    at = size - size % kWiderBytes;
    FillWider(state_, out, at);
  }
  if (WideAvailable()) {
    size_t wide = (size - at) - (size - at) % kWideBytes;
    FillWide(state_, out + at, wide);
    at += wide;
  }
  for (; at + 256 <= size; at += 256) {
    Lanes input[16], x[16];
    for (int i = 0; i < 16; ++i) input[i] = Lanes{state_[i], state_[i], state_[i], state_[i]};
    // Blocks counter + 0..3, the carry into the counter's high word included.
    uint64_t counter = (uint64_t(state_[13]) << 32) | state_[12];
    for (int lane = 0; lane < 4; ++lane) {
      input[12][lane] = static_cast<uint32_t>(counter + lane);
      input[13][lane] = static_cast<uint32_t>((counter + lane) >> 32);
    }
    std::memcpy(x, input, sizeof(x));
    for (int round = 0; round < 10; ++round) {
      Quarter(x[0], x[4], x[8], x[12]);
      Quarter(x[1], x[5], x[9], x[13]);
      Quarter(x[2], x[6], x[10], x[14]);
      Quarter(x[3], x[7], x[11], x[15]);
      Quarter(x[0], x[5], x[10], x[15]);
      Quarter(x[1], x[6], x[11], x[12]);
      Quarter(x[2], x[7], x[8], x[13]);
      Quarter(x[3], x[4], x[9], x[14]);
    }
    for (int i = 0; i < 16; ++i) {
      Lanes word = x[i] + input[i];
      for (int lane = 0; lane < 4; ++lane) {
        uint32_t v = word[lane];
        std::memcpy(out + at + 64 * lane + 4 * i, &v, 4);  // Windows is little-endian everywhere
      }
    }
    Skip(4);
  }
}

}  // namespace erasemill
