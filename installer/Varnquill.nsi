; Varnquill's setup program: a per-machine installation into the 64-bit Program Files
; folder with a Start-menu shortcut, an optional desktop shortcut, an optional start at
; log-on, an Add/Remove Programs entry and an uninstaller.
;
; Built by the build's "dist" target, which passes:
;   VERSION   the program's version (project())   VERSION4  the same as four numbers
;   PROGRAM   the built Varnquill.exe              ICON      the program's icon
;   CONSOLE   the built vqsig.exe
;   STARTER   the built starter collection, Quotes.sigs
;   OUTFILE   the setup program to write
;
; Command line (besides NSIS's own /S and /D=folder, which must come last):
;   /STARTUP  tick "Start Varnquill when I log on"   /DESKTOP  tick "Desktop shortcut"
; The uninstaller keeps the user's settings and side files unless "Also remove my
; settings" is ticked, which a silent uninstall (/S) never does.

Unicode true
Target amd64-unicode

!ifndef VERSION | VERSION4 | PROGRAM | CONSOLE | STARTER | ICON | OUTFILE
  !error "Build the setup program through the build's dist target."
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "${__FILEDIR__}/EndRunningCopy.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnquill"
!define SETTINGS_KEY "Software\qmz\Varnquill"
; The program's own start-up entry: the same value and command the program writes.
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUN_VALUE "qmz Varnquill"

Name "Varnquill"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Varnquill"
; An upgrade goes where the earlier installation is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
; A file that cannot be written stops the setup; skipping it would mix two versions.
AllowSkipFiles off

VIProductVersion "${VERSION4}"
VIAddVersionKey "ProductName" "Varnquill"
VIAddVersionKey "CompanyName" "qmz"
VIAddVersionKey "FileDescription" "Varnquill setup"
; The program carries no copyright notice; an empty one keeps the version block complete.
VIAddVersionKey "LegalCopyright" ""
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

!insertmacro VARNQUILL_END_RUNNING_COPY ""
!insertmacro VARNQUILL_END_RUNNING_COPY "un."

; The starter collection in the program folder as the setup left it: "size high low", its
; size in bytes and its write time's two halves (File gives it the build's write time; any
; edit moves it on); empty when the file cannot be read.
!define STARTER_STAMP_VALUE "StarterStamp"
!macro STARTER_STAMP result
  Push $R0
  Push $R1
  Push $R2
  StrCpy ${result} ""
  ClearErrors
  GetFileTime "$INSTDIR\Quotes.sigs" $R1 $R2
  ${IfNot} ${Errors}
    FileOpen $R0 "$INSTDIR\Quotes.sigs" r
    ${IfNot} ${Errors}
      FileSeek $R0 0 END ${result}
      FileClose $R0
      StrCpy ${result} "${result} $R1 $R2"
    ${EndIf}
  ${EndIf}
  Pop $R2
  Pop $R1
  Pop $R0
!macroend

; result is 1 when the starter collection is still the file the setup put there, else 0.
!macro STARTER_AS_INSTALLED result
  Push $R3
  StrCpy ${result} 0
  ClearErrors
  ReadRegStr $R3 HKLM "${UNINSTALL_KEY}" "${STARTER_STAMP_VALUE}"
  ${IfNot} ${Errors}
  ${AndIf} $R3 != ""
    !insertmacro STARTER_STAMP ${result}
    ${If} ${result} == $R3
      StrCpy ${result} 1
    ${Else}
      StrCpy ${result} 0
    ${EndIf}
  ${EndIf}
  Pop $R3
!macroend

; Per-machine files and keys need an administrator; without one (no elevation offered, as
; on a machine with UAC switched off) every write would fail one by one, so stop at once.
!macro REQUIRE_ADMINISTRATOR
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Varnquill is installed for all users of this computer: run this as an administrator." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
!macroend

