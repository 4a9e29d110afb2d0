; The installer of Orvanta Solvane: a per-user install without administrator rights.
; scripts/package.sh makes it:
;   makensis -DVERSION=1.2.3 -DSTAGE=<program folder> -DFILES=<files.nsh> -DOUTFILE=<setup.exe> orvanta.nsi
; STAGE is the program folder as `cmake --install --component program` lays it out (the
; portable zip holds the same); FILES lists its files for the uninstaller, which removes
; those and nothing else from the program folder.
;
; Uninstall.exe /S removes silently; /PURGE also removes the settings and the data folder,
; keeping (silently) or asking about every desktop folder that still holds files.

Unicode true
Target amd64-unicode  ; the program is x86-64: so is its installer (no 32-bit Wine needed)
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!ifndef VERSION | STAGE | FILES | OUTFILE
  !error "VERSION, STAGE, FILES and OUTFILE are defined by scripts/package.sh"
!endif

!define PRODUCT "Orvanta Solvane"
!define PUBLISHER "Quillon"
!define EXE "Orvanta.exe"
!define UNINSTALLER "Uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrvantaSolvane"
!define SETTINGS_KEY "Software\Quillon\OrvantaZ"  ; the program's RegistryStore root and name
!define SETTINGS_PARENT "Software\Quillon"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "Orvanta.Exe"                    ; AutoStartFor: the exe's stem and ".Exe"
!define BAR_CLASS "OrvantaBar"
!define QUIT_MESSAGE "Quillon.OrvantaZ.Quit.7d3f61c2"
!define DATA_PARENT "$APPDATA\Quillon"
!define DATA_FOLDER "$APPDATA\Quillon\Orvanta"
!define DESK_COUNT 6                               ; OrvDesk1 ... OrvDesk6 in the data folder
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"
!include "${FILES}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright © 2019-2026 ${PUBLISHER}"

!define MUI_ABORTWARNING
!define MUI_ICON "../res/orvanta.ico"  ; makensis works in the script's folder
!define MUI_UNICON "../res/orvanta.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.OptionsShow un.OptionsLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var RemoveSettings   ; 1: the settings and the data folder go too
Var PurgeBox

; A running instance is asked to quit the way its quit button quits once answered: every
; window it hid is shown again and its settings are saved. Then it is waited for; its
; watchdog (the same exe) ends right after it. Aborts when it does not end.
!macro QuitRunning UN
Function ${UN}QuitRunning
  FindWindow $0 "${BAR_CLASS}" ""
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "Asking ${PRODUCT} to quit"
  System::Call 'user32::RegisterWindowMessageW(w "${QUIT_MESSAGE}") i .r1'
  System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r2) i'
  System::Call 'kernel32::OpenProcess(i 0x00100000, i 0, i r2) p .r3'  ; SYNCHRONIZE
  System::Call 'user32::PostMessageW(p r0, i r1, p 0, p 0) i'
  ${If} $3 <> 0
    System::Call 'kernel32::WaitForSingleObject(p r3, i 30000) i .r4'
    System::Call 'kernel32::CloseHandle(p r3)'
  ${Else}
    StrCpy $4 1
  ${EndIf}
  ${If} $4 != 0  ; not WAIT_OBJECT_0
    MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is still running. Quit it, then try again." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro QuitRunning ""
!insertmacro QuitRunning "un."

Function .onInit
  SetShellVarContext current
FunctionEnd

Section "Install"
  Call QuitRunning
  SetOutPath "$INSTDIR"
  !insertmacro OrvInstallFiles
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\${EXE}" "" "$INSTDIR\${EXE}" 0

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; ---------------------------------------------------------------------------------------
; The uninstaller

Function un.onInit
  SetShellVarContext current
  StrCpy $RemoveSettings 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/PURGE" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings 1
  ${EndIf}
FunctionEnd

Function un.OptionsShow
  !insertmacro MUI_HEADER_TEXT "Your settings" "What stays on this computer"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Your settings and the folders that hold each desktop's files stay, so that a later install finds them again."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "Also remove my settings and desktop folders"
  Pop $PurgeBox
  ${If} $RemoveSettings == 1
    ${NSD_Check} $PurgeBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.OptionsLeave
  ${NSD_GetState} $PurgeBox $RemoveSettings
  ${If} $RemoveSettings == ${BST_CHECKED}
    StrCpy $RemoveSettings 1
  ${Else}
    StrCpy $RemoveSettings 0
  ${EndIf}
FunctionEnd

; One desktop folder: an empty one goes; one that still holds files goes only when the user
; says so in a message box (silent: it stays, files and all).
Function un.RemoveDeskFolder
  Pop $0
  ${IfNot} ${FileExists} "$0\*.*"
    Return
  ${EndIf}
  RMDir "$0"
  ${IfNot} ${FileExists} "$0\*.*"
    Return
  ${EndIf}
  MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 \
    "The folder$\r$\n$0$\r$\nstill holds files of one of your desktops.$\r$\n$\r$\nDelete it with these files?" \
    /SD IDNO IDYES delete
  DetailPrint "Kept $0: it holds files"
  Return
delete:
  RMDir /r "$0"
FunctionEnd

Section "Uninstall"
  Call un.QuitRunning

  ; The program folder: our files alone. The exe is retried while its watchdog and media
  ; process end.
  StrCpy $1 0
  ${Do}
    ClearErrors
    Delete "$INSTDIR\${EXE}"
    ${IfNot} ${Errors}
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
    ${If} $1 >= 100
      MessageBox MB_OK|MB_ICONSTOP "$INSTDIR\${EXE} is in use. Quit ${PRODUCT}, then try again." /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    Sleep 100
  ${Loop}
  !insertmacro OrvRemoveFiles
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"
  ; The autostart value, when it starts this copy (a portable copy elsewhere keeps its own).
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 == "$INSTDIR\${RUN_VALUE}"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ${If} $RemoveSettings == 1
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${SETTINGS_PARENT}"
    ${ForEach} $2 1 ${DESK_COUNT} + 1
      Push "${DATA_FOLDER}\OrvDesk$2"
      Call un.RemoveDeskFolder
    ${Next}
    ; The program's own files in the data folder: the log, the journal, the wallpapers.
    Delete "${DATA_FOLDER}\Orvanta.*"
    Delete "${DATA_FOLDER}\Wall*.bmp"
    RMDir "${DATA_FOLDER}"
    RMDir "${DATA_PARENT}"
  ${EndIf}
  ; Last: until here a second run can finish what an interrupted one left.
  DeleteRegKey HKCU "${UNINST_KEY}"
SectionEnd
