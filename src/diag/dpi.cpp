#include "dpi.h"

#include <cstddef>

#include "callstack.h"

namespace {

typedef HRESULT(WINAPI* GetDpiForMonitorFn)(HMONITOR, int, UINT*, UINT*);
typedef UINT(WINAPI* GetDpiForWindowFn)(HWND);
typedef int(WINAPI* GetSystemMetricsForDpiFn)(int, UINT);
typedef BOOL(WINAPI* SystemParametersInfoForDpiFn)(UINT, UINT, PVOID, UINT, UINT);

// MDT_EFFECTIVE_DPI: the DPI the monitor's scale setting gives.
const int kEffectiveDpi = 0;

// The layout of NONCLIENTMETRICS without Vista's border padding, which every
// version of the system reads.
const UINT kNonClientMetricsSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);

template <typename T>
T lookUp(const char* lpszModule, const char* lpszName) {
  KVX_CALLSTACK_TRACK;
  HMODULE hModule = GetModuleHandleA(lpszModule);
  if (hModule == NULL) hModule = LoadLibraryA(lpszModule);
  return hModule == NULL
             ? NULL
             : reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(hModule, lpszName)));
}

}  // namespace

namespace dpi {

UINT system() {
  KVX_CALLSTACK_TRACK;
  static UINT S_nSystem = 0;
  if (S_nSystem != 0) return S_nSystem;
  const HDC hScreen = GetDC(NULL);
  const int nDpi = hScreen != NULL ? GetDeviceCaps(hScreen, LOGPIXELSY) : 0;
  if (hScreen != NULL) ReleaseDC(NULL, hScreen);
  S_nSystem = nDpi > 0 ? static_cast<UINT>(nDpi) : kBase;
  return S_nSystem;
}

UINT ofMonitor(HMONITOR hMonitor) {
  KVX_CALLSTACK_TRACK;
  static const GetDpiForMonitorFn S_lpfnForMonitor =
      lookUp<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
  UINT nX = 0;
  UINT nY = 0;
  if (hMonitor != NULL && S_lpfnForMonitor != NULL &&
      SUCCEEDED(S_lpfnForMonitor(hMonitor, kEffectiveDpi, &nX, &nY)) && nY > 0)
    return nY;
  return system();
}

UINT atPoint(const POINT& rPoint) {
  KVX_CALLSTACK_TRACK;
  return ofMonitor(MonitorFromPoint(rPoint, MONITOR_DEFAULTTONEAREST));
}

UINT ofWindow(HWND hWnd) {
  KVX_CALLSTACK_TRACK;
  static const GetDpiForWindowFn S_lpfnForWindow =
      lookUp<GetDpiForWindowFn>("user32.dll", "GetDpiForWindow");
  const UINT nDpi = S_lpfnForWindow != NULL && hWnd != NULL ? S_lpfnForWindow(hWnd) : 0;
  return nDpi > 0 ? nDpi : ofMonitor(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST));
}

int scale(int n, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  return MulDiv(n, static_cast<int>(nDpi), static_cast<int>(kBase));
}

int systemMetric(int nIndex, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  static const GetSystemMetricsForDpiFn S_lpfnForDpi =
      lookUp<GetSystemMetricsForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
  if (S_lpfnForDpi != NULL) return S_lpfnForDpi(nIndex, nDpi);
  return MulDiv(GetSystemMetrics(nIndex), static_cast<int>(nDpi), static_cast<int>(system()));
}

// Without the call for a DPI, the system's metrics are at the system's
// DPI: their fonts are scaled to nDpi.
bool nonClientMetrics(NONCLIENTMETRICSW& rMetrics, UINT nDpi) {
  KVX_CALLSTACK_TRACK;
  static const SystemParametersInfoForDpiFn S_lpfnForDpi =
      lookUp<SystemParametersInfoForDpiFn>("user32.dll", "SystemParametersInfoForDpi");
  ZeroMemory(&rMetrics, sizeof(rMetrics));
  rMetrics.cbSize = kNonClientMetricsSize;
  if (S_lpfnForDpi != NULL)
    return S_lpfnForDpi(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &rMetrics, 0, nDpi) != FALSE;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &rMetrics, 0))
    return false;
  LOGFONTW* const fonts[] = {&rMetrics.lfCaptionFont, &rMetrics.lfSmCaptionFont,
                             &rMetrics.lfMenuFont, &rMetrics.lfStatusFont,
                             &rMetrics.lfMessageFont};
  for (LOGFONTW* lpFont : fonts)
    lpFont->lfHeight = MulDiv(lpFont->lfHeight, static_cast<int>(nDpi), static_cast<int>(system()));
  return true;
}

}  // namespace dpi
