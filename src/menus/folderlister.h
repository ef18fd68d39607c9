#ifndef PATHWICK_MENUS_FOLDERLISTER_H
#define PATHWICK_MENUS_FOLDERLISTER_H

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../diag/singleton.h"
#include "foldermenu.h"

// One listing or look-up, shared by the lister and the thread doing it.
struct FOLDERWORK;
typedef std::shared_ptr<FOLDERWORK> FOLDERWORKREF;
// What the lister and its worker threads share; see folderlister.cpp.
struct LISTERSHARED;

// The program's folder listings and look-ups, done on a thread beside the
// user-interface thread, which waits for each at most kAnswerWaitMs. A
// folder that does not answer (a share whose server sleeps, a network drive
// that is gone, a slow cloud-backed folder) costs the menus that wait,
// never the system's own 20 to 45 s, and goes on in the background: a
// result that comes later serves the next opening if it is recent, and no
// folder is read twice at once. What waits on a folder that is known not
// to answer waits no more.
//
// The work has one owner: this object, used on the user-interface thread
// only, starts, finds, waits for and forgets every piece of work. The
// worker thread only takes the next piece from the queue and does it.
class SFolderLister : public SSingleton<SFolderLister> {
 public:
  // How long the user-interface thread waits for a folder to answer.
  static constexpr DWORD kAnswerWaitMs = 1000;
  // How long a result that came after its wait ran out still serves.
  static constexpr DWORD kLateResultMs = 30000;

  // The names a fill of rFillInfo lists, sorted: ERROR_SUCCESS, the
  // system's error when the folder could not be read to its end, or
  // ERROR_TIMEOUT when it did not answer in time.
  DWORD list(const FILLINFO& rFillInfo, std::vector<FOUNDNAME>& rFolders,
             std::vector<FOUNDNAME>& rFiles);
  // FindFirstFile of one path: ERROR_SUCCESS with rData filled, the
  // system's error, or ERROR_TIMEOUT.
  DWORD lookUp(const std::string& rPath, WIN32_FIND_DATAA& rData);

  // A listing started for later, without waiting: the icon warm-up's.
  FOLDERWORKREF startListing(const FILLINFO& rFillInfo);
  // False while rWork runs; then its result, as list gives it.
  bool takeListing(const FOLDERWORKREF& rWork, std::vector<FOUNDNAME>& rFolders,
                   std::vector<FOUNDNAME>& rFiles, DWORD& rnError);
  // Nobody waits for rWork any more, which is logged: its result is kept for
  // a later opening.
  void giveUp(const FOLDERWORKREF& rWork);

  // False while a wait for rPath's folder, or one above it, has run out and
  // that work still runs: whatever reads there now would hang as long.
  bool isAnswering(const std::string& rPath) const;

 private:
  friend class SSingleton<SFolderLister>;
  SFolderLister();
  ~SFolderLister();

  // The work for rKey: a running one, a recent result, or a new one queued;
  // null when its folder is known not to answer.
  FOLDERWORKREF startWork(const std::string& rKey, const FOLDERWORKREF& rNew);
  FOLDERWORKREF findReusable(const std::string& rKey);
  void queue(const FOLDERWORKREF& rWork);
  void replaceStuckWorker();
  void startWorker();
  bool waitFor(const FOLDERWORKREF& rWork, DWORD dwWaitMs);
  bool isDone(const FOLDERWORKREF& rWork) const;
  // The work's result was handed out: it is forgotten unless it is rWork's
  // late result still to serve.
  void forget(const std::string& rKey, const FOLDERWORKREF& rWork);
  void dropOldResults();
  bool isUnderStuckWork(const std::string& rFolder) const;

  std::shared_ptr<LISTERSHARED> m_Shared;
  // Work started and not yet forgotten, by what it reads.
  std::map<std::string, FOLDERWORKREF> m_Works;
};

#endif
