#ifndef PATHWICK_DIALOGS_EDITROOTDLG_H
#define PATHWICK_DIALOGS_EDITROOTDLG_H

#include <windows.h>

#include <string>
#include <vector>

#include "../diag/singleton.h"
#include "../settings/rootitem.h"

class CNavMenu;

INT_PTR CALLBACK EditRootDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// "Edit Folder Menu...": the root folders of the Folder Menu in a list the
// user reorders, adds to, edits and deletes from. It works on a copy; the
// live menu and the registry change only on OK, Apply or a "save" answer
// when the window is closed.
class SEditRootDlg : public SSingleton<SEditRootDlg> {
 public:
  // 1 after OK or a confirmed save on close, 2 after Cancel or a declined
  // save, 0 when it was already open (it is only raised then).
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent, CNavMenu* lpNavMenu);
  bool isOpen() const {
    KVX_CALLSTACK_TRACK;
    return m_hWnd != NULL;
  }
  // Closes an open dialog the way its close box does, so the user is asked
  // whether to keep the changes.
  void close();
  // The session ends: closed as by close(), but for a critical end, which
  // waits for nobody, and a question nobody can answer in time would only
  // stand in its way; the changes are then not saved, which is logged.
  void closeForSessionEnd(bool bCritical);

  void setupColumns(HWND hList);
  void fillItemList(HWND hList);
  void addItem(const std::string& rstrName, const std::string& rstrPath, int nSortType,
               unsigned int nMaxNoSort);
  void editItem(int rnIndex, const std::string& rstrName, const std::string& rstrPath,
                int nSortType, unsigned int nMaxNoSort);
  void editItemRI(int rnIndex, const ROOTITEM& rItem);
  void deleteSelectedItems();
  void moveSelectedItemsUp();
  void moveSelectedItemsDown();

  BOOL onInitDialog(HWND hDlg);
  BOOL onCommand(WPARAM wParam);
  BOOL onNotify(LPARAM lParam);
  BOOL onClose();

  // The third column's text for an entry's grouping.
  static std::string S_sortingText(const ROOTITEM& rItem);

 private:
  SEditRootDlg();
  ~SEditRootDlg();
  friend class SSingleton<SEditRootDlg>;

  HWND list() const;
  void setRowTexts(int nRow, const ROOTITEM& rItem);
  bool isRowSelected(int nRow) const;
  void setRowSelected(int nRow, bool bSelected);
  void swapRows(int nUpper, int nLower);
  int firstSelectedRow() const;

  void apply();
  void cancelAndClose();
  void onAddItem();
  void onEditItem(int nRow);
  void onDeleteItems();
  void askSaveAndClose();

  HINSTANCE m_hInstance;
  HWND m_hWndParent;
  HWND m_hWnd;
  CNavMenu* m_lpNavMenu;
  std::vector<ROOTITEM> m_ItemList;
};

#endif
