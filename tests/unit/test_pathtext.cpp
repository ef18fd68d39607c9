// Path texts in double-byte code pages. The test prefix runs with code page
// 1252 (this machine has no Japanese locale for Wine to take 932 from), so
// the cases name their code page: 932 (Shift-JIS), where 0x95 0x5C is one
// character whose second byte is the backslash's, and 1252, where it is two.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "menus/pathtext.h"

namespace {

const UINT kShiftJis = 932;
const UINT kWestern = 1252;
// U+8868, a character whose second byte is 0x5C in code page 932.
const char kHyou[] = "\x95\x5C";
// FULLWIDTH LATIN CAPITAL LETTER B in code page 932: second byte 'a'.
const char kWideB[] = "\x82\x61";

}  // namespace

TEST(PathText, EndsWithBackslashLooksAtTheLastCharacterNotTheLastByte) {
  const std::string strRoot = std::string("C:\\") + kHyou;
  const struct {
    std::string strPath;
    UINT nCodePage;
    bool bWant;
  } kCases[] = {
      {strRoot, kShiftJis, false},
      {strRoot + "\\", kShiftJis, true},
      {strRoot, kWestern, true},
      {"C:\\Data\\", kShiftJis, true},
      {"C:\\Data", kShiftJis, false},
      {"C:\\\x95", kShiftJis, false},  // a lead byte cut off at the end
      {"\\", kShiftJis, true},
      {"", kShiftJis, false},
  };
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.bWant, endsWithBackslash(rCase.strPath, rCase.nCodePage))
        << rCase.strPath << " in " << rCase.nCodePage;
}

TEST(PathText, TheExtensionDotIsTheLastDotOfTheFileName) {
  const std::string npos = "none";
  const struct {
    std::string strPath;
    UINT nCodePage;
    std::string strWant;  // the extension from its dot, or "none"
  } kCases[] = {
      {"C:\\Data\\a.TXT", kWestern, ".TXT"},
      {"C:\\Data\\archive.tar.gz", kWestern, ".gz"},
      {"C:\\Users\\john.doe\\README", kWestern, npos},
      {"C:\\Users\\john.doe\\.git\\HEAD", kWestern, npos},
      {"C:\\Users\\john.doe\\.profile", kWestern, ".profile"},
      {"trailing.", kWestern, "."},
      // The second byte of the character is no separator in 932: the name
      // is "x.<hyou>b", with an extension; in 1252 the name is "b".
      {std::string("C:\\x.") + kHyou + "b", kShiftJis, std::string(".") + kHyou + "b"},
      {std::string("C:\\x.") + kHyou + "b", kWestern, npos},
  };
  for (const auto& rCase : kCases) {
    const std::string::size_type nDot = extensionDot(rCase.strPath, rCase.nCodePage);
    EXPECT_EQ(rCase.strWant, nDot == std::string::npos ? npos : rCase.strPath.substr(nDot))
        << rCase.strPath << " in " << rCase.nCodePage;
  }
}

TEST(PathText, CaseChangesLeaveSecondBytesAlone) {
  std::string strText = std::string(".a") + kWideB + "z";
  upperAsciiLetters(strText, kShiftJis);
  EXPECT_EQ(std::string(".A") + kWideB + "Z", strText);
  lowerAsciiLetters(strText, kShiftJis);
  EXPECT_EQ(std::string(".a") + kWideB + "z", strText);
  // In 1252 the same bytes are two characters, the second a letter.
  strText = kWideB;
  upperAsciiLetters(strText, kWestern);
  EXPECT_EQ("\x82" "A", strText);
  // Accented letters are not ASCII and keep their case.
  strText = "\xe9t\xe9";
  upperAsciiLetters(strText, kWestern);
  EXPECT_EQ("\xe9T\xe9", strText);
}
