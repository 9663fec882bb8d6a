; The Windows installer of Ovilant, built by scripts/windows-package.sh with
; Debian's NSIS:
;   makensis -DVERSION=1.0 -DSOURCE=<the folder that runs as it is>
;            -DFILELIST=<uninstall list> -DOUTFILE=<setup.exe> ovilant.nsi
; It copies the folder, adds the Start menu entry リハビリ実施計画書, offers
; the editor under "Open with" for PDF files without taking the default PDF
; viewer, and registers an uninstaller. For all users (administrator) or for
; the current user only, without administrator rights; silently:
;   setup.exe /S /CurrentUser     or     setup.exe /S /AllUsers
; The settings (HKCU\Software\Quenmark\Ovilant), the pick lists and the
; index cache are the user's and stay when the program is removed.

; A 64-bit installer for the 64-bit programs (it also runs under a Wine
; without 32-bit support).
Target amd64-unicode
SetCompressor /SOLID lzma

!ifndef VERSION | SOURCE | FILELIST | OUTFILE
  !error "VERSION, SOURCE, FILELIST and OUTFILE must be defined"
!endif

!define APP_NAME "Ovilant"
!define MENU_NAME "リハビリ実施計画書"
!define COMPANY "Quenmark"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ovilant"
!define PROGID "Quenmark.Ovilant.pdf"

Name "${MENU_NAME} (${APP_NAME})"
OutFile "${OUTFILE}"
BrandingText "${COMPANY} ${APP_NAME} ${VERSION}"

; Per-user without administrator rights, or for all users.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP_NAME}"
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include x64.nsh
!include MultiUser.nsh
!include MUI2.nsh

!define MUI_ICON "ovilant.ico"
!define MUI_UNICON "ovilant.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\ovilant.exe"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Version and maker in the installer's own resources.
VIProductVersion "${VERSION}.0.0"
VIFileVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${APP_NAME}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${APP_NAME} ${VERSION} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "© 2026 ${COMPANY}"

; The 64-bit registry view, as the programs read it.
Function .onInit
  SetRegView 64
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Ovilant"
  SetOutPath "$INSTDIR"
  File /r "${SOURCE}/*"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The Start menu entry (the user's or everyone's, as chosen).
  CreateShortcut "$SMPROGRAMS\${MENU_NAME}.lnk" "$INSTDIR\ovilant.exe" "" "$INSTDIR\ovilant.exe" 0

  ; "Open with" for PDF files: a ProgID listed among the .pdf file type's
  ; OpenWithProgids, and the program under Applications. The default value
  ; of .pdf (the default viewer) is left alone.
  WriteRegStr SHCTX "Software\Classes\${PROGID}" "" "${MENU_NAME}"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\DefaultIcon" "" "$INSTDIR\ovilant.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROGID}\shell\open\command" "" '"$INSTDIR\ovilant.exe" "%1"'
  WriteRegStr SHCTX "Software\Classes\.pdf\OpenWithProgids" "${PROGID}" ""
  WriteRegStr SHCTX "Software\Classes\Applications\ovilant.exe" "FriendlyAppName" "${MENU_NAME}"
  WriteRegStr SHCTX "Software\Classes\Applications\ovilant.exe\SupportedTypes" ".pdf" ""
  WriteRegStr SHCTX "Software\Classes\Applications\ovilant.exe\shell\open\command" "" '"$INSTDIR\ovilant.exe" "%1"'

  ; Programs and Features.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${MENU_NAME} (${APP_NAME})"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ovilant.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S /$MultiUser.InstallMode'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1

  ; Explorer picks up the new file association.
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd

Section "Uninstall"
  ; Only the files the installer put there (the list is made from the
  ; folder it packed), then the folders if they are empty.
  !include "${FILELIST}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${MENU_NAME}.lnk"
  DeleteRegValue SHCTX "Software\Classes\.pdf\OpenWithProgids" "${PROGID}"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.pdf\OpenWithProgids"
  DeleteRegKey /IfEmpty SHCTX "Software\Classes\.pdf"
  DeleteRegKey SHCTX "Software\Classes\${PROGID}"
  DeleteRegKey SHCTX "Software\Classes\Applications\ovilant.exe"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
