#include "pathtext.h"

#include "callstack.h"

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

std::string::size_type lastBackslash(const std::string& rPath, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  std::string::size_type nSlash = std::string::npos;
  for (std::string::size_type i = 0; i < rPath.size(); i += charLength(rPath, i, nCodePage))
    if (rPath[i] == '\\') nSlash = i;
  return nSlash;
}

// The buffer grows until the whole path fits: the system cuts a longer one
// short without saying so, other than by filling the buffer.
std::string programPath() {
  KVX_CALLSTACK_TRACK;
  std::string strPath(MAX_PATH, '\0');
  for (;;) {
    const DWORD nLength =
        GetModuleFileNameA(NULL, &strPath[0], static_cast<DWORD>(strPath.size()));
    if (nLength < strPath.size()) {
      strPath.resize(nLength);
      return strPath;
    }
    strPath.resize(strPath.size() * 2);
  }
}

std::string programFolder() {
  KVX_CALLSTACK_TRACK;
  const std::string strPath = programPath();
  const std::string::size_type nSlash = lastBackslash(strPath);
  return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1);
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
