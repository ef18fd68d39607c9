#include "contextmenu.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "../diag/log.h"
#include "../diag/pathtext.h"

#ifndef _WIN64
static_assert(sizeof(CMINVOKECOMMANDINFO) == 36, "the shell's command record is 36 bytes");
#endif

namespace {

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

// The identifier list of rName relative to lpFolder.
bool parseName(IShellFolder* lpFolder, const std::string& rName, CItemIdList& rItem) {
  KVX_CALLSTACK_TRACK;
  std::vector<WCHAR> wide;
  if (!toWide(rName, wide)) return false;
  ULONG nEaten = 0;
  return SUCCEEDED(
      lpFolder->ParseDisplayName(NULL, NULL, &wide[0], &nEaten, rItem.receive(), NULL));
}

// The folder object of a directory, reached from the desktop. Logs, but
// shows nothing: the caller's warning box says all the user can act on.
bool bindDirectory(IShellFolder* lpDesktop, const std::string& rDirectory,
                   CComRef<IShellFolder>& rFolder) {
  KVX_CALLSTACK_TRACK;
  CItemIdList directory;
  if (!parseName(lpDesktop, rDirectory, directory)) {
    logLine("CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed");
    return false;
  }
  const HRESULT hr =
      lpDesktop->BindToObject(directory.get(), NULL, IID_IShellFolder, rFolder.receive());
  if (FAILED(hr) || rFolder.get() == NULL) {
    rFolder.reset();
    logLine("CContextMenu::getPIDLFromPathString() failed: BindToObject() Failed");
    return false;
  }
  return true;
}

void reportUnparsedName(CContextMenu& rMenu) {
  KVX_CALLSTACK_TRACK;
  logLine("CContextMenu::getPIDLFromPathString() failed: ParseDisplayName() Failed");
  rMenu.showBox("ParseDisplayName() Failed", MB_ICONERROR);
}

// A file or folder below a directory: the directory's folder object is the
// parent, and the name is parsed in it.
bool parseInDirectory(CContextMenu& rMenu, IShellFolder* lpDesktop, const std::string& rDirectory,
                      const std::string& rName, CComRef<IShellFolder>& rParent,
                      CItemIdList& rItem) {
  KVX_CALLSTACK_TRACK;
  if (!bindDirectory(lpDesktop, rDirectory, rParent)) return false;
  if (parseName(rParent.get(), rName, rItem)) return true;
  reportUnparsedName(rMenu);
  rParent.reset();
  return false;
}

// A drive root such as "C:\" has no directory above it in the file system.
// The whole path is parsed on the desktop folder, which yields the drive's
// place in the namespace (My Computer, then the drive); the drive's own
// folder above it, My Computer, becomes the parent, and the drive's entry
// the item, so the menu shown is the drive's own. Any path that ends with
// a backslash, or holds none, takes this road too.
bool parseFromDesktop(CContextMenu& rMenu, IShellFolder* lpDesktop, const std::string& rPath,
                      CComRef<IShellFolder>& rParent, CItemIdList& rItem) {
  KVX_CALLSTACK_TRACK;
  CItemIdList full;
  if (!parseName(lpDesktop, rPath, full)) {
    reportUnparsedName(rMenu);
    return false;
  }
  LPCITEMIDLIST lpLast = NULL;
  if (SUCCEEDED(SHBindToParent(full.get(), IID_IShellFolder, rParent.receive(), &lpLast)) &&
      rParent.get() != NULL && lpLast != NULL)
    rItem.reset(ILClone(lpLast));
  if (rItem.valid()) return true;
  rParent.reset();
  logLine("CContextMenu::getPIDLFromPathString() failed: BindToObject() Failed");
  return false;
}

}  // namespace

CContextMenu::CContextMenu()
    : m_nShellIDFirst(2),
      m_nShellIDLast(30000),
      m_nInterfaceVersion(0),
      m_hOwner(NULL),
      m_bHoldBoxes(false) {
  KVX_CALLSTACK_TRACK;
}

// The interface is never held beyond displayContextMenu.
CContextMenu::~CContextMenu() { KVX_CALLSTACK_TRACK; }

// A box shown while a menu of the owner is tracked could not take the mouse,
// which the menu holds, and the menu loop keeps the capture until it ends:
// such a box waits for showHeldBoxes, and the menu is ended now.
void CContextMenu::showBox(const char* lpszText, UINT uIcon) {
  KVX_CALLSTACK_TRACK;
  if (!m_bHoldBoxes) {
    MessageBoxA(m_hOwner, lpszText, "Error", MB_OK | uIcon);
    return;
  }
  m_HeldBoxes.push_back(std::make_pair(std::string(lpszText), uIcon));
  EndMenu();
}

void CContextMenu::showHeldBoxes() {
  KVX_CALLSTACK_TRACK;
  std::vector<std::pair<std::string, UINT> > boxes;
  boxes.swap(m_HeldBoxes);
  for (const std::pair<std::string, UINT>& rBox : boxes)
    MessageBoxA(m_hOwner, rBox.first.c_str(), "Error", MB_OK | rBox.second);
}

void CContextMenu::setShellIDRange(int nFirst, int nLast) {
  KVX_CALLSTACK_TRACK;
  m_nShellIDFirst = nFirst;
  m_nShellIDLast = nLast;
}

