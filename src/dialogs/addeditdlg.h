#ifndef PATHWICK_DIALOGS_ADDEDITDLG_H
#define PATHWICK_DIALOGS_ADDEDITDLG_H

#include <windows.h>

#include <string>

#include "../diag/singleton.h"
#include "../settings/rootitem.h"

INT_PTR CALLBACK AddEditDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam);

// One root folder entry: its name, its folder (typed or browsed) and its
// grouping. Opened by the edit folder menu items dialog in add mode or edit
// mode; the entry is taken back only after "Add" / "Edit".
class SAddEditDlg : public SSingleton<SAddEditDlg> {
 public:
  void setAddOrEdit(bool bAdd) {
    KVX_CALLSTACK_TRACK;
    m_bAdd = bAdd;
  }
  void setItemInfo(const ROOTITEM& rItem) {
    KVX_CALLSTACK_TRACK;
    m_ItemInfo = rItem;
  }
  ROOTITEM& getItemInfo() {
    KVX_CALLSTACK_TRACK;
    return m_ItemInfo;
  }
  bool isOpen() const {
    KVX_CALLSTACK_TRACK;
    return m_hWnd != NULL;
  }
  // Ends an open dialog as its close box would (result 2).
  void close();

  // 1 after "Add" / "Edit", 2 after Cancel or closing, 0 when it was
  // already open (it is only raised then).
  INT_PTR display(HINSTANCE hInstance, HWND hWndParent);
  // True with the chosen folder's path in rPath.
  bool browseForFolder(std::string& rPath);

  BOOL onInitDialog(HWND hDlg);
  BOOL onCommand(WPARAM wParam);
  BOOL onClose();

 private:
  SAddEditDlg();
  ~SAddEditDlg();
  friend class SSingleton<SAddEditDlg>;

  void initAddMode();
  void initEditMode();
  void limitNumberFields();
  void chooseSorting(int nSortType);
  void onSortClicked(int nClicked);
  void onBrowse();
  void updateOkButton();
  void readItemAndClose();
  unsigned int readNumberField(int nId, const char* lpszWhich);
  std::string readText(int nId);

  HINSTANCE m_hInstance;
  HWND m_hWndParent;
  HWND m_hWnd;
  bool m_bAdd;
  ROOTITEM m_ItemInfo;
};

#endif
