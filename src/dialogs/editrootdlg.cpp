#include "editrootdlg.h"

#include <commctrl.h>

#include <cstdio>
#include <utility>

#include "../diag/log.h"
#include "../menus/navmenu.h"
#include "../resources/resource.h"
#include "../settings/saveload.h"
#include "addeditdlg.h"
#include "dlgcommon.h"

namespace {

struct LISTCOLUMN {
  const char* lpszTitle;
  int nWidth;
};
const LISTCOLUMN kColumns[] = {{"Display Name", 90}, {"Path", 175}, {"Folder Sorting", 100}};
const int kColumnTextLimit = 255;

void initListViewClass() {
  KVX_CALLSTACK_TRACK;
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
}

}  // namespace

SEditRootDlg::SEditRootDlg()
    : m_hInstance(NULL), m_hWndParent(NULL), m_hWnd(NULL), m_lpNavMenu(NULL) {
  KVX_CALLSTACK_TRACK;
}

SEditRootDlg::~SEditRootDlg() { KVX_CALLSTACK_TRACK; }

// Only a hand-edited registry holds another type: "Unknown (n)" shows its
// number and still fits the column. Such a root's folders show only "Open
// Folder"; editing the entry (no grouping is chosen for it there) makes it
// "No Sorting" unless the user picks one.
std::string SEditRootDlg::S_sortingText(const ROOTITEM& rItem) {
  KVX_CALLSTACK_TRACK;
  char szText[64];
  switch (rItem.sort_type) {
    case SORT_NONE:
      return "No Sorting";
    case SORT_ABC:
      snprintf(szText, sizeof(szText), "ABC > %u items", rItem.max_no_sort);
      break;
    case SORT_EXT:
      snprintf(szText, sizeof(szText), "Type > %u items", rItem.max_no_sort);
      break;
    default:
      snprintf(szText, sizeof(szText), "Unknown (%i)", rItem.sort_type);
      break;
  }
  return szText;
}

INT_PTR SEditRootDlg::display(HINSTANCE hInstance, HWND hWndParent, CNavMenu* lpNavMenu) {
  KVX_CALLSTACK_TRACK;
  if (dlg::raiseIfOpen(m_hWnd)) return 0;
  m_hInstance = hInstance;
  m_hWndParent = hWndParent;
  m_lpNavMenu = lpNavMenu;
  m_lpNavMenu->getRootItemList(m_ItemList);
  initListViewClass();
  const INT_PTR nResult =
      dlg::runModal(m_hInstance, IDD_EDITROOT, m_hWndParent, EditRootDlgProc, m_hWnd);
  m_hWndParent = NULL;
  m_lpNavMenu = NULL;
  return nResult;
}

void SEditRootDlg::close() {
  KVX_CALLSTACK_TRACK;
  if (m_hWnd != NULL) SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
}

void SEditRootDlg::closeForSessionEnd(bool bCritical) {
  KVX_CALLSTACK_TRACK;
  if (!bCritical) {
    close();
  } else if (m_hWnd != NULL) {
    SLog::S_getSingleton()->write(0,
                                  "SEditRootDlg::closeForSessionEnd() alert: critical shutdown, "
                                  "the changes are not saved");
  }
}

HWND SEditRootDlg::list() const {
  KVX_CALLSTACK_TRACK;
  return GetDlgItem(m_hWnd, IDC_ROOT_LIST);
}

void SEditRootDlg::setupColumns(HWND hList) {
  KVX_CALLSTACK_TRACK;
  for (int i = 0; i < static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0])); ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[i].nWidth;
    column.pszText = const_cast<char*>(kColumns[i].lpszTitle);
    column.cchTextMax = kColumnTextLimit;
    column.iSubItem = i;
    SendMessageA(hList, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
  }
}

