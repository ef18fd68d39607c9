#include "iconmgr.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <set>

#include "../diag/log.h"
#include "../diag/scoped.h"
#include "../diag/pathtext.h"

#ifndef _WIN64
static_assert(sizeof(SHFILEINFOA) == 352, "the shell's file-info record is 352 bytes");
#endif

SIconMgr::SIconMgr()
    : m_hWnd(NULL), m_nSize(0), m_nShellQueries(0), m_nChangeWatch(0) {
  KVX_CALLSTACK_TRACK;
}

SIconMgr::~SIconMgr() {
  KVX_CALLSTACK_TRACK;
  if (m_nChangeWatch != 0) SHChangeNotifyDeregister(m_nChangeWatch);
  releaseAll();
}

// Association changes are announced for the whole namespace, from the
// desktop down.
void SIconMgr::watchAssociationChanges(UINT uMsg) {
  KVX_CALLSTACK_TRACK;
  CItemIdList desktop;
  if (FAILED(SHGetSpecialFolderLocation(NULL, CSIDL_DESKTOP, desktop.receive()))) return;
  SHChangeNotifyEntry entry = {desktop.get(), TRUE};
  m_nChangeWatch = SHChangeNotifyRegister(m_hWnd, SHCNRF_ShellLevel, SHCNE_ASSOCCHANGED,
                                          uMsg, 1, &entry);
  if (m_nChangeWatch == 0)
    SLog::S_getSingleton()->write(
        0, "SIconMgr::watchAssociationChanges() failed: SHChangeNotifyRegister() failed");
}

// The pairs stay in the type map, which owns them.
void SIconMgr::forgetSharedPictures() {
  KVX_CALLSTACK_TRACK;
  m_IndexPairs.clear();
}

void SIconMgr::setupInfo(HWND hWnd, int nWidth, int nHeight) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hWnd;
  m_nSize = nWidth;
  (void)nHeight;
}

bool SIconMgr::getFileExt(const std::string& rPath, std::string& rExt) {
  KVX_CALLSTACK_TRACK;
  const std::string::size_type nDot = extensionDot(rPath);
  if (nDot == std::string::npos) return false;
  rExt = rPath.substr(nDot + 1);
  lowerAsciiLetters(rExt);
  return true;
}

void SIconMgr::setIconSize(int nSize) {
  KVX_CALLSTACK_TRACK;
  m_nSize = nSize;
}

bool SIconMgr::isCached(const std::string& rKey) const {
  KVX_CALLSTACK_TRACK;
  return m_IconMap.find(SIZEDKEY(m_nSize, rKey)) != m_IconMap.end();
}

// Every file whose name has no extension shares the empty key, whatever
// dots the names of the folders above it hold: a key per file would cost a
// shell query and two bitmaps each, kept until the program ends.
bool SIconMgr::getBmpIconForFile(const std::string& rPath, BMPPAIR& rOut) {
  KVX_CALLSTACK_TRACK;
  std::string strExt;
  getFileExt(rPath, strExt);
  const SIZEDKEY key(m_nSize, strExt);
  const std::map<SIZEDKEY, BMPPAIR>::const_iterator it = m_IconMap.find(key);
  if (it != m_IconMap.end()) {
    rOut = it->second;
    return true;
  }
  if (convertSeed(strExt, rOut)) return true;
  ++m_nShellQueries;
  // Many types show one picture (every type without a program of its own
  // shows the plain document): the shell's image list says so by its index,
  // and such a type shares the pair already made instead of an icon being
  // made, converted and released for it.
  const int nIndex = S_systemIconIndex(rPath);
  const std::map<std::pair<int, int>, BMPPAIR>::const_iterator shared =
      m_IndexPairs.find(std::make_pair(m_nSize, nIndex));
  if (nIndex >= 0 && shared != m_IndexPairs.end()) {
    m_IconMap[key] = shared->second;
    rOut = shared->second;
    return true;
  }
  int w = 0;
  int h = 0;
  const HICON hIcon = loadIcon(rPath, w, h);
  if (hIcon == NULL) {
    SLog::S_getSingleton()->write(0, "SIconMgr::getBmpIconForFile() failed: loadIcon() Failed");
    return false;
  }
  BMPPAIR pair(NULL, NULL);
  const bool bConverted = convertIcon(hIcon, pair, w, h);
  DestroyIcon(hIcon);
  // A pair that failed stays out of the cache: the next file of the type
  // asks again instead of the type going without an icon for good.
  if (!bConverted) return false;
  m_IconMap[key] = pair;
  if (nIndex >= 0) m_IndexPairs[std::make_pair(m_nSize, nIndex)] = pair;
  rOut = pair;
  return true;
}

