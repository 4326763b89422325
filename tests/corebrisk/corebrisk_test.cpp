// Corebrisk.dll as the page calls it, on services the tests create: what a model changes, what it
// never changes, and that "Windows Default" gives everything back.
#include <windows.h>

#include <gtest/gtest.h>

#include "contracts/corebrisk.h"
#include "tests/corebrisk/service_sandbox.h"
#include "tests/support/registry_sandbox.h"

namespace {

const wchar_t kRecordKey[] = L"SOFTWARE\\Lumaspan Software\\KeepLumaspan\\System Optimizer";

// Five services of the owner's: A and B start on demand, C automatically, D is off, E on demand.
class ServiceModels : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(services_.Create(L"LumaspanTestA", SERVICE_DEMAND_START));
    ASSERT_TRUE(services_.Create(L"LumaspanTestB", SERVICE_DEMAND_START));
    ASSERT_TRUE(services_.Create(L"LumaspanTestC", SERVICE_AUTO_START));
    ASSERT_TRUE(services_.Create(L"LumaspanTestD", SERVICE_DISABLED));
    ASSERT_TRUE(services_.Create(L"LumaspanTestE", SERVICE_DEMAND_START));
    ASSERT_EQ(1, CorebriskInitRegistry());
    before_ = services_.Snapshot();
  }

  // Every service but the named ones is exactly as before.
  void ExpectOthersUnchanged(std::initializer_list<const wchar_t*> changed) {
    test::ServiceConfigs was = before_, now = services_.Snapshot();
    for (const wchar_t* name : changed) {
      was.erase(name);
      now.erase(name);
    }
    EXPECT_EQ(was, now);
  }

  test::ServiceSandbox services_;
  test::ServiceConfigs before_;
};

TEST_F(ServiceModels, AModelLowersExactlyItsServicesAndNeverAProtectedOne) {
  // A model asks C to start on demand, A to be off, B on demand (as it is), D on demand (the owner
  // turned it off: it stays off), a protected service off and a service this machine lacks off.
  ASSERT_EQ(1, CorebriskSetModelTable(2, L"LumaspanTestC=3|LumaspanTestA=4|LumaspanTestB=3|LumaspanTestD=3|"
                                         L"RpcSs=4|PlugPlay=4|LumaspanTestAbsent=4"));
  EXPECT_EQ(1, CorebriskLoadFile(2));
  EXPECT_EQ(DWORD(SERVICE_DEMAND_START), services_.StartType(L"LumaspanTestC"));
  EXPECT_EQ(DWORD(SERVICE_DISABLED), services_.StartType(L"LumaspanTestA"));
  ExpectOthersUnchanged({L"LumaspanTestC", L"LumaspanTestA"});
}

TEST_F(ServiceModels, ModelsDoNotAddUpAndWindowsDefaultGivesBackEveryConfiguration) {
  ASSERT_EQ(1, CorebriskSetModelTable(1, L"LumaspanTestA=4|LumaspanTestC=4"));
  ASSERT_EQ(1, CorebriskSetModelTable(3, L"LumaspanTestC=3|LumaspanTestE=4"));
  ASSERT_EQ(1, CorebriskLoadFile(1));
  ASSERT_EQ(1, CorebriskLoadFile(3));
  // Model 3 alone: A is back on demand, C only as low as model 3 asks.
  EXPECT_EQ(DWORD(SERVICE_DEMAND_START), services_.StartType(L"LumaspanTestA"));
  EXPECT_EQ(DWORD(SERVICE_DEMAND_START), services_.StartType(L"LumaspanTestC"));
  EXPECT_EQ(DWORD(SERVICE_DISABLED), services_.StartType(L"LumaspanTestE"));
  ExpectOthersUnchanged({L"LumaspanTestC", L"LumaspanTestE"});

  EXPECT_EQ(1, CorebriskLoadFile(0));
  EXPECT_EQ(before_, services_.Snapshot());
  // Given back once, nothing is left to give back: the owner's later choices stay.
  ASSERT_TRUE(services_.SetStartType(L"LumaspanTestE", SERVICE_DISABLED));
  EXPECT_EQ(1, CorebriskLoadFile(0));
  EXPECT_EQ(DWORD(SERVICE_DISABLED), services_.StartType(L"LumaspanTestE"));
}

TEST_F(ServiceModels, TheFirstRecordIsKeptAndWhatItGivesBackIsWhatItRecorded) {
  // Changed by the owner after the first record: the record keeps the configuration it had.
  ASSERT_TRUE(services_.SetStartType(L"LumaspanTestB", SERVICE_AUTO_START));
  ASSERT_EQ(1, CorebriskInitRegistry());
  ASSERT_EQ(1, CorebriskSetModelTable(4, L"LumaspanTestB=4"));
  ASSERT_EQ(1, CorebriskLoadFile(4));
  ASSERT_EQ(DWORD(SERVICE_DISABLED), services_.StartType(L"LumaspanTestB"));
  ASSERT_EQ(1, CorebriskLoadFile(0));
  EXPECT_EQ(DWORD(SERVICE_DEMAND_START), services_.StartType(L"LumaspanTestB"));
}

