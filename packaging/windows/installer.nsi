; The setup program for Windows: installs vegalyra.exe into Program Files,
; adds a Start-menu entry and an uninstaller that Apps & features lists.
; Built by the windows_packages target (scripts/windows) with
;   makensis -DVERSION=5.1 -DVERSION_MAJOR=5 -DVERSION_MINOR=1
;            -DSTAGE=<folder with vegalyra.exe and licenses\> -DICON=<.ico> -DOUTFILE=<setup.exe>
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "VEGA & LYRA"
; Labels take a single & as the mark of an underlined access key.
!define PRODUCT_LABEL "VEGA && LYRA"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\vegalyra"

Name "${PRODUCT} ${VERSION}" "${PRODUCT_LABEL} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\VEGA LYRA"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT_LABEL} ${VERSION}"

VIProductVersion "${VERSION_MAJOR}.${VERSION_MINOR}.0.0"
VIAddVersionKey "ProductName" "${PRODUCT} configuration tool"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "VEGA & LYRA tool maintainers"
VIAddVersionKey "LegalCopyright" "VEGA & LYRA tool maintainers; Qt: LGPL-3"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; "Run" on the last page starts the Start-menu entry through Explorer, so
; the tool runs as the signed-in user rather than elevated like setup, and
; in the entry's working folder.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunFromStartMenu
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "VEGA & LYRA"
    SetShellVarContext all
    SetRegView 64
    SetOutPath "$INSTDIR"
    File "${STAGE}\vegalyra.exe"
    SetOutPath "$INSTDIR\licenses"
    File "${STAGE}\licenses\*.*"
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    ; The entry starts the tool in the user's Documents folder, where SAVE
    ; and LOAD open (the working folder), not in Program Files, which a
    ; normal user cannot write. The shortcut takes the folder from $OUTDIR;
    ; Windows expands the variable for whoever starts it.
    StrCpy $OUTDIR "%USERPROFILE%\Documents"
    CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\vegalyra.exe" "" "$INSTDIR\vegalyra.exe" 0
    SetOutPath "$INSTDIR"

    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} configuration tool"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "VEGA & LYRA tool maintainers"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\vegalyra.exe,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    ; The size Apps & features shows, in KiB.
    SectionGetSize 0 $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function RunFromStartMenu
    SetShellVarContext all
    Exec '"$WINDIR\explorer.exe" "$SMPROGRAMS\${PRODUCT}.lnk"'
FunctionEnd

Section "Uninstall"
    SetShellVarContext all
    SetRegView 64
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\vegalyra.exe"
    RMDir /r "$INSTDIR\licenses"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
