// The settings store against the real registry of the test prefix. The keys
// are written and checked here with the plain registry API, by their literal
// paths, so a wrong path or format shows up as a missing key or value.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "diag/log.h"
#include "diag/scoped.h"
#include "settings/saveload.h"
#include "rootitem_support.h"
#include "support/runlog.h"

namespace {

const char kCompanyKey[] = "Software\\Quillmere Software";
const char kOptionsKey[] = "Software\\Quillmere Software\\Pathwick\\Options";
const char kMenuKey[] = "Software\\Quillmere Software\\Pathwick\\Menu";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Quillmere Pathwick";

struct RAWVALUE {
  bool bFound = false;
  DWORD dwType = REG_NONE;
  std::string strData;  // the bytes as stored
};

RAWVALUE queryRaw(const std::string& strKey, const char* lpszName) {
  RAWVALUE value;
  CRegKey key;
  if (!key.open(strKey.c_str(), KEY_READ)) return value;
  DWORD dwSize = 0;
  if (RegQueryValueExA(key.get(), lpszName, NULL, &value.dwType, NULL, &dwSize) == ERROR_SUCCESS) {
    value.strData.assign(dwSize, '\0');
    value.bFound =
        RegQueryValueExA(key.get(), lpszName, NULL, &value.dwType,
                         reinterpret_cast<BYTE*>(&value.strData[0]), &dwSize) == ERROR_SUCCESS;
    value.strData.resize(dwSize);
  }
  return value;
}

// The program gives a text's length as its size, without a terminator. The
// system then stores one zero of its own whenever the byte after the given
// size is zero, as it always is after a std::string's text; so what is stored
// is the text, with at most that one zero after it.
std::string textOf(const RAWVALUE& rValue) {
  EXPECT_EQ(static_cast<DWORD>(REG_SZ), rValue.dwType);
  std::string strText = rValue.strData;
  if (!strText.empty() && strText.back() == '\0') strText.pop_back();
  EXPECT_EQ(std::string::npos, strText.find('\0')) << "stored with more than a terminator";
  return strText;
}

DWORD dwordOf(const RAWVALUE& rValue) {
  DWORD dw = 0;
  EXPECT_EQ(sizeof(dw), rValue.strData.size());
  memcpy(&dw, rValue.strData.data(), std::min(sizeof(dw), rValue.strData.size()));
  return dw;
}

void setRaw(const std::string& strKey, const char* lpszName, DWORD dwType, const void* lpData,
            DWORD dwSize) {
  CRegKey key;
  ASSERT_TRUE(key.create(strKey.c_str())) << strKey;
  EXPECT_EQ(ERROR_SUCCESS,
            RegSetValueExA(key.get(), lpszName, 0, dwType, static_cast<const BYTE*>(lpData), dwSize));
}

void setRawDword(const std::string& strKey, const char* lpszName, DWORD dwValue) {
  setRaw(strKey, lpszName, REG_DWORD, &dwValue, sizeof(dwValue));
}

void setRawString(const std::string& strKey, const char* lpszName, const std::string& strValue) {
  setRaw(strKey, lpszName, REG_SZ, strValue.data(), static_cast<DWORD>(strValue.size()));
}

std::vector<std::string> subkeysOf(const std::string& strKey) {
  std::vector<std::string> names;
  CRegKey key;
  if (!key.open(strKey.c_str(), KEY_READ)) return names;
  char szName[256];
  for (DWORD i = 0;; ++i) {
    DWORD dwLength = sizeof(szName);
    if (RegEnumKeyExA(key.get(), i, szName, &dwLength, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
      break;
    names.push_back(szName);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string itemKey(const char* lpszNumber) { return std::string(kMenuKey) + "\\" + lpszNumber; }

void storeItem(const char* lpszNumber, const std::string& strName, const std::string& strPath,
               DWORD dwSortType = SORT_ABC, DWORD dwMaxNoSort = 30) {
  setRawString(itemKey(lpszNumber), "Name", strName);
  setRawString(itemKey(lpszNumber), "Path", strPath);
  setRawDword(itemKey(lpszNumber), "SortType", dwSortType);
  setRawDword(itemKey(lpszNumber), "MaxNoSort", dwMaxNoSort);
}

std::vector<ROOTITEM> makeList(int nCount) {
  std::vector<ROOTITEM> list;
  for (int i = 0; i < nCount; ++i)
    list.push_back(makeRootItem("Root " + std::to_string(i), "C:\\Dir" + std::to_string(i) + "\\",
                                i % 3, 20 + i));
  return list;
}

std::string describe(const ROOTITEM& rItem) {
  std::ostringstream out;
  out << "{\"" << rItem.str_name << "\", \"" << rItem.str_path.substr(0, 40)
      << (rItem.str_path.size() > 40 ? "..." : "") << "\" (" << rItem.str_path.size() << " bytes), "
      << rItem.sort_type << ", " << rItem.max_no_sort << "}";
  return out.str();
}

void expectSameList(const std::vector<ROOTITEM>& rWant, const std::vector<ROOTITEM>& rGot) {
  ASSERT_EQ(rWant.size(), rGot.size());
  for (size_t i = 0; i < rWant.size(); ++i) {
    EXPECT_TRUE(rWant[i].str_name == rGot[i].str_name && rWant[i].str_path == rGot[i].str_path &&
                rWant[i].sort_type == rGot[i].sort_type &&
                rWant[i].max_no_sort == rGot[i].max_no_sort)
        << "item " << i << ": want " << describe(rWant[i]) << ", got " << describe(rGot[i]);
  }
}

std::string describe(const PROGRAMOPTIONS& rOptions) {
  std::ostringstream out;
  out << "{" << rOptions.LeftClickRoot << rOptions.RunOnStartup << rOptions.TrayHelpAtStartup
      << rOptions.SplashScreenAtStartup << "}";
  return out.str();
}

PROGRAMOPTIONS makeOptions(bool bLeft, bool bRun, bool bTrayHelp, bool bSplash) {
  PROGRAMOPTIONS options;
  options.LeftClickRoot = bLeft;
  options.RunOnStartup = bRun;
  options.TrayHelpAtStartup = bTrayHelp;
  options.SplashScreenAtStartup = bSplash;
  return options;
}

std::string modulePath() {
  char szModule[MAX_PATH] = {0};
  GetModuleFileNameA(NULL, szModule, MAX_PATH);
  return szModule;
}

// Every case starts and ends with none of the program's keys and no
// autostart value. The Run key itself always exists on Windows.
class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    removeEverything();
    ASSERT_TRUE(CRegKey().create(kRunKey));
    SLog::S_createSingleton();
    m_Log.emplace();
  }
  void TearDown() override {
    SLog::S_destroySingleton();
    removeEverything();
  }

  static void removeEverything() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kCompanyKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kCompanyKey);
    CRegKey run;
    if (run.open(kRunKey, KEY_WRITE)) RegDeleteValueA(run.get(), kRunValue);
  }

  // How often the message was logged since the case began.
  int countLogged(const std::string& strMessage) const { return m_Log->count(strMessage); }

  std::optional<testsupport::LogWatch> m_Log;
};

// ---- Options --------------------------------------------------------------

TEST_F(SettingsStore, SaveOptionsWritesFourDwordsIntoTheOptionsKeyItself) {
  EXPECT_TRUE(saveOptions(makeOptions(false, true, true, false)));
  // The trailing backslash of the stored path names the key itself, not an
  // unnamed key below it.
  EXPECT_TRUE(subkeysOf(kOptionsKey).empty());
  const struct {
    const char* lpszName;
    DWORD dwWant;
  } kValues[] = {{"LeftClickRoot", 0},
                 {"RunOnStartup", 1},
                 {"TrayHelpAtStartup", 1},
                 {"SplashScreenAtStartup", 0}};
  for (const auto& rCase : kValues) {
    const RAWVALUE value = queryRaw(kOptionsKey, rCase.lpszName);
    ASSERT_TRUE(value.bFound) << rCase.lpszName;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), value.dwType) << rCase.lpszName;
    EXPECT_EQ(rCase.dwWant, dwordOf(value)) << rCase.lpszName;
  }
}