// A seeded type at a size it was not made at yet: its icon, kept from the
// seeding, is made into a pair of that size. False for any other type.
bool SIconMgr::convertSeed(const std::string& rExt, BMPPAIR& rOut) {
  KVX_CALLSTACK_TRACK;
  const std::map<std::string, SEEDICON>::const_iterator seed = m_Seeds.find(rExt);
  if (seed == m_Seeds.end()) return false;
  BMPPAIR pair(NULL, NULL);
  if (!convertIcon(seed->second.hIcon, pair, seed->second.w, seed->second.h)) return false;
  m_IconMap[SIZEDKEY(m_nSize, rExt)] = pair;
  rOut = pair;
  return true;
}

// Only the file's name is given to the shell, which looks at nothing but
// its type: a path of hundreds of bytes (a deep one in UTF-8) would be cut
// to MAX_PATH on its way, its extension with it.
std::string SIconMgr::S_fileName(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  const std::string::size_type nSlash = lastBackslash(rPath);
  return nSlash == std::string::npos ? rPath : rPath.substr(nSlash + 1);
}

// The position of the type's small icon in the shell's image list, or -1;
// no icon is made for it.
int SIconMgr::S_systemIconIndex(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  SHFILEINFOA info;
  memset(&info, 0, sizeof(info));
  if (SHGetFileInfoA(S_fileName(rPath).c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                     SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES) == 0)
    return -1;
  return info.iIcon;
}

// Only start-up seeds extensions, before any entry holds a pair; a pair
// that is replaced is deleted here, as nothing else could release it. The
// icon is kept for the other sizes the type may be drawn at.
void SIconMgr::setBmpIconForExt(std::string& rExt, HICON hIcon, int w, int h) {
  KVX_CALLSTACK_TRACK;
  lowerAsciiLetters(rExt);
  BMPPAIR pair(NULL, NULL);
  if (!convertIcon(hIcon, pair, w, h)) return;
  m_Seeds[rExt] = SEEDICON{hIcon, w, h};
  const std::map<SIZEDKEY, BMPPAIR>::iterator it = m_IconMap.find(SIZEDKEY(m_nSize, rExt));
  if (it != m_IconMap.end()) {
    if (!isShared(it->second)) deleteBitmapPair(it->second);
    it->second = pair;
  } else {
    m_IconMap[SIZEDKEY(m_nSize, rExt)] = pair;
  }
}

// The icon of the file's type, asked for by its name alone: the shell does
// not open the file, which on a share would be a round trip inside the
// menu loop, and the one pair cached per type is the type's, not the first
// file's own. The shell's icon nearest to the size drawn, at least as big
// where one is, comes first: shrinking loses less than enlarging. The
// sizes are the shell's guesses; measureIcon reads the real ones.
HICON SIconMgr::loadIcon(const std::string& rPath, int& w, int& h) {
  KVX_CALLSTACK_TRACK;
  const std::string strName = S_fileName(rPath);
  const bool bLargeFirst = m_nSize > GetSystemMetrics(SM_CXSMICON);
  const UINT uSmall = SHGFI_SMALLICON;
  const UINT uLarge = SHGFI_LARGEICON;
  const UINT uSizes[2] = {bLargeFirst ? uLarge : uSmall, bLargeFirst ? uSmall : uLarge};
  for (UINT uSize : uSizes) {
    SHFILEINFOA info;
    memset(&info, 0, sizeof(info));
    w = h = GetSystemMetrics(uSize == uSmall ? SM_CXSMICON : SM_CXICON);
    if (SHGetFileInfoA(strName.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                       SHGFI_ICON | SHGFI_USEFILEATTRIBUTES | uSize) != 0)
      return info.hIcon;
  }
  SLog::S_getSingleton()->writeLastError(
      0, "SIconMgr::loadIcon() failed: SHGetFileInfo() Failed: Error: %i");
  return NULL;
}

// The size the icon's bitmaps really have, which the caller's w x h only
// guesses: at 120 DPI the shell's small icons are 20 x 20, not 16 x 16.
// Left as guessed when the bitmaps cannot be read.
void SIconMgr::measureIcon(const ICONINFO& rInfo, int& w, int& h) {
  KVX_CALLSTACK_TRACK;
  BITMAP mask;
  memset(&mask, 0, sizeof(mask));
  if (GetObjectA(rInfo.hbmMask, sizeof(mask), &mask) == 0) return;
  const int nHeight = rInfo.hbmColor != NULL ? mask.bmHeight : mask.bmHeight / 2;
  if (mask.bmWidth <= 0 || nHeight <= 0) return;
  w = mask.bmWidth;
  h = nHeight;
}

