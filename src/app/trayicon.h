#ifndef PATHWICK_APP_TRAYICON_H
#define PATHWICK_APP_TRAYICON_H

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "../diag/callstack.h"

// The message the shell sends the owner window for mouse events on the icon:
// the icon id in wParam, the mouse message in lParam.
#define PATHWICK_TRAY_CALLBACK (WM_USER + 1)

// One icon with a tooltip in the notification area. The shell's answers are
// not looked at: "added" means the add was sent.
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

  // The records sent to the shell.
  void fillAddRecord(NOTIFYICONDATAA& rData) const;
  void fillRemoveRecord(NOTIFYICONDATAA& rData) const;

 private:
  void clearRecord(NOTIFYICONDATAA& rData) const;

  BOOL m_bAdded;
  HICON m_hIcon;
  UINT m_uID;
  HWND m_hWnd;
  std::string m_strTip;
};

#endif
