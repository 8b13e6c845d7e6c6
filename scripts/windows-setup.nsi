; The installer of TolvexGateway for Windows, built by scripts/windows-dist:
;   makensis -DVERSION=1.2.3 -DSTAGE=DIR -DPROGRAM_FILES=FILE -DICON=FILE -DOUTFILE=FILE
;            windows-setup.nsi
; STAGE holds the files of the package, as the build's install put them there: the program
; folder's files (TolvexGateway.exe, tolvex.exe, manual.htm, LICENSE.txt), which PROGRAM_FILES
; lists in the macros InstallProgramFiles and DeleteProgramFiles, and the shipped
; tolvexgwoption.xml.
;
; It installs for the current user, without administrator rights, into
; %LOCALAPPDATA%\Programs\TolvexGateway (a folder the user can write: the option window saves
; its file beside the program), registers TolVex: links under HKCU\Software\Classes\TolVex, adds
; Start-menu shortcuts to the option window and to the place card ("Open a Place") and an
; entry in the list of installed applications.
; It offers the program for geo: links (a ProgID of its own, named in the program's capabilities
; and in RegisteredApplications, so that Windows lists it among the apps for geo: links) and
; makes it their handler only where no geo class exists yet: never in another program's place.
; Uninstall removes only the keys that still open this installation.
; /S installs silently, /D=FOLDER chooses another folder; the uninstaller takes /S as well.
; Exit status: 0 installed, 1 cancelled, 2 refused (the message says why; nothing was changed).
;
; The user's option file holds their choice: installing again keeps it, uninstalling removes
; it only when it is still the default that was installed. The uninstall key records that
; default's fingerprint, so that a reinstall or a newer version replaces a file still equal to
; it with the new default.
;
; An NSIS script rather than an MSI: whether the option file goes on uninstall depends on its
; bytes, which Windows Installer decides per component (always or never) unless a custom
; action of our own compares them; and a refusal before any change, with our own message, is a
; few lines here where Windows Installer would offer a files-in-use dialog or a reboot.

; A 64-bit installer for the 64-bit programs: it also runs where no 32-bit layer is installed.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true
; The installed files carry the time of their installation, not of the build: the installer
; then holds no build time.
SetDateSave off

!include LogicLib.nsh
!include FileFunc.nsh
!include "${PROGRAM_FILES}"

!define PRODUCT "TolVex Gateway"
!define PUBLISHER "The TolvexGateway authors"
!define PROGRAM "TolvexGateway.exe"
!define OPTION_FILE "tolvexgwoption.xml"
!define SHORTCUT "TolvexGateway Options.lnk"
!define OPEN_SHORTCUT "Open a Place.lnk"
!define CLASS_KEY "Software\Classes\TolVex"
!define PROGID "TolvexGateway.Link"
!define PROGID_KEY "Software\Classes\${PROGID}"
!define APP_KEY "Software\TolvexGateway"
!define CAPABILITIES_KEY "${APP_KEY}\Capabilities"
!define GEO_KEY "Software\Classes\geo"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TolvexGateway"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\TolvexGateway"
; Installing again goes to the folder of the earlier installation.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 the TolvexGateway authors"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Shows MESSAGE (not in silent mode) and ends at once with exit status 2, before anything was
; changed.
!macro Refuse MESSAGE
  MessageBox MB_OK|MB_ICONSTOP "${MESSAGE}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

; A running program's file cannot be opened for writing: that is how a program still running
; from FOLDER is found before any file is replaced.
!macro RefuseWhileRunning FOLDER FILE
  ${If} ${FileExists} "${FOLDER}\${FILE}"
    ClearErrors
    FileOpen $0 "${FOLDER}\${FILE}" a
    ${If} ${Errors}
      !insertmacro Refuse "${FILE} is running from ${FOLDER}.$\r$\nClose it (and its option window), then run this again."
    ${EndIf}
    FileClose $0
  ${EndIf}
!macroend

Function .onInit
  SetShellVarContext current
FunctionEnd