// Scales the icon's colour image and mask to the cache's size as two
// bitmaps of the window's device. The icon itself stays the caller's.
namespace {

// A DIB section, not a bitmap compatible with the window: a DIB section is
// blitted into a menu by the same code as the menu's own surface, where a
// compatible bitmap may take a slower road for every entry drawn. The pixels
// are the same either way.
HBITMAP createTopDownDib(int w, int h) {
  KVX_CALLSTACK_TRACK;
  BITMAPINFO bmi;
  ZeroMemory(&bmi, sizeof(bmi));
  bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
  bmi.bmiHeader.biWidth = w;
  bmi.bmiHeader.biHeight = -h;
  bmi.bmiHeader.biPlanes = 1;
  bmi.bmiHeader.biBitCount = 32;
  bmi.bmiHeader.biCompression = BI_RGB;
  void* lpBits = NULL;
  return CreateDIBSection(NULL, &bmi, DIB_RGB_COLORS, &lpBits, NULL, 0);
}

}  // namespace

bool SIconMgr::convertIcon(HICON hIcon, BMPPAIR& rPair, int w, int h) {
  KVX_CALLSTACK_TRACK;
  ICONINFO info;
  memset(&info, 0, sizeof(info));
  if (!GetIconInfo(hIcon, &info)) {
    SLog::S_getSingleton()->writeLastError(
        0, "SIconMgr::convertIcon() failed: GetIconInfo() failed with error: %i");
    return false;
  }
  const CGdiObject iconColour(info.hbmColor);
  const CGdiObject iconMask(info.hbmMask);
  measureIcon(info, w, h);
  // A monochrome icon has no colour bitmap: its mask is twice as tall, the
  // AND mask above the XOR image.
  const HBITMAP hColourSource = info.hbmColor != NULL ? info.hbmColor : info.hbmMask;
  const int nColourTop = info.hbmColor != NULL ? 0 : h;

  const CWindowDC windowDC(m_hWnd);
  rPair.first = createTopDownDib(m_nSize, m_nSize);
  rPair.second = createTopDownDib(m_nSize, m_nSize);
  if (rPair.first == NULL || rPair.second == NULL) {
    SLog::S_getSingleton()->writeLastError(
        0, "SIconMgr::convertIcon() failed: CreateDIBSection() failed with error: %i");
    deleteBitmapPair(rPair);
    return false;
  }
  const CMemoryDC sourceDC(windowDC.get());
  const CMemoryDC targetDC(windowDC.get());
  // The default mode ANDs the pixels a shrink drops, which darkens colours
  // and merges a mask's transparent spots; each target pixel takes one
  // source pixel instead.
  SetStretchBltMode(targetDC.get(), COLORONCOLOR);
  {
    const CSelectObject source(sourceDC.get(), hColourSource);
    const CSelectObject target(targetDC.get(), rPair.first);
    StretchBlt(targetDC.get(), 0, 0, m_nSize, m_nSize, sourceDC.get(), 0, nColourTop, w, h,
               SRCCOPY);
  }
  {
    const CSelectObject source(sourceDC.get(), info.hbmMask);
    const CSelectObject target(targetDC.get(), rPair.second);
    StretchBlt(targetDC.get(), 0, 0, m_nSize, m_nSize, sourceDC.get(), 0, 0, w, h, SRCCOPY);
  }
  return true;
}

void deleteBitmapPair(BMPPAIR& rPair) {
  KVX_CALLSTACK_TRACK;
  if (rPair.first != NULL) DeleteObject(rPair.first);
  if (rPair.second != NULL) DeleteObject(rPair.second);
  rPair = BMPPAIR(NULL, NULL);
}

// Types that share a picture share its pair: each pair is deleted once.
void SIconMgr::releaseAll() {
  KVX_CALLSTACK_TRACK;
  std::set<HBITMAP> bitmaps;
  for (std::map<SIZEDKEY, BMPPAIR>::iterator it = m_IconMap.begin(); it != m_IconMap.end(); ++it) {
    bitmaps.insert(it->second.first);
    bitmaps.insert(it->second.second);
  }
  for (HBITMAP hBitmap : bitmaps)
    if (hBitmap != NULL) DeleteObject(hBitmap);
  m_IconMap.clear();
  m_IndexPairs.clear();
}

bool SIconMgr::isShared(const BMPPAIR& rPair) const {
  KVX_CALLSTACK_TRACK;
  for (std::map<std::pair<int, int>, BMPPAIR>::const_iterator it = m_IndexPairs.begin();
       it != m_IndexPairs.end(); ++it)
    if (it->second == rPair) return true;
  return false;
}
