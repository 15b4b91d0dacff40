; The Tovarel installer: both programs go into the system folder, where the
; Display control panel lists screen savers, and Tovarel becomes the screen
; saver of the user who installs it, switched on. The uninstaller takes all
; of it away again and gives back the screen saver chosen before and whether
; it was on.
;
; It runs as an administrator: a standard user who elevates it runs it in
; the administrator's account, so the choice is made in that profile.
;
; makensis -DVERSION=1.0.0 -DSCR=path/Tovarel.scr -DDLL=path/Tovarel.dll
;          -DOUTFILE=path/Tovarel-1.0.0-setup.exe tovarel.nsi

Unicode true
; No file dates inside: two builds of one commit give the same installer.
SetDateSave off
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

  ; The screen saver switched on, as the Screen Saver Settings do; the
  ; earlier state ("" when never set) is kept for the uninstaller.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
  StrCmp $1 "" 0 +2
  WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive" "[$0]"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; SPI_SETSCREENSAVEACTIVE with SPIF_SENDCHANGE: running programs hear of it.
  System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 2)'

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

  ; Whether the screen saver was on comes back as it was ("[]": never set).
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
  StrCmp $1 "" keep_active
  StrCmp $1 "[]" 0 +3
  DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  Goto keep_active
  StrCpy $1 $1 -1 1
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "$1"
keep_active:

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
