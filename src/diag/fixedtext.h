#ifndef PATHWICK_DIAG_FIXEDTEXT_H
#define PATHWICK_DIAG_FIXEDTEXT_H

#include <cstddef>

// Text put together in a buffer of its own, N bytes with the terminator, for
// the crash path: a fault may come while the faulting thread holds the
// heap's lock, so the crash block takes nothing from the heap, and the
// runtime's formatting may. What does not fit is cut; the text always ends.
// No call-stack guards here, as the crash path reads that record.
template <std::size_t N>
class CFixedText {
 public:
  CFixedText() : m_nLength(0) { m_szText[0] = '\0'; }

  // At most nMost characters of lpszText.
  CFixedText& append(const char* lpszText, std::size_t nMost = N) {
    if (lpszText == NULL) lpszText = "(null)";
    for (std::size_t i = 0; i < nMost && lpszText[i] != '\0'; ++i) appendChar(lpszText[i]);
    return *this;
  }

  // nNumber in decimal, with zeros in front up to nWidth digits.
  CFixedText& appendNumber(long long nNumber, int nWidth = 1) {
    // Counted as negative, so that the smallest number has a magnitude too.
    long long nRest = nNumber < 0 ? nNumber : -nNumber;
    char szDigits[24];
    int nDigits = 0;
    do {
      szDigits[nDigits++] = static_cast<char>('0' - nRest % 10);
      nRest /= 10;
    } while (nRest != 0);
    if (nNumber < 0) appendChar('-');
    for (int i = nDigits; i < nWidth; ++i) appendChar('0');
    while (nDigits > 0) appendChar(szDigits[--nDigits]);
    return *this;
  }

  const char* c_str() const { return m_szText; }
  std::size_t length() const { return m_nLength; }

 private:
  void appendChar(char c) {
    if (m_nLength + 1 >= N) return;
    m_szText[m_nLength++] = c;
    m_szText[m_nLength] = '\0';
  }

  char m_szText[N];
  std::size_t m_nLength;
};

#endif
