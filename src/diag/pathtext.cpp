#include "pathtext.h"

#include <algorithm>
#include <vector>

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

// Where each character starts, and the length of the text last.
std::vector<std::string::size_type> characterStarts(const std::string& rText, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  std::vector<std::string::size_type> starts;
  for (std::string::size_type i = 0; i < rText.size(); i += charLength(rText, i, nCodePage))
    starts.push_back(i);
  starts.push_back(rText.size());
  return starts;
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

// A third of what stays goes to the end: names that differ only just
// before their extension, as numbered copies do, stay apart.
std::string shortenInMiddle(const std::string& rName, std::string::size_type nKeep,
                            UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  const std::vector<std::string::size_type> starts = characterStarts(rName, nCodePage);
  const std::string::size_type nChars = starts.size() - 1;
  if (nChars <= nKeep) return rName;
  const std::string::size_type nDot = extensionDot(rName, nCodePage);
  const std::string::size_type nExtension =
      nDot == std::string::npos ? 0 : starts.end() - std::find(starts.begin(), starts.end(), nDot) - 1;
  const std::string::size_type nTail = std::min(std::max(nKeep / 3, nExtension), nKeep / 2);
  return rName.substr(0, starts[nKeep - nTail]) + "..." + rName.substr(starts[nChars - nTail]);
}
