#include "base/text.h"

#include <gtest/gtest.h>

namespace {

TEST(BoundedText, CopyCutsAndTerminates) {
  wchar_t buffer[5];
  EXPECT_EQ(4u, base::CopyBounded(buffer, 5, L"abcdefgh"));
  EXPECT_STREQ(L"abcd", buffer);
  EXPECT_EQ(0u, base::CopyBounded(buffer, 5, nullptr));
  EXPECT_STREQ(L"", buffer);
  EXPECT_EQ(0u, base::CopyBounded(nullptr, 5, L"x"));
  EXPECT_EQ(0u, base::CopyBounded(buffer, 0, L"x"));
}

TEST(BoundedText, AppendKeepsWhatIsThereAndNeverOverruns) {
  wchar_t buffer[8] = L"ab";
  EXPECT_EQ(5u, base::AppendBounded(buffer, 8, L"cdefghij"));
  EXPECT_STREQ(L"abcdefg", buffer);
  EXPECT_EQ(0u, base::AppendBounded(buffer, 8, L"x"));
  wchar_t full[4] = {L'a', L'b', L'c', L'd'};  // not terminated within its capacity
  EXPECT_EQ(0u, base::AppendBounded(full, 4, L"x"));
  EXPECT_EQ(L'\0', full[3]);
}

}  // namespace
