#ifndef PATHWICK_APP_TRAYICON_H
#define PATHWICK_APP_TRAYICON_H

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "../diag/callstack.h"

// The message the shell sends the owner window for mouse and keyboard events
// on the icon: the icon id in wParam, the event in lParam (a mouse message,
// NIN_SELECT, NIN_KEYSELECT or WM_CONTEXTMENU).
#define PATHWICK_TRAY_CALLBACK (WM_USER + 1)

// What one callback asks for: the menu of which button, and whether a key
// asked (Enter or Space on the icon stand for the left button, the context
// menu key for the right one).
struct TRAYREQUEST {
  enum BUTTON { NONE, LEFT, RIGHT };
  BUTTON button;
  bool b_keyboard;
};

// One icon with a tooltip in the notification area. The shell's answers are
// not looked at: "added" means the add was sent. The icon speaks version 3
// of the shell's protocol, which reports keys on the icon as keys.
class CTrayIcon {
 public:
  // The tooltip field of the record holds this many characters and a zero.
  enum { MAX_TIP_CHARS = 127 };

  CTrayIcon();
  ~CTrayIcon();
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;

  // Only remembers the values; a shown icon does not change.
  void setInfo(HWND hWnd, HICON hIcon, UINT uID, const std::string& tip);
  // 1 when the add was sent, 0 when the icon was already added.
  int add();
  // 1 when the delete was sent, 0 when the icon was not added.
  int remove();
  // Sends the add again for an icon the shell has forgotten (a re-created
  // taskbar starts empty). 1 when sent, 0 when the icon is not added.
  int restore();

  bool isAdded() const {
    KVX_CALLSTACK_TRACK;
    return m_bAdded != FALSE;
  }

  // The request of one callback's lParam. One user action asks once: the
  // shell reports a click as its button's release and then once more as a
  // selection (NIN_SELECT, WM_CONTEXTMENU), and only the release counts.
  TRAYREQUEST readCallback(LPARAM lParam);
  // Where a menu opened by a key on the icon opens: the icon's middle, or
  // where the shell cannot tell, the outer corner of the notification area.
  POINT keyboardAnchor() const;
  // Hands the keyboard focus back to the notification area, as a menu
  // that a key opened closes without a choice.
  void giveFocusBack() const;

  // The records sent to the shell.
  void fillAddRecord(NOTIFYICONDATAA& rData) const;
  void fillVersionRecord(NOTIFYICONDATAA& rData) const;
  void fillRemoveRecord(NOTIFYICONDATAA& rData) const;

 private:
  void clearRecord(NOTIFYICONDATAA& rData) const;
  // The add, and the version that every add must be followed by.
  void sendAdd() const;
  bool getIconRect(RECT& rRect) const;

  BOOL m_bAdded;
  HICON m_hIcon;
  UINT m_uID;
  HWND m_hWnd;
  std::string m_strTip;
  // The button released last, while its selection may still follow.
  UINT m_uLastRelease;
};

#endif
