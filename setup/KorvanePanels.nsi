; The pilot's setup program: installs the plug-in and the tester for the current user alone,
; registers the plug-in with the simulator, and shows in Apps & features, whose removal
; takes the plug-in out of the simulator's launch list again.
; Built by scripts/setup-program, which defines:
;   VERSION   the project's version, as 1.2.3
;   STAGE     the folder holding KorPanels.exe, KorSwitchTest.exe and UserGuide.txt
;   SIZE_KB   their size together, in KiB
;   OUTFILE   the setup program to write
;   TARGET    the stub: x86-unicode for the shipped program, amd64-unicode for its twin

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
; A per-user install needs no administrator: one that ran elevated could register the
; plug-in in the administrator's profile instead of the pilot's.
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Korvane Panels"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KorvanePanels"
!define START_MENU "$SMPROGRAMS\${PRODUCT}"
; The plug-in's hidden window: closing it stops the panels and ends the plug-in.
!define PLUGIN_WINDOW_CLASS "KorvanePluginWindow"
!define TESTER_TITLE "Korvane Aerotrak Switch Panel"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
; An upgrade goes where the last install went, so the launch list's path stays right.
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "Korvane"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Korvane"

!define MUI_ICON "..\src\tester\resources\KorSwitchTest.ico"
!define MUI_UNICON "..\src\tester\resources\KorSwitchTest.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Sets $2 to the name of an installed program that cannot be opened for writing, as a
; running program cannot, and leaves $2 as it was when it can.
!macro CHECK_IN_USE program
  ${If} ${FileExists} "$INSTDIR\${program}"
    ClearErrors
    FileOpen $3 "$INSTDIR\${program}" a
    ${If} ${Errors}
      StrCpy $2 "${program}"
    ${Else}
      FileClose $3
    ${EndIf}
  ${EndIf}
!macroend

; Asks the plug-in and the tester to close, then waits until their files can be replaced.
; When they cannot, the pilot is told why, and nothing has been touched yet.
!macro CLOSE_RUNNING_PROGRAMS un
  Function ${un}CloseRunningPrograms
    FindWindow $0 "${PLUGIN_WINDOW_CLASS}"
    ${If} $0 <> 0
      DetailPrint "Closing the running plug-in"
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    FindWindow $0 "#32770" "${TESTER_TITLE}"
    ${If} $0 <> 0
      DetailPrint "Closing the switch panel tester"
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    ; Up to 10 s: the plug-in first switches its panels' lamps off.
    StrCpy $1 0
    ${Do}
      StrCpy $2 ""
      !insertmacro CHECK_IN_USE "KorPanels.exe"
      !insertmacro CHECK_IN_USE "KorSwitchTest.exe"
      ${If} $2 == ""
        Return
      ${EndIf}
      IntOp $1 $1 + 1
      ${If} $1 >= 40
        MessageBox MB_OK|MB_ICONSTOP "$2 is still running and cannot be replaced.$\r$\n$\r$\nQuit FSX first, then run this again." /SD IDOK
        SetErrorLevel 2
        Quit
      ${EndIf}
      Sleep 250
    ${Loop}
  FunctionEnd
!macroend
!insertmacro CLOSE_RUNNING_PROGRAMS ""
!insertmacro CLOSE_RUNNING_PROGRAMS "un."

Section "Install"
  Call CloseRunningPrograms
  SetOutPath "$INSTDIR"
  File "${STAGE}\KorPanels.exe"
  File "${STAGE}\KorSwitchTest.exe"
  File "${STAGE}\UserGuide.txt"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The plug-in registers itself with the simulator by the path it runs from.
  DetailPrint "Registering the plug-in with FSX"
  ExecWait '"$INSTDIR\KorPanels.exe" -install' $0
  DetailPrint "KorPanels.exe -install ended with $0"

  CreateDirectory "${START_MENU}"
  CreateShortcut "${START_MENU}\Switch Panel Tester.lnk" "$INSTDIR\KorSwitchTest.exe"
  CreateShortcut "${START_MENU}\User Guide.lnk" "$INSTDIR\UserGuide.txt"
  CreateShortcut "${START_MENU}\Uninstall.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Korvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\KorSwitchTest.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; The simulator's configuration files, other add-ons' entries and the plug-in's log stay.
Section "Uninstall"
  Call un.CloseRunningPrograms
  DetailPrint "Removing the plug-in from FSX's launch list"
  ExecWait '"$INSTDIR\KorPanels.exe" -uninstall' $0
  DetailPrint "KorPanels.exe -uninstall ended with $0"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "${START_MENU}\Switch Panel Tester.lnk"
  Delete "${START_MENU}\User Guide.lnk"
  Delete "${START_MENU}\Uninstall.lnk"
  RMDir "${START_MENU}"
  Delete "$INSTDIR\KorPanels.exe"
  Delete "$INSTDIR\KorSwitchTest.exe"
  Delete "$INSTDIR\UserGuide.txt"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: whatever else the pilot put there stays.
  RMDir "$INSTDIR"
SectionEnd
