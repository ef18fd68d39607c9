#ifndef PATHWICK_DIAG_WORKAREA_H
#define PATHWICK_DIAG_WORKAREA_H

#include <windows.h>

#include "callstack.h"

// The work area of the monitor (the screen less the taskbar and other bars
// docked to it); the primary monitor's stands in when the monitor cannot be
// asked.
inline RECT workAreaOf(HMONITOR hMonitor) {
  KVX_CALLSTACK_TRACK;
  MONITORINFO info = {};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoA(hMonitor, &info)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
  return info.rcWork;
}

#endif
