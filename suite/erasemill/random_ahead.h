// The random pass's chunks, made on a thread of their own while the previous chunk is being
// written: the generator and the disk work at the same time, so the pass takes as long as the
// slower of the two instead of both together.
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

  // Keys the stream from the system's generator and gets ready to hand out chunks of chunkBytes (a
  // multiple of 256), made ahead on a thread when ahead is true and a thread can be had, else made
  // on the caller's thread when asked for. False when the system's generator gave nothing.
  bool Start(size_t chunkBytes, bool ahead);
  // The next chunk of the key stream; it stays valid until the next call.
  const uint8_t* Next();

 private:
  static DWORD WINAPI Run(void* self) noexcept;

  RandomStream stream_;
  std::vector<uint8_t> chunks_[2];
  base::UniqueHandle free_, filled_;  // semaphores counting the chunks on each side
  base::UniqueHandle thread_;
  volatile LONG stop_ = 0;
  int next_ = 0;          // the chunk Next hands out next
  bool holding_ = false;  // the caller still has the other chunk
};

}  // namespace erasemill