TEST_F(SettingsStore, EveryCombinationOfOptionsLoadsBackAsSaved) {
  for (int nBits = 0; nBits < 16; ++nBits) {
    const PROGRAMOPTIONS saved =
        makeOptions((nBits & 1) != 0, (nBits & 2) != 0, (nBits & 4) != 0, (nBits & 8) != 0);
    saveOptions(saved);
    // Start from the opposite, so that every flag has to be read.
    PROGRAMOPTIONS loaded = makeOptions(!saved.LeftClickRoot, !saved.RunOnStartup,
                                        !saved.TrayHelpAtStartup, !saved.SplashScreenAtStartup);
    EXPECT_TRUE(loadOptions(loaded));
    EXPECT_EQ(describe(saved), describe(loaded)) << "combination " << nBits;
  }
}

TEST_F(SettingsStore, LoadOptionsKeepsFirstTwoFlagsOnOtherNumbersAndTakesNonZeroForTheLastTwo) {
  const struct {
    DWORD dwStored[4];
    PROGRAMOPTIONS start;
    PROGRAMOPTIONS want;
  } kCases[] = {
      {{2, 2, 2, 2}, makeOptions(true, false, false, false), makeOptions(true, false, true, true)},
      {{2, 2, 2, 2}, makeOptions(false, true, false, false), makeOptions(false, true, true, true)},
      {{7, 0xFFFFFFFF, 0xFFFFFFFF, 7},
       makeOptions(false, true, false, false),
       makeOptions(false, true, true, true)},
      {{0, 1, 0, 0}, makeOptions(true, false, true, true), makeOptions(false, true, false, false)},
  };
  const char* kNames[] = {"LeftClickRoot", "RunOnStartup", "TrayHelpAtStartup",
                          "SplashScreenAtStartup"};
  for (const auto& rCase : kCases) {
    for (int i = 0; i < 4; ++i) setRawDword(kOptionsKey, kNames[i], rCase.dwStored[i]);
    PROGRAMOPTIONS loaded = rCase.start;
    EXPECT_TRUE(loadOptions(loaded));
    EXPECT_EQ(describe(rCase.want), describe(loaded))
        << "stored " << rCase.dwStored[0] << "," << rCase.dwStored[1] << "," << rCase.dwStored[2]
        << "," << rCase.dwStored[3] << " over " << describe(rCase.start);
  }
}

