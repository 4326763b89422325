// CTextFileRead: encodings by their marks, every line ending, buffer boundaries, narrow lines and
// files that cannot be read.
#include "base/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/scratch.h"

namespace {

class TextFiles : public testing::Test {
 protected:
  std::wstring Write(const std::string& bytes) {
    std::wstring path = folder_ / (L"f" + std::to_wstring(++count_) + L".txt");
    test::WriteFile(path, bytes);
    return path;
  }
  std::vector<std::wstring> Lines(const std::string& bytes, CTextFileBase::TEXTENCODING* encoding = nullptr) {
    CTextFileRead file(Write(bytes).c_str());
    if (encoding) *encoding = file.GetEncoding();
    std::vector<std::wstring> lines;
    std::wstring line;
    while (file.ReadLine(line)) {
      lines.push_back(line);
      if (lines.size() > 10000) break;
    }
    EXPECT_FALSE(file.ReadLine(line));  // stays at the end
    return lines;
  }
  test::ScratchFolder folder_;
  int count_ = 0;
};

using LineList = std::vector<std::wstring>;

TEST_F(TextFiles, Utf8WithItsMark) {
  CTextFileBase::TEXTENCODING e;
  EXPECT_EQ((LineList{L"3.1.1.10079"}), Lines("\xEF\xBB\xBF" "3.1.1.10079", &e));
  EXPECT_EQ(CTextFileBase::UTF8, e);
  // Two- and three-byte characters; a four-byte lead and a lone continuation are not characters.
  EXPECT_EQ((LineList{L"\u00E9\u20AC", L"\uFFFD\uFFFD\uFFFD\uFFFDx"}),
            Lines("\xEF\xBB\xBF\xC3\xA9\xE2\x82\xAC\n\xF0\x9F\x98\x80x"));
  EXPECT_EQ((LineList{L"ab"}), Lines("\xEF\xBB\xBF" "ab\xE2\x82"));  // cut off inside a character
}

TEST_F(TextFiles, WithoutAMarkTheBytesAreAnsiText) {
  CTextFileBase::TEXTENCODING e;
  LineList lines = Lines("\xEF\xBB" "A", &e);
  EXPECT_EQ(CTextFileBase::ASCII, e);
  ASSERT_EQ(1u, lines.size());
  ASSERT_EQ(3u, lines[0].size());
  EXPECT_EQ(L'A', lines[0][2]);
  wchar_t expected[3] = {};
  MultiByteToWideChar(CP_ACP, 0, "\xEF\xBB" "A", 3, expected, 3);
  EXPECT_EQ(std::wstring(expected, 3), lines[0]);
  EXPECT_EQ((LineList{L"x"}), Lines("x"));  // one byte: shorter than a mark
}

TEST_F(TextFiles, Utf16EitherWayRound) {
  CTextFileBase::TEXTENCODING e;
  EXPECT_EQ((LineList{L"Hi", L"\u4E2D"}), Lines(std::string("\xFF\xFEH\0i\0\r\0\n\0\x2D\x4E", 12), &e));
  EXPECT_EQ(CTextFileBase::UNI16LE, e);
  EXPECT_EQ((LineList{L"Hi"}), Lines(std::string("\xFE\xFF\0H\0i", 6), &e));
  EXPECT_EQ(CTextFileBase::UNI16BE, e);
  EXPECT_EQ((LineList{L"H"}), Lines(std::string("\xFF\xFEH\0i", 5)));  // half a character at the end
}

TEST_F(TextFiles, EveryLineEnding) {
  EXPECT_EQ((LineList{L"A", L"", L"B"}), Lines("A\r\r\nB"));
  EXPECT_EQ((LineList{L"A", L"B", L"C", L"D"}), Lines("A\r\nB\nC\rD"));
  EXPECT_EQ((LineList{L"A", L""}), Lines("A\r\n"));  // a last terminator gives one more, empty, line
  EXPECT_EQ((LineList{L"A", L"", L""}), Lines("A\n\n"));
  EXPECT_EQ((LineList{L"", L"B"}), Lines("\nB"));
  EXPECT_EQ((LineList{L""}), Lines(""));  // empty: one empty line, then the end
}

TEST_F(TextFiles, LinesAcrossTheReadBuffer) {
  std::string first(1023, 'a'), second(3000, 'b');
  LineList lines = Lines(first + "\r\n" + second + "\r\nend");  // CR LF split over two reads
  ASSERT_EQ(3u, lines.size());
  EXPECT_EQ(std::wstring(1023, L'a'), lines[0]);
  EXPECT_EQ(std::wstring(3000, L'b'), lines[1]);
  EXPECT_EQ(L"end", lines[2]);
  // The same in UTF-16, where each character is two bytes of the buffer.
  std::string wide = "\xFF\xFE";
  for (int i = 0; i < 700; ++i) wide += std::string("z\0", 2);
  wide += std::string("\r\0\n\0y\0", 6);
  lines = Lines(wide);
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(std::wstring(700, L'z'), lines[0]);
  EXPECT_EQ(L"y", lines[1]);
}

TEST_F(TextFiles, NarrowLinesRecordLostCharacters) {
  CTextFileRead file(Write(std::string("\xFF\xFEO\0K\0\n\0\x2D\x4E", 10)).c_str());
  file.SetCodePage(1252);
  std::string line;
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ("OK", line);
  EXPECT_FALSE(file.IsDataLost());
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(1u, line.size());  // the default character
  EXPECT_TRUE(file.IsDataLost());
  EXPECT_FALSE(file.ReadLine(line));

  CTextFileRead ansi(Write("caf\xE9\r\n").c_str());
  ASSERT_TRUE(ansi.ReadLine(line));
  EXPECT_EQ("caf\xE9", line);  // ANSI bytes pass through unchanged
}

TEST_F(TextFiles, AFileThatCannotBeOpenedReadsAsEmpty) {
  CTextFileRead file((folder_ / L"missing.txt").c_str());
  EXPECT_FALSE(file.IsOpen());
  std::wstring line = L"left over";
  EXPECT_FALSE(file.ReadLine(line));
  EXPECT_TRUE(line.empty());
  CTextFileRead none(nullptr);
  EXPECT_FALSE(none.ReadLine(line));
  // A file held open for writing without sharing cannot be opened either.
  std::wstring path = Write("x");
  HANDLE locked = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  CTextFileRead held(path.c_str());
  EXPECT_FALSE(held.IsOpen());
  CloseHandle(locked);
}

TEST_F(TextFiles, CloseEndsTheFile) {
  CTextFileRead file(Write("a\nb\n").c_str());
  std::wstring line;
  ASSERT_TRUE(file.ReadLine(line));
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.ReadLine(line));
}

}  // namespace
