#include "appicon.h"

#include <commctrl.h>

#include "../diag/callstack.h"

namespace appicon {

namespace {

typedef HRESULT(WINAPI* LoadIconMetricFn)(HINSTANCE, PCWSTR, int, HICON*);

// comctl32 6 has it from Vista on (the manifest asks for that version); the
// call is looked up so that a system without it still starts.
LoadIconMetricFn lookUpLoadIconMetric() {
  KVX_CALLSTACK_TRACK;
  HMODULE hModule = GetModuleHandleA("comctl32.dll");
  if (hModule == NULL) hModule = LoadLibraryA("comctl32.dll");
  return hModule == NULL ? NULL
                         : reinterpret_cast<LoadIconMetricFn>(
                               reinterpret_cast<void*>(GetProcAddress(hModule, "LoadIconMetric")));
}

}  // namespace

// LoadIconMetric shrinks a bigger image where the icon lacks the size,
// which LoadImage would stretch from the nearest; LoadImage is the way
// where it is missing.
HICON load(HINSTANCE hInstance, int nId, SIZE_KIND eKind) {
  KVX_CALLSTACK_TRACK;
  static const LoadIconMetricFn S_lpfnLoadIconMetric = lookUpLoadIconMetric();
  HICON hIcon = NULL;
  if (S_lpfnLoadIconMetric != NULL &&
      SUCCEEDED(S_lpfnLoadIconMetric(hInstance, MAKEINTRESOURCEW(nId),
                                     eKind == SMALL ? LIM_SMALL : LIM_LARGE, &hIcon)) &&
      hIcon != NULL)
    return hIcon;
  const int nWidth = GetSystemMetrics(eKind == SMALL ? SM_CXSMICON : SM_CXICON);
  const int nHeight = GetSystemMetrics(eKind == SMALL ? SM_CYSMICON : SM_CYICON);
  return static_cast<HICON>(
      LoadImageA(hInstance, MAKEINTRESOURCEA(nId), IMAGE_ICON, nWidth, nHeight, LR_DEFAULTCOLOR));
}

}  // namespace appicon
