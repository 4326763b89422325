#include "base/scan_lock.h"

namespace base {

ScanLock ScanLock::TryTake() {
  HANDLE object = ::CreateMutexW(nullptr, FALSE, kScanLockName);
  if (object == nullptr) return ScanLock();
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {  // someone else made it and still holds it
    ::CloseHandle(object);
    return ScanLock();
  }
  return ScanLock(object);
}

bool ScanLock::HeldElsewhere() {
  UniqueHandle object(::OpenMutexW(SYNCHRONIZE, FALSE, kScanLockName));
  return object.valid() || ::GetLastError() == ERROR_ACCESS_DENIED;
}

}  // namespace base
