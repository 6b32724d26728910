; VELDRA-setup.exe: installs the program folder for the current user, puts it
; on the user's PATH (so that "veldra" in any console runs veldra.com), adds a
; Start-menu shortcut to a console in that folder, and an uninstaller.
; makensis -DPROGRAM_DIR=... -DVERSION=... -DOUTPUT=... VELDRA.nsi

; The programs are 64-bit, and so is the installer (Wine without 32-bit support runs it too).
Target amd64-unicode
!include "WinMessages.nsh"

!ifndef PROGRAM_DIR | VERSION | OUTPUT
  !error "PROGRAM_DIR, VERSION and OUTPUT must be defined"
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\VELDRA"

Name "VELDRA ${VERSION}"
OutFile "${OUTPUT}"
InstallDir "$LOCALAPPDATA\Programs\VELDRA"
RequestExecutionLevel user
SetCompressor /SOLID lzma
DirText "This installs the VELDRA command line (veldra.com) with the programs it runs. The desktop program is not part of this build."

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; $R0 = $R0 without its first occurrence of $R1 (unchanged when there is none).
!macro CUT_ONCE UN
Function ${UN}CutOnce
  Push $R2
  Push $R3
  Push $R4
  StrLen $R3 $R1
  StrCpy $R2 0
  loop:
    StrCpy $R4 $R0 $R3 $R2
    StrCmp $R4 "" done
    StrCmp $R4 $R1 found
    IntOp $R2 $R2 + 1
    Goto loop
  found:
    StrCpy $R4 $R0 $R2
    IntOp $R2 $R2 + $R3
    StrCpy $R2 $R0 "" $R2
    StrCpy $R0 "$R4$R2"
  done:
  Pop $R4
  Pop $R3
  Pop $R2
FunctionEnd
!macroend
!insertmacro CUT_ONCE ""
!insertmacro CUT_ONCE "un."

Section "VELDRA"
  SetOutPath "$INSTDIR"
  File /r "${PROGRAM_DIR}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; The folder joins the user's PATH once.
  ReadRegStr $R0 HKCU "Environment" "Path"
  StrCpy $R1 "$INSTDIR"
  StrCpy $R5 $R0
  Call CutOnce
  StrCmp $R0 $R5 0 pathDone
  StrCmp $R5 "" 0 +3
    StrCpy $R5 "$INSTDIR"
    Goto +2
  StrCpy $R5 "$R5;$INSTDIR"
  WriteRegExpandStr HKCU "Environment" "Path" $R5
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  pathDone:

  CreateDirectory "$SMPROGRAMS\VELDRA"
  CreateShortcut "$SMPROGRAMS\VELDRA\VELDRA command line.lnk" "$SYSDIR\cmd.exe" '/k cd /d "$INSTDIR" && veldra --help'
  CreateShortcut "$SMPROGRAMS\VELDRA\Uninstall VELDRA.lnk" "$INSTDIR\Uninstall.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "VELDRA"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
SectionEnd

Section "Uninstall"
  ReadRegStr $R0 HKCU "Environment" "Path"
  StrCpy $R1 ";$INSTDIR"
  Call un.CutOnce
  StrCpy $R1 "$INSTDIR"
  Call un.CutOnce
  WriteRegExpandStr HKCU "Environment" "Path" $R0
  SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000

  RMDir /r "$SMPROGRAMS\VELDRA"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  RMDir /r "$INSTDIR"
SectionEnd
