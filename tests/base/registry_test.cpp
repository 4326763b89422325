// The one registry string read: only whole, terminated REG_SZ or REG_EXPAND_SZ data that fits.
#include "base/registry.h"

#include <gtest/gtest.h>

#include "base/handles.h"
#include "tests/support/registry_sandbox.h"

namespace {

const wchar_t kPath[] = L"Software\\Lumaspan Software\\Test\\Registry";

class RegistryRead : public ::testing::Test {
 protected:
  test::RegistrySandbox sandbox_{HKEY_CURRENT_USER, kPath};
  base::UniqueKey Open() {
    base::UniqueKey key;
    RegOpenKeyExW(HKEY_CURRENT_USER, kPath, 0, KEY_READ, key.receive());
    return key;
  }
  std::wstring Bounded(const wchar_t* name, size_t capacity) {
    std::wstring buffer(capacity + 4, L'#');
    base::ReadRegistryString(Open().get(), name, &buffer[0], capacity);
    EXPECT_EQ(L'#', buffer[capacity]);  // nothing written past the capacity
    return buffer.c_str();
  }
};

TEST_F(RegistryRead, AcceptsStringTypes) {
  sandbox_.SetString(L"", L"sz", L"hello");
  sandbox_.SetString(L"", L"expand", L"%SystemRoot%\\x", REG_EXPAND_SZ);
  sandbox_.SetString(L"", L"empty", L"");
  EXPECT_EQ(L"hello", Bounded(L"sz", 260));
  EXPECT_EQ(L"%SystemRoot%\\x", Bounded(L"expand", 260));
  EXPECT_EQ(L"", Bounded(L"empty", 260));
  EXPECT_EQ(L"hello", base::ReadRegistryString(Open().get(), L"sz"));
}

TEST_F(RegistryRead, RefusesEverythingElse) {
  sandbox_.SetDword(L"", L"dword", 7);
  const BYTE odd[] = {'a', 0, 'b'};
  sandbox_.SetRaw(L"", L"odd", REG_SZ, odd, sizeof(odd));
  const wchar_t unterminated[] = {L'a', L'b'};
  sandbox_.SetRaw(L"", L"open", REG_SZ, unterminated, sizeof(unterminated));
  sandbox_.SetRaw(L"", L"multi", REG_MULTI_SZ, L"a\0b\0", 10);
  for (const wchar_t* name : {L"dword", L"odd", L"open", L"multi", L"missing"}) {
    EXPECT_EQ(L"", Bounded(name, 260)) << name;
    EXPECT_EQ(L"", base::ReadRegistryString(Open().get(), name)) << name;
  }
  wchar_t buffer[8] = L"keep";
  EXPECT_FALSE(base::ReadRegistryString(nullptr, L"sz", buffer, 8));
  EXPECT_STREQ(L"", buffer);
}

TEST_F(RegistryRead, AValueLongerThanTheBufferReadsAsEmpty) {
  std::wstring longValue(10000, L'x');
  sandbox_.SetString(L"", L"long", longValue);
  sandbox_.SetString(L"", L"fits", std::wstring(259, L'y'));
  EXPECT_EQ(L"", Bounded(L"long", 260));
  EXPECT_EQ(std::wstring(259, L'y'), Bounded(L"fits", 260));
  EXPECT_EQ(L"", Bounded(L"fits", 259));
  EXPECT_EQ(longValue, base::ReadRegistryString(Open().get(), L"long"));
}

}  // namespace
