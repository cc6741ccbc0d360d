# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The installer a teacher runs: GomirloSetup.exe, made by scripts/windows.sh
#     makensis -DVERSION=<x.y.z> -DPROGRAM=<folder with gomirlo.exe and suoni/>
#              -DICON=<gomirlo.ico> -DOUTFILE=<GomirloSetup.exe> gomirlo.nsi
# It installs for the user who runs it, with no administrator rights: school
# PCs seldom grant them. "/S" installs without a question; "/D=<folder>",
# last on the command line, chooses another folder.

# A 64-bit installer, for a 64-bit game: it runs wherever the game can, and
# under a Wine without its 32-bit half.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "FileFunc.nsh"

!ifndef VERSION | PROGRAM | ICON | OUTFILE
    !error "VERSION, PROGRAM, ICON and OUTFILE must be defined (scripts/windows.sh does)"
!endif

# Settings' list of installed apps reads the user's own uninstall key.
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Gomirlo"

Name "Gomirlo"
OutFile "${OUTFILE}"
# Where Windows puts programs installed for one user.
InstallDir "$LOCALAPPDATA\Programs\Gomirlo"
# Installing again goes where the game already is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1040 "ProductName" "Gomirlo"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di Gomirlo"
VIAddVersionKey /LANG=1040 "CompanyName" "Gomirlo developers"
VIAddVersionKey /LANG=1040 "LegalCopyright" "2026 Gomirlo developers, GPL-3.0-or-later"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\gomirlo.exe"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

Section
    # The user's own Start menu and folders: nothing is written for others.
    SetShellVarContext current

    # The game finds its cues in suoni\ beside it.
    SetOutPath "$INSTDIR\suoni"
    File "${PROGRAM}/suoni/*.wav"
    SetOutPath "$INSTDIR"
    File "${PROGRAM}/gomirlo.exe"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    CreateShortcut "$SMPROGRAMS\Gomirlo.lnk" "$INSTDIR\gomirlo.exe" "" "$INSTDIR\gomirlo.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Gomirlo"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\gomirlo.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Gomirlo developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    # In KiB, as Settings shows it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

# Removes what the installer put there and nothing else: each child's record
# (%APPDATA%\gomirlo) stays, and so do cues of the teacher's own in suoni\.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\Gomirlo.lnk"
    Delete "$INSTDIR\gomirlo.exe"
    Delete "$INSTDIR\suoni\Esatto.wav"
    Delete "$INSTDIR\suoni\no.wav"
    RMDir "$INSTDIR\suoni"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
