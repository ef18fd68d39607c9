#include "folderlister.h"

#include <cstring>
#include <deque>

#include "../diag/log.h"
#include "../diag/pathtext.h"
#include "../diag/scoped.h"

// How a result gets back safely. A piece of work is a FOLDERWORK that the
// lister and the worker both hold. The worker alone writes its result
// fields, and only while the work is marked running; it then marks it done
// under the lock and sets the done event. The lister reads the result only
// after it has seen "done" under the same lock, which orders the worker's
// writes before its reads; from then on nobody writes them. The queue, the
// marks and the workers' bookkeeping live in LISTERSHARED, under its lock.

namespace {

enum { WORK_LIST, WORK_LOOKUP };
enum { STATE_QUEUED, STATE_RUNNING, STATE_DONE };

// A call the system does not give up for 20 to 45 s holds its thread that
// long. While one hangs past the wait, the next piece of work gets a new
// worker, so other folders still answer; the stuck one ends after its call.
// At most this many hang at once; past that, work waits in the queue.
const int kMaxWorkers = 4;

// Whether rText starts with rPrefix, ASCII letters of either case alike:
// the same folder may be spelled C:\Data and c:\data.
bool startsWithFolder(const std::string& rText, const std::string& rPrefix) {
  KVX_CALLSTACK_TRACK;
  if (rText.size() < rPrefix.size()) return false;
  std::string strHead = rText.substr(0, rPrefix.size());
  std::string strPrefix = rPrefix;
  lowerAsciiLetters(strHead);
  lowerAsciiLetters(strPrefix);
  return strHead == strPrefix;
}

std::string withBackslash(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  return rPath.empty() || endsWithBackslash(rPath) ? rPath : rPath + '\\';
}

// The folder a look-up reads: the path up to its last backslash.
std::string folderOf(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  const std::string::size_type nSlash = lastBackslash(rPath);
  return nSlash == std::string::npos ? std::string() : rPath.substr(0, nSlash + 1);
}

std::string listingKey(const FILLINFO& rFillInfo) {
  KVX_CALLSTACK_TRACK;
  std::string strKey = "L" + withBackslash(rFillInfo.str_path) + '|' + rFillInfo.str_search + '|';
  strKey += rFillInfo.b_symbols_only ? 's' : '-';
  strKey += rFillInfo.b_folders_only ? 'f' : '-';
  strKey += rFillInfo.b_no_extension_only ? 'n' : '-';
  return strKey;
}

}  // namespace

struct FOLDERWORK {
  int nKind = WORK_LIST;
  FILLINFO fillInfo;      // a listing's request
  std::string strPath;    // a look-up's path
  std::string strFolder;  // the folder either reads, with its backslash
  // The result: the worker's while running, the lister's once done.
  DWORD nError = ERROR_SUCCESS;
  std::vector<FOUNDNAME> folders;
  std::vector<FOUNDNAME> files;
  WIN32_FIND_DATAA data;
  // Under the shared lock.
  int nState = STATE_QUEUED;
  DWORD dwDoneTick = 0;
  // The lister's own: a wait for it ran out, so its result, when it comes,
  // is kept for the next opening.
  bool bGivenUp = false;
};

struct LISTERSHARED {
  LISTERSHARED()
      : hWork(CreateEventA(NULL, FALSE, FALSE, NULL)),
        hDone(CreateEventA(NULL, FALSE, FALSE, NULL)) {
    InitializeCriticalSection(&lock);
  }
  ~LISTERSHARED() { DeleteCriticalSection(&lock); }

  CRITICAL_SECTION lock;
  std::deque<FOLDERWORKREF> queue;
  // Work was queued, or the workers are to stop (auto-reset: one wakes).
  CKernelHandle hWork;
  // Some work is done (auto-reset: the lister is the only one to wait).
  CKernelHandle hDone;
  // Workers of an older generation take no more work.
  unsigned nGeneration = 0;
  bool bStopping = false;
  int nWorkers = 0;
  // When the current worker took the work it is on; 0 while it is idle.
  DWORD dwBusySince = 0;
};

namespace {

class CSharedLock {
 public:
  explicit CSharedLock(LISTERSHARED& rShared) : m_rShared(rShared) {
    EnterCriticalSection(&m_rShared.lock);
  }
  ~CSharedLock() { LeaveCriticalSection(&m_rShared.lock); }
  CSharedLock(const CSharedLock&) = delete;
  CSharedLock& operator=(const CSharedLock&) = delete;

