# SPDX-FileCopyrightText: 2026 Gomirlo developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The installer a teacher or a technician runs: GomirloSetup.exe, made by
# scripts/windows.sh
#     makensis -DVERSION=<x.y.z> -DPROGRAM=<folder with gomirlo.exe, suoni/, LICENZE/>
#              -DCUE_FOLDER=suoni -DCUE_RIGHT=<wav> -DCUE_WRONG=<wav>
#              -DLICENCES=<licences.nsh> -DICON=<gomirlo.ico> -DOUTFILE=<GomirloSetup.exe> gomirlo.nsi
# It installs for the user who runs it, with no administrator rights (school
# PCs seldom grant them), or, for an administrator who chooses it on the first
# page or passes "/AllUsers", for everyone on the PC, into Program Files.
# "/S" installs without a question; "/D=<folder>", last on the command line,
# chooses another folder.

# A 64-bit installer, for a 64-bit game: it runs wherever the game can, and
# under a Wine without its 32-bit half.
Target amd64-unicode
SetCompressor /SOLID lzma
# Sharp at any scale of the screen.
ManifestDPIAware true
# A file that cannot be replaced stops the installation, instead of leaving an
# old file beside new ones.
AllowSkipFiles off

!ifndef VERSION | PROGRAM | CUE_FOLDER | CUE_RIGHT | CUE_WRONG | LICENCES | ICON | OUTFILE
    !error "VERSION, PROGRAM, CUE_FOLDER, CUE_RIGHT, CUE_WRONG, LICENCES, ICON and OUTFILE must be defined (scripts/windows.sh does)"
!endif

# Settings' list of installed apps reads the uninstall key of the user (an
# installation for one user) or of the PC (for all users).
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Gomirlo"

# NSIS's own two-way installation. For one user by default; for all users
# only when asked, since only an administrator may.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_DEFAULT_CURRENTUSER
!define MULTIUSER_INSTALLMODE_INSTDIR "Gomirlo"
!define MULTIUSER_USE_PROGRAMFILES64
# Installing again goes where the game already is.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
# MultiUser.nsh shows this in a message box without /SD, which a silent run
# would wait on for ever: the text closes its quotes to give it one.
!define MULTIUSER_INIT_TEXT_ALLUSERSNOTPOSSIBLE 'Per installare o rimuovere Gomirlo per tutti gli utenti di questo PC servono i diritti di amministratore." /SD "IDOK'
!define MULTIUSER_INIT_FUNCTIONQUIT Refused
!define MULTIUSER_INIT_un.FUNCTIONQUIT un.Refused
!include "MultiUser.nsh"
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "${LICENCES}"

Name "Gomirlo"
OutFile "${OUTFILE}"
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
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartGame
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

# The game marks that it runs (app/running_windows.cpp). While it does, its
# files are not touched: the user is asked to close it, and a silent run
# fails, with an exit code a deployment tool sees.
!macro GAME_CLOSED PREFIX
    Function ${PREFIX}GameClosed
        again:
        # 0x100000: SYNCHRONIZE, the least right that opens it.
        System::Call 'kernel32::OpenMutexW(i 0x100000, i 0, w "Local\Gomirlo") p .r0'
        StrCmp $0 0 closed
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Chiudi Gomirlo e riprova" /SD IDCANCEL IDRETRY again
        Call ${PREFIX}Refused
        closed:
    FunctionEnd

    Function ${PREFIX}Refused
        SetErrorLevel 2
        Quit
    FunctionEnd
!macroend
!insertmacro GAME_CLOSED ""
!insertmacro GAME_CLOSED "un."

# Installed for all users, the installer runs with an administrator's rights,
# maybe another account's: the shell starts the game for whoever is logged on.
Function StartGame
    ${If} $MultiUser.InstallMode == AllUsers
        Exec '"$WINDIR\explorer.exe" "$INSTDIR\gomirlo.exe"'
    ${Else}
        Exec '"$INSTDIR\gomirlo.exe"'
    ${EndIf}
FunctionEnd

Function .onInit
    !insertmacro MULTIUSER_INIT
FunctionEnd

Section
    Call GameClosed

    # The game first: if it cannot be replaced, nothing else has changed.
    SetOutPath "$INSTDIR"
    File "${PROGRAM}/gomirlo.exe"
    # The game finds its cues in suoni\ beside it.
    SetOutPath "$INSTDIR\${CUE_FOLDER}"
    File "${PROGRAM}/${CUE_FOLDER}/${CUE_RIGHT}"
    File "${PROGRAM}/${CUE_FOLDER}/${CUE_WRONG}"
    SetOutPath "$INSTDIR\LICENZE"
    !insertmacro INSTALL_LICENCES
    SetOutPath "$INSTDIR"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    # The Start menu, and the key, of the user or of all users, as chosen
    # (MultiUser.nsh sets the context).
    CreateShortcut "$SMPROGRAMS\Gomirlo.lnk" "$INSTDIR\gomirlo.exe" "" "$INSTDIR\gomirlo.exe" 0

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Gomirlo"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\gomirlo.exe,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Gomirlo developers"
    # The uninstaller is told which installation it removes.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode /S'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    # In KiB, as Settings shows it.
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Function un.onInit
    # The folder removed is the one the uninstaller lies in, whatever the
    # registry says of another installation.
    StrCpy $1 $INSTDIR
    !insertmacro MULTIUSER_UNINIT
    StrCpy $INSTDIR $1
FunctionEnd

# Removes what the installer put there and nothing else: each child's record
# (%APPDATA%\gomirlo) stays, and so do cues of the teacher's own in suoni\.
Section "Uninstall"
    Call un.GameClosed

    # The game first: while it is there (held by a copy that runs in another
    # session), everything stays, its uninstaller and its key included, so that
    # uninstalling can be tried again.
    Delete "$INSTDIR\gomirlo.exe"
    ${If} ${FileExists} "$INSTDIR\gomirlo.exe"
        MessageBox MB_OK|MB_ICONSTOP "Chiudi Gomirlo e riprova" /SD IDOK
        Call un.Refused
    ${EndIf}
    Delete "$SMPROGRAMS\Gomirlo.lnk"
    Delete "$INSTDIR\${CUE_FOLDER}\${CUE_RIGHT}"
    Delete "$INSTDIR\${CUE_FOLDER}\${CUE_WRONG}"
    RMDir "$INSTDIR\${CUE_FOLDER}"
    !insertmacro REMOVE_LICENCES
    RMDir "$INSTDIR\LICENZE"
    Delete "$INSTDIR\Uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