; $R0 = the fingerprint of the file $R1, "LENGTH-FNV1A32" (its length and 32-bit FNV-1a hash),
; or "" when it cannot be read. It tells the default an installation put there from a file
; the user changed.
!macro FileFingerprintFunction un
Function ${un}FileFingerprint
  StrCpy $R0 ""
  ClearErrors
  FileOpen $3 "$R1" r
  ${IfNot} ${Errors}
    StrCpy $4 0x811C9DC5
    StrCpy $5 0
    ${Do}
      ClearErrors
      FileReadByte $3 $6
      ${If} ${Errors}
        ${Break}
      ${EndIf}
      IntOp $4 $4 ^ $6
      IntOp $4 $4 * 16777619
      IntOp $5 $5 + 1
    ${Loop}
    FileClose $3
    IntFmt $4 "%08X" $4
    StrCpy $R0 "$5-$4"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro FileFingerprintFunction ""
!insertmacro FileFingerprintFunction "un."

Section "TolvexGateway"
  SetShellVarContext current
  ; Every check comes before the first change, so that a refusal leaves an earlier
  ; installation as it was.
  ClearErrors
  CreateDirectory "$INSTDIR"
  ClearErrors
  FileOpen $0 "$INSTDIR\setup-write-check.tmp" w
  ${If} ${Errors}
    !insertmacro Refuse "Cannot write to the folder $INSTDIR.$\r$\nChoose a folder you can write to (the option window saves its file beside the program)."
  ${EndIf}
  FileClose $0
  Delete "$INSTDIR\setup-write-check.tmp"
  !insertmacro RefuseWhileRunning "$INSTDIR" "${PROGRAM}"
  !insertmacro RefuseWhileRunning "$INSTDIR" "tolvex.exe"

  SetOutPath "$INSTDIR"
  SetOverwrite on
  !insertmacro InstallProgramFiles
  ; The option file holds the user's choice: an earlier one stays, unless it is still the
  ; default an earlier installation put there, which takes the new default.
  StrCpy $R1 "$INSTDIR\${OPTION_FILE}"
  Call FileFingerprint
  ReadRegStr $7 HKCU "${UNINSTALL_KEY}" "DefaultOptionFile"
  StrCpy $8 $7
  ${If} $7 == ""
    StrCpy $7 "none recorded"
  ${EndIf}
  ${IfNot} ${FileExists} "$R1"
  ${OrIf} $R0 == $7
    File "${STAGE}\${OPTION_FILE}"
    Call FileFingerprint
    StrCpy $8 $R0
  ${EndIf}
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; TolVex: links. The command is a plain string with the folder written out: the shell then
  ; substitutes the link for %1 and nothing else.
  WriteRegStr HKCU "${CLASS_KEY}" "" "URL:TolVex Protocol"
  WriteRegStr HKCU "${CLASS_KEY}" "URL Protocol" ""
  WriteRegStr HKCU "${CLASS_KEY}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${CLASS_KEY}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'

  ; The program's own ProgID and capabilities: Windows lists it for geo: and TolVex: links in
  ; Settings, Default apps, where the user may choose it, without anything being taken over.
  WriteRegStr HKCU "${PROGID_KEY}" "" "TolVex Gateway link"
  WriteRegStr HKCU "${PROGID_KEY}" "URL Protocol" ""
  WriteRegStr HKCU "${PROGID_KEY}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${PROGID_KEY}\Application" "ApplicationName" "${PRODUCT}"
  WriteRegStr HKCU "${PROGID_KEY}\Application" "ApplicationIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${PROGID_KEY}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
  WriteRegStr HKCU "${CAPABILITIES_KEY}" "ApplicationName" "${PRODUCT}"
  WriteRegStr HKCU "${CAPABILITIES_KEY}" "ApplicationDescription" \
    "Opens TolVex: and geo: links in the map application of your choice"
  WriteRegStr HKCU "${CAPABILITIES_KEY}\URLAssociations" "geo" "${PROGID}"
  WriteRegStr HKCU "${CAPABILITIES_KEY}\URLAssociations" "tolvex" "${PROGID}"
  WriteRegStr HKCU "Software\RegisteredApplications" "TolvexGateway" "${CAPABILITIES_KEY}"

  ; geo: links open with the program only where no geo class exists, in the merged view
  ; (HKCR) or the user's own; a class that opens this installation is an earlier install's
  ; and is written again.
  ReadRegStr $1 HKCU "${GEO_KEY}\shell\open\command" ""
  ClearErrors
  EnumRegKey $2 HKCR "geo" 0
  ${If} ${Errors}
    ClearErrors
    EnumRegKey $2 HKCU "${GEO_KEY}" 0
  ${EndIf}
  ${If} ${Errors}
  ${OrIf} $1 == '"$INSTDIR\${PROGRAM}" "%1"'
    WriteRegStr HKCU "${GEO_KEY}" "" "URL:geo Protocol"
    WriteRegStr HKCU "${GEO_KEY}" "URL Protocol" ""
    WriteRegStr HKCU "${GEO_KEY}\DefaultIcon" "" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${GEO_KEY}\shell\open\command" "" '"$INSTDIR\${PROGRAM}" "%1"'
  ${Else}
    DetailPrint "geo: links stay with the program that has them; choose TolVex Gateway for them in Settings, Default apps."
  ${EndIf}

  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\${PROGRAM}" "option" "$INSTDIR\${PROGRAM}" 0
  CreateShortcut "$SMPROGRAMS\${OPEN_SHORTCUT}" "$INSTDIR\${PROGRAM}" "open" "$INSTDIR\${PROGRAM}" 0

  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DefaultOptionFile" $8
