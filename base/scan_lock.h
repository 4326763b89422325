// Only one scan or clean at a time across the window and the console program. The lock is a named
// kernel object that exists while its holder keeps it open: taking it means creating it, so it is
// not tied to a thread (a page may take it on its window thread and drop it when its worker ends)
// and it goes away by itself with a holder that dies.
#pragma once
#include "base/handles.h"

namespace base {

constexpr wchar_t kScanLockName[] = L"Local\\Lumaspan.ScanOrClean";

class ScanLock {
 public:
  ScanLock() = default;
  // Takes the lock, or returns an empty one (held() false) when somebody else holds it.
  static ScanLock TryTake();
  // Whether any process holds the lock now (for a caller that only wants to tell the user).
  static bool HeldElsewhere();

  bool held() const { return object_.valid(); }
  void Release() { object_.reset(); }

 private:
  explicit ScanLock(HANDLE object) : object_(object) {}
  UniqueHandle object_;
};

}  // namespace base
