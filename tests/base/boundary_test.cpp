// What stops at a boundary: the export guard's fallback and record, and the one owner of a COM
// reference.
#include "base/com.h"
#include "base/export_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <type_traits>

namespace {

TEST(ExportGuard, AnExceptionBecomesTheFallbackAndIsRecorded) {
  long before = base::FaultCount();
  EXPECT_EQ(7, base::Guarded([] { return 7; }, -1));
  EXPECT_EQ(before, base::FaultCount());
  EXPECT_EQ(-1, base::Guarded([]() -> int { throw std::runtime_error("disk gone"); }, -1));
  EXPECT_EQ(0, base::Guarded([]() -> int { throw 5; }));
  EXPECT_EQ(before + 2, base::FaultCount());
  std::wstring last = base::LastFault();
  EXPECT_NE(std::wstring::npos, last.find(L"int stopped at TestBody")) << last;  // kind, then the caller
  base::Guarded([]() -> int { throw std::runtime_error("disk gone"); });
  last = base::LastFault();
  EXPECT_NE(std::wstring::npos, last.find(L"std::runtime_error (disk gone)")) << last;
}

class Counted : public IUnknown {
 public:
  int releases = 0;
  STDMETHODIMP QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return ++releases, 1; }
};

TEST(ComPtr, OneReferenceIsReleasedOnceWhereverItMoves) {
  static_assert(!std::is_copy_constructible<base::ComPtr<IUnknown>>::value, "a copy would release twice");
  static_assert(!std::is_copy_assignable<base::ComPtr<IUnknown>>::value, "a copy would release twice");
  Counted object;
  {
    base::ComPtr<Counted> first(&object);
    base::ComPtr<Counted> second(std::move(first));
    base::ComPtr<Counted> third;
    third = std::move(second);
    EXPECT_FALSE(first);
    EXPECT_EQ(&object, third.get());
    EXPECT_EQ(0, object.releases);
  }
  EXPECT_EQ(1, object.releases);
}

}  // namespace
