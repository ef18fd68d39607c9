#ifndef PATHWICK_MENUS_CONTEXTMENU_H
#define PATHWICK_MENUS_CONTEXTMENU_H

// Placeholder until the shell context menu lands: the interface the
// navigation menu calls, doing nothing. A right-click shows no menu.

#include <windows.h>

#include <string>

#include "../diag/callstack.h"

class CContextMenu {
 public:
  CContextMenu() : m_nShellIDFirst(2), m_nShellIDLast(30000) {}
  ~CContextMenu() {}

  void setShellIDRange(int nFirst, int nLast) {
    KVX_CALLSTACK_TRACK;
    m_nShellIDFirst = nFirst;
    m_nShellIDLast = nLast;
  }
  bool displayContextMenu(HWND, std::string&, LONG, LONG) {
    KVX_CALLSTACK_TRACK;
    return true;
  }
  HRESULT HandleMenuMsg(UINT, WPARAM, LPARAM, LRESULT*) {
    KVX_CALLSTACK_TRACK;
    return 0;
  }

  CContextMenu(const CContextMenu&) = delete;
  CContextMenu& operator=(const CContextMenu&) = delete;

 private:
  int m_nShellIDFirst;
  int m_nShellIDLast;
};

#endif
