#include "saveload.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../diag/log.h"

namespace {

// The trailing backslashes are part of the stored layout: the item keys are
// made by appending the number to the menu path.
const char kOptionsKey[] = "Software\\Quillmere Software\\Pathwick\\Options\\";
const char kMenuKey[] = "Software\\Quillmere Software\\Pathwick\\Menu\\";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Quillmere Pathwick";

// Owns one open registry key and closes it on every way out.
class CRegKey {
 public:
  CRegKey() : m_hKey(NULL) { KVX_CALLSTACK_TRACK; }
  ~CRegKey() {
    KVX_CALLSTACK_TRACK;
    if (m_hKey != NULL) RegCloseKey(m_hKey);
  }
  CRegKey(const CRegKey&) = delete;
  CRegKey& operator=(const CRegKey&) = delete;

  bool create(const char* lpszPath) {
    KVX_CALLSTACK_TRACK;
    return RegCreateKeyExA(HKEY_CURRENT_USER, lpszPath, 0, NULL, REG_OPTION_NON_VOLATILE,
                           KEY_WRITE, NULL, &m_hKey, NULL) == ERROR_SUCCESS;
  }
  bool open(const char* lpszPath, REGSAM samDesired) {
    KVX_CALLSTACK_TRACK;
    return RegOpenKeyExA(HKEY_CURRENT_USER, lpszPath, 0, samDesired, &m_hKey) == ERROR_SUCCESS;
  }
  HKEY get() const {
    KVX_CALLSTACK_TRACK;
    return m_hKey;
  }

 private:
  HKEY m_hKey;
};

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
  char szModule[MAX_PATH] = {0};
  GetModuleFileNameA(NULL, szModule, MAX_PATH);
  szModule[MAX_PATH - 1] = '\0';
  return std::string("\"") + szModule + "\"";
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

struct OPTIONVALUE {
  const char* lpszName;
  bool PROGRAMOPTIONS::*pFlag;
};

// In the order they are written.
const OPTIONVALUE kOptionValues[] = {
    {"LeftClickRoot", &PROGRAMOPTIONS::LeftClickRoot},
    {"RunOnStartup", &PROGRAMOPTIONS::RunOnStartup},
    {"TrayHelpAtStartup", &PROGRAMOPTIONS::TrayHelpAtStartup},
    {"SplashScreenAtStartup", &PROGRAMOPTIONS::SplashScreenAtStartup},
};

bool readOption(HKEY hKey, const char* lpszName, DWORD& rdwValue) {
  KVX_CALLSTACK_TRACK;
  if (readDword(hKey, lpszName, rdwValue)) return true;
  SLog::S_getSingleton()->write(0, "loadOptions() failed - (%s) RegQueryValueEx() failed",
                                lpszName);
  return false;
}

// Anything but 0 or 1 is not a choice the program made: keep what is there.
void applyZeroOne(DWORD dwValue, bool& rbFlag) {
  KVX_CALLSTACK_TRACK;
  if (dwValue == 0) rbFlag = false;
  if (dwValue == 1) rbFlag = true;
}

bool readItemString(HKEY hKey, const char* lpszName, std::string& rstrValue) {
  KVX_CALLSTACK_TRACK;
  if (readString(hKey, lpszName, rstrValue)) return true;
  SLog::S_getSingleton()->write(0, "loadItem() failed - (%s) RegQueryValueEx() failed", lpszName);
  return false;
}

bool readItemDword(HKEY hKey, const char* lpszName, DWORD& rdwValue) {
  KVX_CALLSTACK_TRACK;
  if (readDword(hKey, lpszName, rdwValue)) return true;
  SLog::S_getSingleton()->write(0, "loadItem() failed - (%s) RegQueryValueEx() failed", lpszName);
  return false;
}

bool itemKeyExists(int nPosition) {
  KVX_CALLSTACK_TRACK;
  CRegKey itemKey;
  return itemKey.open(itemKeyPath(nPosition).c_str(), KEY_READ);
}

}  // namespace

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
  DWORD dwValue = 0;
  if (!readOption(optionsKey.get(), "LeftClickRoot", dwValue)) return false;
  applyZeroOne(dwValue, rOptions.LeftClickRoot);
  if (!readOption(optionsKey.get(), "RunOnStartup", dwValue)) return false;
  applyZeroOne(dwValue, rOptions.RunOnStartup);
  // The two start-up dialogs are shown unless told otherwise, so a missing
  // value here is no failure of the whole.
  if (!readOption(optionsKey.get(), "TrayHelpAtStartup", dwValue)) return true;
  rOptions.TrayHelpAtStartup = dwValue != 0;
  if (!readOption(optionsKey.get(), "SplashScreenAtStartup", dwValue)) return true;
  rOptions.SplashScreenAtStartup = dwValue != 0;
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
  // A missing key reports as its first value, as every read of it would fail.
  if (!itemKey.open(itemKeyPath(nPosition).c_str(), KEY_READ)) {
    SLog::S_getSingleton()->write(0, "loadItem() failed - (Name) RegQueryValueEx() failed");
    return false;
  }
  DWORD dwSortType = 0;
  DWORD dwMaxNoSort = 0;
  if (!readItemString(itemKey.get(), "Name", rItem.str_name) ||
      !readItemString(itemKey.get(), "Path", rItem.str_path) ||
      !readItemDword(itemKey.get(), "SortType", dwSortType) ||
      !readItemDword(itemKey.get(), "MaxNoSort", dwMaxNoSort))
    return false;
  rItem.sort_type = static_cast<int>(dwSortType);
  rItem.max_no_sort = dwMaxNoSort;
  return true;
}

namespace {

// The list as stored, read without a word to the log: it is only kept in
// case a save has to be undone.
void readStoredItems(std::vector<ROOTITEM>& rItemList) {
  KVX_CALLSTACK_TRACK;
  rItemList.clear();
  for (int i = 0;; ++i) {
    CRegKey itemKey;
    if (!itemKey.open(itemKeyPath(i).c_str(), KEY_READ)) return;
    ROOTITEM item;
    DWORD dwSortType = 0;
    DWORD dwMaxNoSort = 0;
    // As at start-up, an unreadable item is left out and the rest kept.
    if (!readString(itemKey.get(), "Name", item.str_name) ||
        !readString(itemKey.get(), "Path", item.str_path) ||
        !readDword(itemKey.get(), "SortType", dwSortType) ||
        !readDword(itemKey.get(), "MaxNoSort", dwMaxNoSort))
      continue;
    item.sort_type = static_cast<int>(dwSortType);
    item.max_no_sort = dwMaxNoSort;
    rItemList.push_back(item);
  }
}

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
  readStoredItems(previous);
  if (writeItems(rItemList)) return true;
  SLog::S_getSingleton()->write(
      0, "saveMenuItems() failed: the list stored before (%u items) was written back",
      static_cast<unsigned>(previous.size()));
  writeItems(previous);
  return false;
}

// Only a missing key ends the list. An item whose key is there but whose
// values cannot be read (logged by loadItem) is left out alone: the items
// after it still load, so the next save, which renumbers the list, keeps
// them instead of deleting them as a stale tail.
void loadMenuItems(std::vector<ROOTITEM>& rItemList) {
  KVX_CALLSTACK_TRACK;
  rItemList.clear();
  for (int i = 0;; ++i) {
    ROOTITEM item;
    if (loadItem(i, item))
      rItemList.push_back(item);
    else if (!itemKeyExists(i))
      break;
  }
}
