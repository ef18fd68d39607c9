#include "trayicon.h"

#include <cstring>

#include "../diag/pathtext.h"

// The Windows 2000 layout of the record, whose tooltip field holds 128 bytes:
// every shell since knows it.
#define PATHWICK_TRAY_RECORD_SIZE NOTIFYICONDATAA_V2_SIZE
#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the Windows 2000 tray record is 488 bytes");
#endif
static_assert(sizeof(((NOTIFYICONDATAA*)0)->szTip) == CTrayIcon::MAX_TIP_CHARS + 1,
              "the tooltip field holds the longest tip and its zero");


CTrayIcon::CTrayIcon()
    : m_bAdded(FALSE), m_hIcon(NULL), m_uID(0), m_hWnd(NULL), m_uLastRelease(0) {
  KVX_CALLSTACK_TRACK;
}

// Destroying the object always takes a shown icon out of the notification
// area; an icon left behind would stay there until the mouse passes over it.
CTrayIcon::~CTrayIcon() {
  KVX_CALLSTACK_TRACK;
  remove();
}

void CTrayIcon::setInfo(HWND hWnd, HICON hIcon, UINT uID, const std::string& tip) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hWnd;
  m_hIcon = hIcon;
  m_uID = uID;
  m_strTip = tip;
}

int CTrayIcon::add() {
  KVX_CALLSTACK_TRACK;
  if (m_bAdded) return 0;
  m_bAdded = TRUE;
  sendAdd();
  return 1;
}

int CTrayIcon::remove() {
  KVX_CALLSTACK_TRACK;
  if (!m_bAdded) return 0;
  m_bAdded = FALSE;
  NOTIFYICONDATAA data;
  fillRemoveRecord(data);
  Shell_NotifyIconA(NIM_DELETE, &data);
  m_uID = 0;
  m_hIcon = NULL;
  m_hWnd = NULL;
  return 1;
}

int CTrayIcon::restore() {
  KVX_CALLSTACK_TRACK;
  if (!m_bAdded) return 0;
  sendAdd();
  return 1;
}

// The shell forgets the version with the icon, so it follows every add.
// Without it Enter on the icon would arrive as a right-button click.
void CTrayIcon::sendAdd() const {
  KVX_CALLSTACK_TRACK;
  NOTIFYICONDATAA data;
  fillAddRecord(data);
  Shell_NotifyIconA(NIM_ADD, &data);
  fillVersionRecord(data);
  Shell_NotifyIconA(NIM_SETVERSION, &data);
}

TRAYREQUEST CTrayIcon::readCallback(LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  // Later shells put the icon id into the high word; the event is the low.
  const UINT uEvent = LOWORD(lParam);
  const UINT uLastRelease = m_uLastRelease;
  m_uLastRelease = 0;
  switch (uEvent) {
    case WM_LBUTTONUP:
      m_uLastRelease = uEvent;
      return {TRAYREQUEST::LEFT, false};
    case WM_RBUTTONUP:
      m_uLastRelease = uEvent;
      return {TRAYREQUEST::RIGHT, false};
    // Some shells report Enter on the icon as a selection without a click.
    case NIN_SELECT:
      if (uLastRelease == WM_LBUTTONUP) break;
      return {TRAYREQUEST::LEFT, true};
    case NIN_KEYSELECT:
      return {TRAYREQUEST::LEFT, true};
    case WM_CONTEXTMENU:
      if (uLastRelease == WM_RBUTTONUP) break;
      return {TRAYREQUEST::RIGHT, true};
    default:
      break;
  }
  return {TRAYREQUEST::NONE, false};
}

// Shell_NotifyIconGetRect exists from Windows 7 on, so it is looked up at
// run time. The taskbar's corner is where the notification area is, on
// whichever edge of the screen the taskbar sits.
POINT CTrayIcon::keyboardAnchor() const {
  KVX_CALLSTACK_TRACK;
  RECT rc = {0, 0, 0, 0};
  if (getIconRect(rc)) {
    const POINT ptMiddle = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    return ptMiddle;
  }
  const HWND hTaskbar = FindWindowA("Shell_TrayWnd", NULL);
  const HWND hArea = FindWindowExA(hTaskbar, NULL, "TrayNotifyWnd", NULL);
  if (GetWindowRect(hArea != NULL ? hArea : hTaskbar, &rc) ||
      SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0)) {
    const POINT ptCorner = {rc.right - 1, rc.bottom - 1};
    return ptCorner;
  }
  const POINT ptNone = {0, 0};
  return ptNone;
}

bool CTrayIcon::getIconRect(RECT& rRect) const {
  KVX_CALLSTACK_TRACK;
  typedef HRESULT(WINAPI * GetRectFn)(const NOTIFYICONIDENTIFIER*, RECT*);
  if (!m_bAdded) return false;
  const HMODULE hShell = GetModuleHandleA("shell32.dll");
  const GetRectFn lpGetRect = hShell == NULL ? NULL
                                             : reinterpret_cast<GetRectFn>(reinterpret_cast<void*>(
                                                   GetProcAddress(hShell, "Shell_NotifyIconGetRect")));
  if (lpGetRect == NULL) return false;
  NOTIFYICONIDENTIFIER id;
  memset(&id, 0, sizeof(id));
  id.cbSize = sizeof(id);
  id.hWnd = m_hWnd;
  id.uID = m_uID;
  return SUCCEEDED(lpGetRect(&id, &rRect)) && rRect.right > rRect.left && rRect.bottom > rRect.top;
}

void CTrayIcon::giveFocusBack() const {
  KVX_CALLSTACK_TRACK;
  if (!m_bAdded) return;
  NOTIFYICONDATAA data;
  clearRecord(data);
  Shell_NotifyIconA(NIM_SETFOCUS, &data);
}

void CTrayIcon::clearRecord(NOTIFYICONDATAA& rData) const {
  KVX_CALLSTACK_TRACK;
  memset(&rData, 0, sizeof(rData));
  rData.cbSize = PATHWICK_TRAY_RECORD_SIZE;
  rData.hWnd = m_hWnd;
  rData.uID = m_uID;
}

void CTrayIcon::fillAddRecord(NOTIFYICONDATAA& rData) const {
  KVX_CALLSTACK_TRACK;
  clearRecord(rData);
  rData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  rData.uCallbackMessage = PATHWICK_TRAY_CALLBACK;
  rData.hIcon = m_hIcon;
  // The record was cleared, so the tip is terminated whatever its length;
  // it is cut between characters, never inside one.
  memcpy(rData.szTip, m_strTip.data(), wholeCharacterBytes(m_strTip, MAX_TIP_CHARS));
}

// Version 3 fits the record's layout; version 4 would need a longer one.
void CTrayIcon::fillVersionRecord(NOTIFYICONDATAA& rData) const {
  KVX_CALLSTACK_TRACK;
  clearRecord(rData);
  rData.uVersion = NOTIFYICON_VERSION;
}

void CTrayIcon::fillRemoveRecord(NOTIFYICONDATAA& rData) const {
  KVX_CALLSTACK_TRACK;
  clearRecord(rData);
}
