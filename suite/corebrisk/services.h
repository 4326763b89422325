// The Service Control Manager as the optimizer uses it: the Win32 services, their start types and
// (Windows Vista and later) their delayed-start flags. Nothing here starts or stops a service.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/handles.h"

namespace corebrisk {

struct ServiceHandleTraits {
  using Handle = SC_HANDLE;
  static Handle Invalid() { return nullptr; }
  static void Close(Handle h) { ::CloseServiceHandle(h); }
};
using UniqueService = base::Scoped<ServiceHandleTraits>;

enum class Delayed { kUnknown, kNo, kYes };

struct ServiceConfig {
  DWORD startType = 0;
  Delayed delayed = Delayed::kUnknown;  // unknown where the system cannot tell (before Vista)
};

enum class Outcome { kDone, kAbsent, kFailed };

class ServiceManager {
 public:
  // Connects with the rights to read and change configurations; false when refused.
  bool Open();

  // The key names of every Win32 service, running or not.
  std::vector<std::wstring> Win32Services() const;
  // Reads one service's start type and delayed-start flag.
  Outcome Read(const std::wstring& name, ServiceConfig* config) const;
  // Changes the start type only; every other setting stays as it is.
  Outcome SetStartType(const std::wstring& name, DWORD startType) const;
  // Sets the delayed-start flag; false where the system cannot.
  bool SetDelayed(const std::wstring& name, bool delayed) const;

 private:
  Outcome Access(const std::wstring& name, DWORD access, UniqueService* service) const;
  UniqueService manager_;
};

}  // namespace corebrisk
