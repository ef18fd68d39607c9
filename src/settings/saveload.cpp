#include "saveload.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../diag/log.h"
#include "../diag/pathtext.h"
#include "../diag/scoped.h"

namespace {

// The trailing backslashes are part of the stored layout: the item keys are
// made by appending the number to the menu path.
const char kOptionsKey[] = "Software\\Quillmere Software\\Pathwick\\Options\\";
const char kMenuKey[] = "Software\\Quillmere Software\\Pathwick\\Menu\\";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Quillmere Pathwick";

std::string itemKeyPath(int nPosition) {
  KVX_CALLSTACK_TRACK;
  char szPath[sizeof(kMenuKey) + 16];
  snprintf(szPath, sizeof(szPath), "%s%04i", kMenuKey, nPosition);
  return szPath;
}

bool writeDword(HKEY hKey, const char* lpszName, DWORD dwValue) {
  KVX_CALLSTACK_TRACK;
  return RegSetValueExA(hKey, lpszName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                        sizeof(dwValue)) == ERROR_SUCCESS;
}

// The text is stored without a terminating zero: its size is its length.
bool writeString(HKEY hKey, const char* lpszName, const std::string& rstrValue) {
  KVX_CALLSTACK_TRACK;
  return RegSetValueExA(hKey, lpszName, 0, REG_SZ, reinterpret_cast<const BYTE*>(rstrValue.data()),
                        static_cast<DWORD>(rstrValue.size())) == ERROR_SUCCESS;
}

// Only a REG_DWORD of exactly four bytes counts: a value of another type or
// size would give a number nobody stored.
bool readDword(HKEY hKey, const char* lpszName, DWORD& rdwValue) {
  KVX_CALLSTACK_TRACK;
  DWORD dwType = REG_NONE;
  DWORD dwData = 0;
  DWORD dwSize = sizeof(dwData);
  if (RegQueryValueExA(hKey, lpszName, NULL, &dwType, reinterpret_cast<BYTE*>(&dwData),
                       &dwSize) != ERROR_SUCCESS)
    return false;
  if (dwType != REG_DWORD || dwSize != sizeof(dwData)) return false;
  rdwValue = dwData;
  return true;
}

// Text another tool stored as REG_EXPAND_SZ (such as
// "%USERPROFILE%\Documents") is taken as what it stands for now: the
// program only ever works with plain paths, and a later save stores that
// path as the REG_SZ it writes for every text. A variable the system does
// not know stays in the text as written.
bool expandVariables(std::string& rstrValue) {
  KVX_CALLSTACK_TRACK;
  const DWORD dwNeeded = ExpandEnvironmentStringsA(rstrValue.c_str(), NULL, 0);
  if (dwNeeded == 0) return false;
  // One byte more than asked for: some systems count the ANSI result short.
  std::string strExpanded(static_cast<size_t>(dwNeeded) + 1, '\0');
  const DWORD dwWritten =
      ExpandEnvironmentStringsA(rstrValue.c_str(), &strExpanded[0], dwNeeded + 1);
  if (dwWritten == 0 || dwWritten > dwNeeded + 1) return false;
  rstrValue.assign(strExpanded.c_str());
  return true;
}

bool isTextType(DWORD dwType) {
  KVX_CALLSTACK_TRACK;
  return dwType == REG_SZ || dwType == REG_EXPAND_SZ;
}

// Reads a REG_SZ or REG_EXPAND_SZ of any length: the size is asked first, so
// whatever was saved, however long, loads back. The stored text has no
// terminator, so the buffer brings its own, and the text ends at the first
// zero within the size the registry reports.
bool readString(HKEY hKey, const char* lpszName, std::string& rstrValue) {
  KVX_CALLSTACK_TRACK;
  // A second try covers a value that grew between asking and reading.
  for (int nTry = 0; nTry < 2; ++nTry) {
    DWORD dwType = REG_NONE;
    DWORD dwSize = 0;
    if (RegQueryValueExA(hKey, lpszName, NULL, &dwType, NULL, &dwSize) != ERROR_SUCCESS)
      return false;
    if (!isTextType(dwType) || dwSize == MAXDWORD) return false;
    std::string strBuffer(static_cast<size_t>(dwSize) + 1, '\0');
    DWORD dwRead = dwSize;
    const LONG lResult = RegQueryValueExA(hKey, lpszName, NULL, &dwType,
                                          reinterpret_cast<BYTE*>(&strBuffer[0]), &dwRead);
    if (lResult == ERROR_MORE_DATA) continue;
    if (lResult != ERROR_SUCCESS || !isTextType(dwType) || dwRead > dwSize) return false;
    rstrValue.assign(strBuffer.c_str(), strnlen(strBuffer.c_str(), dwRead));
    return dwType == REG_SZ || expandVariables(rstrValue);
  }
  return false;
}

// "Software\...\Run" holds the command line the system runs at log-in: the
// program's own path, quoted because it may contain blanks.
std::string quotedModulePath() {
  KVX_CALLSTACK_TRACK;
  return "\"" + programPath() + "\"";
}

bool saveAutostart(bool bRunOnStartup) {
  KVX_CALLSTACK_TRACK;
  CRegKey runKey;
  if (!runKey.open(kRunKey, KEY_WRITE)) {
    SLog::S_getSingleton()->write(0, "saveOptions() failed - (Run Key) RegOpenKeyEx() failed");
    return false;
  }
  if (bRunOnStartup) {
    if (!writeString(runKey.get(), kRunValue, quotedModulePath())) {
      SLog::S_getSingleton()->write(0, "saveOptions() failed - (Run Value) RegSetValueEx() failed");
      return false;
    }
  } else if (RegDeleteValueA(runKey.get(), kRunValue) != ERROR_SUCCESS) {
    SLog::S_getSingleton()->write(0, "saveOptions() failed - (Run Value) RegDeleteValue() failed");
    return false;
  }
  return true;
}

// The first two values decide what the mouse buttons do, and a key without
// them is no stored choice. The two start-up dialogs are shown unless told
// otherwise, so a missing value there is no failure of the whole. Of the
// button values only 0 and 1 are choices the program made: anything else
// keeps what is there.
struct OPTIONVALUE {
  const char* lpszName;
  bool PROGRAMOPTIONS::*pFlag;
  bool bRequired;
  bool bZeroOneOnly;
};

// In the order they are written and read.
const OPTIONVALUE kOptionValues[] = {
    {"LeftClickRoot", &PROGRAMOPTIONS::LeftClickRoot, true, true},
    {"RunOnStartup", &PROGRAMOPTIONS::RunOnStartup, true, true},
    {"TrayHelpAtStartup", &PROGRAMOPTIONS::TrayHelpAtStartup, false, false},
    {"SplashScreenAtStartup", &PROGRAMOPTIONS::SplashScreenAtStartup, false, false},
};

const char kHotKeyValue[] = "HotKey";

// A value that is no combination (edited by hand, or by a later version)
// leaves the hotkey as it was; so does a missing one, without a word.
void loadHotKey(HKEY hKey, PROGRAMOPTIONS& rOptions) {
  KVX_CALLSTACK_TRACK;
  DWORD dwValue = 0;
  if (RegQueryValueExA(hKey, kHotKeyValue, NULL, NULL, NULL, NULL) != ERROR_SUCCESS) return;
  if (!readDword(hKey, kHotKeyValue, dwValue)) {
    SLog::S_getSingleton()->write(0, "loadOptions() failed - (%s) RegQueryValueEx() failed",
                                  kHotKeyValue);
    return;
  }
  if (!isHotKeyValue(dwValue)) {
    SLog::S_getSingleton()->write(0, "loadOptions() failed - (%s) 0x%lX is no key combination",
                                  kHotKeyValue, static_cast<unsigned long>(dwValue));
    return;
  }
  rOptions.HotKey = static_cast<WORD>(dwValue);
}

bool readOption(HKEY hKey, const char* lpszName, DWORD& rdwValue) {
  KVX_CALLSTACK_TRACK;
  if (readDword(hKey, lpszName, rdwValue)) return true;
  SLog::S_getSingleton()->write(0, "loadOptions() failed - (%s) RegQueryValueEx() failed",
                                lpszName);
  return false;
}

void applyOption(const OPTIONVALUE& rValue, DWORD dwValue, PROGRAMOPTIONS& rOptions) {
  KVX_CALLSTACK_TRACK;
  bool& rbFlag = rOptions.*rValue.pFlag;
  if (!rValue.bZeroOneOnly)
    rbFlag = dwValue != 0;
  else if (dwValue <= 1)
    rbFlag = dwValue == 1;
}

// A missing key reports as its first value, as every read of it would fail.
// bReport is false for the copy kept in case a save has to be undone, which
// is read without a word to the log.
bool openItemKey(int nPosition, CRegKey& rKey, bool bReport) {
  KVX_CALLSTACK_TRACK;
  if (rKey.open(itemKeyPath(nPosition).c_str(), KEY_READ)) return true;
  if (bReport)
    SLog::S_getSingleton()->write(0, "loadItem() failed - (Name) RegQueryValueEx() failed");
  return false;
}

bool readItemValues(HKEY hKey, ROOTITEM& rItem, bool bReport) {
  KVX_CALLSTACK_TRACK;
  DWORD dwSortType = 0;
  DWORD dwMaxNoSort = 0;
  const char* lpszFailed = NULL;
  if (!readString(hKey, "Name", rItem.str_name))
    lpszFailed = "Name";
  else if (!readString(hKey, "Path", rItem.str_path))
    lpszFailed = "Path";
  else if (!readDword(hKey, "SortType", dwSortType))
    lpszFailed = "SortType";
  else if (!readDword(hKey, "MaxNoSort", dwMaxNoSort))
    lpszFailed = "MaxNoSort";
  if (lpszFailed != NULL) {
    if (bReport)
      SLog::S_getSingleton()->write(0, "loadItem() failed - (%s) RegQueryValueEx() failed",
                                    lpszFailed);
    return false;
  }
  rItem.sort_type = static_cast<int>(dwSortType);
  rItem.max_no_sort = dwMaxNoSort;
  return true;
}

// Only a missing key ends the list. An item whose key is there but whose
// values cannot be read is left out alone: the items after it still load,
// so the next save, which renumbers the list, keeps them instead of
// deleting them as a stale tail.
void readItemList(std::vector<ROOTITEM>& rItemList, bool bReport) {
  KVX_CALLSTACK_TRACK;
  rItemList.clear();
  for (int i = 0;; ++i) {
    CRegKey itemKey;
    if (!openItemKey(i, itemKey, bReport)) return;
    ROOTITEM item;
    if (readItemValues(itemKey.get(), item, bReport)) rItemList.push_back(item);
  }
}

}  // namespace

