#include "suite/erasemill/overwrite.h"

#include <winternl.h>
#include <winioctl.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "suite/erasemill/flush_behind.h"
#include "suite/erasemill/random_ahead.h"

namespace erasemill {
namespace {

constexpr uint32_t kUnitWhenUnknown = 4096;
constexpr DWORD kChunk = 1u << 20;  // large sequential writes: the disk's pace, not the calls'
constexpr size_t kMostRanges = 1u << 16;
constexpr uint64_t kFlushBehindEvery = 32u << 20;

struct Range {
  uint64_t start, end;
};

bool SetPosition(HANDLE file, uint64_t offset) {
  LARGE_INTEGER to;
  to.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(file, to, nullptr, FILE_BEGIN) != 0;
}

// Where a sparse file holds data; false when the system cannot say.
bool AllocatedRanges(HANDLE file, uint64_t length, std::vector<Range>* ranges) {
  ranges->clear();
  FILE_ALLOCATED_RANGE_BUFFER query = {};
  query.FileOffset.QuadPart = 0;
  query.Length.QuadPart = static_cast<LONGLONG>(length);
  std::vector<FILE_ALLOCATED_RANGE_BUFFER> found(64);
  for (;;) {
    DWORD bytes = 0;
    BOOL ok = DeviceIoControl(file, FSCTL_QUERY_ALLOCATED_RANGES, &query, sizeof(query), found.data(),
                              static_cast<DWORD>(found.size() * sizeof(found[0])), &bytes, nullptr);
    bool more = !ok && GetLastError() == ERROR_MORE_DATA;
    if (!ok && !more) return false;
    size_t count = std::min<size_t>(bytes / sizeof(found[0]), found.size());
    for (size_t i = 0; i < count; ++i) {
      uint64_t start = static_cast<uint64_t>(found[i].FileOffset.QuadPart);
      uint64_t size = static_cast<uint64_t>(found[i].Length.QuadPart);
      if (start >= length || size == 0) continue;
      ranges->push_back({start, start + std::min(size, length - start)});
    }
    if (!more) return true;
    if (count == 0 || ranges->size() > kMostRanges) return false;
    // Ask again from the end of the last range given.
    uint64_t next = static_cast<uint64_t>(found[count - 1].FileOffset.QuadPart + found[count - 1].Length.QuadPart);
    if (next >= length) return true;
    query.FileOffset.QuadPart = static_cast<LONGLONG>(next);
    query.Length.QuadPart = static_cast<LONGLONG>(length - next);
  }
}

// Whether the stream's data takes less room on the disk than one allocation unit: it then lies in
// the file's own record, not in a cluster of its own. False where the system does not say.
bool IsResident(HANDLE file, uint32_t unit) {
  IO_STATUS_BLOCK status = {};
  FILE_STANDARD_INFORMATION standard = {};
  if (NtQueryInformationFile(file, &status, &standard, sizeof(standard), FileStandardInformation) < 0) return false;
  return standard.AllocationSize.QuadPart >= 0 && static_cast<uint64_t>(standard.AllocationSize.QuadPart) < unit;
}

// The byte ranges a pass covers: the whole length, or the data of a sparse file, widened to whole
// allocation units (data that reaches the last unit takes the slack after the end with it).
bool PassRanges(HANDLE file, std::vector<Range>* ranges) {
  LARGE_INTEGER size;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 || !GetFileInformationByHandle(file, &info)) return false;
  uint64_t length = static_cast<uint64_t>(size.QuadPart);
  uint32_t unit = AllocationUnit(file);
  if (unit == 0) unit = kUnitWhenUnknown;
  // A file whose data lives in its file record (NTFS keeps a few hundred bytes there) is written
  // over in place at its own length: growing it to a whole unit would move the data out to a
  // cluster and leave the original bytes in the record, where no later pass reaches them.
  if (length > 0 && IsResident(file, unit)) {
    ranges->assign(1, Range{0, length});
    return true;
  }
  uint64_t rounded = 0;
  if (!RoundUp(length, unit, &rounded)) return false;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_SPARSE_FILE) && AllocatedRanges(file, length, ranges)) {
    for (Range& r : *ranges) {
      r.start -= r.start % unit;
      if (!RoundUp(r.end, unit, &r.end)) return false;
    }
    return true;
  }
  ranges->assign(1, Range{0, rounded});
  return true;
}

