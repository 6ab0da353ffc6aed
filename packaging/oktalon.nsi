; oktalon.nsi: the per-user installer of Oktalon, in Czech (Unicode NSIS, MUI2). packaging/pack.sh
; builds it with makensis -INPUTCHARSET UTF8 and defines:
;   VERSION       the project's version ("1.0"), VERSION_QUAD the same in four parts ("1.0.0.0")
;   ARCH          x64 or x86, TARGET its makensis target (amd64-unicode: a 64-bit installer)
;   STAGE         the folder holding oktalon.exe
;   ICON          the program's icon, OUTFILE the installer to write
;
; It installs for the current user alone, with no administrator prompt: oktalon.exe and the
; uninstaller under $LOCALAPPDATA\Programs\Oktalon, a Start-menu shortcut, the entry of the user's
; "Programs and Features" list and, optionally, "Otevřít v Oktalonu" in the context menu of every
; file. Installing again updates the copy where it is. Nothing is written while the installed
; program runs: the user is asked to close it (a silent run gives up, leaving everything as it
; was). The uninstaller removes all of that and nothing else: the program's recent-file list
; stays in the user's registry. On a Windows older than Windows 7 SP1, the oldest the program runs
; on, it says so and installs nothing (exit code 3).

Unicode true
Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Oktalon"
!define PUBLISHER "autoři projektu Oktalon"
!define EXE "oktalon.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Oktalon"
!define MENU_KEY "Software\Classes\*\shell\Oktalon"

Name "${PRODUCT} ${VERSION}"
BrandingText "${PRODUCT} ${VERSION} (${ARCH})"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
; The installed files keep the staged files' times: the commit's.
SetDateSave on
AllowSkipFiles off
ShowInstDetails show
ShowUninstDetails show

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include FileFunc.nsh
!include WinVer.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${EXE}"

!insertmacro MUI_PAGE_WELCOME
; An installed copy is updated where it is, so its folder is not asked again.
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderWhenInstalled
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Czech"

VIProductVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_CZECH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_CZECH} "FileDescription" "Instalace programu ${PRODUCT} ${VERSION} (${ARCH})"
VIAddVersionKey /LANG=${LANG_CZECH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_CZECH} "LegalCopyright" "© 2026 ${PUBLISHER}"

LangString OLD_WINDOWS ${LANG_CZECH} "${PRODUCT} ${VERSION} vyžaduje Windows 7 s aktualizací Service Pack 1 nebo novější Windows. Na tomto počítači je starší verze, proto se nic neinstaluje."
LangString RUNNING ${LANG_CZECH} "Program ${PRODUCT} je spuštěný ze složky $INSTDIR.$\n$\nZavřete ho a zkuste to znovu, nebo zvolte Storno."
LangString IN_USE ${LANG_CZECH} "Soubor $INSTDIR\${EXE} nelze nahradit ani odstranit: používá ho jiný program.$\n$\nZavřete ho a zkuste to znovu, nebo zvolte Storno."
LangString DESC_PROGRAM ${LANG_CZECH} "Program ${PRODUCT} a jeho zástupce v nabídce Start."
LangString DESC_MENU ${LANG_CZECH} "Položka „Otevřít v Oktalonu“ v místní nabídce každého souboru v Průzkumníkovi."

; ---- Whether the installed program can be replaced ---------------------------------------------

; The check is the installer's and the uninstaller's alike; makensis wants a copy of a function
; for each, the uninstaller's named "un.".
!macro IN_USE_FUNCTIONS un
; $R0 = 1 when a process runs $INSTDIR\oktalon.exe, else 0. A copy that another user runs cannot
; be seen here; Windows then keeps its file from being opened for writing (ReplaceObstacle).
Function ${un}FindRunningCopy
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  StrCpy $R0 0
  ; The ids of up to 4096 processes.
  System::Alloc 16384
  Pop $0
  System::Call 'psapi::EnumProcesses(p r0, i 16384, *i .r1) i .r2'
  ${IfThen} $2 = 0 ${|} StrCpy $1 0 ${|}
  StrCpy $2 0
  ${DoWhile} $2 < $1
    IntPtrOp $3 $0 + $2
    System::Call '*$3(i .r3)'
    ; PROCESS_QUERY_LIMITED_INFORMATION: enough for the image name of any process of the user.
    System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r3) p .r3'
    ${If} $3 P<> 0
      StrCpy $4 ""
      System::Call 'kernel32::QueryFullProcessImageNameW(p r3, i 0, w .r4, *i ${NSIS_MAX_STRLEN})'
      System::Call 'kernel32::CloseHandle(p r3)'
      ${If} $4 == "$INSTDIR\${EXE}"
        StrCpy $R0 1
        ${ExitDo}
      ${EndIf}
    ${EndIf}
    IntOp $2 $2 + 4
  ${Loop}
  System::Free $0
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

