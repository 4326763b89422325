#include "contracts/shared_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

long ReferencesInside(SharedString s) { return s.references(); }

TEST(SharedString, CopiesShareOneCountedBlock) {
  SharedString a(L"20261206183107.reg");
  EXPECT_EQ(1, a.references());
  {
    SharedString b = a;
    EXPECT_EQ(2, a.references());
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(3, ReferencesInside(b));  // a by-value argument holds its own reference
    EXPECT_EQ(2, a.references());
  }
  EXPECT_EQ(1, a.references());
  EXPECT_EQ(std::wstring(L"20261206183107.reg"), a.c_str());
  EXPECT_EQ(18u, a.length());
}

TEST(SharedString, NullAndEmptyReadAsEmpty) {
  SharedString none;
  SharedString null(nullptr);
  SharedString empty(L"");
  EXPECT_STREQ(L"", none.c_str());
  EXPECT_STREQ(L"", null.c_str());
  EXPECT_STREQ(L"", empty.c_str());
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(0, ReferencesInside(none));
}

TEST(SharedString, AssignmentReleasesTheOldText) {
  SharedString a(L"one");
  SharedString b(L"two");
  SharedString keep = b;
  b = a;
  EXPECT_STREQ(L"one", b.c_str());
  EXPECT_EQ(1, keep.references());
  EXPECT_EQ(2, a.references());
  b = b;
  EXPECT_EQ(2, a.references());
  SharedString part(L"abcdef", 3);
  EXPECT_STREQ(L"abc", part.c_str());
}

}  // namespace
