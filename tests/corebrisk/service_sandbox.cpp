#include "tests/corebrisk/service_sandbox.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace test {
namespace {

const wchar_t kRecordKey[] = L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\System Optimizer";

std::wstring Describe(SC_HANDLE manager, const std::wstring& name, DWORD* startType = nullptr) {
  SC_HANDLE service = OpenServiceW(manager, name.c_str(), SERVICE_QUERY_CONFIG);
  if (!service) return std::wstring();
  DWORD needed = 0;
  QueryServiceConfigW(service, nullptr, 0, &needed);
  std::vector<uint64_t> buffer(needed / sizeof(uint64_t) + 1);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
  std::wstring text;
  if (QueryServiceConfigW(service, config, static_cast<DWORD>(buffer.size() * sizeof(uint64_t)), &needed)) {
    if (startType) *startType = config->dwStartType;
    auto field = [](const wchar_t* s) { return std::wstring(s ? s : L"") + L"|"; };
    std::wstring dependencies;
    for (const wchar_t* d = config->lpDependencies; d && *d; d += wcslen(d) + 1) dependencies += std::wstring(d) + L";";
    text = std::to_wstring(config->dwServiceType) + L"|" + std::to_wstring(config->dwStartType) + L"|" +
           std::to_wstring(config->dwErrorControl) + L"|" + field(config->lpBinaryPathName) +
           field(config->lpLoadOrderGroup) + std::to_wstring(config->dwTagId) + L"|" + dependencies + L"|" +
           field(config->lpServiceStartName) + field(config->lpDisplayName);
  }
  CloseServiceHandle(service);
  return text;
}

}  // namespace

ServiceSandbox::ServiceSandbox()
    : manager_(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)), record_(HKEY_LOCAL_MACHINE, kRecordKey) {
  EXPECT_NE(nullptr, manager_);
  original_ = Snapshot();
}

ServiceSandbox::~ServiceSandbox() {
  for (const std::wstring& name : created_) {
    SC_HANDLE service = OpenServiceW(manager_, name.c_str(), DELETE);
    if (service) {
      DeleteService(service);
      CloseServiceHandle(service);
    }
  }
  for (const auto& [name, text] : original_) {
    DWORD start = 0;
    if (Describe(manager_, name, &start) == text) continue;
    DWORD wanted = std::stoul(text.substr(text.find(L'|') + 1));
    SetStartType(name, wanted);
  }
  CloseServiceHandle(manager_);
}

bool ServiceSandbox::Create(const std::wstring& name, DWORD startType) {
  if (SC_HANDLE stale = OpenServiceW(manager_, name.c_str(), DELETE)) {  // left by a test that crashed
    DeleteService(stale);
    CloseServiceHandle(stale);
  }
  SC_HANDLE service = CreateServiceW(manager_, name.c_str(), (name + L" (Lumaspan test)").c_str(), SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE,
                                     L"C:\\windows\\system32\\cmd.exe /c exit", nullptr, nullptr, nullptr, nullptr,
                                     nullptr);
  if (!service) return false;
  CloseServiceHandle(service);
  created_.push_back(name);
  return startType == SERVICE_DEMAND_START || SetStartType(name, startType);
}

DWORD ServiceSandbox::StartType(const std::wstring& name) const {
  DWORD start = 0xFFFFFFFF;
  Describe(manager_, name, &start);
  return start;
}

bool ServiceSandbox::SetStartType(const std::wstring& name, DWORD startType) const {
  SC_HANDLE service = OpenServiceW(manager_, name.c_str(), SERVICE_CHANGE_CONFIG);
  if (!service) return false;
  BOOL ok = ChangeServiceConfigW(service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr);
  CloseServiceHandle(service);
  return ok != FALSE;
}

ServiceConfigs ServiceSandbox::Snapshot() const {
  ServiceConfigs configs;
  DWORD needed = 0, count = 0, resume = 0;
  EnumServicesStatusExW(manager_, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0, &needed, &count,
                        &resume, nullptr);
  std::vector<BYTE> buffer(needed + 4096);
  resume = 0;
  if (!EnumServicesStatusExW(manager_, SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(),
                             static_cast<DWORD>(buffer.size()), &needed, &count, &resume, nullptr))
    return configs;
  auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) configs[entries[i].lpServiceName] = Describe(manager_, entries[i].lpServiceName);
  return configs;
}

}  // namespace test