SectionEnd

; $R0 = "same" when the files $R1 and $R2 hold the same bytes, "different" otherwise.
Function un.CompareFiles
  StrCpy $R0 "different"
  ClearErrors
  FileOpen $3 "$R1" r
  ${IfNot} ${Errors}
    FileOpen $4 "$R2" r
    ${IfNot} ${Errors}
      ${Do}
        ClearErrors
        FileReadByte $3 $5
        ${If} ${Errors}
          ClearErrors
          FileReadByte $4 $6
          ${If} ${Errors}
            StrCpy $R0 "same"
          ${EndIf}
          ${Break}
        ${EndIf}
        FileReadByte $4 $6
        ${If} ${Errors}
        ${OrIf} $5 != $6
          ${Break}
        ${EndIf}
      ${Loop}
      FileClose $4
    ${EndIf}
    FileClose $3
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Uninstall"
  SetShellVarContext current
  !insertmacro RefuseWhileRunning "$INSTDIR" "${PROGRAM}"
  !insertmacro RefuseWhileRunning "$INSTDIR" "tolvex.exe"

  !insertmacro DeleteProgramFiles
  ; The option file goes only while it is the default that was installed: a changed file holds
  ; the user's choice or their own options. An installation that recorded no default compares
  ; with the shipped one.
  StrCpy $R1 "$INSTDIR\${OPTION_FILE}"
  ReadRegStr $7 HKCU "${UNINSTALL_KEY}" "DefaultOptionFile"
  ${If} $7 != ""
    Call un.FileFingerprint
    ${If} $R0 == $7
      StrCpy $R0 "same"
    ${EndIf}
  ${Else}
    InitPluginsDir
    File "/oname=$PLUGINSDIR\shipped.xml" "${STAGE}\${OPTION_FILE}"
    StrCpy $R2 "$PLUGINSDIR\shipped.xml"
    Call un.CompareFiles
  ${EndIf}
  ${If} $R0 == "same"
    Delete "$INSTDIR\${OPTION_FILE}"
  ${ElseIf} ${FileExists} "$INSTDIR\${OPTION_FILE}"
    DetailPrint "Kept $INSTDIR\${OPTION_FILE}: it differs from the default that was installed."
  ${EndIf}
  ; The lock file that writers of the option file take turns on.
  Delete "$INSTDIR\.${OPTION_FILE}.lock"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$SMPROGRAMS\${OPEN_SHORTCUT}"

  ; The link registration goes only while it still opens this installation.
  ReadRegStr $0 HKCU "${CLASS_KEY}\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\${PROGRAM}" "%1"'
    DeleteRegKey HKCU "${CLASS_KEY}"
  ${EndIf}
  ReadRegStr $0 HKCU "${GEO_KEY}\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\${PROGRAM}" "%1"'
    DeleteRegKey HKCU "${GEO_KEY}"
  ${EndIf}
  ReadRegStr $0 HKCU "${PROGID_KEY}\shell\open\command" ""
  ${If} $0 == '"$INSTDIR\${PROGRAM}" "%1"'
    DeleteRegKey HKCU "${PROGID_KEY}"
    DeleteRegKey HKCU "${CAPABILITIES_KEY}"
    DeleteRegKey /ifempty HKCU "${APP_KEY}"
    DeleteRegValue HKCU "Software\RegisteredApplications" "TolvexGateway"
  ${EndIf}
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
