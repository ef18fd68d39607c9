#include "addeditdlg.h"

#include <shlobj.h>

#include <cwchar>

#include "../diag/log.h"
#include "../diag/pathtext.h"
#include "../diag/scoped.h"
#include "../resources/resource.h"
#include "dlgcommon.h"

namespace {

// What both number fields propose when they have nothing better to show.
const unsigned int kDefaultMaxNoSort = 30;
// Nine digits always fit in 32 bits; one more could overflow, and the read
// would then fail and quietly store 0, which groups every folder.
const WPARAM kNumberFieldDigits = 9;
const UINT kBrowseFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_SHAREABLE;
// The longest path the system has, in UTF-16 units with its zero.
const DWORD kLongestPath = 32768;

void addTabStop(HWND hDlg, int nId) {
  KVX_CALLSTACK_TRACK;
  HWND hControl = GetDlgItem(hDlg, nId);
  SetWindowLongA(hControl, GWL_STYLE, GetWindowLongA(hControl, GWL_STYLE) | WS_TABSTOP);
}

}  // namespace

SAddEditDlg::SAddEditDlg() : m_hInstance(NULL), m_hWndParent(NULL), m_hWnd(NULL), m_bAdd(false) {
  KVX_CALLSTACK_TRACK;
}

SAddEditDlg::~SAddEditDlg() { KVX_CALLSTACK_TRACK; }

INT_PTR SAddEditDlg::display(HINSTANCE hInstance, HWND hWndParent) {
  KVX_CALLSTACK_TRACK;
  if (dlg::raiseIfOpen(m_hWnd)) return 0;
  m_hInstance = hInstance;
  m_hWndParent = hWndParent;
  const INT_PTR nResult =
      dlg::runModal(m_hInstance, IDD_ADDEDIT, m_hWndParent, AddEditDlgProc, m_hWnd);
  m_hWndParent = NULL;
  return nResult;
}

