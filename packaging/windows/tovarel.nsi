; The Tovarel installer: both programs go into the system folder, where the
; Display control panel lists screen savers, and Tovarel becomes the user's
; screen saver. The uninstaller takes all of it away again and gives back
; the screen saver that was chosen before.
;
; makensis -DVERSION=1.0.0 -DSCR=path/Tovarel.scr -DDLL=path/Tovarel.dll
;          -DOUTFILE=path/Tovarel-1.0.0-setup.exe tovarel.nsi

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tovarel"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Tovarel"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tovarel"
ShowInstDetails show
ShowUninstDetails show

LoadLanguageFile "${NSISDIR}\Contrib\Language files\Japanese.nlf"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1041 "ProductName" "Tovarel"
VIAddVersionKey /LANG=1041 "FileDescription" "Tovarel installer"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "Copyright (C) 2026 Tovarel"

Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Tovarel"
  SetOutPath "$SYSDIR"
  File "/oname=Tovarel.scr" "${SCR}"
  File "/oname=Tovarel.dll" "${DLL}"

  ; The screen saver chosen before, given back by the uninstaller.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCmp $0 "$SYSDIR\Tovarel.scr" +2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\Tovarel.scr"

  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tovarel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tovarel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\Tovarel.scr"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  Delete "$SYSDIR\Tovarel.scr"
  Delete "$SYSDIR\Tovarel.dll"
  ; Settings written by an administrator's Set beside the programs. Each
  ; user's own copy (%APPDATA%\Tovarel) is that user's and stays.
  Delete "$SYSDIR\Tovarel.ini"

  ; Only a choice that is still Tovarel is undone.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  StrCmp $0 "$SYSDIR\Tovarel.scr" 0 keep_choice
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
  StrCmp $1 "" 0 +3
  DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  Goto keep_choice
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
keep_choice:

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