 private:
  LISTERSHARED& m_rShared;
};

struct WORKERSTART {
  std::shared_ptr<LISTERSHARED> shared;
  unsigned nGeneration;
};

void doWork(FOLDERWORK& rWork) {
  KVX_CALLSTACK_TRACK;
  if (rWork.nKind == WORK_LIST) {
    rWork.nError = CFolderMenu::S_searchFolder(rWork.fillInfo, rWork.folders, rWork.files);
    return;
  }
  memset(&rWork.data, 0, sizeof(rWork.data));
  const CFindHandle lookup(FindFirstFileA(rWork.strPath.c_str(), &rWork.data));
  rWork.nError = lookup.valid() ? ERROR_SUCCESS : GetLastError();
}

// The next piece of work for a worker of nGeneration; null once it is to end.
FOLDERWORKREF takeNextWork(LISTERSHARED& rShared, unsigned nGeneration) {
  KVX_CALLSTACK_TRACK;
  for (;;) {
    {
      const CSharedLock lock(rShared);
      if (rShared.bStopping || rShared.nGeneration != nGeneration) {
        --rShared.nWorkers;
        return FOLDERWORKREF();
      }
      if (!rShared.queue.empty()) {
        FOLDERWORKREF work = rShared.queue.front();
        rShared.queue.pop_front();
        work->nState = STATE_RUNNING;
        rShared.dwBusySince = GetTickCount() | 1;
        return work;
      }
    }
    WaitForSingleObject(rShared.hWork.get(), INFINITE);
  }
}

void finishWork(LISTERSHARED& rShared, unsigned nGeneration, const FOLDERWORKREF& rWork) {
  KVX_CALLSTACK_TRACK;
  {
    const CSharedLock lock(rShared);
    rWork->nState = STATE_DONE;
    rWork->dwDoneTick = GetTickCount();
    if (rShared.nGeneration == nGeneration) rShared.dwBusySince = 0;
  }
  SetEvent(rShared.hDone.get());
}

DWORD WINAPI workerProc(LPVOID lpParam) {
  KVX_CALLSTACK_TRACK;
  const std::unique_ptr<WORKERSTART> start(static_cast<WORKERSTART*>(lpParam));
  LISTERSHARED& rShared = *start->shared;
  for (;;) {
    const FOLDERWORKREF work = takeNextWork(rShared, start->nGeneration);
    if (!work) return 0;
    doWork(*work);
    finishWork(rShared, start->nGeneration, work);
  }
}

}  // namespace

SFolderLister::SFolderLister() : m_Shared(std::make_shared<LISTERSHARED>()) {
  KVX_CALLSTACK_TRACK;
  startWorker();
}

// A worker stuck in a call cannot be waited for: it is told to stop and
// left to end after its call, holding what it shares with this object.
SFolderLister::~SFolderLister() {
  KVX_CALLSTACK_TRACK;
  {
    const CSharedLock lock(*m_Shared);
    m_Shared->bStopping = true;
    m_Shared->queue.clear();
  }
  SetEvent(m_Shared->hWork.get());
}

// Called with the shared lock held, or before any worker exists.
void SFolderLister::startWorker() {
  KVX_CALLSTACK_TRACK;
  WORKERSTART* lpStart = new WORKERSTART{m_Shared, m_Shared->nGeneration};
  const HANDLE hThread = CreateThread(NULL, 0, workerProc, lpStart, 0, NULL);
  if (hThread == NULL) {
    SLog::S_getSingleton()->writeLastError(
        0, "SFolderLister::startWorker() failed: CreateThread() failed with error: %i");
    delete lpStart;
    return;
  }
  CloseHandle(hThread);
  ++m_Shared->nWorkers;
}

// The current worker has been on one call for longer than anyone waits:
// the queue gets a new one.
void SFolderLister::replaceStuckWorker() {
  KVX_CALLSTACK_TRACK;
  if (m_Shared->dwBusySince == 0 || GetTickCount() - m_Shared->dwBusySince <= kAnswerWaitMs ||
      m_Shared->nWorkers >= kMaxWorkers)
    return;
  ++m_Shared->nGeneration;
  m_Shared->dwBusySince = 0;
  startWorker();
}

void SFolderLister::queue(const FOLDERWORKREF& rWork) {
  KVX_CALLSTACK_TRACK;
  {
    const CSharedLock lock(*m_Shared);
    m_Shared->queue.push_back(rWork);
    replaceStuckWorker();
  }
  SetEvent(m_Shared->hWork.get());
}

bool SFolderLister::isDone(const FOLDERWORKREF& rWork) const {
  KVX_CALLSTACK_TRACK;
  const CSharedLock lock(*m_Shared);
  return rWork->nState == STATE_DONE;
}

bool SFolderLister::waitFor(const FOLDERWORKREF& rWork, DWORD dwWaitMs) {
  KVX_CALLSTACK_TRACK;
  const DWORD dwStart = GetTickCount();
  for (;;) {
    if (isDone(rWork)) return true;
    const DWORD dwWaited = GetTickCount() - dwStart;
    if (dwWaited >= dwWaitMs) return false;
    WaitForSingleObject(m_Shared->hDone.get(), dwWaitMs - dwWaited);
  }
}

// A given-up work still running is not waited for again: whoever asks
// after it is told at once that its folder does not answer.
FOLDERWORKREF SFolderLister::findReusable(const std::string& rKey) {
  KVX_CALLSTACK_TRACK;
  const std::map<std::string, FOLDERWORKREF>::iterator it = m_Works.find(rKey);
  if (it == m_Works.end()) return FOLDERWORKREF();
  const FOLDERWORKREF work = it->second;
  if (!isDone(work) || !work->bGivenUp || GetTickCount() - work->dwDoneTick <= kLateResultMs)
    return work;
  m_Works.erase(it);
  return FOLDERWORKREF();
}

