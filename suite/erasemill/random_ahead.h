// The random pass's chunks, made ahead on threads of their own while the previous chunk is being
// written: the generator and the disk work at the same time, and two makers share the generating,
// so the pass takes about as long as the disk needs instead of the generator and the disk together.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/handles.h"
#include "suite/erasemill/random_stream.h"

namespace erasemill {

class RandomAhead {
 public:
  RandomAhead() = default;
  RandomAhead(const RandomAhead&) = delete;
  RandomAhead& operator=(const RandomAhead&) = delete;
  ~RandomAhead();

  // Gets ready to hand out the key stream of keyed (from where it stands) in chunks of chunkBytes
  // (a multiple of 256), made ahead on threads when ahead is true and threads can be had, else made
  // on the caller's thread when asked for.
  void Start(const RandomStream& keyed, size_t chunkBytes, bool ahead);
  // The next chunk of the key stream; it stays valid until the next call.
  const uint8_t* Next();

 private:
  // Maker m makes chunks m, m + kMakers, m + 2 kMakers... into its two buffers in turn, each once
  // the caller has given it back; the semaphores order every access to a buffer between threads.
  static constexpr int kMakers = 2;
  struct Maker {
    RandomAhead* owner = nullptr;
    RandomStream stream;
    std::vector<uint8_t> chunks[2];
    base::UniqueHandle free, filled;  // semaphores counting the buffers on each side
    base::UniqueHandle thread;
  };
  static DWORD WINAPI Run(void* maker) noexcept;
  bool StartMakers(const RandomStream& keyed, size_t chunkBytes);
  void StopMakers();

  RandomStream stream_;           // made on the caller's thread
  std::vector<uint8_t> chunk_;
  Maker makers_[kMakers];
  bool threaded_ = false;
  volatile LONG stop_ = 0;
  uint64_t next_ = 0;     // the number of the chunk Next hands out next
  bool holding_ = false;  // the caller still has the chunk before it
};

}  // namespace erasemill
