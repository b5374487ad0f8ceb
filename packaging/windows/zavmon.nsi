; ZAV Monitor's installer for Windows: a per-user install (no administrator), a Start-menu
; entry, .car files opening in ZAV Monitor, and an uninstaller. Built by
; scripts/package-windows.sh, which hands in the version and the folder of the files:
;   makensis -DVERSION=2.04 -DFILES=<folder> -DOUTFILE=<installer.exe> zavmon.nsi
; A 64-bit installer for the 64-bit programs (it also runs where wine has no 32-bit part).
Target amd64-unicode
!include "MUI2.nsh"

Name "ZAV Monitor"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\ZAV Monitor"
InstallDirRegKey HKCU "Software\ZAV Monitor" "InstallDir"
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZAV Monitor"
; The working folder: zavmon.cfg (the port and the library of configurations) and the logs.
!define WORK_FOLDER "$DOCUMENTS\ZAV Monitor"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zavmon.exe"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "ZAV Monitor"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${FILES}\zavmon.exe"
  File "${FILES}\zavctl.exe"
  File "${FILES}\README.txt"
  File /nonfatal "${FILES}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "${WORK_FOLDER}"
  SetOutPath "${WORK_FOLDER}"
  CreateShortcut "$SMPROGRAMS\ZAV Monitor.lnk" "$INSTDIR\zavmon.exe" "" "$INSTDIR\zavmon.exe" 0
  ; .car files open in ZAV Monitor, for this user only.
  WriteRegStr HKCU "Software\Classes\.car" "" "ZAVMonitor.car"
  WriteRegStr HKCU "Software\Classes\ZAVMonitor.car" "" "ZAV Monitor configuration"
  WriteRegStr HKCU "Software\Classes\ZAVMonitor.car\DefaultIcon" "" "$INSTDIR\zavmon.exe,0"
  WriteRegStr HKCU "Software\Classes\ZAVMonitor.car\shell\open\command" "" '"$INSTDIR\zavmon.exe" "%1"'
  WriteRegStr HKCU "Software\ZAV Monitor" "InstallDir" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "ZAV Monitor"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

; The working folder keeps the fitter's settings and logs: the uninstaller leaves it.
Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\ZAV Monitor.lnk"
  Delete "$INSTDIR\zavmon.exe"
  Delete "$INSTDIR\zavctl.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ReadRegStr $0 HKCU "Software\Classes\.car" ""
  StrCmp $0 "ZAVMonitor.car" 0 +2
    DeleteRegKey HKCU "Software\Classes\.car"
  DeleteRegKey HKCU "Software\Classes\ZAVMonitor.car"
  DeleteRegKey HKCU "Software\ZAV Monitor"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
