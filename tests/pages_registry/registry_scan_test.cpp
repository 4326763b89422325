// Reading the engine's reports: the split of a problem report and the bounded text of any report.
#include "pages/home_registry/registry_scan.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

using registry_scan::ParseProblem;
using registry_scan::RegistryProblem;

TEST(ProblemReport, SplitsAtTheFirstTwoSeparatorsAndKeepsTheRestAsDisplayText) {
  RegistryProblem p;
  ASSERT_TRUE(ParseProblem(
      L"701|DeleteValue;HKEY_CURRENT_USER\\Run;Gone|HKEY_CURRENT_USER\\Run [Gone]|Program not found", 7, &p));
  EXPECT_EQ(701, p.id);
  EXPECT_EQ(L"DeleteValue;HKEY_CURRENT_USER\\Run;Gone", p.repair);
  EXPECT_EQ(L"HKEY_CURRENT_USER\\Run [Gone]|Program not found", p.display);
  EXPECT_EQ(7, p.category);

  ASSERT_TRUE(ParseProblem(L"-12||", 3, &p));  // empty fields are fields
  EXPECT_EQ(-12, p.id);
  EXPECT_EQ(L"", p.repair);
  EXPECT_EQ(L"", p.display);
  ASSERT_TRUE(ParseProblem(L"x|r|d", 3, &p));  // an id that is no number reads as 0
  EXPECT_EQ(0, p.id);
  ASSERT_TRUE(ParseProblem(L"99999999999|r|d", 3, &p));
  EXPECT_EQ(INT_MAX, p.id);
}

TEST(ProblemReport, ATextWithoutBothSeparatorsIsNoProblem) {
  RegistryProblem p;
  EXPECT_FALSE(ParseProblem(L"", 1, &p));
  EXPECT_FALSE(ParseProblem(L"101", 1, &p));
  EXPECT_FALSE(ParseProblem(L"101|DeleteKey;HKEY_CURRENT_USER\\Software\\X", 1, &p));
  EXPECT_EQ(0, p.category) << "nothing is filled in";
}

TEST(ReportText, StopsAtTheTerminatorAndNeverReadsPastTheBlock) {
  wchar_t text[] = L"abc\0def";
  COPYDATASTRUCT data = {10000, sizeof(text), text};
  EXPECT_EQ(L"abc", registry_scan::ReportText(data));
  data.cbData = 2 * sizeof(wchar_t);  // no terminator inside: only what the block holds
  EXPECT_EQ(L"ab", registry_scan::ReportText(data));
  data.cbData = 3;  // an odd byte count: the whole characters
  EXPECT_EQ(L"a", registry_scan::ReportText(data));
  data.cbData = 0;
  EXPECT_EQ(L"", registry_scan::ReportText(data));
  data = {10000, 100, nullptr};
  EXPECT_EQ(L"", registry_scan::ReportText(data));
}

}  // namespace
