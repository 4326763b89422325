; LumaspanSetup.exe: installs the staged program folder, registers the uninstaller and makes the
; Start-menu shortcuts. The build passes:
;   ARCH     x86_64 or i686: a 64-bit setup into the 64-bit Program Files, or a 32-bit one
;   SOURCE   the source tree (the version and the icon come from there)
;   FILES    the generated list of the staged files to install (files.nsh)
;   UNFILES  the generated list of what the uninstaller removes, backups apart (unfiles.nsh)
;   NOTICE   the about box's notices, as the licence page's text
;   OUTFILE  the setup to write
; Silent mode for administrators: LumaspanSetup.exe /S [/D=<folder>]; Uninstall.exe /S keeps the
; backups.

Unicode true
SetCompressor /SOLID lzma
!if "${ARCH}" == "x86_64"
  Target amd64-unicode
!else
  Target x86-unicode
!endif

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "x64.nsh"

!searchparse /file "${SOURCE}/base/product.h" 'constexpr wchar_t kVersion[] = L"' VERSION '";'
!define PRODUCT "Lumaspan"
!define PUBLISHER "Lumaspan Software"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumaspan"
!define SETTINGS_KEY "Software\Lumaspan Software\KeepLumaspan"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
; An installation found in the registry is upgraded in place.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
!if "${ARCH}" == "x86_64"
  InstallDir "$PROGRAMFILES64\${PRODUCT}"
!else
  InstallDir "$PROGRAMFILES\${PRODUCT}"
!endif
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails nevershow
ShowUninstDetails nevershow

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) 2009-2026 ${PUBLISHER}"

!define MUI_ICON "${SOURCE}/app/Lumaspan.ico"
!define MUI_UNICON "${SOURCE}/app/Lumaspan.ico"
!define MUI_ABORTWARNING
!define MUI_LICENSEPAGE_TEXT_TOP "Please read the following notice before you install ${PRODUCT}."
!define MUI_LICENSEPAGE_BUTTON "I &Agree"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Lumaspan.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Run Lumaspan"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${NOTICE}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
!if "${ARCH}" == "x86_64"
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "This edition of ${PRODUCT} needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
!endif
FunctionEnd

Section "Lumaspan" SecMain
  SectionIn RO
  SetShellVarContext all
  SetOverwrite on
  !include "${FILES}"
  ; The empty folders the backups are kept in; an upgrade leaves what they hold.
  CreateDirectory "$INSTDIR\Backup\Registry\FirstBackup"
  CreateDirectory "$INSTDIR\Backup\Registry\FullBackup"
  CreateDirectory "$INSTDIR\Backup\Favorites\Internet Explorer"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\Lumaspan.exe" "" "$INSTDIR\Lumaspan.exe" 0
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Lumaspan.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://www.lumaspan.com/"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Var KeepBackups

Function un.onInit
  StrCpy $KeepBackups 1
  ; Silent: the backups stay. A user's backups are never removed without asking.
  IfSilent done
  MessageBox MB_YESNO|MB_ICONQUESTION \
    "Do you want to keep your backups (registry, favorites, startup and add-on undo files)?$\r$\n$\r$\nThey stay in $INSTDIR\Backup." \
    IDYES done
  StrCpy $KeepBackups 0
  done:
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; The options page's automatic cleaning task, while the console program that removes it is there.
  IfFileExists "$INSTDIR\LumaspanCmd.exe" 0 +2
    ExecWait '"$INSTDIR\LumaspanCmd.exe" unschedule'
  !include "${UNFILES}"
  ${If} $KeepBackups == 0
    RMDir /r "$INSTDIR\Backup"
  ${EndIf}
  ; The scheduled cleanings' reports are the program's own writing.
  RMDir /r "$INSTDIR\Logs"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The start with Windows the options page set, when it names this installation.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Lumaspan"
  ${If} $0 == '"$INSTDIR\Lumaspan.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "Lumaspan"
  ${EndIf}
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\Lumaspan Software"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
