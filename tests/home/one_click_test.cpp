// The one-click scan's model without its windows: the health score, the overall summary lines, the
// home page's status block, and reading the unsafe-control list whatever the file holds.
#include "pages/home_registry/one_click.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scratch.h"

namespace {

using namespace one_click;

std::vector<std::wstring> Texts(const std::vector<StatusText>& block) {
  std::vector<std::wstring> texts;
  for (const StatusText& t : block) texts.push_back(t.text);
  return texts;
}

TEST(OneClickScore, EveryGroupThatFoundSomethingOrNeverBeganLosesItsWeight) {
  Tally tally;
  EXPECT_EQ(0, HealthScore(tally));  // nothing began
  tally.begun.fill(true);
  EXPECT_EQ(100, HealthScore(tally));
  tally.found[kRegistry] = 3;
  tally.found[kActiveX] = 1;
  EXPECT_EQ(50, HealthScore(tally));
  tally.begun[kBrowser] = false;  // cancelled before it began
  EXPECT_EQ(40, HealthScore(tally));
  std::array<int, kGroups + 1> left = {};
  left[kActiveX] = 1;  // the registry repaired, one control left
  EXPECT_EQ(70, HealthScoreLeft(tally, left));
}

TEST(OneClickScore, ProgressIsIntegerPercentOfTheGroupsDivisor) {
  Tally tally;
  tally.divisor[kJunk] = 3;
  tally.ticks[kJunk] = 2;
  EXPECT_EQ(66, tally.GroupPercent(kJunk));
  tally.ticks[kJunk] = 5;
  EXPECT_EQ(100, tally.GroupPercent(kJunk));
  tally.divisor[kJunk] = 0;  // no fixed drive: no ticks, and no division by zero
  EXPECT_EQ(0, tally.GroupPercent(kJunk));
  tally.selected = 6;
  tally.finished = 4;
  EXPECT_EQ(66, tally.WholePercent());
}

TEST(OneClickSummary, EachGroupSaysNotChosenFoundCleanOrCancelled) {
  EXPECT_EQ(L"Registry Cleaner No Scan This time!", OverallLine(kRegistry, false, 0, false).text);
  SummaryLine found = OverallLine(kJunk, true, 12, true);
  EXPECT_EQ(L"12 Junk File found on your system.", found.text);
  EXPECT_EQ(SummaryIcon::kFound, found.icon);
  SummaryLine clean = OverallLine(kBrowser, true, 0, true);
  EXPECT_EQ(L"No Internet Explorer problems found on your system!", clean.text);
  EXPECT_EQ(SummaryIcon::kClean, clean.icon);
  SummaryLine cancelled = OverallLine(kActiveX, true, 0, false);
  EXPECT_EQ(L"User Cancel Scan Bad ActiveX!", cancelled.text);
  EXPECT_EQ(SummaryIcon::kMessage, cancelled.icon);
}

TEST(OneClickStatusBlock, ShowsEveryStoredScoreAsItsLevel) {
  const std::vector<std::wstring> unknown = {L"System Status is: Unknown",
                                             L"You need to scan your PC as soon as possible!",
                                             L"Please click \"One Click to Clean\" to scan,so can know your PC Health!"};
  EXPECT_EQ(unknown, Texts(StatusBlock(nullptr, 0, L"x")));
  for (const wchar_t* stored : {L"101", L"-1", L"", L"abc", L"999"})
    EXPECT_EQ(unknown, Texts(StatusBlock(stored, 0, L"x"))) << stored;
  EXPECT_EQ(RGB(250, 0, 0), StatusBlock(nullptr, 0, L"").front().colour);

  struct Case {
    const wchar_t* stored;
    const wchar_t* level;
  };
  for (const Case& c : {Case{L"0", L"Bad"}, Case{L"25", L"Bad"}, Case{L"26", L"Low"}, Case{L"50", L"Low"},
                        Case{L"51", L"Good"}, Case{L"75", L"Good"}, Case{L"76", L"Excellent"},
                        Case{L"100", L"Excellent"}}) {
    std::vector<StatusText> block = StatusBlock(c.stored, 7, L"Tuesday December 08, 2026 - 09:00 AM");
    EXPECT_EQ((std::vector<std::wstring>{L"Last PC's Health:", L"Last Scan Time:",
                                         L"Tuesday December 08, 2026 - 09:00 AM", c.level, L"( 7 )Problems",
                                         L" found not been fixed, Please repair as soon as possible!"}),
              Texts(block))
        << c.stored;
    EXPECT_EQ(128 + 6 * 13, block.back().x);
  }
  EXPECT_EQ((std::vector<std::wstring>{L"Last PC's Health:", L"Last Scan Time:", L"d", L"Excellent",
                                       L"Your PC status is perfect. We suggest that you optimize your PC weekly ",
                                       L"to improve performance!"}),
            Texts(StatusBlock(L"1000", 3, L"d")));
}

TEST(OneClickFields, AReportNeedsItsTwoSeparators) {
  Fields f;
  EXPECT_TRUE(SplitFields(L".txt|a|b|c", &f));
  EXPECT_EQ(L".txt", f.first);
  EXPECT_EQ(L"a", f.second);
  EXPECT_EQ(L"b|c", f.third);
  EXPECT_FALSE(SplitFields(L".txt|a", &f));
  EXPECT_FALSE(SplitFields(L"", &f));
}

TEST(OneClickControlList, TakesEachKeyOnceAndSurvivesAnyFile) {
  test::ScratchFolder folder;
  EXPECT_TRUE(ReadControlList((folder / L"missing.dat").c_str()).empty());
  EXPECT_TRUE(ReadControlList(folder.Write(L"empty.dat").c_str()).empty());

  std::string text = "{00000000-0000-0000-0000-000000000001}=One\r\n"
                     "no separator here\n"
                     "=no key\n"
                     "{00000000-0000-0000-0000-000000000001}=One again\n"
                     "{00000000-0000-0000-0000-00000000000a}=Two=with equals\n" +
                     std::string(10000, 'k') + "=" + std::string(10000, 'v') + "\n" +
                     "{00000000-0000-0000-0000-00000000000A}=Two in capitals";  // no final line break
  std::vector<Control> list = ReadControlList(folder.Write(L"list.dat", text).c_str());
  ASSERT_EQ(3u, list.size());
  EXPECT_EQ(L"{00000000-0000-0000-0000-000000000001}", list[0].clsid);
  EXPECT_EQ(L"One", list[0].name);
  EXPECT_EQ(L"Two=with equals", list[1].name);
  EXPECT_EQ(260u, list[2].clsid.size());
  EXPECT_EQ(260u, list[2].name.size());

  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("{00000000-0000-0000-0000-000000000002}=Wide\r\n")) utf16 += std::string{c, '\0'};
  list = ReadControlList(folder.Write(L"wide.dat", utf16).c_str());
  ASSERT_EQ(1u, list.size());
  EXPECT_EQ(L"Wide", list[0].name);

  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += static_cast<char>((i * 7919) % 256);
  for (const Control& c : ReadControlList(folder.Write(L"binary.dat", binary).c_str()))
    EXPECT_LE(c.clsid.size(), 260u);
}

TEST(OneClickControlList, TheShippedListIsRealControls) {
  std::vector<Control> list = ReadControlList(L"C:\\Lumaspan\\Data\\ActiveX.dat");
  EXPECT_GT(list.size(), 1000u);
  for (const Control& c : list) {
    ASSERT_EQ(38u, c.clsid.size()) << c.name;
    EXPECT_FALSE(c.name.empty());
  }
}

}  // namespace
