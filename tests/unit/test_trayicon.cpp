// The tray icon's records, and its effect on the real notification area of
// the test desktop.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/trayicon.h"

namespace {

HWND const kWnd = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0x1234));
HICON const kIcon = reinterpret_cast<HICON>(static_cast<ULONG_PTR>(0x5678));

// Filled with a pattern first, so that a field the icon forgets to set shows.
NOTIFYICONDATAA addRecordOf(const CTrayIcon& rIcon) {
  NOTIFYICONDATAA data;
  memset(&data, 0xCC, sizeof(data));
  rIcon.fillAddRecord(data);
  return data;
}

NOTIFYICONDATAA expectedRecord(HWND hWnd, UINT uID) {
  NOTIFYICONDATAA data;
  memset(&data, 0, sizeof(data));
  data.cbSize = NOTIFYICONDATAA_V2_SIZE;
  data.hWnd = hWnd;
  data.uID = uID;
  return data;
}

TEST(TrayIconRecord, AddRecordCarriesTheIconTipAndCallbackAndNothingElse) {
  CTrayIcon icon;
  icon.setInfo(kWnd, kIcon, 7, "Pathwick Pro");
  NOTIFYICONDATAA want = expectedRecord(kWnd, 7);
  want.uFlags = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
  want.uCallbackMessage = 0x401;
  want.hIcon = kIcon;
  strcpy(want.szTip, "Pathwick Pro");
  const NOTIFYICONDATAA got = addRecordOf(icon);
  EXPECT_EQ(0, memcmp(&want, &got, sizeof(want)));
  EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE), got.cbSize);
  EXPECT_EQ(7u, got.uFlags);
  EXPECT_EQ(0x401u, got.uCallbackMessage);
  EXPECT_STREQ("Pathwick Pro", got.szTip);
}

TEST(TrayIconRecord, RemoveRecordNamesOnlyTheWindowAndId) {
  CTrayIcon icon;
  icon.setInfo(kWnd, kIcon, 3, "Pathwick Pro");
  NOTIFYICONDATAA got;
  memset(&got, 0xCC, sizeof(got));
  icon.fillRemoveRecord(got);
  const NOTIFYICONDATAA want = expectedRecord(kWnd, 3);
  EXPECT_EQ(0, memcmp(&want, &got, sizeof(want)));
}

// Version 3, in the same record: keys on the icon come as keys.
TEST(TrayIconRecord, VersionRecordAsksForVersion3AndNothingElse) {
  CTrayIcon icon;
  icon.setInfo(kWnd, kIcon, 7, "Pathwick Pro");
  NOTIFYICONDATAA got = addRecordOf(icon), want = expectedRecord(kWnd, 7);
  icon.fillVersionRecord(got);
  want.uVersion = 3;
  EXPECT_EQ(0, memcmp(&want, &got, sizeof(want)));
}

// One user action asks once. L, R: a button's menu by the mouse; l, r: by a
// key; -: nothing.
TEST(TrayIconCallback, EachActionAsksOnce) {
  const struct {
    std::vector<LPARAM> events;
    const char* lpszWant;
  } kCases[] = {
      {{WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}, "-L-"},
      {{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}, "-R-"},
      {{WM_LBUTTONUP, NIN_SELECT, WM_LBUTTONDBLCLK, WM_LBUTTONUP, NIN_SELECT}, "L--L-"},
      {{NIN_KEYSELECT, NIN_KEYSELECT}, "ll"},  // Enter; the owner drops the second
      {{WM_MOUSEMOVE, WM_CONTEXTMENU}, "-r"},
      {{WM_LBUTTONUP, WM_MOUSEMOVE, NIN_SELECT}, "L-l"},  // no click just before: a key
      {{WM_RBUTTONUP, NIN_SELECT}, "Rl"},
      {{MAKELPARAM(NIN_KEYSELECT, 7)}, "l"},  // the icon id in the high word
  };
  for (const auto& rCase : kCases) {
    CTrayIcon icon;
    std::string strGot;
    for (LPARAM lEvent : rCase.events) {
      const TRAYREQUEST request = icon.readCallback(lEvent);
      strGot += (request.b_keyboard ? "-lr" : "-LR")[request.button];
    }
    EXPECT_EQ(rCase.lpszWant, strGot);
  }
}