bool isHotKeyValue(DWORD dwValue) {
  KVX_CALLSTACK_TRACK;
  const DWORD dwFlags = HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT | HOTKEYF_EXT;
  if (dwValue == 0) return true;
  return dwValue <= 0xFFFF && (HIBYTE(dwValue) & ~dwFlags) == 0 && LOBYTE(dwValue) != 0;
}

bool saveOptions(const PROGRAMOPTIONS& rOptions) {
  KVX_CALLSTACK_TRACK;
  {
    CRegKey optionsKey;
    if (!optionsKey.create(kOptionsKey)) {
      SLog::S_getSingleton()->write(0, "saveOptions() failed - (OPTIONS) RegCreateKeyEx() failed");
      return false;
    }
    for (const OPTIONVALUE& rValue : kOptionValues) {
      if (!writeDword(optionsKey.get(), rValue.lpszName, rOptions.*rValue.pFlag ? 1 : 0)) {
        SLog::S_getSingleton()->write(0, "saveOptions() failed - (%s) RegSetValueEx() failed",
                                      rValue.lpszName);
        return false;
      }
    }
    if (!writeDword(optionsKey.get(), kHotKeyValue, rOptions.HotKey)) {
      SLog::S_getSingleton()->write(0, "saveOptions() failed - (%s) RegSetValueEx() failed",
                                    kHotKeyValue);
      return false;
    }
  }
  return saveAutostart(rOptions.RunOnStartup);
}