void SAddEditDlg::close() {
  KVX_CALLSTACK_TRACK;
  if (m_hWnd != NULL) SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

BOOL SAddEditDlg::onInitDialog(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hDlg;
  dlg::showNamesInEveryScript(m_hWnd, IDC_NAME_EDIT);
  dlg::showNamesInEveryScript(m_hWnd, IDC_PATH_EDIT);
  limitNumberFields();
  // Over the middle of the list it belongs to, leaving that dialog's
  // caption in sight.
  dlg::centreOnOwner(m_hWnd);
  if (m_bAdd)
    initAddMode();
  else
    initEditMode();
  return TRUE;
}

void SAddEditDlg::limitNumberFields() {
  KVX_CALLSTACK_TRACK;
  SendDlgItemMessageA(m_hWnd, IDC_ABC_COUNT, EM_LIMITTEXT, kNumberFieldDigits, 0);
  SendDlgItemMessageA(m_hWnd, IDC_EXT_COUNT, EM_LIMITTEXT, kNumberFieldDigits, 0);
}

// Both text fields start empty, so "Add" starts disabled.
void SAddEditDlg::initAddMode() {
  KVX_CALLSTACK_TRACK;
  SetDlgItemInt(m_hWnd, IDC_ABC_COUNT, kDefaultMaxNoSort, FALSE);
  SetDlgItemInt(m_hWnd, IDC_EXT_COUNT, kDefaultMaxNoSort, FALSE);
  SetWindowTextA(m_hWnd, "Add New Menu Item");
  SetDlgItemTextA(m_hWnd, IDOK, "Add");
  chooseSorting(SORT_ABC);
  updateOkButton();
}

void SAddEditDlg::initEditMode() {
  KVX_CALLSTACK_TRACK;
  SetWindowTextA(m_hWnd, "Edit A Menu Item");
  SetDlgItemTextA(m_hWnd, IDOK, "Edit");
  SetDlgItemTextA(m_hWnd, IDC_NAME_EDIT, m_ItemInfo.str_name.c_str());
  SetDlgItemTextA(m_hWnd, IDC_PATH_EDIT, m_ItemInfo.str_path.c_str());
  const bool bAbc = m_ItemInfo.sort_type == SORT_ABC;
  const bool bExt = m_ItemInfo.sort_type == SORT_EXT;
  SetDlgItemInt(m_hWnd, IDC_ABC_COUNT, bAbc ? m_ItemInfo.max_no_sort : kDefaultMaxNoSort, FALSE);
  SetDlgItemInt(m_hWnd, IDC_EXT_COUNT, bExt ? m_ItemInfo.max_no_sort : kDefaultMaxNoSort, FALSE);
  chooseSorting(m_ItemInfo.sort_type);
  updateOkButton();
}

// Any type but the two groupings shows neither choice: the entry stays
// ungrouped unless the user picks one. A radio button gives up its tab stop
// when it is cleared; with neither checked the first takes one back, or Tab
// would pass the choice by.
void SAddEditDlg::chooseSorting(int nSortType) {
  KVX_CALLSTACK_TRACK;
  const bool bAbc = nSortType == SORT_ABC;
  const bool bExt = nSortType == SORT_EXT;
  dlg::setChecked(m_hWnd, IDC_SORT_ABC, bAbc);
  dlg::setChecked(m_hWnd, IDC_SORT_EXT, bExt);
  if (!bAbc && !bExt) addTabStop(m_hWnd, IDC_SORT_ABC);
  dlg::enable(m_hWnd, IDC_ABC_COUNT, bAbc);
  dlg::enable(m_hWnd, IDC_ABC_LABEL, bAbc);
  dlg::enable(m_hWnd, IDC_EXT_COUNT, bExt);
  dlg::enable(m_hWnd, IDC_EXT_LABEL, bExt);
}

// A click checks its button and clears the other; the number fields
// follow the choice.
void SAddEditDlg::onSortClicked(int nClicked) {
  KVX_CALLSTACK_TRACK;
  if (dlg::isChecked(m_hWnd, nClicked)) {
    chooseSorting(nClicked == IDC_SORT_ABC ? SORT_ABC : SORT_EXT);
    return;
  }
  const bool bAbc = nClicked == IDC_SORT_ABC;
  dlg::enable(m_hWnd, bAbc ? IDC_ABC_COUNT : IDC_EXT_COUNT, false);
  dlg::enable(m_hWnd, bAbc ? IDC_ABC_LABEL : IDC_EXT_LABEL, false);
}

void SAddEditDlg::onBrowse() {
  KVX_CALLSTACK_TRACK;
  std::string strPath;
  // The field's change notification re-evaluates the OK button.
  if (browseForFolder(strPath)) SetDlgItemTextA(m_hWnd, IDC_PATH_EDIT, strPath.c_str());
}

void SAddEditDlg::updateOkButton() {
  KVX_CALLSTACK_TRACK;
  const bool bComplete = GetWindowTextLengthA(GetDlgItem(m_hWnd, IDC_NAME_EDIT)) > 0 &&
                         GetWindowTextLengthA(GetDlgItem(m_hWnd, IDC_PATH_EDIT)) > 0;
  dlg::enable(m_hWnd, IDOK, bComplete);
}

// Any length: the buffer is as long as the text the field holds.
std::string SAddEditDlg::readText(int nId) {
  KVX_CALLSTACK_TRACK;
  HWND hField = GetDlgItem(m_hWnd, nId);
  const int nLength = GetWindowTextLengthA(hField);
  if (nLength <= 0) return std::string();
  std::string strText(static_cast<size_t>(nLength) + 1, '\0');
  const int nRead = GetWindowTextA(hField, &strText[0], nLength + 1);
  strText.resize(nRead > 0 ? static_cast<size_t>(nRead) : 0);
  return strText;
}

unsigned int SAddEditDlg::readNumberField(int nId, const char* lpszWhich) {
  KVX_CALLSTACK_TRACK;
  BOOL bRead = FALSE;
  const UINT uValue = GetDlgItemInt(m_hWnd, nId, &bRead, FALSE);
  if (bRead) return uValue;
  SLog::S_getSingleton()->write(
      0, "AddEditDlgProc() - (%s) GetDlgItemInt() error: m_ItemInfo.max_no_sort possibly invalid.",
      lpszWhich);
  return 0;
}

// An unreadable number is logged and stored as 0; the dialog still ends
// with OK. The path is not checked: the folder may appear later.
void SAddEditDlg::readItemAndClose() {
  KVX_CALLSTACK_TRACK;
  m_ItemInfo.str_name = readText(IDC_NAME_EDIT);
  m_ItemInfo.str_path = readText(IDC_PATH_EDIT);
  if (dlg::isChecked(m_hWnd, IDC_SORT_ABC)) {
    m_ItemInfo.sort_type = SORT_ABC;
    m_ItemInfo.max_no_sort = readNumberField(IDC_ABC_COUNT, "ABC");
  } else if (dlg::isChecked(m_hWnd, IDC_SORT_EXT)) {
    m_ItemInfo.sort_type = SORT_EXT;
    m_ItemInfo.max_no_sort = readNumberField(IDC_EXT_COUNT, "EXT");
  } else {
    m_ItemInfo.sort_type = SORT_NONE;
    m_ItemInfo.max_no_sort = 0;
  }
  EndDialog(m_hWnd, 1);
}

BOOL SAddEditDlg::onCommand(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  const int nId = LOWORD(wParam);
  const int nCode = HIWORD(wParam);
  if (nCode == EN_CHANGE && (nId == IDC_NAME_EDIT || nId == IDC_PATH_EDIT)) {
    updateOkButton();
    return FALSE;
  }
  if (nCode != BN_CLICKED) return FALSE;
  switch (nId) {
    case IDC_SORT_ABC:
    case IDC_SORT_EXT:
      onSortClicked(nId);
      break;
    case IDC_BROWSE:
      onBrowse();
      break;
    case IDOK:
      readItemAndClose();
      break;
    case IDCANCEL:
      EndDialog(m_hWnd, 2);
      break;
    default:
      break;
  }
  return FALSE;
}

BOOL SAddEditDlg::onClose() {
  KVX_CALLSTACK_TRACK;
  EndDialog(m_hWnd, 2);
  return TRUE;
}

// The wide browser, so that neither the name it shows nor the path it
// gives is cut: in UTF-8 a folder's name alone can take 765 bytes, more
// than the ANSI browser's buffers hold. The path comes back as ansiPath
// spells it.
bool SAddEditDlg::browseForFolder(std::string& rPath) {
  KVX_CALLSTACK_TRACK;
  wchar_t szDisplayName[MAX_PATH] = {0};
  BROWSEINFOW info = {};
  info.hwndOwner = m_hWnd;
  info.pidlRoot = NULL;
  info.pszDisplayName = szDisplayName;
  info.lpszTitle = L"Select a folder...";
  info.ulFlags = kBrowseFlags;
  const CItemIdList item(SHBrowseForFolderW(&info));
  if (!item.valid()) return false;
  std::wstring strWide(kLongestPath, L'\0');
  if (SHGetPathFromIDListEx(item.get(), &strWide[0], kLongestPath, GPFIDL_DEFAULT)) {
    strWide.resize(wcslen(strWide.c_str()));
    rPath = ansiPath(strWide);
    if (!rPath.empty()) return true;
  }
  MessageBoxA(m_hWnd,
              "The path you selected is invalid.\nPlease note that for shared folders you must "
              "specify the full path to a folder, not just a computer name.",
              "Error", MB_ICONWARNING);
  SLog::S_getSingleton()->write(
      0, "SAddEditDlg::browseForFolder() failed:  SHGetPathFromIDList() failed.");
  return false;
}

INT_PTR CALLBACK AddEditDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITDIALOG:
      return SAddEditDlg::S_getSingleton()->onInitDialog(hDlg);
    case WM_COMMAND:
      return SAddEditDlg::S_getSingleton()->onCommand(wParam);
    case WM_CLOSE:
      return SAddEditDlg::S_getSingleton()->onClose();
    default:
      return FALSE;
  }
}
