// The scans as the program sees them: the report protocol, and a fresh system without problems.
#include <windows.h>

#include <gtest/gtest.h>

#include "contracts/hivescrub.h"
#include "hivescrub_support.h"

namespace {

TEST(FreshSystem, ReportsNoProblemInAnyCategory) {
  for (int c = 1; c <= 15; ++c) {
    std::vector<hstest::Problem> problems = hstest::ScanProblems(c);
    EXPECT_TRUE(problems.empty()) << "category " << c << ":" << testing::PrintToString(hstest::Describe(problems));
  }
}

}  // namespace
