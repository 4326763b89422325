// CIni: typed reads of the theme file, and what defaults, long values and odd texts give.
#include "base/ini.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scratch.h"

namespace {

class IniFile : public testing::Test {
 protected:
  void SetUp() override {
    test::WriteFile(path_,
                    "[S]\r\nMask=255,0,255\r\nBig=300,1,2\r\nTwo=7,8\r\nFour=1,2,3,4\r\nGaps=,5,\r\n"
                    "LongPart=1234567890123,2,3\r\nYes=Yes\r\nTrue=TRUE\r\nTwoB=2\r\nZero=0\r\nWord=abc\r\n"
                    "Hex=1A\r\nNeg=-12\r\nSpaced=  42  \r\nEmpty=\r\nLong=" +
                        std::string(5000, 'q') + "\r\n");
    ini_.SetPathName(path_.c_str());
  }
  test::ScratchFolder folder_;
  std::wstring path_ = folder_ / L"theme.ini";
  CIni ini_;
};

TEST_F(IniFile, ColoursAreRedGreenBlueMaskedToEightBits) {
  EXPECT_EQ(0xFF00FFu, ini_.GetColor(L"S", L"Mask", 0));
  EXPECT_EQ(static_cast<COLORREF>(44 + 1 * 256 + 2 * 65536), ini_.GetColor(L"S", L"Big", 0));
  EXPECT_EQ(RGB(7, 8, 0), ini_.GetColor(L"S", L"Two", 0));    // missing parts are 0
  EXPECT_EQ(RGB(1, 2, 3), ini_.GetColor(L"S", L"Four", 0));   // later parts are ignored
  EXPECT_EQ(RGB(0, 5, 0), ini_.GetColor(L"S", L"Gaps", 0));
  EXPECT_EQ(RGB(123456789 & 0xFF, 2, 3), ini_.GetColor(L"S", L"LongPart", 0));  // nine characters a part
  EXPECT_EQ(RGB(9, 9, 9), ini_.GetColor(L"S", L"Empty", RGB(9, 9, 9)));
  EXPECT_EQ(RGB(9, 9, 9), ini_.GetColor(L"S", L"Missing", RGB(9, 9, 9)));
  EXPECT_EQ(RGB(0, 0, 0), CIni::ParseColor(nullptr));
  EXPECT_EQ(RGB(0, 0, 0), CIni::ParseColor(std::wstring(100000, L',').c_str()));
}

TEST_F(IniFile, BooleansAcceptWordsAndNumbers) {
  EXPECT_TRUE(ini_.GetBool(L"S", L"Yes", false));
  EXPECT_TRUE(ini_.GetBool(L"S", L"True", false));
  EXPECT_TRUE(ini_.GetBool(L"S", L"TwoB", false));
  EXPECT_FALSE(ini_.GetBool(L"S", L"Zero", true));
  EXPECT_FALSE(ini_.GetBool(L"S", L"Word", true));
  EXPECT_TRUE(ini_.GetBool(L"S", L"Empty", true));
  EXPECT_FALSE(ini_.GetBool(L"S", L"Missing", false));
}

TEST_F(IniFile, IntegersInTheirBase) {
  EXPECT_EQ(26, ini_.GetInt(L"S", L"Hex", 0, 16));
  EXPECT_EQ(1, ini_.GetInt(L"S", L"Hex", 0, 7));  // any other base is decimal: "1A" reads 1
  EXPECT_EQ(1, ini_.GetInt(L"S", L"Hex", 0, 10));
  EXPECT_EQ(2, ini_.GetInt(L"S", L"TwoB", 0, 8));
  EXPECT_EQ(-12, ini_.GetInt(L"S", L"Neg", 0));
  EXPECT_EQ(42, ini_.GetInt(L"S", L"Spaced", 0));  // the profile reader trims the value
  EXPECT_EQ(0, ini_.GetInt(L"S", L"Word", 5));
  EXPECT_EQ(5, ini_.GetInt(L"S", L"Empty", 5));
  EXPECT_EQ(5, ini_.GetInt(L"Nope", L"Hex", 5));
}

TEST_F(IniFile, StringsAreCutToTheBufferAndAlwaysTerminated) {
  wchar_t buffer[8];
  wmemset(buffer, L'#', 8);
  EXPECT_EQ(7u, ini_.GetString(L"S", L"Long", buffer, 8));
  EXPECT_EQ(L'\0', buffer[7]);
  EXPECT_STREQ(L"qqqqqqq", buffer);
  EXPECT_EQ(3u, ini_.GetString(L"S", L"Missing", buffer, 8, L"dft"));
  EXPECT_STREQ(L"dft", buffer);
  EXPECT_EQ(0u, ini_.GetString(L"S", L"Missing", buffer, 8));
  EXPECT_STREQ(L"", buffer);
  EXPECT_EQ(0u, ini_.GetString(L"S", L"Hex", buffer, 0));
  EXPECT_EQ(5000u, ini_.GetString(L"S", L"Long").size());  // read whole however long
}

TEST_F(IniFile, NullNamesAndMissingFilesGiveTheDefault) {
  EXPECT_EQ(7, ini_.GetInt(nullptr, L"Hex", 7));
  EXPECT_EQ(7, ini_.GetInt(L"S", nullptr, 7));
  EXPECT_EQ(L"d", ini_.GetString(nullptr, nullptr, L"d"));
  CIni none((folder_ / L"no-such.ini").c_str());
  EXPECT_EQ(RGB(1, 2, 3), none.GetColor(L"S", L"Mask", RGB(1, 2, 3)));
  CIni empty;
  EXPECT_STREQ(L"", empty.GetPathName());
  EXPECT_EQ(3, empty.GetInt(L"S", L"Hex", 3));
  ini_.SetPathName(nullptr);
  EXPECT_EQ(3, ini_.GetInt(L"S", L"Hex", 3));
}

}  // namespace
