// Path texts in double-byte code pages and in UTF-8. This machine has no
// Japanese locale for Wine to take code page 932 from, so the test prefix
// runs with 1252 and the cases name their code page: in 932 (Shift-JIS)
// 0x95 0x5C is one character whose second byte is the backslash's; in 1252
// it is two. In UTF-8 (65001) a character takes one to four bytes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "diag/pathtext.h"

namespace {

const std::string kHyou = "\x95\x5C";   // U+8868 in code page 932
const std::string kWideB = "\x82\x61";  // a fullwidth B in 932: second byte 'a'
const std::string kTokyo = "\xE6\x9D\xB1\xE4\xBA\xAC";  // two characters in UTF-8
const std::string kOmega = "\xCE\xA9";                    // U+03A9 in UTF-8
const std::string kGrin = "\xF0\x9F\x98\x80";              // U+1F600, a surrogate pair in UTF-16

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
      {"C:\\" + kTokyo + "\\", CP_UTF8, true, "-"},
      {"C:\\" + kTokyo + " tokyo.pwt", CP_UTF8, false, ".pwt"},
      {"C:\\x." + kOmega + kGrin, CP_UTF8, false, "." + kOmega + kGrin},
      {"C:\\\xE6\x9D", CP_UTF8, false, "-"},  // a sequence cut off at the end
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
      {kTokyo + kTokyo + kTokyo + kTokyo + kTokyo + ".txt", 6, CP_UTF8,
       kTokyo + kTokyo.substr(0, 3) + "...txt"},
      {kGrin + kGrin + kGrin + kGrin + kGrin + kGrin + kGrin + ".png", 6, CP_UTF8,
       kGrin + kGrin + kGrin + "...png"},
  };
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.strShort, shortenInMiddle(rCase.strName, rCase.nKeep, rCase.nCodePage))
        << rCase.strName << " to " << rCase.nKeep << " in " << rCase.nCodePage;
}

// A fixed field (the tooltip's 127 bytes, a menu label of 255) takes the
// longest head that ends between characters.
TEST(PathText, HeadsForFixedFieldsEndBetweenCharacters) {
  const struct {
    std::string strText;
    std::string::size_type nMaxBytes;
    UINT nCodePage;
    std::string::size_type nBytes;
  } kCases[] = {
      {"abc", 2, 1252, 2},
      {"a" + kHyou, 2, 932, 1},
      {"a" + kHyou, 2, 1252, 2},
      {kOmega + "mega", 1, CP_UTF8, 0},
      {kOmega + "mega", 3, CP_UTF8, 3},
      {"x" + kGrin, 4, CP_UTF8, 1},
      {"x" + kGrin, 5, CP_UTF8, 5},
      {kTokyo, 5, CP_UTF8, 3},
      {"\xE6\x9D", 1, CP_UTF8, 1},  // a broken sequence counts byte by byte
  };
  for (const auto& rCase : kCases)
    EXPECT_EQ(rCase.nBytes, wholeCharacterBytes(rCase.strText, rCase.nMaxBytes, rCase.nCodePage))
        << rCase.strText << " in " << rCase.nMaxBytes << " bytes of " << rCase.nCodePage;
}
