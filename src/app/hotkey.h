#ifndef PATHWICK_APP_HOTKEY_H
#define PATHWICK_APP_HOTKEY_H

#include <windows.h>

#include <string>

#include "../diag/callstack.h"

// The user's key combination for the Folder Menu, registered with the
// system for one window, which gets WM_HOTKEY with ID when it is pressed,
// whichever program has the focus. Combinations are in the hotkey control's
// form (PROGRAMOPTIONS::HotKey); 0 is none.
class CHotKey {
 public:
  enum { ID = 1 };

  CHotKey();
  // Lets go of the combination: it belongs to no one once we end.
  ~CHotKey();
  CHotKey(const CHotKey&) = delete;
  CHotKey& operator=(const CHotKey&) = delete;

  void setWindow(HWND hWnd);
  // Lets go of the combination held now and takes wHotKey. False, with a
  // line in the run log, when the system refuses it, as it does a
  // combination another program holds; none is held then.
  bool use(WORD wHotKey);
  // Lets go of the combination held now.
  void release();
  WORD getHeld() const {
    KVX_CALLSTACK_TRACK;
    return m_wHeld;
  }

  // The MOD_ flags of RegisterHotKey for the control's HOTKEYF_ flags,
  // which number the same keys otherwise.
  static UINT S_modifiersOf(WORD wHotKey);
  // The combination as the user reads it: "Ctrl+Alt+P".
  static std::string S_describe(WORD wHotKey);

 private:
  HWND m_hWnd;
  WORD m_wHeld;
};

#endif
