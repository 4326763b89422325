// How fast Erasemill erases a large file, measured against what it cannot avoid. One run measures,
// on the test drive T: and in the same conditions:
//   (a) the bare floor: 3 x 256 MiB written sequentially over a plain 256 MiB file opened with
//       write-through, in 1 MiB writes, flushed after each 256 MiB;
//   (b) ErasemillKillFile on a 256 MiB file with 3 passes (zeros, ones, random bytes), which adds
//       the random generator, the renames and the delete.
// It prints both throughputs (the best of three rounds, taken in alternating order on a shared
// machine) and the ratio b/a (goal: at least 0.8).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/handles.h"
#include "bench/bench_support.h"
#include "contracts/erasemill.h"

namespace {

using bench::Seconds;

constexpr DWORD kChunk = 1u << 20;
constexpr int kChunks = 256;  // 256 MiB
constexpr int kPasses = 3;
const wchar_t kBare[] = L"T:\\bare.bin";
const wchar_t kVictim[] = L"T:\\victim.bin";

bool WriteChunks(HANDLE file, const std::vector<char>& chunk) {
  for (int i = 0; i < kChunks; ++i) {
    DWORD written = 0;
    if (!WriteFile(file, chunk.data(), kChunk, &written, nullptr) || written != kChunk) return false;
  }
  return true;
}

// A file of 256 MiB of data, written and flushed before the clock starts.
bool MakeFile(const wchar_t* path) {
  base::UniqueFile file(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::vector<char> chunk(kChunk, 'd');
  return file && WriteChunks(file.get(), chunk) && FlushFileBuffers(file.get());
}

double Bare() {
  if (!MakeFile(kBare)) return -1;
  double start = Seconds();
  {
    base::UniqueFile file(CreateFileW(kBare, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_WRITE_THROUGH | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return -1;
    std::vector<char> chunk(kChunk, '\0');
    for (int pass = 0; pass < kPasses; ++pass) {
      LARGE_INTEGER zero = {};
      if (!SetFilePointerEx(file.get(), zero, nullptr, FILE_BEGIN) || !WriteChunks(file.get(), chunk) ||
          !FlushFileBuffers(file.get()))
        return -1;
    }
  }
  double seconds = Seconds() - start;
  DeleteFileW(kBare);
  return seconds;
}

double Erase() {
  if (!MakeFile(kVictim)) return -1;
  double start = Seconds();
  if (ErasemillKillFile(kVictim, kPasses) != 1) return -1;
  return Seconds() - start;
}

}  // namespace

int main() {
  if (GetDriveTypeW(L"T:\\") != DRIVE_FIXED) {
    std::printf("bench_erasemill: drive T: is missing; run it with ./lumaspan bench\n");
    return 1;
  }
  const double megabytes = double(kChunks) * kPasses;
  double a = 1e9, b = 1e9;
  for (int round = 0; round < 3; ++round) {
    double ra, rb;
    if (round % 2 == 0) {
      ra = Bare();
      rb = Erase();
    } else {
      rb = Erase();
      ra = Bare();
    }
    if (ra <= 0 || rb <= 0) {
      std::printf("bench_erasemill: a write or the erase failed on T:\n");
      DeleteFileW(kBare);
      DeleteFileW(kVictim);
      return 1;
    }
    std::printf("round %d: a %.2f s, b %.2f s\n", round + 1, ra, rb);
    a = std::min(a, ra);
    b = std::min(b, rb);
  }
  std::printf("(a) bare write-through: %.0f MiB/s\n", megabytes / a);
  std::printf("(b) erase, 3 passes:    %.0f MiB/s\n", megabytes / b);
  std::printf("throughput ratio b/a: %.2f (goal: at least 0.8)\n", a / b);
  return 0;
}