TEST_F(SettingsStore, LoadOptionsWithNothingStoredKeepsTheDefaultsAndSaysSo) {
  PROGRAMOPTIONS options;
  EXPECT_FALSE(loadOptions(options));
  EXPECT_EQ(describe(makeOptions(true, false, true, true)), describe(options));
  EXPECT_EQ(1, countLogged("loadOptions() failed - (OPTIONS) RegOpenKeyEx() failed"));
}

// A value of another type or size is not read as a number: the flag keeps
// its value and the failure is logged with the value's name, as for a
// missing value.
TEST_F(SettingsStore, LoadOptionsRefusesValuesOfTheWrongTypeOrSize) {
  const DWORD dwOne = 1;
  const unsigned long long qwOne = 1;
  const struct {
    const char* lpszWhat;
    const char* lpszName;  // the one value stored wrongly; the rest are 0
    DWORD dwType;
    const void* lpData;
    DWORD dwSize;
    bool bWantResult;
    PROGRAMOPTIONS want;
    const char* lpszLogged;
  } kCases[] = {
      {"text", "LeftClickRoot", REG_SZ, "1", 2, false, makeOptions(true, true, true, true),
       "loadOptions() failed - (LeftClickRoot) RegQueryValueEx() failed"},
      {"two bytes", "RunOnStartup", REG_BINARY, &dwOne, 2, false,
       makeOptions(false, true, true, true),
       "loadOptions() failed - (RunOnStartup) RegQueryValueEx() failed"},
      {"64 bits", "TrayHelpAtStartup", REG_QWORD, &qwOne, 8, true,
       makeOptions(false, false, true, true),
       "loadOptions() failed - (TrayHelpAtStartup) RegQueryValueEx() failed"},
      {"four bytes not a DWORD", "SplashScreenAtStartup", REG_BINARY, &dwOne, 4, true,
       makeOptions(false, false, false, true),
       "loadOptions() failed - (SplashScreenAtStartup) RegQueryValueEx() failed"},
  };
  const char* kNames[] = {"LeftClickRoot", "RunOnStartup", "TrayHelpAtStartup",
                          "SplashScreenAtStartup"};
  for (const auto& rCase : kCases) {
    for (const char* lpszName : kNames) setRawDword(kOptionsKey, lpszName, 0);
    setRaw(kOptionsKey, rCase.lpszName, rCase.dwType, rCase.lpData, rCase.dwSize);
    PROGRAMOPTIONS loaded = makeOptions(true, true, true, true);
    EXPECT_EQ(rCase.bWantResult, loadOptions(loaded)) << rCase.lpszWhat;
    // Flags before the bad value were read (0); the bad one and those after
    // it kept their start value.
    EXPECT_EQ(describe(rCase.want), describe(loaded)) << rCase.lpszWhat;
    EXPECT_EQ(1, countLogged(rCase.lpszLogged)) << rCase.lpszWhat;
  }
}