TEST_F(ServiceModels, ARunRefusedOnItsSecondServicePutsBackEverythingItChanged) {
  ASSERT_EQ(1, CorebriskSetModelTable(1, L"LumaspanTestE=4"));
  ASSERT_EQ(1, CorebriskLoadFile(1));
  // V vanishes while the model runs: deleted while a handle keeps it, it can be read but no longer
  // changed. The run has given E back and turned A off by then.
  ASSERT_TRUE(services_.Create(L"LumaspanTestV", SERVICE_DEMAND_START));
  SC_HANDLE scm = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  ASSERT_NE(nullptr, scm);
  SC_HANDLE held = OpenServiceW(scm, L"LumaspanTestV", DELETE | SERVICE_QUERY_CONFIG);
  ASSERT_NE(nullptr, held);
  ASSERT_TRUE(DeleteService(held));
  test::ServiceConfigs applied = services_.Snapshot();
  ASSERT_EQ(1, CorebriskSetModelTable(3, L"LumaspanTestA=4|LumaspanTestV=4|LumaspanTestC=4"));
  EXPECT_EQ(0, CorebriskLoadFile(3));
  test::ServiceConfigs now = services_.Snapshot();
  applied.erase(L"LumaspanTestV");
  now.erase(L"LumaspanTestV");
  EXPECT_EQ(applied, now);
  CloseServiceHandle(held);
  CloseServiceHandle(scm);
  // The list of changes is as it was: "Windows Default" still gives E back.
  EXPECT_EQ(1, CorebriskLoadFile(0));
  ExpectOthersUnchanged({L"LumaspanTestV"});
}

TEST_F(ServiceModels, WindowsDefaultGivesBackTheFirstRecordWhateverTheOwnerSetSince) {
  ASSERT_EQ(1, CorebriskSetModelTable(1, L"LumaspanTestB=4|LumaspanTestC=4|LumaspanTestE=3"));
  ASSERT_EQ(1, CorebriskLoadFile(1));
  ASSERT_EQ(1, CorebriskLoadFile(0));
  ASSERT_TRUE(services_.SetStartType(L"LumaspanTestB", SERVICE_DISABLED));   // as low as the model asks
  ASSERT_TRUE(services_.SetStartType(L"LumaspanTestC", SERVICE_DEMAND_START));  // lower, not as low
  ASSERT_TRUE(services_.SetStartType(L"LumaspanTestE", SERVICE_DISABLED));   // lower than the model asks
  ASSERT_EQ(1, CorebriskInitRegistry());
  ASSERT_EQ(1, CorebriskLoadFile(1));
  ASSERT_EQ(1, CorebriskLoadFile(0));
  EXPECT_EQ(before_, services_.Snapshot());
}

TEST_F(ServiceModels, ADamagedRecordChangesNothingItCannotGiveBack) {
  ASSERT_EQ(1, CorebriskSetModelTable(5, L"LumaspanTestA=4|LumaspanTestE=4"));
  ASSERT_EQ(1, CorebriskLoadFile(5));
  // A's recorded start type is damaged: it cannot be given back, so no model and no giving back is
  // applied, and the failure is reported.
  HKEY types = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(kRecordKey) + L"\\Start Types").c_str(), 0,
                                         KEY_SET_VALUE, &types));
  RegSetValueExW(types, L"LumaspanTestA", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"3"), 4);
  RegCloseKey(types);
  test::ServiceConfigs applied = services_.Snapshot();
  ASSERT_EQ(1, CorebriskSetModelTable(5, L"LumaspanTestA=3"));
  EXPECT_EQ(0, CorebriskLoadFile(5));
  EXPECT_EQ(0, CorebriskLoadFile(0));
  EXPECT_EQ(applied, services_.Snapshot()) << "all or nothing: E is not given back either";

  // A record deleted altogether: nothing is known to give back, so nothing changes.
  test::DeleteKeyTree(HKEY_LOCAL_MACHINE, kRecordKey);
  test::ServiceConfigs now = services_.Snapshot();
  EXPECT_EQ(1, CorebriskLoadFile(0));
  EXPECT_EQ(now, services_.Snapshot());
}

TEST_F(ServiceModels, ModelNumbersAreZeroToFiveOnly) {
  EXPECT_EQ(0, CorebriskGetType());  // none applied yet
  for (int model : {-1, 6, 1000}) EXPECT_EQ(0, CorebriskLoadFile(model)) << model;
  for (const wchar_t* text : {L"6", L"-1", L"12", L"", L"3 "}) EXPECT_EQ(0, CorebriskSetType(text)) << text;
  EXPECT_EQ(0, CorebriskSetType(nullptr));
  EXPECT_EQ(0, CorebriskGetType());
  EXPECT_EQ(1, CorebriskSetType(L"3"));
  EXPECT_EQ(3, CorebriskGetType());
  // A stored number that is no model's reads as none of them.
  HKEY record = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRecordKey, 0, KEY_SET_VALUE, &record));
  DWORD nine = 9;
  RegSetValueExW(record, L"Model", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nine), sizeof(nine));
  EXPECT_EQ(-1, CorebriskGetType());
  RegSetValueExW(record, L"Model", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"3"), 4);
  EXPECT_EQ(-1, CorebriskGetType());
  RegCloseKey(record);
  // Malformed test tables are refused whole.
  for (const wchar_t* table : {L"LumaspanTestA=2", L"=4", L"LumaspanTestA", L"LumaspanTestA=44"})
    EXPECT_EQ(0, CorebriskSetModelTable(1, table)) << table;
  EXPECT_EQ(0, CorebriskSetModelTable(0, L"LumaspanTestA=4"));
  ExpectOthersUnchanged({});
}

}  // namespace