// The tooltip field holds 127 characters and a zero; a longer tip is cut,
// never written past the field.
TEST(TrayIconRecord, TipIsCutTo127Characters) {
  for (size_t nLength : {0u, 12u, 126u, 127u, 128u, 300u}) {
    std::string strTip;
    for (size_t i = 0; i < nLength; ++i) strTip += static_cast<char>('a' + i % 26);
    CTrayIcon icon;
    icon.setInfo(kWnd, kIcon, 0, strTip);
    const NOTIFYICONDATAA got = addRecordOf(icon);
    const size_t nWant = nLength < 127 ? nLength : 127;
    EXPECT_EQ(strTip.substr(0, nWant), std::string(got.szTip, strnlen(got.szTip, 128)))
        << "tip of " << nLength;
    EXPECT_EQ(0, got.szTip[127]) << "tip of " << nLength;
    EXPECT_EQ(0u, got.dwState) << "tip of " << nLength << " ran into the next field";
  }
}

// A hidden window of our own owns the icons, as the main window does.
class TrayIconShell : public ::testing::Test {
 protected:
  void SetUp() override {
    m_hWnd = CreateWindowExA(0, "STATIC", "tray test", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, NULL,
                             NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(m_hWnd != NULL);
    m_hIcon = LoadIconA(NULL, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  }
  void TearDown() override {
    NOTIFYICONDATAA data = expectedRecord(m_hWnd, kID);
    Shell_NotifyIconA(NIM_DELETE, &data);
    DestroyWindow(m_hWnd);
  }

  // Only an icon the shell holds can be modified.
  bool shellHasIcon() const {
    NOTIFYICONDATAA data = expectedRecord(m_hWnd, kID);
    data.uFlags = NIF_TIP;
    strcpy(data.szTip, "probe");
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
  }

  void shellForgetsIcon() const {
    NOTIFYICONDATAA data = expectedRecord(m_hWnd, kID);
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
  }

  static const UINT kID = 5;
  HWND m_hWnd = NULL;
  HICON m_hIcon = NULL;
};

TEST_F(TrayIconShell, AddShowsTheIconOnceAndRemoveTakesItAway) {
  CTrayIcon icon;
  EXPECT_EQ(0, icon.remove()) << "nothing to remove yet";
  icon.setInfo(m_hWnd, m_hIcon, kID, "Pathwick Pro");
  EXPECT_FALSE(shellHasIcon());
  EXPECT_EQ(1, icon.add());
  EXPECT_TRUE(shellHasIcon());
  EXPECT_EQ(0, icon.add()) << "a second add is no add";
  EXPECT_EQ(1, icon.remove());
  EXPECT_FALSE(shellHasIcon());
  EXPECT_EQ(0, icon.remove());
}

TEST_F(TrayIconShell, AfterRemoveTheNextAddHasNoWindowIconOrIdButTheOldTip) {
  CTrayIcon icon;
  icon.setInfo(m_hWnd, m_hIcon, kID, "Old tip");
  icon.add();
  icon.remove();
  const NOTIFYICONDATAA got = addRecordOf(icon);
  EXPECT_TRUE(got.hWnd == NULL);
  EXPECT_TRUE(got.hIcon == NULL);
  EXPECT_EQ(0u, got.uID);
  EXPECT_STREQ("Old tip", got.szTip);
}

TEST_F(TrayIconShell, DestroyingAnAddedIconTakesItOutOfTheNotificationArea) {
  {
    CTrayIcon icon;
    icon.setInfo(m_hWnd, m_hIcon, kID, "Pathwick Pro");
    icon.add();
    ASSERT_TRUE(shellHasIcon());
  }
  EXPECT_FALSE(shellHasIcon());
}

// A re-created taskbar starts empty: the icon must be sent again.
TEST_F(TrayIconShell, RestoreBringsBackAnIconTheShellForgot) {
  CTrayIcon icon;
  icon.setInfo(m_hWnd, m_hIcon, kID, "Pathwick Pro");
  EXPECT_EQ(0, icon.restore()) << "an icon never added is not restored";
  EXPECT_FALSE(shellHasIcon());
  icon.add();
  shellForgetsIcon();
  ASSERT_FALSE(shellHasIcon());
  EXPECT_EQ(1, icon.restore());
  EXPECT_TRUE(shellHasIcon());
  EXPECT_TRUE(icon.isAdded());
  EXPECT_EQ(1, icon.remove());
  EXPECT_FALSE(shellHasIcon());
}

}  // namespace
