// The icon warm-up of the Folder Menu's controller: the file types of the
// roots' own listings are put into the icon cache ahead of the first click,
// in small steps while the program waits for input.
#include "../diag/log.h"
#include "folderlister.h"
#include "iconmgr.h"
#include "navmenu.h"

namespace {

// Each new file type costs the shell a query; this many at most are asked
// for ahead of time.
const size_t kMaxWarmedTypes = 64;

// A root on a network share or a removable drive may answer slowly or not
// at all, and nobody waits for it ahead of a click: only the drives of this
// machine's own disks are read. A share's path (\\server\share) has no
// drive letter and is never read.
bool isOnFixedDrive(const std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  if (rPath.size() < 3 || rPath[1] != ':' || rPath[2] != '\\') return false;
  const char szRoot[] = {rPath[0], ':', '\\', '\0'};
  return GetDriveTypeA(szRoot) == DRIVE_FIXED;
}

}  // namespace

bool CNavMenu::setRootItems(std::vector<ROOTITEM>& rList) {
  KVX_CALLSTACK_TRACK;
  const bool bSet = m_RootMenu.setRootItemList(rList);
  startIconWarmUp();
  return bSet;
}

// The shell's first icon query in a process also sets up its icon
// machinery; asked first, for the log beside the program, it is not paid by
// the first click either.
void CNavMenu::startIconWarmUp() {
  KVX_CALLSTACK_TRACK;
  resetIconWarmUp();
  if (m_hWnd != NULL && SetTimer(m_hWnd, kWarmUpTimer, USER_TIMER_MINIMUM, NULL) == 0)
    SLog::S_getSingleton()->writeLastError(
        0, "CNavMenu::startIconWarmUp() failed: SetTimer() failed with error: %i");
}

void CNavMenu::resetIconWarmUp() {
  KVX_CALLSTACK_TRACK;
  m_bWarmFirstQuery = true;
  m_nWarmNextRoot = 0;
  m_WarmPaths.clear();
  m_nWarmQueried = 0;
  m_WarmListing.reset();
}

// The types of one root are found by one listing, then asked for one per
// step; a type a fill has cached in between costs nothing.
bool CNavMenu::stepIconWarmUp() {
  KVX_CALLSTACK_TRACK;
  SIconMgr* lpIcons = SIconMgr::S_getSingleton();
  BMPPAIR pair(NULL, NULL);
  if (m_bWarmFirstQuery) {
    m_bWarmFirstQuery = false;
    lpIcons->getBmpIconForFile(SLog::S_getSingleton()->getPath(0), pair);
    return true;
  }
  if (!m_WarmPaths.empty()) {
    lpIcons->getBmpIconForFile(m_WarmPaths.back(), pair);
    m_WarmPaths.pop_back();
    ++m_nWarmQueried;
    return true;
  }
  if (m_WarmListing) {
    stepWarmListing();
    return true;
  }
  if (m_nWarmNextRoot >= m_RootMenu.getRootItems().size() || m_nWarmQueried >= kMaxWarmedTypes)
    return false;
  m_RootMenu.getItemFillInfo(static_cast<int>(m_nWarmNextRoot++), m_WarmFillInfo);
  if (isOnFixedDrive(m_WarmFillInfo.str_path)) {
    m_WarmListing = SFolderLister::S_getSingleton()->startListing(m_WarmFillInfo);
    m_dwWarmListingStart = GetTickCount();
  }
  return true;
}

// The root is listed on the lister's thread while the steps go on asking
// whether it is done: the message loop is never held. A root that does not
// answer in time is passed over; its listing, when it comes, serves the
// first opening instead.
void CNavMenu::stepWarmListing() {
  KVX_CALLSTACK_TRACK;
  SFolderLister* lpLister = SFolderLister::S_getSingleton();
  std::vector<FOUNDNAME> folders;
  std::vector<FOUNDNAME> files;
  DWORD nError = ERROR_SUCCESS;
  if (lpLister->takeListing(m_WarmListing, folders, files, nError)) {
    if (nError == ERROR_SUCCESS)
      CFolderMenu::S_findUncachedTypes(m_WarmFillInfo, folders, files,
                                       kMaxWarmedTypes - m_nWarmQueried, m_WarmPaths);
    m_WarmListing.reset();
    return;
  }
  if (GetTickCount() - m_dwWarmListingStart <= SFolderLister::kAnswerWaitMs) return;
  lpLister->giveUp(m_WarmListing);
  m_WarmListing.reset();
}

bool CNavMenu::handleTimer(WPARAM nTimerId) {
  KVX_CALLSTACK_TRACK;
  if (nTimerId != kWarmUpTimer) return false;
  if (!stepIconWarmUp()) KillTimer(m_hWnd, kWarmUpTimer);
  return true;
}

// Steps that wait for a listing give the lister's thread the processor.
size_t CNavMenu::warmRootListingIcons() {
  KVX_CALLSTACK_TRACK;
  if (m_hWnd != NULL) KillTimer(m_hWnd, kWarmUpTimer);
  resetIconWarmUp();
  while (stepIconWarmUp())
    if (m_WarmListing) Sleep(0);
  return m_nWarmQueried;
}