TEST_F(SettingsStore, LoadOptionsStopsAtTheFirstMissingValue) {
  setRawDword(kOptionsKey, "LeftClickRoot", 0);
  PROGRAMOPTIONS options;
  EXPECT_FALSE(loadOptions(options));
  EXPECT_EQ(describe(makeOptions(false, false, true, true)), describe(options));
  EXPECT_EQ(1, countLogged("loadOptions() failed - (RunOnStartup) RegQueryValueEx() failed"));

  setRawDword(kOptionsKey, "RunOnStartup", 1);
  setRawDword(kOptionsKey, "SplashScreenAtStartup", 0);
  options = PROGRAMOPTIONS();
  EXPECT_TRUE(loadOptions(options));
  // The splash value is there but not read once the tray help value is missing.
  EXPECT_EQ(describe(makeOptions(false, true, true, true)), describe(options));
  EXPECT_EQ(1, countLogged("loadOptions() failed - (TrayHelpAtStartup) RegQueryValueEx() failed"));
}

// The hotkey is stored as the control gives it. Missing, it is none and no
// failure (earlier versions stored none); a number that is no combination
// leaves it as it was and is logged.
TEST_F(SettingsStore, HotKeyIsStoredAsTheControlGivesItAndCheckedWhenRead) {
  PROGRAMOPTIONS saved = makeOptions(true, true, true, true);
  saved.HotKey = 0x0650;  // Ctrl+Alt+P
  EXPECT_TRUE(saveOptions(saved));
  EXPECT_EQ(0x0650u, dwordOf(queryRaw(kOptionsKey, "HotKey")));
  const struct {
    DWORD dwStored;  // 0xFFFFFFFF: missing
    WORD wWant;
  } kCases[] = {{0x0650, 0x0650}, {0x0B24, 0x0B24} /* Ctrl+Shift+Home, extended */,
                {0, 0},           {0xFFFFFFFF, 7},
                {0x10650, 7},     {0x1650, 7} /* a flag no key has */,
                {0x0600, 7} /* no key */};
  for (const auto& rCase : kCases) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kOptionsKey, "HotKey");
    if (rCase.dwStored != 0xFFFFFFFF) setRawDword(kOptionsKey, "HotKey", rCase.dwStored);
    PROGRAMOPTIONS loaded;
    loaded.HotKey = 7;
    const size_t nLogged = m_Log->newMessages().size();
    EXPECT_TRUE(loadOptions(loaded)) << std::hex << rCase.dwStored;
    EXPECT_EQ(rCase.wWant, loaded.HotKey) << std::hex << rCase.dwStored;
    EXPECT_EQ(rCase.wWant == 7 && rCase.dwStored != 0xFFFFFFFF ? 1u : 0u,
              m_Log->newMessages().size() - nLogged)
        << std::hex << rCase.dwStored;
  }
}

// ---- Autostart ------------------------------------------------------------

TEST_F(SettingsStore, AutostartHoldsTheQuotedProgramPathAndGoesWhenTurnedOff) {
  EXPECT_TRUE(saveOptions(makeOptions(true, true, true, true)));
  const RAWVALUE run = queryRaw(kRunKey, kRunValue);
  ASSERT_TRUE(run.bFound);
  EXPECT_EQ("\"" + modulePath() + "\"", textOf(run));

  EXPECT_TRUE(saveOptions(makeOptions(true, false, true, true)));
  EXPECT_FALSE(queryRaw(kRunKey, kRunValue).bFound);
  EXPECT_EQ(0, countLogged("saveOptions() failed - (Run Value) RegDeleteValue() failed"));
}

TEST_F(SettingsStore, TurningOffAnAutostartThatWasNeverOnIsReportedAfterTheOptionsAreWritten) {
  EXPECT_FALSE(saveOptions(makeOptions(false, false, false, false)));
  EXPECT_EQ(1, countLogged("saveOptions() failed - (Run Value) RegDeleteValue() failed"));
  EXPECT_EQ(0u, dwordOf(queryRaw(kOptionsKey, "SplashScreenAtStartup")));
}

