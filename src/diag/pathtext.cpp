#include "pathtext.h"

#include <algorithm>
#include <vector>

#include "callstack.h"

namespace {

// The code page a walk steps in, asked once per walk: the system's where the
// caller named none. The system's own test of lead bytes knows nothing of
// UTF-8.
UINT walkCodePage(UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  return nCodePage == CP_ACP ? GetACP() : nCodePage;
}

// A UTF-8 sequence's length from its lead byte, where its continuation
// bytes are all there; a stray or broken byte counts alone.
std::string::size_type utf8Length(const std::string& rText, std::string::size_type nPos) {
  KVX_CALLSTACK_TRACK;
  const unsigned char c = static_cast<unsigned char>(rText[nPos]);
  const std::string::size_type n = c < 0xC2 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 1;
  if (nPos + n > rText.size()) return 1;
  for (std::string::size_type i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(rText[nPos + i]) & 0xC0) != 0x80) return 1;
  return n;
}

// The length in bytes of the character that starts at nPos, in a code page
// walkCodePage gave. A lead byte as the very last byte counts alone, so no
// walk steps past the end.
std::string::size_type charLength(const std::string& rText, std::string::size_type nPos,
                                  UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  if (static_cast<unsigned char>(rText[nPos]) < 0x80) return 1;
  if (nCodePage == CP_UTF8) return utf8Length(rText, nPos);
  const bool bLead = IsDBCSLeadByteEx(nCodePage, static_cast<BYTE>(rText[nPos])) != FALSE;
  return bLead && nPos + 1 < rText.size() ? 2 : 1;
}

void changeAsciiCase(std::string& rText, char cFrom, char cTo, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  nCodePage = walkCodePage(nCodePage);
  for (std::string::size_type i = 0; i < rText.size(); i += charLength(rText, i, nCodePage)) {
    const char c = rText[i];
    if (c >= cFrom && c < cFrom + 26) rText[i] = static_cast<char>(c - cFrom + cTo);
  }
}

// Where each character starts, and the length of the text last.
std::vector<std::string::size_type> characterStarts(const std::string& rText, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  nCodePage = walkCodePage(nCodePage);
  std::vector<std::string::size_type> starts;
  for (std::string::size_type i = 0; i < rText.size(); i += charLength(rText, i, nCodePage))
    starts.push_back(i);
  starts.push_back(rText.size());
  return starts;
}

}  // namespace

bool endsWithBackslash(const std::string& rPath, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  nCodePage = walkCodePage(nCodePage);
  std::string::size_type nLast = std::string::npos;
  for (std::string::size_type i = 0; i < rPath.size(); i += charLength(rPath, i, nCodePage))
    nLast = i;
  return nLast != std::string::npos && rPath[nLast] == '\\';
}

std::string::size_type lastBackslash(const std::string& rPath, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  nCodePage = walkCodePage(nCodePage);
  std::string::size_type nSlash = std::string::npos;
  for (std::string::size_type i = 0; i < rPath.size(); i += charLength(rPath, i, nCodePage))
    if (rPath[i] == '\\') nSlash = i;
  return nSlash;
}

namespace {

// rWide in the ANSI code page; rbWhole says whether every character made it.
// UTF-8 holds them all, and its conversion takes no default character.
std::string toAnsi(const std::wstring& rWide, bool& rbWhole) {
  KVX_CALLSTACK_TRACK;
  rbWhole = true;
  if (rWide.empty()) return std::string();
  const bool bUtf8 = GetACP() == CP_UTF8;
  BOOL bDefaultUsed = FALSE;
  const DWORD dwFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL* lpbDefaultUsed = bUtf8 ? NULL : &bDefaultUsed;
  const int nWide = static_cast<int>(rWide.size());
  const int nBytes =
      WideCharToMultiByte(CP_ACP, dwFlags, rWide.data(), nWide, NULL, 0, NULL, lpbDefaultUsed);
  std::string strAnsi(static_cast<size_t>(nBytes > 0 ? nBytes : 0), '\0');
  if (nBytes > 0)
    WideCharToMultiByte(CP_ACP, dwFlags, rWide.data(), nWide, &strAnsi[0], nBytes, NULL,
                        lpbDefaultUsed);
  rbWhole = nBytes > 0 && !bDefaultUsed;
  return strAnsi;
}

// The buffer grows until the whole path fits: the system cuts a longer one
// short without saying so, other than by filling the buffer.
std::wstring moduleFileName() {
  KVX_CALLSTACK_TRACK;
  std::wstring strPath(MAX_PATH, L'\0');
  for (;;) {
    const DWORD nLength =
        GetModuleFileNameW(NULL, &strPath[0], static_cast<DWORD>(strPath.size()));
    if (nLength < strPath.size()) {
      strPath.resize(nLength);
      return strPath;
    }
    strPath.resize(strPath.size() * 2);
  }
}

std::wstring shortPathOf(const std::wstring& rPath) {
  KVX_CALLSTACK_TRACK;
  const DWORD nNeeded = GetShortPathNameW(rPath.c_str(), NULL, 0);
  if (nNeeded == 0) return std::wstring();
  std::wstring strShort(nNeeded, L'\0');
  const DWORD nLength = GetShortPathNameW(rPath.c_str(), &strShort[0], nNeeded);
  strShort.resize(nLength < nNeeded ? nLength : 0);
  return strShort;
}

}  // namespace

std::wstring wideText(const std::string& rText) {
  KVX_CALLSTACK_TRACK;
  if (rText.empty()) return std::wstring();
  const int nBytes = static_cast<int>(rText.size());
  const int nWide = MultiByteToWideChar(CP_ACP, 0, rText.data(), nBytes, NULL, 0);
  std::wstring strWide(static_cast<size_t>(nWide > 0 ? nWide : 0), L'\0');
  if (nWide > 0) MultiByteToWideChar(CP_ACP, 0, rText.data(), nBytes, &strWide[0], nWide);
  return strWide;
}

std::string ansiPath(const std::wstring& rWidePath) {
  KVX_CALLSTACK_TRACK;
  bool bWhole = false;
  const std::string strPath = toAnsi(rWidePath, bWhole);
  if (bWhole) return strPath;
  const std::string strShort = toAnsi(shortPathOf(rWidePath), bWhole);
  return bWhole ? strShort : std::string();
}

std::string programPath() {
  KVX_CALLSTACK_TRACK;
  return ansiPath(moduleFileName());
}

std::string programFolder() {
  KVX_CALLSTACK_TRACK;
  const std::string strPath = programPath();
  const std::string::size_type nSlash = lastBackslash(strPath);
  return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash + 1);
}

std::string::size_type extensionDot(const std::string& rPath, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  nCodePage = walkCodePage(nCodePage);
  std::string::size_type nDot = std::string::npos;
  for (std::string::size_type i = 0; i < rPath.size(); i += charLength(rPath, i, nCodePage)) {
    if (rPath[i] == '\\') nDot = std::string::npos;
    if (rPath[i] == '.') nDot = i;
  }
  return nDot;
}

char upperAscii(char c) {
  KVX_CALLSTACK_TRACK;
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
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

std::string::size_type wholeCharacterBytes(const std::string& rText,
                                           std::string::size_type nMaxBytes, UINT nCodePage) {
  KVX_CALLSTACK_TRACK;
  nCodePage = walkCodePage(nCodePage);
  std::string::size_type nLength = 0;
  while (nLength < rText.size()) {
    const std::string::size_type nStep = charLength(rText, nLength, nCodePage);
    if (nLength + nStep > nMaxBytes) break;
    nLength += nStep;
  }
  return nLength;
}
