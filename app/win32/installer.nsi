; The Windows installer: puts quillon.exe, quillon-cli.exe and the data files beside them
; under Program Files with the mark Installed.txt, adds a Start-menu shortcut and an entry
; in Add/Remove Programs, and writes an uninstaller that takes away exactly what was
; installed. Made by makensis from the staged package (package.cmake), with these defines:
;   VERSION  the version, x.y.z
;   STAGE    the staged folder (the same files as the ZIP)
;   FILES    the base name of the two file lists that stage_package.cmake wrote:
;            FILES_install.nsh and FILES_uninstall.nsh
;   OUTFILE  the installer to write
; Silent use: setup.exe /S [/D=folder], and Uninstall.exe /S.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "Quillon"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey "CompanyName" "The Quillon developers"
VIAddVersionKey "LegalCopyright" "The Quillon developers"

!define MUI_ICON "${STAGE}/quillon.ico"
!define MUI_UNICON "${STAGE}/quillon.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\quillon.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; For every user: the shortcut goes to the common Start menu, the key to the 64-bit
; registry that Add/Remove Programs reads.
Function .onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Function un.onInit
  SetShellVarContext all
  SetRegView 64
FunctionEnd

Section "Quillon"
  !include "${FILES}_install.nsh"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  ; The mark of an installed copy: with it the program keeps the user's reference links
  ; in %APPDATA%\Quillon, as a user may not write here. The ZIP's copy has no mark.
  ClearErrors
  FileOpen $0 "$INSTDIR\Installed.txt" w
  IfErrors 0 +2
    Abort "Cannot write $INSTDIR\Installed.txt"
  FileWrite $0 "Installed by the ${PRODUCT} setup: this copy keeps your reference links in$\r$\n"
  FileWrite $0 "%APPDATA%\${PRODUCT}\ReferenceLinks.xml.$\r$\n"
  FileClose $0
  ; The shortcut starts the program in its own folder, where its data files are.
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\quillon.exe" "" "$INSTDIR\quillon.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "The Quillon developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\quillon.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Only the installed files go; a folder that holds files of the user's (a
; ReferenceLinks.xml, pages written there) stays with them, and the users' own
; %APPDATA%\Quillon folders are not touched.
Section "Uninstall"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  !include "${FILES}_uninstall.nsh"
  Delete "$INSTDIR\Installed.txt"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
