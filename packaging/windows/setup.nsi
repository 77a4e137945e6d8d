; The Windows installer: the programs into Program Files, a work folder the
; user can write under the user's documents (KEYLIST.DAT and vxa.spl, results
; in CheckOut beneath it), Start-menu shortcuts that start in the work folder,
; and an uninstaller that removes the programs and keeps the work folder.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=3.1.0 -DSTAGE=folder -DOUTFILE=setup.exe setup.nsi
; STAGE holds what "cmake --install" put there: the programs, KEYLIST.DAT,
; vxa.spl, README.TXT (the installed programs' read-me), LICENSE.TXT and the
; user guide (사용설명서.html with its guide-pictures folder).
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include x64.nsh

!define PRODUCT "Ostravion"
!define COMPANY "Velmora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostravion"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Program Files needs an administrator.
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1042 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1042 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1042 "FileDescription" "${PRODUCT} ${VERSION} 설치 프로그램"
VIAddVersionKey /LANG=1042 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1042 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1042 "LegalCopyright" "(C) ${COMPANY}"

; The work folder: the user's own documents, so the programs in Program
; Files never need to write beside themselves.
Var WorkDir

; The pages, in Korean: welcome, the licence, the folder, the progress and
; the finish page, which offers to start the program in the work folder.
; A silent installation (/S) shows none of them and starts nothing.
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.TXT"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!if /FileExists "${STAGE}\ostravion.exe"
  !define MUI_FINISHPAGE_RUN
  !define MUI_FINISHPAGE_RUN_TEXT "${PRODUCT} 실행"
  !define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!endif
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Korean"

Function .onInit
  SetRegView 64
  SetShellVarContext current
FunctionEnd

!if /FileExists "${STAGE}\ostravion.exe"
; The program reads KEYLIST.DAT and vxa.spl in the folder it starts in.
Function StartProgram
  SetOutPath "$WorkDir"
  Exec '"$INSTDIR\ostravion.exe"'
  SetOutPath "$INSTDIR"
FunctionEnd
!endif

Function un.onInit
  SetRegView 64
  SetShellVarContext current
FunctionEnd

Section "Ostravion"
  SetOutPath "$INSTDIR"
  File "${STAGE}\ostravion-cli.exe"
!if /FileExists "${STAGE}\ostravion.exe"
  File "${STAGE}\ostravion.exe"
!endif
  File "${STAGE}\README.TXT"
  File "${STAGE}\LICENSE.TXT"
  File "${STAGE}\사용설명서.html"
  File /r "${STAGE}\guide-pictures"
  ; Sample files kept with the programs, for a work folder made again later.
  File "/oname=KEYLIST-SAMPLE.DAT" "${STAGE}\KEYLIST.DAT"
  File "${STAGE}\vxa.spl"

  StrCpy $WorkDir "$DOCUMENTS\${PRODUCT}"
  CreateDirectory "$WorkDir"
  CreateDirectory "$WorkDir\CheckOut"
  ; A key list already there is the user's: it is never replaced.
  IfFileExists "$WorkDir\KEYLIST.DAT" keylist_kept
    CopyFiles /SILENT "$INSTDIR\KEYLIST-SAMPLE.DAT" "$WorkDir\KEYLIST.DAT"
  keylist_kept:
  CopyFiles /SILENT "$INSTDIR\vxa.spl" "$WorkDir\vxa.spl"

  ; Shortcuts start in the work folder: the programs read KEYLIST.DAT and
  ; vxa.spl there and write their results to CheckOut beneath it.
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  SetOutPath "$WorkDir"
!if /FileExists "${STAGE}\ostravion.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\ostravion.exe" "" \
    "$INSTDIR\ostravion.exe" 0
!endif
  ; The console finds ostravion-cli by its name: the program folder leads
  ; its PATH (for this console only), and it starts with the usage. (The
  ; value ends at "&"; quotes around it would become part of the name.)
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 명령줄.lnk" "$SYSDIR\cmd.exe" \
    '/k set PATH=$INSTDIR;%PATH%& ostravion-cli --help' "$INSTDIR\ostravion-cli.exe" 0
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 작업 폴더.lnk" "$WorkDir"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\읽어보기.lnk" "$INSTDIR\README.TXT"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 사용 설명서.lnk" "$INSTDIR\사용설명서.html"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 제거.lnk" "$INSTDIR\uninstall.exe"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} ${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ostravion-cli.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the installer put down, file by file; the work folder with
; the key list and the user's results stays.
Section "Uninstall"
  Delete "$INSTDIR\ostravion.exe"
  Delete "$INSTDIR\ostravion-cli.exe"
  Delete "$INSTDIR\README.TXT"
  Delete "$INSTDIR\LICENSE.TXT"
  Delete "$INSTDIR\사용설명서.html"
  Delete "$INSTDIR\guide-pictures\*.png"
  RMDir "$INSTDIR\guide-pictures"
  Delete "$INSTDIR\KEYLIST-SAMPLE.DAT"
  Delete "$INSTDIR\vxa.spl"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 명령줄.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 작업 폴더.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\읽어보기.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 사용 설명서.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} 제거.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
