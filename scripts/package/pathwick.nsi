; The Windows installer of Pathwick Pro, for makensis. Per user and without
; administrator rights: into the user's own programs folder, a Start Menu
; shortcut and an entry in the user's list of installed programs.
; package.sh defines VERSION (the one in VERSION), STAGE (the folder the zip
; is made of), UNINSTALL_LIST (an include that deletes the files of STAGE
; and then their folders where empty) and OUTFILE.
; /S installs or uninstalls silently; /D=folder installs elsewhere.

Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Pathwick Pro"
!define PUBLISHER "Quillmere Software"
!define EXE "pathwick.exe"
!define UNINSTALLER "uninstall.exe"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Quillmere Pathwick"
!define SETTINGS_KEY "HKEY_CURRENT_USER\Software\Quillmere Software\Pathwick"
; The program's hidden main window: WM_CLOSE to it ends the program as its
; "Exit" does, with its settings saved and its log closed.
!define WINDOW_CLASS "PathwickDummyWindow"
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
; How long a copy asked to exit is given before the user is asked.
!define EXIT_WAIT_MS 30000

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; An update goes where the last installation went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2004 ${PUBLISHER}"

!define MUI_ICON "../../src/resources/pathwick.ico"
!define MUI_UNICON "../../src/resources/pathwick.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_FINISH

; Three lines are all the page has room for.
!define MUI_UNCONFIRMPAGE_TEXT_TOP "${PRODUCT} will be ended if it is running, then removed with its Start Menu shortcut and its start at log-in. Your folder list and options stay in the registry under ${SETTINGS_KEY}."
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; WaitForExit: waits until the process of window $1 has ended; $4 is
; WAIT_OBJECT_0 when it did within the time given.
; CloseRunning: asks every running copy to exit and waits for each, so that
; its files can be replaced or removed; $0 is 1 when a copy was running. A
; copy that does not end (a question of its own may be open) leaves the user
; to answer it and retry; a silent run gives up.
!macro RUNNING_COPY_FUNCTIONS un
Function ${un}WaitForExit
  System::Call "user32::GetWindowThreadProcessId(p r1, *i 0 r2)"
  System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r2) p .r3"
  System::Call "user32::PostMessage(p r1, i ${WM_CLOSE}, p 0, p 0)"
  System::Call "kernel32::WaitForSingleObject(p r3, i ${EXIT_WAIT_MS}) i .r4"
  System::Call "kernel32::CloseHandle(p r3)"
FunctionEnd

Function ${un}CloseRunning
  StrCpy $0 0
  ${Do}
    FindWindow $1 "${WINDOW_CLASS}"
    ${If} $1 = 0
      Return
    ${EndIf}
    Call ${un}WaitForExit
    ${If} $4 = ${WAIT_OBJECT_0}
      StrCpy $0 1
    ${Else}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is still running. Answer the window it shows, or choose Exit from its icon, then press Retry." \
        /SD IDCANCEL IDRETRY retry
      Abort "${PRODUCT} is still running."
      retry:
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro RUNNING_COPY_FUNCTIONS ""
!insertmacro RUNNING_COPY_FUNCTIONS "un."

Section "${PRODUCT}"
  Call CloseRunning
  SetOutPath "$INSTDIR"
  File "${STAGE}/${EXE}"
  File "${STAGE}/README.txt"
  ; The folder may be one the user keeps files in, even in docs: the files
  ; are put in place over their older versions and nothing else goes.
  SetOutPath "$INSTDIR\docs"
  File /r "${STAGE}/docs/*"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0
  Call WriteUninstallEntry
  ; A silent update brings back the copy it ended; otherwise the last page
  ; offers to start the program.
  ${If} ${Silent}
  ${AndIf} $0 = 1
    Exec '"$INSTDIR\${EXE}"'
  ${EndIf}
SectionEnd

Function WriteUninstallEntry
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
FunctionEnd

; The settings under SETTINGS_KEY stay: a later installation finds the
; user's folders again. Of the installation folder only what the package
; and the program put there goes: the user's own files stay, and with them
; the folders that hold them.
Section "Uninstall"
  Call un.CloseRunning
  Delete "${SHORTCUT}"
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\run.log"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