// ---- Root items -----------------------------------------------------------

TEST_F(SettingsStore, SaveItemStoresTextsAsStringsAndNumbersAsDwords) {
  EXPECT_TRUE(saveItem(0, makeRootItem("Projects", "D:\\Work\\Projects\\", SORT_EXT, 40)));
  const std::string strKey = itemKey("0000");
  const RAWVALUE name = queryRaw(strKey, "Name");
  const RAWVALUE path = queryRaw(strKey, "Path");
  EXPECT_EQ(std::string("Projects"), textOf(name));
  EXPECT_EQ(std::string("D:\\Work\\Projects\\"), textOf(path));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), queryRaw(strKey, "SortType").dwType);
  EXPECT_EQ(static_cast<DWORD>(SORT_EXT), dwordOf(queryRaw(strKey, "SortType")));
  EXPECT_EQ(static_cast<DWORD>(REG_DWORD), queryRaw(strKey, "MaxNoSort").dwType);
  EXPECT_EQ(40u, dwordOf(queryRaw(strKey, "MaxNoSort")));
}

TEST_F(SettingsStore, ItemKeysAreNumberedWithAtLeastFourDigits) {
  const struct {
    int nPosition;
    const char* lpszKey;
  } kCases[] = {{0, "0000"}, {7, "0007"}, {11, "0011"}, {9999, "9999"}, {10000, "10000"}};
  for (const auto& rCase : kCases) {
    EXPECT_TRUE(saveItem(rCase.nPosition, makeRootItem("n", "p", 0, 0)));
    EXPECT_EQ(std::string("n"), textOf(queryRaw(itemKey(rCase.lpszKey), "Name")))
        << "position " << rCase.nPosition;
  }
  EXPECT_EQ(std::vector<std::string>({"0000", "0007", "0011", "10000", "9999"}),
            subkeysOf(kMenuKey));
}

TEST_F(SettingsStore, TwelveItemsAreStoredUnder0000To0011) {
  EXPECT_TRUE(saveMenuItems(makeList(12)));
  std::vector<std::string> want;
  for (const char* lpszKey : {"0000", "0001", "0002", "0003", "0004", "0005", "0006", "0007",
                              "0008", "0009", "0010", "0011"})
    want.push_back(lpszKey);
  EXPECT_EQ(want, subkeysOf(kMenuKey));
  EXPECT_EQ(std::string("Root 11"), textOf(queryRaw(itemKey("0011"), "Name")));
}

TEST_F(SettingsStore, AShorterListDeletesTheKeysOfTheItemsItNoLongerHas) {
  saveMenuItems(makeList(5));
  std::vector<ROOTITEM> shorter = {makeRootItem("A", "C:\\A\\", SORT_NONE, 0),
                                   makeRootItem("B", "C:\\B\\", SORT_ABC, 25),
                                   makeRootItem("C", "C:\\C\\", SORT_EXT, 99)};
  EXPECT_TRUE(saveMenuItems(shorter));
  EXPECT_EQ(std::vector<std::string>({"0000", "0001", "0002"}), subkeysOf(kMenuKey));
  std::vector<ROOTITEM> loaded;
  loadMenuItems(loaded);
  expectSameList(shorter, loaded);
}

// The numbers have no gaps, so the deleting stops at the first missing key;
// anything past a gap was never part of the list.
TEST_F(SettingsStore, DeletingStaleKeysStopsAtTheFirstGap) {
  saveMenuItems(makeList(5));
  storeItem("0007", "stray", "C:\\");
  saveMenuItems(makeList(3));
  EXPECT_EQ(std::vector<std::string>({"0000", "0001", "0002", "0007"}), subkeysOf(kMenuKey));
}

