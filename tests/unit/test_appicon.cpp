// The application icon: drawn for every size the system shows it at, and
// loaded at the size the notification area and the captions use.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/appicon.h"
#include "diag/scoped.h"
#include "resources/resource.h"

namespace {

// The width of the image the icon resource holds for exactly nSize pixels,
// 0 when it holds none of that size (the system would then stretch another).
int drawnWidth(int nId, int nSize) {
  HINSTANCE hInstance = GetModuleHandleA(NULL);
  const HRSRC hGroup = FindResourceA(hInstance, MAKEINTRESOURCEA(nId), MAKEINTRESOURCEA(14));
  if (hGroup == NULL) return 0;
  BYTE* lpGroup = static_cast<BYTE*>(LockResource(LoadResource(hInstance, hGroup)));
  const int nImage = LookupIconIdFromDirectoryEx(lpGroup, TRUE, nSize, nSize, LR_DEFAULTCOLOR);
  const HRSRC hImage = FindResourceA(hInstance, MAKEINTRESOURCEA(nImage), MAKEINTRESOURCEA(3));
  if (hImage == NULL) return 0;
  const BITMAPINFOHEADER* lpHeader =
      static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(hInstance, hImage)));
  return lpHeader->biWidth == nSize ? nSize : 0;
}

int iconWidth(HICON hIcon) {
  ICONINFO info = {};
  if (!GetIconInfo(hIcon, &info)) return 0;
  const CGdiObject colour(info.hbmColor);
  const CGdiObject mask(info.hbmMask);
  BITMAP bitmap = {};
  GetObjectA(info.hbmMask, sizeof(bitmap), &bitmap);
  return bitmap.bmWidth;
}

TEST(AppIcon, HoldsAnImageDrawnForEverySize) {
  for (int nId : {IDI_PATHWICK, IDI_PATHWICK_SM})
    for (int nSize : {16, 20, 24, 32, 48})
      EXPECT_EQ(nSize, drawnWidth(nId, nSize)) << "icon " << nId << " at " << nSize << " pixels";
}

TEST(AppIcon, LoadedAtTheSizeTheSystemShowsIt) {
  const CIconHandle small(appicon::load(GetModuleHandleA(NULL), IDI_PATHWICK_SM, appicon::SMALL));
  const CIconHandle large(appicon::load(GetModuleHandleA(NULL), IDI_PATHWICK, appicon::LARGE));
  ASSERT_TRUE(small.valid());
  ASSERT_TRUE(large.valid());
  EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), iconWidth(small.get()));
  EXPECT_EQ(GetSystemMetrics(SM_CXICON), iconWidth(large.get()));
}

}  // namespace