bool loadOptions(PROGRAMOPTIONS& rOptions) {
  KVX_CALLSTACK_TRACK;
  CRegKey optionsKey;
  if (!optionsKey.open(kOptionsKey, KEY_READ)) {
    SLog::S_getSingleton()->write(0, "loadOptions() failed - (OPTIONS) RegOpenKeyEx() failed");
    return false;
  }
  // Read first: the flags' reading may stop short.
  loadHotKey(optionsKey.get(), rOptions);
  for (const OPTIONVALUE& rValue : kOptionValues) {
    DWORD dwValue = 0;
    if (!readOption(optionsKey.get(), rValue.lpszName, dwValue)) return !rValue.bRequired;
    applyOption(rValue, dwValue, rOptions);
  }
  return true;
}

bool saveItem(int nPosition, const ROOTITEM& rItem) {
  KVX_CALLSTACK_TRACK;
  CRegKey itemKey;
  if (!itemKey.create(itemKeyPath(nPosition).c_str())) {
    SLog::S_getSingleton()->write(0, "saveItem() failed - (MENU) RegCreateKeyEx() failed");
    return false;
  }
  const char* lpszFailed = NULL;
  if (!writeString(itemKey.get(), "Name", rItem.str_name))
    lpszFailed = "Name";
  else if (!writeString(itemKey.get(), "Path", rItem.str_path))
    lpszFailed = "Path";
  else if (!writeDword(itemKey.get(), "SortType", static_cast<DWORD>(rItem.sort_type)))
    lpszFailed = "SortType";
  else if (!writeDword(itemKey.get(), "MaxNoSort", rItem.max_no_sort))
    lpszFailed = "MaxNoSort";
  if (lpszFailed == NULL) return true;
  SLog::S_getSingleton()->write(0, "saveItem() failed - (%s) RegSetValueEx() failed", lpszFailed);
  return false;
}