; $R0 = what keeps $INSTDIR\oktalon.exe from being replaced or removed, in words for the user;
; empty when nothing does (a copy that is not there yet never is held).
Function ${un}ReplaceObstacle
  Push $0
  StrCpy $R0 ""
  Call ${un}FindRunningCopy
  ${If} $R0 = 1
    StrCpy $R0 "$(RUNNING)"
  ${Else}
    StrCpy $R0 ""
    ${If} ${FileExists} "$INSTDIR\${EXE}"
      ClearErrors
      FileOpen $0 "$INSTDIR\${EXE}" a
      ${If} ${Errors}
        StrCpy $R0 "$(IN_USE)"
      ${Else}
        FileClose $0
      ${EndIf}
    ${EndIf}
  ${EndIf}
  Pop $0
FunctionEnd

; Returns once the installed program can be replaced or removed. Until then the user is asked to
; close it; on Cancel, or when no one can be asked (a silent run), the run ends here, exit code 2,
; having changed nothing.
Function ${un}WaitUntilReplaceable
  ${Do}
    Call ${un}ReplaceObstacle
    ${IfThen} $R0 == "" ${|} Return ${|}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$R0" /SD IDCANCEL IDCANCEL cancelled
  ${Loop}
  cancelled:
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro IN_USE_FUNCTIONS ""
!insertmacro IN_USE_FUNCTIONS "un."

; ---- Installing ----------------------------------------------------------------------------------

Function SkipFolderWhenInstalled
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${IfThen} $0 != "" ${|} Abort ${|}
FunctionEnd

Section "${PRODUCT}" SecProgram
  SectionIn RO
  ; Asked again here: the folder may have been chosen since, or the program started meanwhile.
  Call WaitUntilReplaceable
  SetOutPath "$INSTDIR"
  ; The program first: if it cannot be written after all, nothing else has been.
  File "${STAGE}\${EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${EXE}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Otevřít v Oktalonu" SecContextMenu
  WriteRegStr HKCU "${MENU_KEY}" "" "Otevřít v Oktalonu"
  WriteRegStr HKCU "${MENU_KEY}" "Icon" "$INSTDIR\${EXE},0"
  WriteRegStr HKCU "${MENU_KEY}\command" "" '"$INSTDIR\${EXE}" "%1"'
SectionEnd

; Installed again without the context-menu entry: the one an earlier install made goes.
Section "-RemoveContextMenu"
  ${IfNot} ${SectionIsSelected} ${SecContextMenu}
    Call RemoveContextMenu
  ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(DESC_PROGRAM)"
  !insertmacro MUI_DESCRIPTION_TEXT ${SecContextMenu} "$(DESC_MENU)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; The oldest Windows the program runs on is Windows 7 with Service Pack 1 (6.1; Windows Server
; 2008 R2 SP1 alike): its PE header says 6.1, and its imports are reviewed against that floor
; (tests/binary/imports.txt). An older system is told so, and nothing is installed.
Function RefuseOlderWindows
  ${IfThen} ${AtLeastWin8} ${|} Return ${|}
  ${If} ${AtLeastWin7}
  ${AndIf} ${AtLeastServicePack} 1
    Return
  ${EndIf}
  MessageBox MB_OK|MB_ICONSTOP "$(OLD_WINDOWS)" /SD IDOK
  SetErrorLevel 3
  Quit
FunctionEnd

Function .onInit
  Call RefuseOlderWindows
  ; One copy per user: an installed one is updated in its own folder, and keeps the user's
  ; choice of the context-menu entry.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
    Call WaitUntilReplaceable
    ReadRegStr $1 HKCU "${MENU_KEY}\command" ""
    ${If} $1 == ""
      !insertmacro UnselectSection ${SecContextMenu}
    ${EndIf}
  ${EndIf}
FunctionEnd

; ---- Uninstalling --------------------------------------------------------------------------------

; The entry's key, and the parents an install may have made for it when they are left empty.
!macro REMOVE_CONTEXT_MENU un
Function ${un}RemoveContextMenu
  DeleteRegKey HKCU "${MENU_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Classes\*\shell"
  DeleteRegKey /ifempty HKCU "Software\Classes\*"
FunctionEnd
!macroend
!insertmacro REMOVE_CONTEXT_MENU ""
!insertmacro REMOVE_CONTEXT_MENU "un."

Section "Uninstall"
  Call un.WaitUntilReplaceable
  Delete "$INSTDIR\${EXE}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Call un.RemoveContextMenu
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: whatever else the user keeps there stays.
  RMDir "$INSTDIR"
SectionEnd