TEST_F(SettingsStore, ListsOfAnyTextLengthLoadBackAsSaved) {
  const std::vector<ROOTITEM> saved = {
      makeRootItem("C Drive", "C:\\", SORT_ABC, 25),
      makeRootItem("", "", SORT_NONE, 0),
      makeRootItem("Long path", "C:\\" + std::string(297, 'p'), SORT_EXT, 30),
      makeRootItem(std::string(259, 'n'), "C:\\" + std::string(256, 'q') + "\\", SORT_ABC, 1),
      makeRootItem(std::string(260, 'n'), "C:\\" + std::string(5000, 'r'), SORT_NONE, 0),
      makeRootItem("Caf\xe9 & \xc6sop", "C:\\Fr\xe8re\\", SORT_ABC, 26),
      makeRootItem("Numbers unchecked", "C:\\x\\", -1, 0xFFFFFFFFu),
  };
  saveMenuItems(saved);
  EXPECT_EQ(300u, textOf(queryRaw(itemKey("0002"), "Path")).size());
  std::vector<ROOTITEM> loaded;
  loadMenuItems(loaded);
  expectSameList(saved, loaded);
  // The list ends at the first missing key, which is reported once.
  EXPECT_EQ(1, countLogged("loadItem() failed - (Name) RegQueryValueEx() failed"));
}

TEST_F(SettingsStore, NothingStoredLoadsAnEmptyList) {
  std::vector<ROOTITEM> loaded = makeList(2);
  loadMenuItems(loaded);
  EXPECT_TRUE(loaded.empty());
  EXPECT_EQ(1, countLogged("loadItem() failed - (Name) RegQueryValueEx() failed"));
}

// Texts written by other tools may carry a terminator or stop early; the
// loaded text ends at the first zero within the stored size.
TEST_F(SettingsStore, LoadItemTakesTheTextUpToItsFirstZero) {
  const struct {
    const char* lpszWhat;
    std::string strStored;
    std::string strWant;
  } kCases[] = {
      {"no terminator", std::string("Docs"), "Docs"},
      {"with terminator", std::string("Docs\0", 5), "Docs"},
      {"zero inside", std::string("Do\0cs", 5), "Do"},
      {"empty", std::string(), ""},
  };
  for (const auto& rCase : kCases) {
    storeItem("0000", rCase.strStored, "C:\\");
    ROOTITEM item;
    EXPECT_TRUE(loadItem(0, item)) << rCase.lpszWhat;
    EXPECT_EQ(rCase.strWant, item.str_name) << rCase.lpszWhat;
  }
}

// A bad value costs its own item only: the items after it still load, and
// the failure is logged with the value's name.
TEST_F(SettingsStore, AnItemWithAValueOfTheWrongTypeOrSizeIsLeftOutAlone) {
  const DWORD dwTwo = 2;
  const unsigned long long qwTwo = 2;
  const struct {
    const char* lpszWhat;
    const char* lpszName;
    DWORD dwType;
    const void* lpData;
    DWORD dwSize;
  } kCases[] = {
      {"name as a number", "Name", REG_DWORD, &dwTwo, 4},
      {"path as binary", "Path", REG_BINARY, "C:\\", 3},
      {"path as a list of texts", "Path", REG_MULTI_SZ, "C:\\\0\0", 5},
      {"sort type as text", "SortType", REG_SZ, "1", 2},
      {"sort type of two bytes", "SortType", REG_DWORD, &dwTwo, 2},
      {"threshold of 64 bits", "MaxNoSort", REG_QWORD, &qwTwo, 8},
      {"threshold as binary", "MaxNoSort", REG_BINARY, &dwTwo, 4},
  };
  for (const auto& rCase : kCases) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kMenuKey);
    storeItem("0000", "Good", "C:\\Good\\");
    storeItem("0001", "Bad", "C:\\Bad\\");
    storeItem("0002", "After", "C:\\After\\");
    setRaw(itemKey("0001"), rCase.lpszName, rCase.dwType, rCase.lpData, rCase.dwSize);
    const std::string strLine =
        std::string("loadItem() failed - (") + rCase.lpszName + ") RegQueryValueEx() failed";
    const int nLoggedBefore = countLogged(strLine);
    std::vector<ROOTITEM> loaded;
    loadMenuItems(loaded);
    ASSERT_EQ(2u, loaded.size()) << rCase.lpszWhat;
    EXPECT_EQ("Good", loaded[0].str_name) << rCase.lpszWhat;
    EXPECT_EQ("After", loaded[1].str_name) << rCase.lpszWhat;
    // The missing key after the list reports as "(Name)" too.
    const int nEndOfList = strcmp(rCase.lpszName, "Name") == 0 ? 1 : 0;
    EXPECT_EQ(nLoggedBefore + 1 + nEndOfList, countLogged(strLine)) << rCase.lpszWhat;
  }
}

