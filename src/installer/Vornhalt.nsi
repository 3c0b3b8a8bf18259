; Vornhalt's setup program and uninstaller (NSIS, 64-bit).
; Built by the installer target: makensis -DVERSION=... -DBUILD_DIR=... -DICON=... -DOUTFILE=... -DPICTURES=...
; BUILD_DIR is the folder where the build leaves Vornhalt.exe and its ready-made
; databases; PICTURES the generated Pictures.nsh, which names the pictures of
; Graphics\ and Skins\ for the setup to install and the uninstaller to remove.

Unicode true
Target amd64-unicode
ManifestDPIAware true

!ifndef VERSION | BUILD_DIR | ICON | OUTFILE | PICTURES
  !error "VERSION, BUILD_DIR, ICON, OUTFILE and PICTURES must be defined"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include "${PICTURES}"

!define PRODUCT "Vornhalt"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vornhalt"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The running program ends itself while this file lies beside it.
!define FLAG_FILE "uninstall.flag"
; How long to wait for it, in steps of 250 ms (15 seconds).
!define STOP_STEPS 60

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} Setup"
UninstallCaption "${PRODUCT} Uninstall"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "${PRODUCT}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

; Modern UI appends a blank "sub-caption" to the window's text on its
; standard pages; their show functions put the plain caption back.
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowSetupCaption
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowSetupCaption
!insertmacro MUI_PAGE_INSTFILES
; Started as the logged-on user, not with the setup's elevation (see
; RunAsLoggedOnUser).
!define MUI_FINISHPAGE_RUN ""
!define MUI_FINISHPAGE_RUN_TEXT "Run Vornhalt now"
!define MUI_FINISHPAGE_RUN_FUNCTION RunAsLoggedOnUser
; The second check box of the page is "start with Windows": the install wrote
; the Run value; leaving the page with the box cleared takes it away again.
!define MUI_FINISHPAGE_SHOWREADME ""
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Start Vornhalt with Windows"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION KeepStartWithWindows
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FinishPageLeave
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_NODESC
!define MUI_COMPONENTSPAGE_TEXT_TOP "Vornhalt will be removed from $INSTDIR. Your settings and history stay in your application-data folder unless you tick the box below."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Your data:"
!define MUI_PAGE_HEADER_TEXT "Uninstall Vornhalt"
!define MUI_PAGE_HEADER_SUBTEXT "Remove Vornhalt from your computer."
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.ShowChoicesPage
!insertmacro MUI_UNPAGE_COMPONENTS
!define MUI_PAGE_CUSTOMFUNCTION_SHOW un.ShowUninstallCaption
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; ------------------------------------------------------------- the program's end
; Shared by the installer (installing over a running program) and the
; uninstaller, which NSIS keeps apart by the "un." prefix.
!macro VornhaltStopFunctions UN
; Pushes 1 while Vornhalt.exe in $INSTDIR runs: Windows refuses to open a
; running program's file for writing, whoever started it. (The instance lock
; would also name a copy running from another folder, which no flag here ends.)
Function ${UN}IsVornhaltRunning
  Push $0
  Push $1
  StrCpy $0 0
  ${If} ${FileExists} "$INSTDIR\Vornhalt.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\Vornhalt.exe" a
    ${If} ${Errors}
      StrCpy $0 1
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Asks a running Vornhalt to end through the flag file and waits for it.
; Pushes 1 when no Vornhalt runs from $INSTDIR any more, 0 when it is still
; running after 15 seconds; the flag is left in place for the caller.
Function ${UN}StopVornhalt
  Push $0
  Push $1
  Call ${UN}IsVornhaltRunning
  Pop $0
  ${If} $0 == 1
    DetailPrint "Ending the running Vornhalt"
    ClearErrors
    FileOpen $1 "$INSTDIR\${FLAG_FILE}" w
    ${IfNot} ${Errors}
      FileClose $1
    ${EndIf}
    StrCpy $1 0
    ${Do}
      Sleep 250
      IntOp $1 $1 + 1
      Call ${UN}IsVornhaltRunning
      Pop $0
      ${If} $0 == 0
      ${OrIf} $1 >= ${STOP_STEPS}
        ${ExitDo}
      ${EndIf}
    ${Loop}
  ${EndIf}
  ${If} $0 == 1
    StrCpy $0 0
  ${Else}
    StrCpy $0 1
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; Ends a running Vornhalt or gives up: the user may retry; giving up (and a
; silent run) removes the flag again, so that the program, when it is started
; next, does not end at once, and aborts.
Function ${UN}EndVornhaltOrAbort
  Push $0
  ${Do}
    Call ${UN}StopVornhalt
    Pop $0
    ${If} $0 == 1
      ${ExitDo}
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Vornhalt is still running: it did not end within 15 seconds.$\r$\nEnd it in Task Manager and press Retry, or press Cancel." /SD IDCANCEL IDRETRY retry
    Delete "$INSTDIR\${FLAG_FILE}"
    DetailPrint "Vornhalt is still running: it did not end within 15 seconds"
    SetErrorLevel 2
    Abort "Vornhalt is still running"
    retry:
  ${Loop}
  Pop $0
