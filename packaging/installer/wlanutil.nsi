; The utility's installer. makensis -DVERSION=2.96.0.1 -DPROGRAM=path\wlanutil.exe -DREADME=path\README.txt
;   -DGUIDE=path\guide.html -DIMAGES=path\images -DOUTFILE=path\setup.exe wlanutil.nsi
; An ANSI installer: its stubs import only what Windows 95 and NT 4 have (a Unicode one needs the NT family).
; -DTEST_AMD64 makes the same installer for 64-bit Windows, which is what the install test can run under the
; 64-bit Wine of our machines; it is never shipped.
!ifdef TEST_AMD64
Target amd64-unicode
!else
Unicode false
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!define PRODUCT "DAZE802.11d AVUD UDE Zadu Vuvivav"
!define TITLE "DAZE802.11d AVUD UDE Zadu Vuvivav"
!define MENUDIR "$SMPROGRAMS\${PRODUCT}"
!define RUNKEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define RUNVALUE "WlanUtil"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\WlanUtil"
!define WM_CLOSE 0x0010

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\WlanUtil"
ShowInstDetails show
ShowUninstDetails show

ComponentText "The utility runs on Windows 95, 98, Me, NT 4 and 2000. It needs the card's driver installed \
(which provides W32N50.dll) and msvcrt.dll, which Windows 95 has only once another product installed it."
Page components
Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "!${PRODUCT}" SecProgram
  SectionIn RO
  SetShellVarContext all
  IfFileExists "$SYSDIR\msvcrt.dll" +2 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "This computer has no msvcrt.dll (Windows 95 has it only once another \
product installed it). The utility will not start until it is installed." /SD IDOK
  SetOutPath "$INSTDIR"
  File "/oname=wlanutil.exe" "${PROGRAM}"
  File "/oname=README.txt" "${README}"
  File "/oname=guide.html" "${GUIDE}"
  SetOutPath "$INSTDIR\images"
  File "${IMAGES}\*.png"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "${MENUDIR}"
  CreateShortCut "${MENUDIR}\${PRODUCT}.lnk" "$INSTDIR\wlanutil.exe"
  CreateShortCut "${MENUDIR}\User's guide.lnk" "$INSTDIR\guide.html"
  CreateShortCut "${MENUDIR}\Uninstall.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTKEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
SectionEnd

Section "Start when you log on" SecRun
  WriteRegStr HKLM "${RUNKEY}" "${RUNVALUE}" '"$INSTDIR\wlanutil.exe"'
SectionEnd

; A running copy ends on a close request to its hidden window, found by its title (a shown sheet has the same
; title and closes first); its files can be removed once it has ended.
Function un.CloseRunningCopy
  StrCpy $1 0
  loop:
    FindWindow $0 "" "${TITLE}"
    IntCmp $0 0 done
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    Sleep 500
    IntOp $1 $1 + 1
    IntCmp $1 40 done loop done
  done:
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  Call un.CloseRunningCopy
  Delete "$INSTDIR\wlanutil.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\guide.html"
  Delete "$INSTDIR\images\*.png"
  RMDir "$INSTDIR\images"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "${MENUDIR}\${PRODUCT}.lnk"
  Delete "${MENUDIR}\User's guide.lnk"
  Delete "${MENUDIR}\Uninstall.lnk"
  RMDir "${MENUDIR}"
  DeleteRegValue HKLM "${RUNKEY}" "${RUNVALUE}"
  DeleteRegKey HKLM "${UNINSTKEY}"
SectionEnd