void SEditRootDlg::setRowTexts(int nRow, const ROOTITEM& rItem) {
  KVX_CALLSTACK_TRACK;
  const std::string strSorting = S_sortingText(rItem);
  const std::string* texts[] = {&rItem.str_name, &rItem.str_path, &strSorting};
  for (int i = 0; i < 3; ++i) {
    LVITEMA item = {};
    item.iSubItem = i;
    item.pszText = const_cast<char*>(texts[i]->c_str());
    SendMessageA(list(), LVM_SETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
  }
}

// Walking backwards and inserting each at the top leaves the rows in list
// order.
void SEditRootDlg::fillItemList(HWND hList) {
  KVX_CALLSTACK_TRACK;
  for (int i = static_cast<int>(m_ItemList.size()) - 1; i >= 0; --i) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.pszText = const_cast<char*>("");
    SendMessageA(hList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    setRowTexts(0, m_ItemList[static_cast<size_t>(i)]);
  }
}

// New entries go first, in the list and, once applied, in the Folder Menu.
void SEditRootDlg::addItem(const std::string& rstrName, const std::string& rstrPath, int nSortType,
                           unsigned int nMaxNoSort) {
  KVX_CALLSTACK_TRACK;
  ROOTITEM newItem;
  newItem.str_name = rstrName;
  newItem.str_path = rstrPath;
  newItem.sort_type = nSortType;
  newItem.max_no_sort = nMaxNoSort;
  m_ItemList.insert(m_ItemList.begin(), newItem);
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = 0;
  item.pszText = const_cast<char*>("");
  SendMessageA(list(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  setRowTexts(0, newItem);
}

void SEditRootDlg::editItem(int rnIndex, const std::string& rstrName, const std::string& rstrPath,
                            int nSortType, unsigned int nMaxNoSort) {
  KVX_CALLSTACK_TRACK;
  if (rnIndex < 0 || static_cast<size_t>(rnIndex) >= m_ItemList.size()) {
    SLog::S_getSingleton()->write(0, "SEditRootDlg::editItem() failed: rnIndex invalid = %i",
                                  rnIndex);
    return;
  }
  ROOTITEM& rItem = m_ItemList[static_cast<size_t>(rnIndex)];
  rItem.str_name = rstrName;
  rItem.str_path = rstrPath;
  rItem.sort_type = nSortType;
  rItem.max_no_sort = nMaxNoSort;
  setRowTexts(rnIndex, rItem);
}

void SEditRootDlg::editItemRI(int rnIndex, const ROOTITEM& rItem) {
  KVX_CALLSTACK_TRACK;
  editItem(rnIndex, rItem.str_name, rItem.str_path, rItem.sort_type, rItem.max_no_sort);
}

bool SEditRootDlg::isRowSelected(int nRow) const {
  KVX_CALLSTACK_TRACK;
  return (SendMessageA(list(), LVM_GETITEMSTATE, nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void SEditRootDlg::setRowSelected(int nRow, bool bSelected) {
  KVX_CALLSTACK_TRACK;
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED;
  item.state = bSelected ? LVIS_SELECTED : 0;
  SendMessageA(list(), LVM_SETITEMSTATE, nRow, reinterpret_cast<LPARAM>(&item));
}

int SEditRootDlg::firstSelectedRow() const {
  KVX_CALLSTACK_TRACK;
  for (int i = 0; i < static_cast<int>(m_ItemList.size()); ++i)
    if (isRowSelected(i)) return i;
  return -1;
}

// The rows are rewritten from the elements; the selection goes with the
// upper row's entry, which is now the lower one.
void SEditRootDlg::swapRows(int nUpper, int nLower) {
  KVX_CALLSTACK_TRACK;
  const ROOTITEM upper = m_ItemList[static_cast<size_t>(nUpper)];
  const ROOTITEM lower = m_ItemList[static_cast<size_t>(nLower)];
  editItemRI(nUpper, lower);
  editItemRI(nLower, upper);
}

// One pass: a deleted row's successor moves up into the same index.
void SEditRootDlg::deleteSelectedItems() {
  KVX_CALLSTACK_TRACK;
  size_t i = 0;
  while (i < m_ItemList.size()) {
    if (isRowSelected(static_cast<int>(i))) {
      SendMessageA(list(), LVM_DELETEITEM, i, 0);
      m_ItemList.erase(m_ItemList.begin() + static_cast<std::ptrdiff_t>(i));
    } else {
      ++i;
    }
  }
}

// A selection that takes in the first row does not move at all.
void SEditRootDlg::moveSelectedItemsUp() {
  KVX_CALLSTACK_TRACK;
  const int nCount = static_cast<int>(m_ItemList.size());
  for (int i = 0; i < nCount; ++i) {
    if (!isRowSelected(i)) continue;
    if (i == 0) return;
    swapRows(i - 1, i);
    setRowSelected(i, false);
    setRowSelected(i - 1, true);
  }
}

// A selection that takes in the last row does not move at all.
void SEditRootDlg::moveSelectedItemsDown() {
  KVX_CALLSTACK_TRACK;
  const int nCount = static_cast<int>(m_ItemList.size());
  for (int i = nCount - 1; i >= 0; --i) {
    if (!isRowSelected(i)) continue;
    if (i == nCount - 1) return;
    swapRows(i, i + 1);
    setRowSelected(i, false);
    setRowSelected(i + 1, true);
  }
}

// The registry gets what the root menu now holds, not the working copy: a
// root the menu refused is neither shown nor stored, and the paths carry
// the backslash the menu gave them.
void SEditRootDlg::apply() {
  KVX_CALLSTACK_TRACK;
  m_lpNavMenu->setRootItems(m_ItemList);
  std::vector<ROOTITEM> live;
  m_lpNavMenu->getRootItemList(live);
  saveMenuItems(live);
}

void SEditRootDlg::cancelAndClose() {
  KVX_CALLSTACK_TRACK;
  m_ItemList.clear();
  EndDialog(m_hWnd, 2);
}

void SEditRootDlg::onAddItem() {
  KVX_CALLSTACK_TRACK;
  SAddEditDlg* lpAdd = SAddEditDlg::S_getSingleton();
  lpAdd->setAddOrEdit(true);
  if (lpAdd->display(m_hInstance, m_hWnd) != 1) return;
  const ROOTITEM& rItem = lpAdd->getItemInfo();
  addItem(rItem.str_name, rItem.str_path, rItem.sort_type, rItem.max_no_sort);
}

void SEditRootDlg::onEditItem(int nRow) {
  KVX_CALLSTACK_TRACK;
  if (nRow < 0 || static_cast<size_t>(nRow) >= m_ItemList.size()) return;
  SAddEditDlg* lpEdit = SAddEditDlg::S_getSingleton();
  lpEdit->setItemInfo(m_ItemList[static_cast<size_t>(nRow)]);
  lpEdit->setAddOrEdit(false);
  if (lpEdit->display(m_hInstance, m_hWnd) != 1) return;
  editItemRI(nRow, lpEdit->getItemInfo());
}

// Asked even with nothing selected; "Yes" then deletes nothing.
void SEditRootDlg::onDeleteItems() {
  KVX_CALLSTACK_TRACK;
  if (MessageBoxA(m_hWnd, "Are you sure you want to delete the selected items?", "",
                  MB_ICONQUESTION | MB_YESNO) == IDYES)
    deleteSelectedItems();
}

// An entry still open in the add / edit dialog is abandoned first, so the
// question is asked over this dialog and nothing is added after it closed.
void SEditRootDlg::askSaveAndClose() {
  KVX_CALLSTACK_TRACK;
  SAddEditDlg::S_getSingleton()->close();
  SetForegroundWindow(m_hWnd);
  const int nAnswer = MessageBoxA(m_hWnd,
                                  "Do you want to save any changes that have been\n"
                                  "made to the Folder Menu from the \"Edit Menu Items\"\n"
                                  "dialog before closing it?",
                                  "Pathwick: Save Changes?", MB_ICONQUESTION | MB_YESNO);
  if (nAnswer == IDYES) {
    apply();
    EndDialog(m_hWnd, 1);
  } else {
    cancelAndClose();
  }
}

BOOL SEditRootDlg::onInitDialog(HWND hDlg) {
  KVX_CALLSTACK_TRACK;
  m_hWnd = hDlg;
  dlg::showNamesInEveryScript(m_hWnd, IDC_ROOT_LIST);
  setupColumns(list());
  fillItemList(list());
  dlg::setAppIcons(m_hWnd);
  dlg::centreOnWorkArea(m_hWnd);
  return TRUE;
}

BOOL SEditRootDlg::onCommand(WPARAM wParam) {
  KVX_CALLSTACK_TRACK;
  if (HIWORD(wParam) != 0) return TRUE;
  switch (LOWORD(wParam)) {
    case IDOK:
      apply();
      EndDialog(m_hWnd, 1);
      break;
    case IDC_APPLY:
      apply();
      break;
    case IDCANCEL:
      cancelAndClose();
      break;
    case IDC_ADD_ITEM:
      onAddItem();
      break;
    case IDC_EDIT_ITEM:
      onEditItem(firstSelectedRow());
      break;
    case IDC_DELETE_ITEM:
      onDeleteItems();
      break;
    case IDC_MOVE_UP:
      moveSelectedItemsUp();
      break;
    case IDC_MOVE_DOWN:
      moveSelectedItemsDown();
      break;
    default:
      break;
  }
  return TRUE;
}

BOOL SEditRootDlg::onNotify(LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  const NMHDR* lpHeader = reinterpret_cast<const NMHDR*>(lParam);
  if (lpHeader->idFrom != IDC_ROOT_LIST) return FALSE;
  if (lpHeader->code == LVN_KEYDOWN) {
    if (reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) onDeleteItems();
  } else if (lpHeader->code == NM_DBLCLK) {
    // A double click below the last row names no row (-1).
    onEditItem(reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
  }
  return TRUE;
}

BOOL SEditRootDlg::onClose() {
  KVX_CALLSTACK_TRACK;
  askSaveAndClose();
  return TRUE;
}

INT_PTR CALLBACK EditRootDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  KVX_CALLSTACK_TRACK;
  switch (uMsg) {
    case WM_INITDIALOG:
      return SEditRootDlg::S_getSingleton()->onInitDialog(hDlg);
    case WM_COMMAND:
      return SEditRootDlg::S_getSingleton()->onCommand(wParam);
    case WM_NOTIFY:
      return SEditRootDlg::S_getSingleton()->onNotify(lParam);
    case WM_CLOSE:
      return SEditRootDlg::S_getSingleton()->onClose();
    default:
      return FALSE;
  }
}