bool CContextMenu::getPIDLFromPathString(std::string& rstrFile, CComRef<IShellFolder>& rParent,
                                         CItemIdList& rItem) {
  KVX_CALLSTACK_TRACK;
  rParent.reset();
  rItem.reset();
  CComRef<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(reinterpret_cast<IShellFolder**>(desktop.receive()))) ||
      desktop.get() == NULL) {
    logLine("CContextMenu::getPIDLFromPathString() failed: SHGetDesktopFolder() Failed");
    showBox("SHGetDesktopFolder() Failed", MB_ICONERROR);
    return false;
  }
  const std::string::size_type nSlash = lastBackslash(rstrFile);
  if (nSlash != std::string::npos && nSlash + 1 < rstrFile.size())
    return parseInDirectory(*this, desktop.get(), rstrFile.substr(0, nSlash + 1),
                            rstrFile.substr(nSlash + 1), rParent, rItem);
  return parseFromDesktop(*this, desktop.get(), rstrFile, rParent, rItem);
}

bool CContextMenu::getInterface(std::string& rstrFile) {
  KVX_CALLSTACK_TRACK;
  CComRef<IShellFolder> parent;
  CItemIdList item;
  if (!getPIDLFromPathString(rstrFile, parent, item)) {
    logLine("CContextMenu::getInterface() failed: getPIDLFromPathString() Failed");
    return false;
  }
  CComRef<IContextMenu> menu;
  LPCITEMIDLIST lpcItem = item.get();
  const HRESULT hr =
      parent->GetUIObjectOf(NULL, 1, &lpcItem, IID_IContextMenu, NULL, menu.receive());
  if (FAILED(hr)) {
    logLine("CContextMenu::getInterface() failed: GetUIObjectOf() Failed");
    showBox("GetUIObjectOf() Failed", MB_ICONERROR);
    return false;
  }
  if (menu.get() == NULL) {
    logLine("CContextMenu::getInterface() failes: Could not obtain IContextMenu interface");
    return false;
  }
  adoptRichestInterface(menu);
  return true;
}

// Owner-drawn and lazily filled shell submenus (send-to, open-with) only
// work through IContextMenu2 or 3, so the richest one is kept.
void CContextMenu::adoptRichestInterface(CComRef<IContextMenu>& rMenu) {
  KVX_CALLSTACK_TRACK;
  CComRef<IContextMenu> richer;
  if (SUCCEEDED(rMenu->QueryInterface(IID_IContextMenu3, richer.receive())) &&
      richer.get() != NULL) {
    logLine("CContextMenu::getInterface(): Using IContextMenu3");
    m_nInterfaceVersion = 3;
  } else if (SUCCEEDED(rMenu->QueryInterface(IID_IContextMenu2, richer.receive())) &&
             richer.get() != NULL) {
    logLine("CContextMenu::getInterface(): Using IContextMenu2");
    m_nInterfaceVersion = 2;
  } else {
    logLine("CContextMenu::getInterface(): Using IContextMenu1");
    m_nInterfaceVersion = 1;
    richer.reset(rMenu.detach());
  }
  m_IContextMenu.reset(richer.detach());
}

void CContextMenu::releaseInterface() {
  KVX_CALLSTACK_TRACK;
  m_IContextMenu.reset();
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
  // The shell's own windows for the command (the question before a
  // deletion) belong to the owner, in front of the Folder Menu's windows,
  // not behind them.
  info.hwnd = m_hOwner;
  return SUCCEEDED(m_IContextMenu->InvokeCommand(&info));
}

bool CContextMenu::displayContextMenu(HWND hOwner, std::string& rstrFile, LONG x, LONG y) {
  KVX_CALLSTACK_TRACK;
  assert(false == rstrFile.empty());
  // One menu at a time: a second one would take over the interface that
  // the first is still tracking with.
  if (m_IContextMenu.get() != NULL) {
    logLine("CContextMenu::displayContextMenu() failed: a context menu is already up");
    return false;
  }
  m_hOwner = hOwner;
  CPopupMenu popup(CreatePopupMenu());
  if (popup.get() == NULL) {
    SLog::S_getSingleton()->writeLastError(
        0, "CContextMenu::displayContextMenu() failed: CreatePopupMenu() failed with error: %i");
    return false;
  }
  if (!getInterface(rstrFile)) {
    showBox("Unable to open the context menu, the item may be invalid.", MB_ICONWARNING);
    return false;
  }
  if (FAILED(m_IContextMenu->QueryContextMenu(popup.get(), 0, static_cast<UINT>(m_nShellIDFirst),
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
  if (m_IContextMenu.get() == NULL || m_nInterfaceVersion < 2) return 0;
  IContextMenu2* lpMenu2 = static_cast<IContextMenu2*>(m_IContextMenu.get());
  switch (uMsg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
      return lpMenu2->HandleMenuMsg(uMsg, wParam, lParam);
    case WM_MENUCHAR:
      if (m_nInterfaceVersion == 3)
        return static_cast<IContextMenu3*>(m_IContextMenu.get())
            ->HandleMenuMsg2(uMsg, wParam, lParam, plResult);
      return lpMenu2->HandleMenuMsg(uMsg, wParam, lParam);
    default:
      return 0;
  }
}
