// Sixteen ChaCha20 blocks at a time in 512-bit registers: with thirty-two of them (in 64-bit code)
// the rounds keep the whole state in registers, and a rotation is one instruction instead of three.
// Only called after the processor and the system were found to support it (random_stream.cpp).

// The compiler's own 512-bit headers start some results from an undefined value, which it then
// warns about where they are inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include "suite/erasemill/random_wide.h"

namespace erasemill {
namespace {

#define WIDER __attribute__((target("avx512f")))

WIDER inline void Quarter(__m512i& a, __m512i& b, __m512i& c, __m512i& d) {
  a = _mm512_add_epi32(a, b), d = _mm512_rol_epi32(_mm512_xor_si512(d, a), 16);
  c = _mm512_add_epi32(c, d), b = _mm512_rol_epi32(_mm512_xor_si512(b, c), 12);
  a = _mm512_add_epi32(a, b), d = _mm512_rol_epi32(_mm512_xor_si512(d, a), 8);
  c = _mm512_add_epi32(c, d), b = _mm512_rol_epi32(_mm512_xor_si512(b, c), 7);
}

}  // namespace

WIDER void FillWider(uint32_t state[16], uint8_t* out, size_t size) {
  for (size_t at = 0; at + kWiderBytes <= size; at += kWiderBytes) {
    uint64_t counter = (uint64_t(state[13]) << 32) | state[12];
    __m512i input[16], x[16];
    for (int i = 0; i < 16; ++i) input[i] = _mm512_set1_epi32(static_cast<int>(state[i]));
    // Blocks counter + 0..15, the carry into the counter's high word included.
    uint32_t low[16], high[16];
    for (int lane = 0; lane < 16; ++lane) {
      low[lane] = static_cast<uint32_t>(counter + lane);
      high[lane] = static_cast<uint32_t>((counter + lane) >> 32);
    }
    input[12] = _mm512_loadu_si512(low);
    input[13] = _mm512_loadu_si512(high);
    for (int i = 0; i < 16; ++i) x[i] = input[i];
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
    // Block b is lane b of every word. Four words are transposed at a time within each 128-bit
    // quarter (rows[g][r]: words 4g..4g+3 of block 4q+r in quarter q), then the quarters of the four
    // word groups are put together into whole blocks (little-endian, as Windows is).
    __m512i rows[4][4];
    for (int g = 0; g < 4; ++g) {
      const int i = 4 * g;
      __m512i w0 = _mm512_add_epi32(x[i], input[i]), w1 = _mm512_add_epi32(x[i + 1], input[i + 1]);
      __m512i w2 = _mm512_add_epi32(x[i + 2], input[i + 2]), w3 = _mm512_add_epi32(x[i + 3], input[i + 3]);
      __m512i low01 = _mm512_unpacklo_epi32(w0, w1), high01 = _mm512_unpackhi_epi32(w0, w1);
      __m512i low23 = _mm512_unpacklo_epi32(w2, w3), high23 = _mm512_unpackhi_epi32(w2, w3);
      rows[g][0] = _mm512_unpacklo_epi64(low01, low23);
      rows[g][1] = _mm512_unpackhi_epi64(low01, low23);
      rows[g][2] = _mm512_unpacklo_epi64(high01, high23);
      rows[g][3] = _mm512_unpackhi_epi64(high01, high23);
    }
    for (int r = 0; r < 4; ++r) {
      __m512i quarters01 = _mm512_shuffle_i32x4(rows[0][r], rows[1][r], 0x44);  // 0.0 0.1 1.0 1.1
      __m512i quarters23 = _mm512_shuffle_i32x4(rows[0][r], rows[1][r], 0xEE);  // 0.2 0.3 1.2 1.3
      __m512i quarters45 = _mm512_shuffle_i32x4(rows[2][r], rows[3][r], 0x44);
      __m512i quarters67 = _mm512_shuffle_i32x4(rows[2][r], rows[3][r], 0xEE);
      const __m512i blocks[4] = {_mm512_shuffle_i32x4(quarters01, quarters45, 0x88),
                                 _mm512_shuffle_i32x4(quarters01, quarters45, 0xDD),
                                 _mm512_shuffle_i32x4(quarters23, quarters67, 0x88),
                                 _mm512_shuffle_i32x4(quarters23, quarters67, 0xDD)};
      for (int q = 0; q < 4; ++q) _mm512_storeu_si512(out + at + 64 * (4 * q + r), blocks[q]);
    }
    counter += 16;
    state[12] = static_cast<uint32_t>(counter);
    state[13] = static_cast<uint32_t>(counter >> 32);
  }
}

}  // namespace erasemill
