#ifndef PATHWICK_MENUS_CONTEXTMENU_H
#define PATHWICK_MENUS_CONTEXTMENU_H

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "../diag/callstack.h"
#include "../diag/scoped.h"

// Shows the shell's own context menu for one file or folder at a screen
// point and runs the command chosen in it. While that menu is up, the owner
// window hands the menu messages of the shell's owner-drawn and lazily
// filled submenus to HandleMenuMsg. The shell interface is held only for
// the duration of displayContextMenu.
class CContextMenu {
 public:
  CContextMenu();
  ~CContextMenu();

  // The command identifiers the shell may give its entries. The owner keeps
  // a range of its own (0x8000..0xFFFF) apart from its folder entries, so
  // that a draw or measure request tells by its id whom it is for.
  void setShellIDRange(int nFirst, int nLast);

  // Shows the context menu of rstrFile (a full path; a drive root such as
  // "C:\" shows the drive's menu) at (x, y), owned by hOwner, and runs the
  // chosen command before returning. True when a command ran or the menu
  // was dismissed; false on any failure, which the user has been told about
  // where a box says so.
  bool displayContextMenu(HWND hOwner, std::string& rstrFile, LONG x, LONG y);

  // Tells the user of a failure in an "Error" box owned by the menu's owner
  // window; while boxes are held (a menu is tracked), after it has closed.
  void showBox(const char* lpszText, UINT uIcon);
  void holdBoxes(bool bHold) {
    KVX_CALLSTACK_TRACK;
    m_bHoldBoxes = bHold;
  }
  void showHeldBoxes();

  // Passes a menu message of the open context menu to the shell. Returns the
  // shell's result, or 0 when no interface is held or the message is not one
  // the held interface takes. For WM_MENUCHAR the message's own result is
  // written through plResult by an IContextMenu3; otherwise it is left as
  // the caller initialised it.
  HRESULT HandleMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* plResult);

  // Obtains the context-menu interface of rstrFile as the richest version
  // the shell offers; false (after logging and any box) when it cannot.
  bool getInterface(std::string& rstrFile);

  // The parent folder of rstrFile and the item's identifier list relative
  // to it. On failure both are empty.
  bool getPIDLFromPathString(std::string& rstrFile, CComRef<IShellFolder>& rParent,
                             CItemIdList& rItem);

  // 0 when no interface is held, else 1, 2 or 3 (IContextMenu,
  // IContextMenu2, IContextMenu3).
  int getInterfaceVersion() const {
    KVX_CALLSTACK_TRACK;
    return m_nInterfaceVersion;
  }

  CContextMenu(const CContextMenu&) = delete;
  CContextMenu& operator=(const CContextMenu&) = delete;

 private:
  // Releases the held interface and returns to the idle state.
  void releaseInterface();
  // Keeps the richest of IContextMenu3, IContextMenu2 and rMenu itself.
  void adoptRichestInterface(CComRef<IContextMenu>& rMenu);
  // The verb of the chosen command; false when the shell refused it.
  bool invokeCommand(UINT nCommand);

  int m_nShellIDFirst;
  int m_nShellIDLast;
  // The richest interface obtained, as its IContextMenu base.
  CComRef<IContextMenu> m_IContextMenu;
  int m_nInterfaceVersion;
  // The owner of the boxes that tell the user of a failure, and the boxes
  // held while a menu is tracked.
  HWND m_hOwner;
  bool m_bHoldBoxes;
  std::vector<std::pair<std::string, UINT> > m_HeldBoxes;
};

#endif
