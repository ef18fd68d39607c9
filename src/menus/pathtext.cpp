#include "pathtext.h"

#include "../diag/callstack.h"

namespace {

// The length in bytes of the character that starts at nPos. A lead byte as
// the very last byte counts alone, so no walk steps past the end.
std::string::size_type charLength(const std::string& rText, std::string::size_type nPos,
                                  UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  const bool bLead = IsDBCSLeadByteEx(nCodePage, static_cast<BYTE>(rText[nPos])) != FALSE;
  return bLead && nPos + 1 < rText.size() ? 2 : 1;
}

void changeAsciiCase(std::string& rText, char cFrom, char cTo, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  for (std::string::size_type i = 0; i < rText.size(); i += charLength(rText, i, nCodePage)) {
    const char c = rText[i];
    if (c >= cFrom && c < cFrom + 26) rText[i] = static_cast<char>(c - cFrom + cTo);
  }
}

}  // namespace

bool endsWithBackslash(const std::string& rPath, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  std::string::size_type nLast = std::string::npos;
  for (std::string::size_type i = 0; i < rPath.size(); i += charLength(rPath, i, nCodePage))
    nLast = i;
  return nLast != std::string::npos && rPath[nLast] == '\\';
}

std::string::size_type extensionDot(const std::string& rPath, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  std::string::size_type nDot = std::string::npos;
  for (std::string::size_type i = 0; i < rPath.size(); i += charLength(rPath, i, nCodePage)) {
    if (rPath[i] == '\\') nDot = std::string::npos;
    if (rPath[i] == '.') nDot = i;
  }
  return nDot;
}

void upperAsciiLetters(std::string& rText, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  changeAsciiCase(rText, 'a', 'A', nCodePage);
}

void lowerAsciiLetters(std::string& rText, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  changeAsciiCase(rText, 'A', 'a', nCodePage);
}
