// Path texts in double-byte code pages. This machine has no Japanese locale
// for Wine to take code page 932 from, so the test prefix runs with 1252 and
// the cases name their code page: in 932 (Shift-JIS) 0x95 0x5C is one
// character whose second byte is the backslash's; in 1252 it is two.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "diag/pathtext.h"

namespace {

const std::string kHyou = "\x95\x5C";   // U+8868 in code page 932
const std::string kWideB = "\x82\x61";  // a fullwidth B in 932: second byte 'a'

}  // namespace

TEST(PathText, BackslashesAndDotsCountOnlyWhereACharacterStarts) {
  const struct {
    std::string strPath;
    UINT nCodePage;
    bool bEndsWithBackslash;
    std::string strExtension;  // from its dot; "-" for none
  } kCases[] = {
      {"C:\\" + kHyou, 932, false, "-"},
      {"C:\\" + kHyou, 1252, true, "-"},
      {"C:\\" + kHyou + "\\", 932, true, "-"},
      {"C:\\\x95", 932, false, "-"},  // a lead byte cut off at the end
      {"", 932, false, "-"},
      {"C:\\Data\\archive.tar.GZ", 1252, false, ".GZ"},
      {"C:\\Users\\john.doe\\README", 1252, false, "-"},
      {"C:\\Users\\john.doe\\.git\\", 1252, true, "-"},
      {"C:\\x." + kHyou + "b", 932, false, "." + kHyou + "b"},
      {"C:\\x." + kHyou + "b", 1252, false, "-"},
  };
  for (const auto& rCase : kCases) {
    EXPECT_EQ(rCase.bEndsWithBackslash, endsWithBackslash(rCase.strPath, rCase.nCodePage))
        << rCase.strPath << " in " << rCase.nCodePage;
    const std::string::size_type nDot = extensionDot(rCase.strPath, rCase.nCodePage);
    EXPECT_EQ(rCase.strExtension, nDot == std::string::npos ? "-" : rCase.strPath.substr(nDot))
        << rCase.strPath << " in " << rCase.nCodePage;
  }
}

TEST(PathText, CaseChangesLeaveSecondBytesAndAccentedLettersAlone) {
  std::string strText = ".a" + kWideB + "z\xe9";
  upperAsciiLetters(strText, 932);
  EXPECT_EQ(".A" + kWideB + "Z\xe9", strText);
  lowerAsciiLetters(strText, 932);
  EXPECT_EQ(".a" + kWideB + "z\xe9", strText);
  strText = kWideB;
  upperAsciiLetters(strText, 1252);
  EXPECT_EQ("\x82" "A", strText);
}

TEST(PathText, LongNamesKeepTheirStartAndExtensionAndWholeCharacters) {
  const std::string kHyous = kHyou + kHyou + kHyou + kHyou;
  const struct {
    std::string strName;
    std::string::size_type nKeep;
    UINT nCodePage;
    std::string strShort;
  } kCases[] = {
      {"meeting notes.txt", 17, 1252, "meeting notes.txt"},
      {"Annual report, draft 1.doc", 15, 1252, "Annual rep...1.doc"},
      {std::string(200, 'a') + ".txt", 30, 1252, std::string(20, 'a') + "...aaaaaa.txt"},
      {"README-for-the-installer", 9, 1252, "README...ler"},
      // An "extension" longer than half of what stays is only the end.
      {"v1." + std::string(40, 'y'), 10, 1252, "v1.yy...yyyyy"},
      {"a" + kHyous + kHyous + ".txt", 9, 932, "a" + kHyous + "....txt"},
      {"a" + kHyous + kHyous + ".txt", 9, 1252, "a" + kHyou + kHyou + "....txt"},
  };
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.strShort, shortenInMiddle(rCase.strName, rCase.nKeep, rCase.nCodePage))
        << rCase.strName << " to " << rCase.nKeep << " in " << rCase.nCodePage;
}
