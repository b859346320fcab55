; SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
; SPDX-License-Identifier: GPL-3.0-or-later
; The setup program for Windows: shows the licence, installs vegalyra.exe
; with it into Program Files, adds a Start-menu entry and an uninstaller
; that Apps & features lists. The uninstaller keeps the pilot's history and
; models unless asked to remove them (silently: uninstall.exe /S /REMOVEDATA).
; Built by the windows_packages target (scripts/windows) with
;   makensis -DVERSION=5.1 -DVERSION_MAJOR=5 -DVERSION_MINOR=1
;            -DSTAGE=<folder with vegalyra.exe, LICENSE.txt and licenses\> -DICON=<.ico> -DOUTFILE=<setup.exe>
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
!include "FileFunc.nsh"
!include "Sections.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; "Run" on the last page starts the Start-menu entry through Explorer, so
; the tool runs as the signed-in user rather than elevated like setup, and
; in the entry's working folder.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION RunFromStartMenu
!insertmacro MUI_PAGE_WELCOME
; The GPL asks nothing of someone who only runs the program: the page shows
; what it allows, and Next goes on.
!define MUI_LICENSEPAGE_TEXT_TOP "This program is free software under the GNU General Public License, version 3 or later."
!define MUI_LICENSEPAGE_TEXT_BOTTOM "You may run it, study and change it, and hand it on, changed or not, under the same licence and with its source. It comes with no warranty. The licence is installed beside the program as LICENSE.txt."
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
; What the tool kept for the pilot is theirs: it stays unless they tick it.
!define MUI_PAGE_HEADER_TEXT "Your history and models"
!define MUI_PAGE_HEADER_SUBTEXT "They stay on this computer unless you remove them too."
!define MUI_COMPONENTSPAGE_TEXT_TOP "The settings history and the models in $LOCALAPPDATA\vegalyra stay, so that a later installation finds them again. Tick the box to remove them too, with the remembered serial port (HKEY_CURRENT_USER\Software\vegalyra)."
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; A running vegalyra.exe cannot be replaced or removed: Windows keeps the
; file of a running program open. Setup and the uninstaller find out before
; they change anything, ask the pilot to close the tool, and stop with an
; error (exit code 2) if it stays open, rather than leave the old program
; behind without its entries or report a success.
!macro WAIT_UNTIL_CLOSED ID
    IfFileExists "$INSTDIR\vegalyra.exe" 0 closed_${ID}
    retry_${ID}:
    ClearErrors
    FileOpen $0 "$INSTDIR\vegalyra.exe" a
    IfErrors 0 writable_${ID}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
        "${PRODUCT} is running. Close it, then press Retry.$\n$\n$INSTDIR\vegalyra.exe is in use and cannot be changed." \
        /SD IDCANCEL IDRETRY retry_${ID}
    DetailPrint "${PRODUCT} is still running: $INSTDIR\vegalyra.exe is in use. Nothing was changed."
    SetErrorLevel 2
    Abort "${PRODUCT} is still running. Nothing was changed."
    writable_${ID}:
    FileClose $0
    closed_${ID}:
!macroend

Section "VEGA & LYRA"
    SetShellVarContext all
    SetRegView 64
    !insertmacro WAIT_UNTIL_CLOSED install
    SetOutPath "$INSTDIR"
    File "${STAGE}\vegalyra.exe"
    File "${STAGE}\LICENSE.txt"
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
    ; Run in place ("_?="), so that a software manager gets the uninstaller's
    ; own exit code: a copy started from the temporary folder would return 0
    ; at once, even when the running tool makes it remove nothing.
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
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

Section "un.The program" SecProgram
    SectionIn RO
    SetShellVarContext all
    SetRegView 64
    !insertmacro WAIT_UNTIL_CLOSED uninstall
    Delete "$SMPROGRAMS\${PRODUCT}.lnk"
    Delete "$INSTDIR\vegalyra.exe"
    Delete "$INSTDIR\LICENSE.txt"
    RMDir /r "$INSTDIR\licenses"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; The history and models of whoever runs the uninstaller, and the port the
; tool remembers for them. Unticked unless /REMOVEDATA is given.
Section /o "un.History, models and the remembered port" SecData
    SetShellVarContext current
    RMDir /r "$LOCALAPPDATA\vegalyra"
    DeleteRegKey HKCU "Software\vegalyra"
SectionEnd

Function un.onInit
    ; The page that names the pilot's data shows their own folder.
    SetShellVarContext current
    ${un.GetParameters} $R0
    ClearErrors
    ${un.GetOptions} $R0 "/REMOVEDATA" $R1
    IfErrors +2
    SectionSetFlags ${SecData} ${SF_SELECTED}
    ; Started in place (QuietUninstallString): a running tool is refused
    ; here, with exit code 2. Otherwise a copy outside the folder does the
    ; work, as a plain start does, so that the folder and this program can
    ; go; it takes the same options.
    StrCmp $EXEDIR $INSTDIR 0 not_in_place
    !insertmacro WAIT_UNTIL_CLOSED in_place
    GetTempFileName $R2
    Delete $R2
    CreateDirectory $R2
    ClearErrors
    CopyFiles /SILENT "$EXEPATH" "$R2\uninstall.exe"
    IfErrors 0 copied
    SetErrorLevel 2
    Abort "Cannot copy the uninstaller to $R2. Nothing was changed."
    copied:
    Exec '"$R2\uninstall.exe" $R0 _?=$INSTDIR'
    ; The copy is running now: it and its folder go at the next restart,
    ; as the copy a plain start makes does, instead of staying in TEMP.
    Delete /REBOOTOK "$R2\uninstall.exe"
    RMDir /REBOOTOK "$R2"
    SetErrorLevel 0
    Quit
    not_in_place:
FunctionEnd
