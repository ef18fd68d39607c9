#ifndef PATHWICK_DIAG_PATHTEXT_H
#define PATHWICK_DIAG_PATHTEXT_H

#include <windows.h>

#include <string>

// Paths and names as ANSI texts. In the double-byte code pages (932, 936,
// 949, 950) the second byte of a character can be 0x5C, the backslash, or
// an ASCII letter, so a byte that looks like a separator or a letter is one
// only where a character starts. Where UTF-8 is the ANSI code page (the
// program asks for it on Windows 10 1903 and later), a character takes one
// to four bytes. These helpers walk whole characters; the code page is the
// system's unless the caller names one.

// True when the last character of rPath is a backslash.
bool endsWithBackslash(const std::string& rPath, UINT nCodePage = CP_ACP);
// The position of the last backslash, npos when there is none.
std::string::size_type lastBackslash(const std::string& rPath, UINT nCodePage = CP_ACP);
// The position of the dot that starts the extension of the path's file name
// (the last dot after the last backslash); npos when the name has none.
std::string::size_type extensionDot(const std::string& rPath, UINT nCodePage = CP_ACP);
// The ASCII letter in upper case; any other byte as it is.
char upperAscii(char c);
// Changes the case of the ASCII letters that are characters of their own;
// the second bytes of double-byte characters stay as they are.
void upperAsciiLetters(std::string& rText, UINT nCodePage = CP_ACP);
void lowerAsciiLetters(std::string& rText, UINT nCodePage = CP_ACP);
// rName with "..." in place of its middle, so that nKeep of its characters
// stay: its start and its end, the end at least its extension when that is
// no more than half of them. A name of nKeep characters or fewer comes back
// whole.
std::string shortenInMiddle(const std::string& rName, std::string::size_type nKeep,
                            UINT nCodePage = CP_ACP);
// The longest head of rText of at most nMaxBytes bytes that ends between
// characters: what fits a fixed field without half a character at its end.
std::string::size_type wholeCharacterBytes(const std::string& rText, std::string::size_type nMaxBytes,
                                           UINT nCodePage = CP_ACP);

// rText of the ANSI code page in UTF-16, for GDI: the system draws the A
// calls' texts in its own code page, not the one the program asked for, so
// UTF-8 would show as the system code page's letters.
std::wstring wideText(const std::string& rText);

// A path the wide API gave, spelt in the ANSI code page: whole where the
// code page holds every character of it, else its short form (ASCII, where
// the volume makes short names), which still names the same file. Empty
// when neither can stand for it.
std::string ansiPath(const std::wstring& rWidePath);

// The program file's full path, and its folder with the trailing backslash
// (empty when the path has no folder part), as ansiPath spells them: the
// program may live in a folder named in any script.
std::string programPath();
std::string programFolder();

#endif
