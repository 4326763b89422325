// Eight ChaCha20 blocks at a time in 256-bit registers, for processors that have them: twice the
// pace of the four-block path, which is what lets the random pass keep up with a fast disk. Only
// called after the processor and the system were found to support it (random_stream.cpp).
#include <immintrin.h>

#include "suite/erasemill/random_wide.h"

namespace erasemill {
namespace {

#define WIDE __attribute__((target("avx2")))

WIDE inline __m256i Rotate(__m256i x, int n) {
  return _mm256_or_si256(_mm256_slli_epi32(x, n), _mm256_srli_epi32(x, 32 - n));
}

// Rotations by whole bytes are one byte shuffle.
WIDE inline __m256i Rotate16(__m256i x) {
  const __m256i order = _mm256_setr_epi8(2, 3, 0, 1, 6, 7, 4, 5, 10, 11, 8, 9, 14, 15, 12, 13, 2, 3, 0, 1, 6, 7, 4,
                                         5, 10, 11, 8, 9, 14, 15, 12, 13);
  return _mm256_shuffle_epi8(x, order);
}

WIDE inline __m256i Rotate8(__m256i x) {
  const __m256i order = _mm256_setr_epi8(3, 0, 1, 2, 7, 4, 5, 6, 11, 8, 9, 10, 15, 12, 13, 14, 3, 0, 1, 2, 7, 4, 5,
                                         6, 11, 8, 9, 10, 15, 12, 13, 14);
  return _mm256_shuffle_epi8(x, order);
}

WIDE inline void Quarter(__m256i& a, __m256i& b, __m256i& c, __m256i& d) {
  a = _mm256_add_epi32(a, b), d = Rotate16(_mm256_xor_si256(d, a));
  c = _mm256_add_epi32(c, d), b = Rotate(_mm256_xor_si256(b, c), 12);
  a = _mm256_add_epi32(a, b), d = Rotate8(_mm256_xor_si256(d, a));
  c = _mm256_add_epi32(c, d), b = Rotate(_mm256_xor_si256(b, c), 7);
}

}  // namespace

WIDE void FillWide(uint32_t state[16], uint8_t* out, size_t size) {
  for (size_t at = 0; at + kWideBytes <= size; at += kWideBytes) {
    uint64_t counter = (uint64_t(state[13]) << 32) | state[12];
    __m256i input[16], x[16];
    for (int i = 0; i < 16; ++i) input[i] = _mm256_set1_epi32(static_cast<int>(state[i]));
    // Blocks counter + 0..7, the carry into the counter's high word included.
    uint32_t low[8], high[8];
    for (int lane = 0; lane < 8; ++lane) {
      low[lane] = static_cast<uint32_t>(counter + lane);
      high[lane] = static_cast<uint32_t>((counter + lane) >> 32);
    }
    input[12] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(low));
    input[13] = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(high));
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
    // Block b is lane b of every word. Four words are transposed at a time within each 128-bit half:
    // the low half gives blocks 0..3, the high half blocks 4..7 (little-endian, as Windows is).
    for (int i = 0; i < 16; i += 4) {
      __m256i w0 = _mm256_add_epi32(x[i], input[i]), w1 = _mm256_add_epi32(x[i + 1], input[i + 1]);
      __m256i w2 = _mm256_add_epi32(x[i + 2], input[i + 2]), w3 = _mm256_add_epi32(x[i + 3], input[i + 3]);
      __m256i low01 = _mm256_unpacklo_epi32(w0, w1), high01 = _mm256_unpackhi_epi32(w0, w1);
      __m256i low23 = _mm256_unpacklo_epi32(w2, w3), high23 = _mm256_unpackhi_epi32(w2, w3);
      __m256i rows[4] = {_mm256_unpacklo_epi64(low01, low23), _mm256_unpackhi_epi64(low01, low23),
                         _mm256_unpacklo_epi64(high01, high23), _mm256_unpackhi_epi64(high01, high23)};
      for (int b = 0; b < 4; ++b) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 64 * b + 4 * i), _mm256_castsi256_si128(rows[b]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at + 64 * (b + 4) + 4 * i),
                         _mm256_extracti128_si256(rows[b], 1));
      }
    }
    counter += 8;
    state[12] = static_cast<uint32_t>(counter);
    state[13] = static_cast<uint32_t>(counter >> 32);
  }
}

}  // namespace erasemill
