#ifndef PATHWICK_DIAG_DPI_H
#define PATHWICK_DIAG_DPI_H

#include <windows.h>

// Dots per inch, as the program sees them: it declares itself aware of each
// monitor's own scale, so every pixel measure it draws with comes from the
// DPI of the monitor it draws on. The calls that tell (GetDpiForMonitor on
// 8.1, GetDpiForWindow, GetSystemMetricsForDpi and SystemParametersInfoForDpi
// on 10 version 1607) are looked up at run time; where they are missing, the
// system's DPI stands for every monitor, as Windows then scales the rest.
namespace dpi {

// The DPI at which Windows draws at 100%, the scale of the program's own
// pixel measures.
const UINT kBase = 96;

// The DPI of the system (of the primary monitor when the program started).
UINT system();
// The DPI of a monitor, of the monitor that holds a point, of a window.
UINT ofMonitor(HMONITOR hMonitor);
UINT atPoint(const POINT& rPoint);
UINT ofWindow(HWND hWnd);
// n pixels at 96 DPI, at nDpi.
int scale(int n, UINT nDpi);
// GetSystemMetrics as it is at nDpi.
int systemMetric(int nIndex, UINT nDpi);
// The system's fonts and metrics as they are at nDpi; false when they
// cannot be read.
bool nonClientMetrics(NONCLIENTMETRICSW& rMetrics, UINT nDpi);

}  // namespace dpi

#endif
