#include "suite/erasemill/random_ahead.h"

namespace erasemill {

RandomAhead::~RandomAhead() {
  if (!thread_) return;
  InterlockedExchange(&stop_, 1);
  ReleaseSemaphore(free_.get(), 2, nullptr);  // wakes the maker wherever it waits
  WaitForSingleObject(thread_.get(), INFINITE);
}

bool RandomAhead::Start(size_t chunkBytes, bool ahead) {
  if (!stream_.Seed()) return false;
  chunks_[0].resize(chunkBytes);
  if (!ahead) return true;
  chunks_[1].resize(chunkBytes);
  free_.reset(CreateSemaphoreW(nullptr, 2, 2, nullptr));
  filled_.reset(CreateSemaphoreW(nullptr, 0, 2, nullptr));
  if (free_ && filled_) thread_.reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  return true;
}

const uint8_t* RandomAhead::Next() {
  if (!thread_) {
    stream_.Fill(chunks_[0].data(), chunks_[0].size());
    return chunks_[0].data();
  }
  if (holding_) ReleaseSemaphore(free_.get(), 1, nullptr);
  WaitForSingleObject(filled_.get(), INFINITE);
  holding_ = true;
  const uint8_t* chunk = chunks_[next_].data();
  next_ ^= 1;
  return chunk;
}

// Fills the chunks in turn, each once the caller has given it back; the semaphores order every
// access to a chunk between the two threads.
DWORD WINAPI RandomAhead::Run(void* self) noexcept {
  auto* ahead = static_cast<RandomAhead*>(self);
  for (int i = 0;; i ^= 1) {
    WaitForSingleObject(ahead->free_.get(), INFINITE);
    if (InterlockedCompareExchange(&ahead->stop_, 0, 0)) return 0;
    ahead->stream_.Fill(ahead->chunks_[i].data(), ahead->chunks_[i].size());
    ReleaseSemaphore(ahead->filled_.get(), 1, nullptr);
  }
}

}  // namespace erasemill
