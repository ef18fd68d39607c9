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


CTrayIcon::CTrayIcon() : m_bAdded(FALSE), m_hIcon(NULL), m_uID(0), m_hWnd(NULL) {
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
  NOTIFYICONDATAA data;
  fillAddRecord(data);
  Shell_NotifyIconA(NIM_ADD, &data);
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
  NOTIFYICONDATAA data;
  fillAddRecord(data);
  Shell_NotifyIconA(NIM_ADD, &data);
  return 1;
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

void CTrayIcon::fillRemoveRecord(NOTIFYICONDATAA& rData) const {
  KVX_CALLSTACK_TRACK;
  clearRecord(rData);
}
