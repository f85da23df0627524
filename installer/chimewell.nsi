; Chimewell setup: installs CHWLU.EXE with its help document and updater, a Start-menu shortcut and
; an uninstaller. Built by CMake (installer/CMakeLists.txt), which passes these definitions:
;   VERSION   the product version, major.minor.patch
;   CHWLU     CHWLU.EXE from the build
;   UPDATER   update.exe from the build
;   HELPDOC   CHWLHELP.DOC
;   ICON      the program's icon
;   HELPER    chwsetup.exe from the build (tools/setup-helper), run by setup and never installed
;   OUTFILE   where the setup program goes
; The settings key (HKLM\SOFTWARE\TALLOWMERE\CHWL) belongs to the user: setup only makes sure it
; exists and that standard users may write it (the program runs with a standard user's rights), and
; never writes a value, so an install over an older version keeps the saved alarm and options. Only
; the uninstaller may delete it, after asking, or silently when given /REMOVESETTINGS.

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!ifndef VERSION
  !error "VERSION is not defined: build the setup through CMake"
!endif
!ifndef CHWLU
  !error "CHWLU is not defined: build the setup through CMake"
!endif
!ifndef UPDATER
  !error "UPDATER is not defined: build the setup through CMake"
!endif
!ifndef HELPDOC
  !error "HELPDOC is not defined: build the setup through CMake"
!endif
!ifndef ICON
  !error "ICON is not defined: build the setup through CMake"
!endif
!ifndef HELPER
  !error "HELPER is not defined: build the setup through CMake"
!endif
!ifndef OUTFILE
  !error "OUTFILE is not defined: build the setup through CMake"
!endif

!define PRODUCT "Chimewell"
!define PUBLISHER "Tallowmer"
!define EXE "CHWLU.EXE"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Chimewell"
; The program writes its start-with-Windows entry here, or in the user's own Run key where a
; standard user may not write the machine's.
!define RUN_KEY "SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
!define SETTINGS_KEY "SOFTWARE\TALLOWMERE\CHWL"
!define SETTINGS_PARENT "SOFTWARE\TALLOWMERE"

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The Run entry and the Help command name this folder, so it is the default.
InstallDir "$PROGRAMFILES64\Tallowmer\CHWL"
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "Chimewell System"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "Chimewell Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "OriginalFilename" "chimewell-setup.exe"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "Setup will install ${PRODUCT} in the following folder.$\r$\n$\r$\n${PRODUCT} looks for its help document and starts with Windows from C:\Program Files\Tallowmer\CHWL, so keep that folder unless you have a reason to choose another."
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run Chimewell"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; A running copy holds its files and would rewrite the Run entry after we removed it, so it must
; end first. It is asked to close the way its Exit item does, so that it asks its own questions and the
; user may save the alarm; only a copy that does not close in time is ended by force. Copies of other
; users signed in on the same machine are left alone (chwsetup.exe looks in this session only).
; Someone at the screen is asked at the start (No leaves setup); a silent run does not ask and gives
; the copy a short while before it ends it.
!define CLOSE_SECONDS_SILENT 15
!define CLOSE_SECONDS_ASKED 120
!macro RunningProgramFunctions UN
Function ${UN}PrepareHelper
  InitPluginsDir
  File "/oname=$PLUGINSDIR\chwsetup.exe" "${HELPER}"
FunctionEnd

Function ${UN}AskToCloseRunningProgram
  ${If} ${Silent}
    Return
  ${EndIf}
  StrCpy $0 1
  ExecWait '"$PLUGINSDIR\chwsetup.exe" close 0' $0
  ${If} $0 = 0
    Return
  ${EndIf}
  MessageBox MB_OKCANCEL|MB_ICONINFORMATION "${PRODUCT} is running and must be closed first.$\r$\n$\r$\nChoose OK, and ${PRODUCT} will ask whether to save your alarm before it closes." IDOK +2
    Abort
  StrCpy $0 1
  ExecWait '"$PLUGINSDIR\chwsetup.exe" close ${CLOSE_SECONDS_ASKED}' $0
  ${If} $0 = 0
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONEXCLAMATION "${PRODUCT} is still running.$\r$\n$\r$\nEnd it now? An alarm that was not saved will be lost." IDYES +2
    Abort
  ExecWait '"$PLUGINSDIR\chwsetup.exe" end'
FunctionEnd

Function ${UN}EndRunningProgram
  StrCpy $0 1
  ExecWait '"$PLUGINSDIR\chwsetup.exe" close ${CLOSE_SECONDS_SILENT}' $0
  ${If} $0 = 0
    Return
  ${EndIf}
  StrCpy $0 1
  ExecWait '"$PLUGINSDIR\chwsetup.exe" end' $0
  ${If} $0 = 0
    DetailPrint "Ended the running ${PRODUCT}, which did not close when asked."
  ${Else}
    DetailPrint "Could not end the running ${PRODUCT}."
  ${EndIf}
FunctionEnd
!macroend
!insertmacro RunningProgramFunctions ""
!insertmacro RunningProgramFunctions "un."

; The first run is the one the user will have every day: with the user's own rights, not the setup's
; elevated ones (chwsetup.exe has the desktop's shell start it, in the program's folder).
Function RunProgram
  ExecWait '"$PLUGINSDIR\chwsetup.exe" run "$INSTDIR\${EXE}"'
FunctionEnd

Function .onInit
  SetShellVarContext all
  Call PrepareHelper
  Call AskToCloseRunningProgram
FunctionEnd

Section "Chimewell" SecMain
  SectionIn RO
  Call EndRunningProgram

  SetOutPath "$INSTDIR"
  SetOverwrite on
  File "/oname=${EXE}" "${CHWLU}"
  File "/oname=CHWLHELP.DOC" "${HELPDOC}"
  File "/oname=update.exe" "${UPDATER}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; The settings key in the 64-bit view, writable by standard users (that key alone).
  StrCpy $0 1
  ExecWait '"$PLUGINSDIR\chwsetup.exe" grant' $0
  ${If} $0 = 0
    DetailPrint "Standard users may keep their settings in HKEY_LOCAL_MACHINE\${SETTINGS_KEY}."
  ${Else}
    DetailPrint "Could not let standard users write HKEY_LOCAL_MACHINE\${SETTINGS_KEY}."
    MessageBox MB_OK|MB_ICONEXCLAMATION "Setup could not let standard users keep their ${PRODUCT} settings.$\r$\n$\r$\nWithout administrator rights ${PRODUCT} may then report an error writing to the registry. Run setup again to retry." /SD IDOK
  ${EndIf}

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0 SW_SHOWNORMAL "" "Chimewell System alarm clock"

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" '"$INSTDIR\${EXE}",0'
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
  SetShellVarContext all
  Call un.PrepareHelper
  Call un.AskToCloseRunningProgram
FunctionEnd

Section "Uninstall"
  Call un.EndRunningProgram

  Delete "$INSTDIR\${EXE}"
  Delete "$INSTDIR\CHWLHELP.DOC"
  Delete "$INSTDIR\update.exe"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; A program that Chimewell started (the player) may still have this folder as its working folder;
  ; then the empty folder goes at the next restart.
  RMDir /REBOOTOK "$INSTDIR"
  ; The maker's folder too, when it is ours and nothing else lives in it.
  ${GetParent} "$INSTDIR" $0
  ${GetFileName} $0 $1
  ${If} $1 == "Tallowmer"
    RMDir /REBOOTOK "$0"
  ${EndIf}

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegValue HKLM "${RUN_KEY}" "Chimewell"
  ; The user who runs the uninstaller; other users' own entries start a program that is gone, which
  ; Windows skips.
  DeleteRegValue HKCU "${RUN_KEY}" "Chimewell"
  DeleteRegKey HKLM "${UNINST_KEY}"

  ; The saved alarm and options stay unless the user wants them gone: a silent uninstall keeps them
  ; unless given /REMOVESETTINGS.
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $2 "remove"
  ${ElseIf} ${Silent}
    StrCpy $2 "keep"
  ${ElseIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Also delete your ${PRODUCT} settings (the saved alarm and the start options)?$\r$\n$\r$\nChoose No to keep them for a later installation." IDYES`
    StrCpy $2 "remove"
  ${Else}
    StrCpy $2 "keep"
  ${EndIf}
  ${If} $2 == "remove"
    DeleteRegKey HKLM "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKLM "${SETTINGS_PARENT}"
    DetailPrint "Deleted the settings."
  ${Else}
    DetailPrint "Kept the settings in HKEY_LOCAL_MACHINE\${SETTINGS_KEY}."
  ${EndIf}
SectionEnd