void SFolderLister::dropOldResults() {
  KVX_CALLSTACK_TRACK;
  for (std::map<std::string, FOLDERWORKREF>::iterator it = m_Works.begin(); it != m_Works.end();) {
    const FOLDERWORKREF& rWork = it->second;
    if (rWork->bGivenUp && isDone(rWork) && GetTickCount() - rWork->dwDoneTick > kLateResultMs)
      it = m_Works.erase(it);
    else
      ++it;
  }
}

bool SFolderLister::isUnderStuckWork(const std::string& rFolder) const {
  KVX_CALLSTACK_TRACK;
  for (std::map<std::string, FOLDERWORKREF>::const_iterator it = m_Works.begin();
       it != m_Works.end(); ++it)
    if (it->second->bGivenUp && !isDone(it->second) &&
        startsWithFolder(rFolder, it->second->strFolder))
      return true;
  return false;
}

bool SFolderLister::isAnswering(const std::string& rPath) const {
  KVX_CALLSTACK_TRACK;
  return !isUnderStuckWork(withBackslash(rPath));
}

FOLDERWORKREF SFolderLister::startWork(const std::string& rKey, const FOLDERWORKREF& rNew) {
  KVX_CALLSTACK_TRACK;
  dropOldResults();
  const FOLDERWORKREF reusable = findReusable(rKey);
  if (reusable) return reusable;
  if (isUnderStuckWork(rNew->strFolder)) return FOLDERWORKREF();
  m_Works[rKey] = rNew;
  queue(rNew);
  return rNew;
}

void SFolderLister::forget(const std::string& rKey, const FOLDERWORKREF& rWork) {
  KVX_CALLSTACK_TRACK;
  const std::map<std::string, FOLDERWORKREF>::iterator it = m_Works.find(rKey);
  if (it != m_Works.end() && it->second == rWork) m_Works.erase(it);
}

void SFolderLister::giveUp(const FOLDERWORKREF& rWork) {
  KVX_CALLSTACK_TRACK;
  rWork->bGivenUp = true;
  const bool bListing = rWork->nKind == WORK_LIST;
  SLog::S_getSingleton()->write(
      0, "SFolderLister alert: %s did not answer within %lu ms; its %s goes on",
      bListing ? rWork->fillInfo.str_path.c_str() : rWork->strPath.c_str(), kAnswerWaitMs,
      bListing ? "listing" : "look-up");
}

FOLDERWORKREF SFolderLister::startListing(const FILLINFO& rFillInfo) {
  KVX_CALLSTACK_TRACK;
  const FOLDERWORKREF work = std::make_shared<FOLDERWORK>();
  work->nKind = WORK_LIST;
  work->fillInfo = rFillInfo;
  work->strFolder = withBackslash(rFillInfo.str_path);
  return startWork(listingKey(rFillInfo), work);
}

// The result is moved out where nobody else holds the work, copied where
// the warm-up or a worker still does.
bool SFolderLister::takeListing(const FOLDERWORKREF& rWork, std::vector<FOUNDNAME>& rFolders,
                                std::vector<FOUNDNAME>& rFiles, DWORD& rnError) {
  KVX_CALLSTACK_TRACK;
  if (!isDone(rWork)) return false;
  forget(listingKey(rWork->fillInfo), rWork);
  rnError = rWork->nError;
  if (rWork.use_count() <= 1) {
    rFolders.swap(rWork->folders);
    rFiles.swap(rWork->files);
  } else {
    rFolders = rWork->folders;
    rFiles = rWork->files;
  }
  return true;
}

DWORD SFolderLister::list(const FILLINFO& rFillInfo, std::vector<FOUNDNAME>& rFolders,
                          std::vector<FOUNDNAME>& rFiles) {
  KVX_CALLSTACK_TRACK;
  rFolders.clear();
  rFiles.clear();
  FOLDERWORKREF work = startListing(rFillInfo);
  const bool bWaited = work && !work->bGivenUp;
  if (work && waitFor(work, bWaited ? kAnswerWaitMs : 0)) {
    DWORD nError = ERROR_SUCCESS;
    takeListing(work, rFolders, rFiles, nError);
    return nError;
  }
  if (bWaited) giveUp(work);
  return ERROR_TIMEOUT;
}

DWORD SFolderLister::lookUp(const std::string& rPath, WIN32_FIND_DATAA& rData) {
  KVX_CALLSTACK_TRACK;
  FOLDERWORKREF work = std::make_shared<FOLDERWORK>();
  work->nKind = WORK_LOOKUP;
  work->strPath = rPath;
  work->strFolder = folderOf(rPath);
  const std::string strKey = "F" + rPath;
  work = startWork(strKey, work);
  const bool bWaited = work && !work->bGivenUp;
  if (work && waitFor(work, bWaited ? kAnswerWaitMs : 0)) {
    forget(strKey, work);
    rData = work->data;
    return work->nError;
  }
  if (bWaited) giveUp(work);
  return ERROR_TIMEOUT;
}
