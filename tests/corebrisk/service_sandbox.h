// The services of a test: the system optimizer's record moved out of the way, services the test
// creates for itself (own-process services that nobody starts, with a harmless image path), and
// every other service's start type put back afterwards, whatever the test applied.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "tests/support/registry_sandbox.h"

namespace test {

struct NoCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};
// Every Win32 service's whole configuration as text, by name.
using ServiceConfigs = std::map<std::wstring, std::wstring, NoCase>;

class ServiceSandbox {
 public:
  ServiceSandbox();
  ~ServiceSandbox();
  ServiceSandbox(const ServiceSandbox&) = delete;
  ServiceSandbox& operator=(const ServiceSandbox&) = delete;

  // Creates a demand-start service, then gives it the start type asked for.
  bool Create(const std::wstring& name, DWORD startType);
  DWORD StartType(const std::wstring& name) const;  // 0xFFFFFFFF when it cannot be read
  bool SetStartType(const std::wstring& name, DWORD startType) const;
  ServiceConfigs Snapshot() const;

 private:
  // Opened before anything is created and kept: a service created while the process holds no
  // manager handle is sometimes missing from later enumerations under Wine.
  SC_HANDLE manager_ = nullptr;
  RegistrySandbox record_;
  ServiceConfigs original_;
  std::vector<std::wstring> created_;
};

}  // namespace test
