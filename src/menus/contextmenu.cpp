#include "contextmenu.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "../diag/log.h"

#ifndef _WIN64
static_assert(sizeof(CMINVOKECOMMANDINFO) == 36, "the shell's command record is 36 bytes");
#endif

namespace {

void showBox(const char* lpszText, UINT uIcon) {
  KVX_CALLSTACK_TRACK;
  MessageBoxA(NULL, lpszText, "Error", MB_OK | uIcon);
}

void logLine(const char* lpszLine) {
  KVX_CALLSTACK_TRACK;
  SLog::S_getSingleton()->write(0, "%s", lpszLine);
}

// Sized from the text itself: a path longer than MAX_PATH reaches the shell
// whole, never cut short and never past the end of a fixed buffer.
bool toWide(const std::string& rText, std::vector<WCHAR>& rWide) {
  KVX_CALLSTACK_TRACK;
  const int nChars = MultiByteToWideChar(CP_ACP, 0, rText.c_str(), -1, NULL, 0);
  if (nChars <= 0) return false;
  rWide.assign(static_cast<size_t>(nChars), L'\0');
  return MultiByteToWideChar(CP_ACP, 0, rText.c_str(), -1, &rWide[0], nChars) == nChars;
}

// The identifier list of rName relative to lpFolder; null on failure.
ITEMIDLIST* parseName(IShellFolder* lpFolder, const std::string& rName) {
  KVX_CALLSTACK_TRACK;
  std::vector<WCHAR> wide;
  if (!toWide(rName, wide)) return NULL;
  ITEMIDLIST* lpItem = NULL;
  ULONG nEaten = 0;
  if (FAILED(lpFolder->ParseDisplayName(NULL, NULL, &wide[0], &nEaten, &lpItem, NULL))) {
    CoTaskMemFree(lpItem);
    return NULL;
  }
  return lpItem;
}

// The folder object of a directory, reached from the desktop. Logs, but
// shows nothing: the caller's warning box says all the user can act on.
IShellFolder* bindDirectory(IShellFolder* lpDesktop, const std::string& rDirectory) {
  KVX_CALLSTACK_TRACK;
  ITEMIDLIST* lpDirectory = parseName(lpDesktop, rDirectory);
  if (lpDirectory == NULL) {
    logLine("CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed");
    return NULL;
  }
  IShellFolder* lpFolder = NULL;
  const HRESULT hr = lpDesktop->BindToObject(lpDirectory, NULL, IID_IShellFolder,
                                             reinterpret_cast<void**>(&lpFolder));
  CoTaskMemFree(lpDirectory);
  if (FAILED(hr) || lpFolder == NULL) {
    if (lpFolder != NULL) lpFolder->Release();
    logLine("CContextMenu::getPIDLFromPathString() failed: BindToObject() Failed");
    return NULL;
  }
  return lpFolder;
}

void reportUnparsedName() {
  KVX_CALLSTACK_TRACK;
  logLine("CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed");
  showBox("ParseDisplayName() Failed", MB_ICONERROR);
}

// A file or folder below a directory: the directory's folder object is the
// parent, and the name is parsed in it.
bool parseInDirectory(IShellFolder* lpDesktop, const std::string& rDirectory,
                      const std::string& rName, IShellFolder*& rlpParent, ITEMIDLIST*& rlpItem) {
  KVX_CALLSTACK_TRACK;
  IShellFolder* lpParent = bindDirectory(lpDesktop, rDirectory);
  if (lpParent == NULL) return false;
  ITEMIDLIST* lpItem = parseName(lpParent, rName);
  if (lpItem == NULL) {
    reportUnparsedName();
    lpParent->Release();
    return false;
  }
  rlpParent = lpParent;
  rlpItem = lpItem;
  return true;
}

// A drive root such as "C:\" has no directory above it in the file system.
// The whole path is parsed on the desktop folder, which yields the drive's
// place in the namespace (My Computer, then the drive); the drive's own
// folder above it, My Computer, becomes the parent, and the drive's entry
// the item, so the menu shown is the drive's own. Any path that ends with
// a backslash, or holds none, takes this road too.
bool parseFromDesktop(IShellFolder* lpDesktop, const std::string& rPath, IShellFolder*& rlpParent,
                      ITEMIDLIST*& rlpItem) {
  KVX_CALLSTACK_TRACK;
  ITEMIDLIST* lpFull = parseName(lpDesktop, rPath);
  if (lpFull == NULL) {
    reportUnparsedName();
    return false;
  }
  IShellFolder* lpParent = NULL;
  LPCITEMIDLIST lpLast = NULL;
  ITEMIDLIST* lpItem = NULL;
  if (SUCCEEDED(
          SHBindToParent(lpFull, IID_IShellFolder, reinterpret_cast<void**>(&lpParent), &lpLast)) &&
      lpParent != NULL && lpLast != NULL)
    lpItem = ILClone(lpLast);
  CoTaskMemFree(lpFull);
  if (lpItem == NULL) {
    if (lpParent != NULL) lpParent->Release();
    logLine("CContextMenu::getPIDLFromPathString() failed: BindToObject() Failed");
    return false;
  }
  rlpParent = lpParent;
  rlpItem = lpItem;
  return true;
}

// Owns the popup the shell fills, so that no way out of displayContextMenu
// leaves it behind.
class CPopupMenu {
 public:
  CPopupMenu() : m_hMenu(CreatePopupMenu()) { KVX_CALLSTACK_TRACK; }
  ~CPopupMenu() {
    KVX_CALLSTACK_TRACK;
    if (m_hMenu != NULL) DestroyMenu(m_hMenu);
  }
  HMENU get() const { return m_hMenu; }