TEST_F(SettingsStore, AnItemWithoutPathIsLeftOutAndTheRestLoad) {
  storeItem("0000", "First", "C:\\1\\");
  storeItem("0001", "Second", "C:\\2\\");
  storeItem("0002", "Third", "C:\\3\\");
  CRegKey second;
  ASSERT_TRUE(second.open(itemKey("0001").c_str(), KEY_WRITE));
  RegDeleteValueA(second.get(), "Path");
  std::vector<ROOTITEM> loaded;
  loadMenuItems(loaded);
  ASSERT_EQ(2u, loaded.size());
  EXPECT_EQ("First", loaded[0].str_name);
  EXPECT_EQ("Third", loaded[1].str_name);
  EXPECT_EQ(1, countLogged("loadItem() failed - (Path) RegQueryValueEx() failed"));
}

// Paths written by other tools as REG_EXPAND_SZ load as the folders they
// name now (an unknown variable stays as written); a save stores that
// folder as a plain REG_SZ, like every text.
TEST_F(SettingsStore, TextsWithVariablesLoadExpandedAndSaveAsPlainText) {
  ASSERT_TRUE(SetEnvironmentVariableA("PWK_TEST_HOME", "C:\\Users\\T\xe9st"));
  const char kStored[] = "%PWK_TEST_HOME%\\%PWK_NO_SUCH_VARIABLE%\\";
  storeItem("0000", "Home", "C:\\");
  setRaw(itemKey("0000"), "Path", REG_EXPAND_SZ, kStored, sizeof(kStored));
  std::vector<ROOTITEM> loaded;
  loadMenuItems(loaded);
  ASSERT_EQ(1u, loaded.size());
  EXPECT_EQ("C:\\Users\\T\xe9st\\%PWK_NO_SUCH_VARIABLE%\\", loaded[0].str_path);
  saveMenuItems(loaded);
  EXPECT_EQ(loaded[0].str_path, textOf(queryRaw(itemKey("0000"), "Path")));
  SetEnvironmentVariableA("PWK_TEST_HOME", NULL);
}

}  // namespace

// ---- A save that fails part-way -------------------------------------------

namespace {

// A volatile key takes only volatile children, and the store creates its
// keys non-volatile: with the list key volatile, every item key that does
// not exist yet fails to be created, while the existing ones still take
// their values.
void storeVolatileList(const std::vector<ROOTITEM>& rItems) {
  ASSERT_TRUE(CRegKey().create(kMenuKey, KEY_WRITE, REG_OPTION_VOLATILE));
  for (size_t i = 0; i < rItems.size(); ++i) {
    char szNumber[8];
    snprintf(szNumber, sizeof(szNumber), "%04u", static_cast<unsigned>(i));
    ASSERT_TRUE(CRegKey().create(itemKey(szNumber).c_str(), KEY_WRITE, REG_OPTION_VOLATILE));
    storeItem(szNumber, rItems[i].str_name, rItems[i].str_path,
              static_cast<DWORD>(rItems[i].sort_type), rItems[i].max_no_sort);
  }
}

}  // namespace

TEST_F(SettingsStore, ALongerListThatCannotBeWrittenLeavesTheListStoredBefore) {
  const std::vector<ROOTITEM> before = {makeRootItem("Old A", "C:\\A\\", SORT_ABC, 25),
                                        makeRootItem("Old B", "C:\\B\\", SORT_EXT, 10)};
  storeVolatileList(before);
  EXPECT_FALSE(saveMenuItems(makeList(4)));
  std::vector<ROOTITEM> loaded;
  loadMenuItems(loaded);
  expectSameList(before, loaded);
  EXPECT_EQ(2, countLogged("saveItem() failed - (MENU) RegCreateKeyEx() failed"));
  EXPECT_EQ(1, countLogged("saveMenuItems() failed: the list stored before (2 items) was written back"));
}

TEST_F(SettingsStore, AListThatFitsTheStoredKeysIsWrittenAsUsual) {
  storeVolatileList(makeList(3));
  const std::vector<ROOTITEM> shorter = {makeRootItem("New", "C:\\New\\", SORT_NONE, 0)};
  EXPECT_TRUE(saveMenuItems(shorter));
  std::vector<ROOTITEM> loaded;
  loadMenuItems(loaded);
  expectSameList(shorter, loaded);
}
