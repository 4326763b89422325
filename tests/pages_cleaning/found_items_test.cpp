// How the cleaner pages read item reports and write sizes: what the engines send, and what they
// never should but a page must survive without pointing a row at something else.
#include "pages/cleaning/found_items.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using cleaning_pages::DriveSpaceText;
using cleaning_pages::FoundItem;
using cleaning_pages::ParseItemReport;

FoundItem Parsed(const std::wstring& text) {
  FoundItem item;
  EXPECT_TRUE(ParseItemReport(text, &item)) << std::string(text.begin(), text.end());
  return item;
}

bool Refused(const std::wstring& text) {
  FoundItem item;
  item.name = L"untouched";
  bool parsed = ParseItemReport(text, &item);
  return !parsed && item.name == L"untouched";
}

TEST(ItemReports, AFileBecomesItsNameAndFolder) {
  FoundItem item = Parsed(L"a.tmp|T:\\deep\\er\\a.tmp|1234");
  EXPECT_EQ(L"a.tmp", item.name);
  EXPECT_EQ(L"T:\\deep\\er\\", item.location);
  EXPECT_EQ(1234u, item.size);
  item = Parsed(L"x.old|T:\\x.old|0");
  EXPECT_EQ(L"T:\\", item.location);
  EXPECT_EQ(0u, item.size);
  item = Parsed(L"huge.tmp|T:\\big\\huge.tmp|18446744073709551615");  // the largest 64-bit size
  EXPECT_EQ(UINT64_MAX, item.size);
}

TEST(ItemReports, ARegistryLocationIsKeptWhole) {
  const std::wstring run = L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU\\";
  FoundItem item = Parsed(L"MRUList|" + run + L"|8");
  EXPECT_EQ(L"MRUList", item.name);
  EXPECT_EQ(run, item.location);
  // A short key under a long value name: cutting the name's length off would leave a text that
  // no longer names the key (and would read as a file path).
  const std::wstring shortKey = L"HKEY_CURRENT_USER\\X";
  item = Parsed(std::wstring(40, L'v') + L"|" + shortKey + L"|2");
  EXPECT_EQ(shortKey, item.location);
  EXPECT_EQ(std::wstring(40, L'v'), item.name);
  // The default value has an empty name.
  item = Parsed(L"|" + run + L"|0");
  EXPECT_EQ(L"", item.name);
  EXPECT_EQ(run, item.location);
}

TEST(ItemReports, AValueNameMayHoldTheSeparator) {
  const std::wstring key = L"HKEY_CURRENT_USER\\Software\\Gabest\\Media Player Classic\\Recent File List\\";
  FoundItem item = Parsed(L"a|b|c|" + key + L"|6");
  EXPECT_EQ(L"a|b|c", item.name);
  EXPECT_EQ(key, item.location);
}

TEST(ItemReports, MalformedTextsAreRefused) {
  EXPECT_TRUE(Refused(L""));
  EXPECT_TRUE(Refused(L"no separator at all"));
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp"));     // one separator: no size
  EXPECT_TRUE(Refused(L"|"));
  EXPECT_TRUE(Refused(L"||"));
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp|"));    // empty size
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp|12a"));  // not a number
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp|-5"));
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp| 5"));
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp|18446744073709551616"));  // one past 64 bits
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp|123456789012345678901"));
  EXPECT_TRUE(Refused(L"a.tmp|T:\\a.tmp|5|7"));  // the size field is the last one
}

TEST(ItemReports, AFilePathMustEndInTheName) {
  EXPECT_TRUE(Refused(L"much-longer-name.tmp|T:\\x|5"));  // a name longer than its location
  EXPECT_TRUE(Refused(L"a.tmp|T:\\other.tmp|5"));         // a path of another file
  EXPECT_TRUE(Refused(L"a.tmp|T:\\xa.tmp|5"));            // the name is only the end of the last part
  EXPECT_TRUE(Refused(L"a.tmp|a.tmp|5"));                 // no folder
  EXPECT_TRUE(Refused(L"|T:\\dir\\|5"));                  // no name
  EXPECT_TRUE(Refused(L"hkey_current_user|x|1"));         // the key test is case-sensitive
  FoundItem item = Parsed(L"a.tmp|T:/dir/a.tmp|5");       // either separator
  EXPECT_EQ(L"T:/dir/", item.location);
}

TEST(ItemReports, TextAfterATerminatorIsNotRead) {
  std::wstring text = L"a.tmp|T:\\a.tmp|5";
  text.push_back(L'\0');
  text += L"junk";
  FoundItem item;
  // A view of the whole buffer: the parser sees the characters it is given, nothing is read past them.
  EXPECT_FALSE(ParseItemReport(std::wstring_view(text.c_str(), text.size()), &item));
  EXPECT_TRUE(ParseItemReport(std::wstring_view(text.c_str()), &item));
}

TEST(DriveSpace, MegabytesBelowOneGibibyteAndGigabytesFromIt) {
  const uint64_t kMiB = 1ULL << 20, kGiB = 1ULL << 30;
  EXPECT_EQ(L"500.0 GB", DriveSpaceText(500 * kGiB));
  EXPECT_EQ(L"512.0 MB", DriveSpaceText(512 * kMiB));
  EXPECT_EQ(L"1.0 GB", DriveSpaceText(kGiB));
  EXPECT_EQ(L"1024.0 MB", DriveSpaceText(kGiB - 1));
  EXPECT_EQ(L"0.0 MB", DriveSpaceText(0));
  EXPECT_EQ(L"1.5 GB", DriveSpaceText(kGiB + kGiB / 2));
  EXPECT_EQ(L"2048.0 GB", DriveSpaceText(2048 * kGiB));
}

TEST(Sizes, TotalsStopAtTheLargestValue) {
  EXPECT_EQ(7u, cleaning_pages::SaturatingAdd(3, 4));
  EXPECT_EQ(UINT64_MAX, cleaning_pages::SaturatingAdd(UINT64_MAX - 1, 5));
  EXPECT_EQ(L"512 bytes", cleaning_pages::SizeText(512));
}

}  // namespace
