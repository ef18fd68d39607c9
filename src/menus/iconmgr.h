#ifndef PATHWICK_MENUS_ICONMGR_H
#define PATHWICK_MENUS_ICONMGR_H

#include <windows.h>

#include <cassert>
#include <map>
#include <string>
#include <utility>

#include "../diag/callstack.h"
#include "../diag/singleton.h"

// The two bitmaps that draw one small icon in a menu entry: first the colour
// image (black where the icon is transparent), drawn with XOR; second the
// mask (black where the icon is opaque), drawn with AND. A plain value: a
// copy shares the handles and owns nothing.
typedef std::pair<HBITMAP, HBITMAP> BMPPAIR;

// The shell's announcement of changed file associations to the icon cache's
// window (see SIconMgr::watchAssociationChanges).
#define PATHWICK_ASSOC_CHANGED (WM_APP + 2)

// Deletes the bitmaps of a pair its caller owns and leaves the pair empty.
void deleteBitmapPair(BMPPAIR& rPair);

// The shell's file-type icons as menu bitmaps, one pair per file extension
// for the life of the program, so that a folder of a thousand files of three
// types asks the shell only three times; types that show the same picture
// share one pair. The cache owns every bitmap in it.
class SIconMgr : public SSingleton<SIconMgr> {
 public:
  // The window whose device context the bitmaps are made for, and their size.
  void setupInfo(HWND hWnd, int nWidth, int nHeight);
  // The side of the pairs handed out from now on: the small-icon size of
  // the DPI the menus are drawn at. Each size is cached apart.
  void setIconSize(int nSize);

  // The pair for this file, from the cache or made and cached now. False
  // when the shell has no icon for it: rOut is then untouched and nothing
  // is cached, so the next file of the type asks again.
  bool getBmpIconForFile(const std::string& rPath, BMPPAIR& rOut);
  // Stores the icon (of size w x h, unless its bitmaps say otherwise; the
  // icon stays the caller's) under the extension, which is lower-cased in
  // place.
  void setBmpIconForExt(std::string& rExt, HICON hIcon, int w, int h);

  // The extension of the path's file name (after the last dot that follows
  // the last backslash), lower-cased; false and rExt untouched when the
  // file name has no dot.
  static bool getFileExt(const std::string& rPath, std::string& rExt);

  void releaseAll();

  // Changed file associations can change the shell's image list: a picture
  // may move to another index, and an index this cache knows may then show
  // another type's picture. From here on each new type is matched to a
  // picture anew; the types already cached keep theirs.
  void forgetSharedPictures();
  // The shell announces such changes to the cache's window with uMsg,
  // lParam holding the event (SHCNE_ASSOCCHANGED).
  void watchAssociationChanges(UINT uMsg);

  // How often the shell was asked for an icon, and whether a key is cached:
  // what the cache saves is otherwise invisible.
  unsigned long getShellQueryCount() const {
    KVX_CALLSTACK_TRACK;
    return m_nShellQueries;
  }
  bool isCached(const std::string& rKey) const;

 private:
  friend class SSingleton<SIconMgr>;
  SIconMgr();
  ~SIconMgr();

  static std::string S_fileName(const std::string& rPath);
  static int S_systemIconIndex(const std::string& rPath);
  HICON loadIcon(const std::string& rPath, int& w, int& h);
  // Whether the pair stands for a picture of the shell's image list, which
  // other types may share.
  bool isShared(const BMPPAIR& rPair) const;
  // False, with rPair left empty, when the icon's bitmaps cannot be read
  // or made.
  bool convertIcon(HICON hIcon, BMPPAIR& rPair, int w, int h);
  static void measureIcon(const ICONINFO& rInfo, int& w, int& h);

  bool convertSeed(const std::string& rExt, BMPPAIR& rOut);

  // A type's pair of one size.
  typedef std::pair<int, std::string> SIZEDKEY;
  std::map<SIZEDKEY, BMPPAIR> m_IconMap;
  // The pairs made from the shell's image list, by their size and index
  // there; each is also in m_IconMap under every type that shows it.
  std::map<std::pair<int, int>, BMPPAIR> m_IndexPairs;
  // The seeded types' icons (the system's and the program's own shared
  // icons, never destroyed) with their size, for other sizes.
  struct SEEDICON {
    HICON hIcon;
    int w;
    int h;
  };
  std::map<std::string, SEEDICON> m_Seeds;
  HWND m_hWnd;
  int m_nSize;
  unsigned long m_nShellQueries;
  // The shell's registration for watchAssociationChanges, 0 without one.
  ULONG m_nChangeWatch;
};

#endif
