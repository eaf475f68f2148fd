; The installer of TANGELO_Tune for 64-bit Windows: a per-machine install into Program Files, a
; Start-menu shortcut and an entry in Apps & features. scripts/build-windows.sh runs makensis with
;   -DTT_VERSION=1.0 -DTT_VERSION_DOTS=1.0.0.0 -DTT_VENDOR=... -DTT_ICO=<icon>
;   -DTT_FILES=<installed-files.nsh> -DTT_UNFILES=<uninstall-files.nsh> -DTT_OUTFILE=<setup.exe>
; The two lists are made from the install manifest of the portable folder, so the installer copies
; exactly what the portable zip holds and the uninstaller removes exactly that again.
;
; Silent: setup.exe /S [/D=C:\Other\Folder] and uninstall.exe /S.
;
; Signed builds add -DTT_SIGN=<command> -DTT_HOMEPAGE=<url>: the uninstaller that the installer writes
; is signed here, as it is made; the script signs the installer itself afterwards.

!macro TT_NEEDS name
  !ifndef ${name}
    !error "makensis needs -D${name}=..."
  !endif
!macroend
!insertmacro TT_NEEDS TT_VERSION
!insertmacro TT_NEEDS TT_VERSION_DOTS
!insertmacro TT_NEEDS TT_VENDOR
!insertmacro TT_NEEDS TT_ICO
!insertmacro TT_NEEDS TT_FILES
!insertmacro TT_NEEDS TT_UNFILES
!insertmacro TT_NEEDS TT_OUTFILE

; A 64-bit stub: the 32-bit one does not start under a 64-bit-only Wine (it ends at once with 0).
Target amd64-unicode
Unicode true
ManifestSupportedOS all
ManifestDPIAware true
; The test's stand-in for an older version takes a quicker one.
!ifndef TT_COMPRESSOR
  !define TT_COMPRESSOR "/SOLID lzma"
!endif
SetCompressor ${TT_COMPRESSOR}
!ifdef TT_SIGN
  !uninstfinalize '${TT_SIGN} "%1" "TANGELO_Tune Uninstaller" "${TT_HOMEPAGE}"' = 0
!endif

!define APP "TANGELO_Tune"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${APP}"

Name "${APP}"
OutFile "${TT_OUTFILE}"
InstallDir "$PROGRAMFILES64\${APP}"
; An update goes where the last install went, whatever folder was chosen then.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${APP} ${TT_VERSION}"

VIProductVersion "${TT_VERSION_DOTS}"
VIFileVersion "${TT_VERSION_DOTS}"
VIAddVersionKey /LANG=0 "ProductName" "${APP}"
VIAddVersionKey /LANG=0 "ProductVersion" "${TT_VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${TT_VERSION}"
VIAddVersionKey /LANG=0 "FileDescription" "${APP} ${TT_VERSION} Setup"
VIAddVersionKey /LANG=0 "CompanyName" "${TT_VENDOR}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${TT_VENDOR}"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "x64.nsh"

!define MUI_ICON "${TT_ICO}"
!define MUI_UNICON "${TT_ICO}"
!define MUI_ABORTWARNING

; No "run now" on the last page: the program would run elevated, as the administrator who installed.
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; Windows' display language chooses between them.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString NeedsAdmin ${LANG_ENGLISH} "Installing ${APP} needs an administrator's account."
LangString NeedsAdmin ${LANG_SIMPCHINESE} "安装 ${APP} 需要管理员账户。"
LangString Needs64Bit ${LANG_ENGLISH} "${APP} needs 64-bit Windows."
LangString Needs64Bit ${LANG_SIMPCHINESE} "${APP} 需要 64 位 Windows。"
LangString OldNotRemoved ${LANG_ENGLISH} \
  "The installed version in $R0 could not be removed. Close ${APP} and try again."
LangString OldNotRemoved ${LANG_SIMPCHINESE} \
  "无法删除 $R0 中已安装的版本。请关闭 ${APP} 后重试。"

Function .onInit
  SetShellVarContext all
  SetRegView 64
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP|MB_OK "$(Needs64Bit)" /SD IDOK
    Abort
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP|MB_OK "$(NeedsAdmin)" /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Install"
  ; An installed version, of any age, is removed first by its own uninstaller, so that no file of it
  ; stays among the new ones. _?= runs it in place and waits; it cannot remove itself then.
  ReadRegStr $R0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R0 != ""
  ${AndIf} ${FileExists} "$R0\uninstall.exe"
    ClearErrors
    ExecWait '"$R0\uninstall.exe" /S _?=$R0' $0
    ${If} ${Errors}
    ${OrIf} $0 != 0
      MessageBox MB_ICONSTOP|MB_OK "$(OldNotRemoved)" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
    Delete "$R0\uninstall.exe"
    RMDir "$R0"
  ${EndIf}

  !include "${TT_FILES}"

  ; The program takes this file as the sign that it is installed: its settings then go to the user's
  ; %APPDATA%\TANGELO_Tune, never beside it.
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR" ; the shortcut's working folder
  CreateShortcut "$SMPROGRAMS\${APP}.lnk" "$INSTDIR\TANGELO_Tune.exe" "" "$INSTDIR\TANGELO_Tune.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${TT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${TT_VENDOR}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\TANGELO_Tune.exe",0'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0 ; in KiB
SectionEnd

; Removes what the installer put there, the shortcut and the entry. The users' own files stay: each
; user's settings and automatic backups in %APPDATA%\TANGELO_Tune are theirs, and the backups may be
; the only copy of a radio as it was. A folder that someone else's files keep is left too.
Section "Uninstall"
  !include "${TT_UNFILES}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${APP}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
