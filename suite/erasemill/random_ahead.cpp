#include "suite/erasemill/random_ahead.h"
#include "base/thread.h"

namespace erasemill {

RandomAhead::~RandomAhead() { StopMakers(); }

void RandomAhead::Start(const RandomStream& keyed, size_t chunkBytes, bool ahead) {
  if (ahead && StartMakers(keyed, chunkBytes)) return;
  stream_ = keyed;
  chunk_.resize(chunkBytes);
}

bool RandomAhead::StartMakers(const RandomStream& keyed, size_t chunkBytes) {
  for (int m = 0; m < kMakers; ++m) {
    Maker& maker = makers_[m];
    maker.owner = this;
    maker.stream = keyed;
    maker.stream.Skip(m * (chunkBytes / 64));
    maker.chunks[0].resize(chunkBytes);
    maker.chunks[1].resize(chunkBytes);
    maker.free.reset(CreateSemaphoreW(nullptr, 2, 2, nullptr));
    maker.filled.reset(CreateSemaphoreW(nullptr, 0, 2, nullptr));
    if (maker.free && maker.filled) maker.thread = base::Thread::Run([&maker] { Run(&maker); }).Release();
    if (!maker.thread) {
      StopMakers();
      return false;
    }
  }
  threaded_ = true;
  return true;
}

void RandomAhead::StopMakers() {
  InterlockedExchange(&stop_, 1);
  for (Maker& maker : makers_) {
    if (!maker.thread) continue;
    ReleaseSemaphore(maker.free.get(), 2, nullptr);  // wakes the maker wherever it waits
    WaitForSingleObject(maker.thread.get(), INFINITE);
    maker.thread.reset();
  }
}

const uint8_t* RandomAhead::Next() {
  if (!threaded_) {
    stream_.Fill(chunk_.data(), chunk_.size());
    return chunk_.data();
  }
  if (holding_) ReleaseSemaphore(makers_[(next_ - 1) % kMakers].free.get(), 1, nullptr);
  Maker& maker = makers_[next_ % kMakers];
  WaitForSingleObject(maker.filled.get(), INFINITE);
  holding_ = true;
  const uint8_t* chunk = maker.chunks[(next_ / kMakers) % 2].data();
  ++next_;
  return chunk;
}

DWORD WINAPI RandomAhead::Run(void* self) noexcept {
  auto* maker = static_cast<Maker*>(self);
  const size_t bytes = maker->chunks[0].size();
  for (int i = 0;; i ^= 1) {
    WaitForSingleObject(maker->free.get(), INFINITE);
    if (InterlockedCompareExchange(&maker->owner->stop_, 0, 0)) return 0;
    maker->stream.Fill(maker->chunks[i].data(), bytes);
    maker->stream.Skip((kMakers - 1) * (bytes / 64));  // past the other makers' chunks
    ReleaseSemaphore(maker->filled.get(), 1, nullptr);
  }
}

}  // namespace erasemill