Section "Varnquill" SecProgram
  SectionIn RO
  Call EndRunningCopy
  SetOutPath "$INSTDIR"
  ; Only the program's own files: the database list and static text beside it are the
  ; user's and stay as they are.
  File "/oname=Varnquill.exe" "${PROGRAM}"
  File "/oname=vqsig.exe" "${CONSOLE}"
  ; The collection a first start lists. Where the program's folder is the user's own (an
  ; administrator without UAC), that start lists this file itself, which may have been edited
  ; since: an update replaces it only while it is as the setup left it, and so does the
  ; uninstaller remove it. A copy put here by an older setup has no stamp and stays.
  !insertmacro STARTER_AS_INSTALLED $0
  ${IfNot} ${FileExists} "$INSTDIR\Quotes.sigs"
  ${OrIf} $0 == 1
    File "/oname=Quotes.sigs" "${STARTER}"
    !insertmacro STARTER_STAMP $0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "${STARTER_STAMP_VALUE}" $0
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Varnquill.lnk" "$INSTDIR\Varnquill.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Varnquill"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "qmz"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Varnquill.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" SecDesktop
  CreateShortcut "$DESKTOP\Varnquill.lnk" "$INSTDIR\Varnquill.exe"
SectionEnd

Section /o "Start Varnquill when I log on" SecStartup
  WriteRegStr HKLM "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Varnquill.exe" /MIN'
SectionEnd

Function .onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  SetShellVarContext all
  SetRegView 64
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/STARTUP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecStartup}
  ${EndIf}
  ClearErrors
  ${GetOptions} $0 "/DESKTOP" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecDesktop}
  ${EndIf}
FunctionEnd

; ---- Uninstaller ----

; Removes the start-up entry under one root when it starts this installation's program; an
; entry of a copy elsewhere is that copy's.
!macro REMOVE_OWN_RUN_VALUE root
  ClearErrors
  ReadRegStr $0 ${root} "${RUN_KEY}" "${RUN_VALUE}"
  ${IfNot} ${Errors}
  ${AndIf} $0 == '"$INSTDIR\Varnquill.exe" /MIN'
    DeleteRegValue ${root} "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
!macroend

Section "-un.Program"
  Call un.EndRunningCopy
  ; A copy running in another user's session is out of reach and holds its files: they go
  ; when Windows restarts, rather than stay behind once the Add/Remove entry is gone.
  Delete /REBOOTOK "$INSTDIR\Varnquill.exe"
  Delete /REBOOTOK "$INSTDIR\vqsig.exe"
  ; The starter collection only while it is the one the setup put here: edited, it is the
  ; user's database, and it keeps the folder too.
  !insertmacro STARTER_AS_INSTALLED $0
  ${If} $0 == 1
    Delete /REBOOTOK "$INSTDIR\Quotes.sigs"
  ${EndIf}
  Delete /REBOOTOK "$INSTDIR\uninstall.exe"
  Delete "$SMPROGRAMS\Varnquill.lnk"
  Delete "$DESKTOP\Varnquill.lnk"
  !insertmacro REMOVE_OWN_RUN_VALUE HKLM
  !insertmacro REMOVE_OWN_RUN_VALUE HKCU
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; Only when empty: side files the user keeps, or files of their own, hold it.
  RMDir "$INSTDIR"
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "$INSTDIR"
    DetailPrint "Some of Varnquill's files are in use; they are removed when Windows restarts."
    MessageBox MB_OK|MB_ICONINFORMATION "Varnquill is still running for another user of this computer. Its remaining files will be removed when Windows restarts." /SD IDOK
  ${EndIf}
SectionEnd

; The user's databases are never removed, wherever they are: they are documents, not
; settings.
Section /o "un.Also remove my settings" SecUnSettings
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\qmz"
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\qmz"
  Delete "$INSTDIR\sigs.list"
  Delete "$INSTDIR\static.sig.qmz"
  Delete "$INSTDIR\order.state"
  RMDir "$INSTDIR"
  SetShellVarContext current
  Delete "$APPDATA\Varnquill\sigs.list"
  Delete "$APPDATA\Varnquill\static.sig.qmz"
  Delete "$APPDATA\Varnquill\order.state"
  RMDir "$APPDATA\Varnquill"
  SetShellVarContext all
SectionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  SetShellVarContext all
  SetRegView 64
FunctionEnd