  CPopupMenu(const CPopupMenu&) = delete;
  CPopupMenu& operator=(const CPopupMenu&) = delete;

 private:
  HMENU m_hMenu;
};

}  // namespace

CContextMenu::CContextMenu()
    : m_nShellIDFirst(2), m_nShellIDLast(30000), m_lpIContextMenu(NULL), m_nInterfaceVersion(0) {
  KVX_CALLSTACK_TRACK;
}

// The interface is never held beyond displayContextMenu.
CContextMenu::~CContextMenu() { KVX_CALLSTACK_TRACK; }

void CContextMenu::setShellIDRange(int nFirst, int nLast) {
  KVX_CALLSTACK_TRACK;
  m_nShellIDFirst = nFirst;
  m_nShellIDLast = nLast;
}

bool CContextMenu::getPIDLFromPathString(std::string& rstrFile, IShellFolder** lppParent,
                                         ITEMIDLIST** lppItem) {
  KVX_CALLSTACK_TRACK;
  *lppParent = NULL;
  *lppItem = NULL;
  IShellFolder* lpDesktop = NULL;
  if (FAILED(SHGetDesktopFolder(&lpDesktop)) || lpDesktop == NULL) {
    logLine("CContextMenu::getPIDLFromPathString() failed: SHGetDesktopFolder() Failed");
    showBox("SHGetDesktopFolder() Failed", MB_ICONERROR);
    return false;
  }
  const std::string::size_type nSlash = rstrFile.rfind('\\');
  bool bFound;
  if (nSlash != std::string::npos && nSlash + 1 < rstrFile.size())
    bFound = parseInDirectory(lpDesktop, rstrFile.substr(0, nSlash + 1),
                              rstrFile.substr(nSlash + 1), *lppParent, *lppItem);
  else
    bFound = parseFromDesktop(lpDesktop, rstrFile, *lppParent, *lppItem);
  // The parent, whichever it is, holds its own reference.
  lpDesktop->Release();
  return bFound;
}

bool CContextMenu::getInterface(std::string& rstrFile) {
  KVX_CALLSTACK_TRACK;
  IShellFolder* lpParent = NULL;
  ITEMIDLIST* lpItem = NULL;
  if (!getPIDLFromPathString(rstrFile, &lpParent, &lpItem)) {
    logLine("CContextMenu::getInterface() failed: getPIDLFromPathString() Failed");
    return false;
  }
  IContextMenu* lpMenu = NULL;
  LPCITEMIDLIST lpcItem = lpItem;
  const HRESULT hr = lpParent->GetUIObjectOf(NULL, 1, &lpcItem, IID_IContextMenu, NULL,
                                             reinterpret_cast<void**>(&lpMenu));
  CoTaskMemFree(lpItem);
  lpParent->Release();
  if (FAILED(hr)) {
    if (lpMenu != NULL) lpMenu->Release();
    logLine("CContextMenu::getInterface() failed: GetUIObjectOf() Failed");
    showBox("GetUIObjectOf() Failed", MB_ICONERROR);
    return false;
  }
  if (lpMenu == NULL) {
    logLine("CContextMenu::getInterface() failes: Could not obtain IContextMenu interface");
    return false;
  }
  adoptRichestInterface(lpMenu);
  return true;
}