FunctionEnd
!macroend

!insertmacro VornhaltStopFunctions ""
!insertmacro VornhaltStopFunctions "un."

; ------------------------------------------------------------------- installer
Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_OK|MB_ICONSTOP "Vornhalt needs a 64-bit Windows." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
FunctionEnd

Section "-Vornhalt"
  SetShellVarContext all
  Call EndVornhaltOrAbort
  ; A flag left behind by an earlier, interrupted run would end the program
  ; as soon as it starts.
  Delete "$INSTDIR\${FLAG_FILE}"

  SetOutPath "$INSTDIR"
  File "${BUILD_DIR}/Vornhalt.exe"
  File "${BUILD_DIR}/settings.sqlite"
  File "${BUILD_DIR}/actmondb.sqlite"
  !insertmacro InstallPictures
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "$SMPROGRAMS\Vornhalt.lnk" "$INSTDIR\Vornhalt.exe" "" "$INSTDIR\Vornhalt.exe" 0
  WriteRegStr HKCU "${RUN_KEY}" "${PRODUCT}" '"$INSTDIR\Vornhalt.exe"'

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Vornhalt.exe",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function ShowSetupCaption
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:${PRODUCT} Setup"
FunctionEnd

Function KeepStartWithWindows
FunctionEnd

; The setup runs elevated, and so would a program it started itself: its data
; would go to the administrator's profile and it would fight the user's own
; start for the instance lock. The running shell (explorer) starts it as the
; user who is logged on.
Function RunAsLoggedOnUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\Vornhalt.exe"'
FunctionEnd

Function FinishPageLeave
  ${NSD_GetState} $mui.FinishPage.ShowReadme $0
  ${If} $0 <> ${BST_CHECKED}
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
FunctionEnd

; ----------------------------------------------------------------- uninstaller
Function un.ShowUninstallCaption
  SendMessage $HWNDPARENT ${WM_SETTEXT} 0 "STR:${PRODUCT} Uninstall"
FunctionEnd

Function un.ShowChoicesPage
  Call un.ShowUninstallCaption
  ; "Space required: 0.0 KB" means nothing to someone removing a program.
  ShowWindow $mui.ComponentsPage.SpaceRequired ${SW_HIDE}
FunctionEnd

Function un.onInit
  SetRegView 64
  SetShellVarContext all
FunctionEnd

; Deletes the program's file, trying for 5 seconds: under Wine an ended
; process's image can stay mapped a moment after its file opens for writing
; again, and the delete is refused until it goes.
Function un.DeleteProgramFile
  Push $0
  StrCpy $0 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\Vornhalt.exe"
    ${IfNot} ${Errors}
      ${ExitDo}
    ${EndIf}
    IntOp $0 $0 + 1
    ${If} $0 >= 20
      DetailPrint "Vornhalt.exe could not be deleted now: it goes at the next restart"
      Delete /REBOOTOK "$INSTDIR\Vornhalt.exe"
      ${ExitDo}
    ${EndIf}
    Sleep 250
  ${Loop}
  Pop $0
FunctionEnd

Section "-un.Vornhalt"
  SetShellVarContext all
  Call un.EndVornhaltOrAbort

  Call un.DeleteProgramFile
  Delete "$INSTDIR\settings.sqlite"
  Delete "$INSTDIR\actmondb.sqlite"
  ; Only the pictures setup installed: pictures the user added stay.
  !insertmacro RemovePictures
  Delete "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Vornhalt.lnk"
  DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${FLAG_FILE}"
  ; Only when empty: files of the user's own in the folder stay.
  RMDir "$INSTDIR"
SectionEnd

Section /o "un.Also delete my settings and history" SecDeleteData
  SetShellVarContext current
  ${If} "$APPDATA" != ""
    RMDir /r "$APPDATA\Vornhalt.V3"
  ${EndIf}
  SetShellVarContext all
SectionEnd