bool loadItem(int nPosition, ROOTITEM& rItem) {
  KVX_CALLSTACK_TRACK;
  CRegKey itemKey;
  return openItemKey(nPosition, itemKey, true) && readItemValues(itemKey.get(), rItem, true);
}

namespace {

// True when every item was written. An item that fails is logged by
// saveItem; the rest still get written and the stale tail still goes.
bool writeItems(const std::vector<ROOTITEM>& rItemList) {
  KVX_CALLSTACK_TRACK;
  const int nCount = static_cast<int>(rItemList.size());
  bool bAllWritten = true;
  for (int i = 0; i < nCount; ++i)
    if (!saveItem(i, rItemList[i])) bAllWritten = false;
  // The keys are numbered without gaps, so the first missing one ends the
  // stale tail of a longer list saved before.
  int nStale = nCount;
  while (RegDeleteKeyA(HKEY_CURRENT_USER, itemKeyPath(nStale).c_str()) == ERROR_SUCCESS) ++nStale;
  return bAllWritten;
}

}  // namespace

// The list goes in item by item. Were one item to fail, the registry would
// hold part of the new list over part of the old one, or the new list cut
// short at the failed key, and the next start would load that half list.
// So the list stored before is kept and written back when any item fails.
bool saveMenuItems(const std::vector<ROOTITEM>& rItemList) {
  KVX_CALLSTACK_TRACK;
  std::vector<ROOTITEM> previous;
  readItemList(previous, false);
  if (writeItems(rItemList)) return true;
  SLog::S_getSingleton()->write(
      0, "saveMenuItems() failed: the list stored before (%u items) was written back",
      static_cast<unsigned>(previous.size()));
  writeItems(previous);
  return false;
}

void loadMenuItems(std::vector<ROOTITEM>& rItemList) {
  KVX_CALLSTACK_TRACK;
  readItemList(rItemList, true);
}