// Owner-drawn and lazily filled shell submenus (send-to, open-with) only
// work through IContextMenu2 or 3, so the richest one is kept.
void CContextMenu::adoptRichestInterface(IContextMenu* lpMenu) {
  KVX_CALLSTACK_TRACK;
  IContextMenu3* lpMenu3 = NULL;
  if (SUCCEEDED(lpMenu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&lpMenu3))) &&
      lpMenu3 != NULL) {
    logLine("CContextMenu::getInterface(): Using IContextMenu3");
    m_lpIContextMenu = lpMenu3;
    m_nInterfaceVersion = 3;
    lpMenu->Release();
    return;
  }
  IContextMenu2* lpMenu2 = NULL;
  if (SUCCEEDED(lpMenu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&lpMenu2))) &&
      lpMenu2 != NULL) {
    logLine("CContextMenu::getInterface(): Using IContextMenu2");
    m_lpIContextMenu = lpMenu2;
    m_nInterfaceVersion = 2;
    lpMenu->Release();
    return;
  }
  logLine("CContextMenu::getInterface(): Using IContextMenu1");
  m_lpIContextMenu = lpMenu;
  m_nInterfaceVersion = 1;
}

void CContextMenu::releaseInterface() {
  KVX_CALLSTACK_TRACK;
  if (m_lpIContextMenu != NULL) m_lpIContextMenu->Release();
  m_lpIContextMenu = NULL;
  m_nInterfaceVersion = 0;
}

bool CContextMenu::invokeCommand(UINT nCommand) {
  KVX_CALLSTACK_TRACK;
  CMINVOKECOMMANDINFO info;
  memset(&info, 0, sizeof(info));
  info.cbSize = sizeof(info);
  // The shell numbers its verbs from the first identifier it was given.
  info.lpVerb = MAKEINTRESOURCEA(static_cast<WORD>(nCommand - static_cast<UINT>(m_nShellIDFirst)));
  info.nShow = SW_SHOWNORMAL;
  return SUCCEEDED(m_lpIContextMenu->InvokeCommand(&info));
}

bool CContextMenu::displayContextMenu(HWND hOwner, std::string& rstrFile, LONG x, LONG y) {
  KVX_CALLSTACK_TRACK;
  assert(false == rstrFile.empty());
  // One menu at a time: a second one would take over the interface that
  // the first is still tracking with.
  if (m_lpIContextMenu != NULL) {
    logLine("CContextMenu::displayContextMenu() failed: a context menu is already up");
    return false;
  }
  CPopupMenu popup;
  if (popup.get() == NULL) {
    SLog::S_getSingleton()->writeLastError(
        0, "CContextMenu::displayContextMenu() failed: CreatePopupMenu() failed with error: %i");
    return false;
  }
  if (!getInterface(rstrFile)) {
    showBox("Unable to open the context menu, the item may be invalid.", MB_ICONWARNING);
    return false;
  }
  if (FAILED(m_lpIContextMenu->QueryContextMenu(popup.get(), 0, static_cast<UINT>(m_nShellIDFirst),
                                                static_cast<UINT>(m_nShellIDLast),
                                                CMF_EXPLORE | CMF_EXTENDEDVERBS))) {
    releaseInterface();
    logLine("CContextMenu::displayContextMenu() failed: QueryContextMenu() Failed");
    showBox("QueryContextMenu() Failed", MB_ICONERROR);
    return false;
  }
  // A dismissed menu returns 0 without setting an error; a stale code from
  // an earlier call must not turn that into a failure.
  SetLastError(0);
  const UINT nCommand = static_cast<UINT>(
      TrackPopupMenuEx(popup.get(), TPM_RETURNCMD | TPM_RECURSE, x, y, hOwner, NULL));
  const DWORD dwError = GetLastError();
  if (nCommand == 0) {
    releaseInterface();
    if (dwError == 0) return true;
    SLog::S_getSingleton()->write(
        0, "CContextMenu::displayContextMenu() failed: TrackPopupMenuEx() Failed: Error: %i",
        static_cast<int>(dwError));
    return false;
  }
  const bool bInvoked = invokeCommand(nCommand);
  releaseInterface();
  if (!bInvoked) {
    logLine("CContextMenu::displayContextMenu() failed: InvokeCommand() Failed");
    return false;
  }
  return true;
}

HRESULT CContextMenu::HandleMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult) {
  KVX_CALLSTACK_TRACK;
  if (m_lpIContextMenu == NULL || m_nInterfaceVersion < 2) return 0;
  IContextMenu2* lpMenu2 = static_cast<IContextMenu2*>(m_lpIContextMenu);
  switch (uMsg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
      return lpMenu2->HandleMenuMsg(uMsg, wParam, lParam);
    case WM_MENUCHAR:
      if (m_nInterfaceVersion == 3)
        return static_cast<IContextMenu3*>(m_lpIContextMenu)
            ->HandleMenuMsg2(uMsg, wParam, lParam, plResult);
      return lpMenu2->HandleMenuMsg(uMsg, wParam, lParam);
    default:
      return 0;
  }
}
