; The Windows installer: puts the staged program folder under Program Files, writes the two
; settings the program reads, makes the log folder, a Start-menu shortcut, the uninstaller and its
; Add/Remove Programs entry. The uninstaller takes all of them away again.
;
; Defines, all required (the build's `installer` target passes them):
;   ARCH         x64 or x86
;   VERSION      the project version, three numbers
;   STAGE_DIR    the staged installation, one flat program folder
;   STAGED_FILES the include that lists its files (written by list_staged_files.cmake)
;   OUTPUT_FILE  the installer to write

!macro REQUIRE_DEFINE name
  !ifndef ${name}
    !error "${name} is not defined"
  !endif
!macroend
!insertmacro REQUIRE_DEFINE ARCH
!insertmacro REQUIRE_DEFINE VERSION
!insertmacro REQUIRE_DEFINE STAGE_DIR
!insertmacro REQUIRE_DEFINE STAGED_FILES
!insertmacro REQUIRE_DEFINE OUTPUT_FILE

!if "${ARCH}" == "x64"
  ; A 64-bit installer, so that it writes the registry view and Program Files folder that the
  ; 64-bit program reads.
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define REGISTRY_VIEW 64
!else if "${ARCH}" == "x86"
  Target x86-unicode
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define REGISTRY_VIEW 32
!else
  !error "ARCH must be x64 or x86, not ${ARCH}"
!endif

!define PRODUCT_NAME "Tarnwick for Adobe PDF"
!define SETTINGS_KEY "TWPDF"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarnwick"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT_NAME}.lnk"
!define LOG_PARENT "$LOCALAPPDATA\Tarnwick"
!define LOG_FOLDER "${LOG_PARENT}\Log"

!include "${STAGED_FILES}"
; The desktop program gets the shortcut and the uninstall icon, and removes its own automation
; entries on the way out; a build without it (its front end not built) installs the rest.
!if /FileExists "${STAGE_DIR}/tarnwick.exe"
  !define DESKTOP_PROGRAM "tarnwick.exe"
!endif

Name "${PRODUCT_NAME}"
OutFile "${OUTPUT_FILE}"
InstallDir "${PROGRAM_FILES}\Tarnwick"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT_NAME} Setup"
; No copyright holder is named anywhere in the program; the key is there because Windows shows it.
VIAddVersionKey "LegalCopyright" ""

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Asking for administrator rights is not having them: where the request is not honoured (no user
; account control), writing to Program Files and the machine's registry would fail half-way.
!macro REQUIRE_ADMINISTRATOR
  UserInfo::GetAccountType
  Pop $0
  StrCmp $0 "Admin" +4
    MessageBox MB_ICONSTOP "Only an administrator can install or remove ${PRODUCT_NAME}." /SD IDOK
    SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
    Quit
!macroend

Function .onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  SetRegView ${REGISTRY_VIEW}
FunctionEnd

Function un.onInit
  !insertmacro REQUIRE_ADMINISTRATOR
  SetRegView ${REGISTRY_VIEW}
FunctionEnd

Section "Program"
  !insertmacro INSTALL_STAGED_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The program finds its folder and its log folder only through these two values. Both are
  ; written without a trailing backslash, the form in which the program keeps its folder.
  ; The log folder is the installing user's: the settings are machine-wide and hold one folder.
  SetShellVarContext current
  CreateDirectory "${LOG_FOLDER}"
  WriteRegStr HKCR "${SETTINGS_KEY}" "FilePath" "$INSTDIR"
  WriteRegStr HKCR "${SETTINGS_KEY}" "LogPath" "${LOG_FOLDER}"

  ; Program folder and settings serve every user, so the shortcut does too. Its working folder
  ; is the program folder, the output path at this point.
  !ifdef DESKTOP_PROGRAM
    SetShellVarContext all
    SetOutPath "$INSTDIR"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${DESKTOP_PROGRAM}"
  !endif

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  !ifdef DESKTOP_PROGRAM
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${DESKTOP_PROGRAM}"
  !endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${STAGED_SIZE_KB}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  ; The log folder as installed, which need not be the uninstalling user's own.
  ReadRegStr $0 HKCR "${SETTINGS_KEY}" "LogPath"

  ; Each start of the program enters its automation class in the registry; only the program
  ; knows those entries, so it removes them before it goes.
  !ifdef DESKTOP_PROGRAM
    IfFileExists "$INSTDIR\${DESKTOP_PROGRAM}" 0 +2
      ExecWait '"$INSTDIR\${DESKTOP_PROGRAM}" /Unregister'
  !endif

  ; Only what was installed is deleted, never the folder wholesale: whatever else the user put
  ; there stays, and so does the folder then.
  !insertmacro REMOVE_STAGED_FILES
  Delete "$INSTDIR\uninstall.exe"
  !ifdef DESKTOP_PROGRAM
    SetShellVarContext all
    Delete "${SHORTCUT}"
  !endif
  DeleteRegKey HKCR "${SETTINGS_KEY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; The activity log is the user's record of the files repaired, not part of the program: a log
  ; folder that holds one stays, an empty one goes.
  StrCmp $0 "" +2
    RMDir "$0"
  SetShellVarContext current
  RMDir "${LOG_PARENT}"

  RMDir "$INSTDIR"
SectionEnd