// A fixed pattern lies in one buffer for the whole pass; random bytes are new for every chunk. Every
// kFlushBehindEvery bytes the flusher is asked to write out what the pass has written so far.
bool WriteRange(HANDLE file, const Range& range, const std::vector<unsigned char>& pattern, RandomAhead* random,
                FlushBehind* flusher, uint64_t* unflushed) {
  if (!SetPosition(file, range.start)) return false;
  for (uint64_t at = range.start; at < range.end;) {
    DWORD bytes = static_cast<DWORD>(std::min<uint64_t>(kChunk, range.end - at));
    const void* data = random ? random->Next() : pattern.data();
    DWORD written = 0;
    if (!WriteFile(file, data, bytes, &written, nullptr) || written != bytes) return false;
    at += bytes;
    if ((*unflushed += bytes) >= kFlushBehindEvery) {
      flusher->Ask();
      *unflushed = 0;
    }
  }
  return true;
}

}  // namespace

Pattern PassPattern(int pass, int passes) {
  if (pass >= passes - 1) return Pattern::kRandom;
  return pass % 2 == 0 ? Pattern::kZeros : Pattern::kOnes;
}

uint32_t AllocationUnit(HANDLE file) {
  IO_STATUS_BLOCK status = {};
  FILE_FS_SIZE_INFORMATION size = {};
  NTSTATUS result = NtQueryVolumeInformationFile(file, &status, &size, sizeof(size), FileFsSizeInformation);
  if (result < 0) return 0;  // a failure status
  uint64_t unit = uint64_t(size.SectorsPerAllocationUnit) * size.BytesPerSector;
  return unit > 0 && unit <= (1u << 30) ? static_cast<uint32_t>(unit) : 0;
}

bool RoundUp(uint64_t length, uint32_t unit, uint64_t* rounded) {
  if (unit == 0) return false;
  uint64_t over = length % unit;
  if (over == 0) {
    *rounded = length;
    return true;
  }
  uint64_t add = unit - over;
  if (length > UINT64_MAX - add) return false;
  *rounded = length + add;
  return true;
}

bool OverwriteStream(HANDLE file, int passes, const PassDone& done) {
  if (passes < kMinPasses || passes > kMaxPasses) return false;
  std::vector<Range> ranges;
  if (!PassRanges(file, &ranges)) return false;
  uint64_t total = 0;
  for (const Range& range : ranges) total += range.end - range.start;
  // A small file takes its random bytes from one chunk of its own size, made where it is written.
  // A large one has them made ahead on two threads, unless the processor makes sixteen blocks at a
  // time: then the writer's own thread outpaces the disk, and handing chunks over only costs.
  const size_t randomChunk = static_cast<size_t>(std::min<uint64_t>(kChunk, (total + 255) & ~uint64_t(255)));
  const bool randomAhead = total > kChunk && !RandomStream::WiderAvailable();
  std::vector<unsigned char> pattern(kChunk);
  // The last pass is random: keyed before anything is written, so a generator that fails leaves
  // the file as it was.
  RandomStream keyed;
  if (!keyed.Seed()) return false;
  for (int pass = 0; pass < passes; ++pass) {
    const Pattern kind = PassPattern(pass, passes);
    RandomAhead random;
    if (kind == Pattern::kRandom) random.Start(keyed, randomChunk, randomAhead);
    if (kind != Pattern::kRandom) std::memset(pattern.data(), kind == Pattern::kOnes ? 0xFF : 0x00, pattern.size());
    FlushBehind flusher(file);
    uint64_t unflushed = 0;
    for (const Range& range : ranges) {
      if (!WriteRange(file, range, pattern, kind == Pattern::kRandom ? &random : nullptr, &flusher, &unflushed))
        return false;
    }
    if (!flusher.Finish() || !FlushFileBuffers(file)) return false;
    if (done) done(pass);
  }
  return true;
}

}  // namespace erasemill
