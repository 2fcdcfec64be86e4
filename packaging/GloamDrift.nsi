; GloamDrift setup. Installs GloamDrift.scr in one of two modes:
;   AllUsers     into the folder Windows lists screen savers from, the native System32, with the
;                uninstaller in Program Files and the uninstall entry under HKLM; needs
;                administrator rights.
;   CurrentUser  the screen saver and its uninstaller into %LOCALAPPDATA%\Programs\GloamDrift (or
;                the folder /D= names), the uninstall entry under HKCU; needs no rights.
; Either way it installs the build for this machine: the 64-bit one on x64 Windows, the 32-bit one
; on 32-bit and on ARM64 Windows (Windows 10 on ARM runs x86 programs but not x64 ones).
;
; The installer asks for no rights itself. An all-users install started without them runs this
; program again with administrator rights ("runas") for the machine-wide part only; everything
; that belongs to the signed-in user (SCRNSAVE.EXE, opening the Screen Saver Settings) stays in the
; first process, which runs as that user. A standard user who elevates does so with another
; account, whose HKCU is not theirs. When the whole installer already runs as an account other
; than the signed-in user's, it leaves the user's settings alone and says how to do that step.
; The uninstaller works the same way.
;
; It is a 32-bit program so that it runs on every Windows. On 64-bit Windows its view of System32
; is redirected to SysWOW64, so every access to the installed file happens with redirection turned
; off, and the all-users uninstall entry goes to the 64-bit registry view.
;
; Built by scripts/release.sh, which passes the version from res/version.h:
;   makensis -DVERSION=1.01 -DVERSION_QUAD=1.1.0.0 -DSTAGE=<folder holding x86/ and x64/>
;            -DOUTFILE=<setup.exe> [-DSIGN=<command that signs the file it is given>]
;            packaging/GloamDrift.nsi
; -DTARGET=amd64-unicode makes the same installer a 64-bit program (for machines that cannot run
; 32-bit programs, such as a Linux without 32-bit support running Wine). The release tests also
; build it with SIMULATE_ACCOUNT=standard|other and SIMULATE_MACHINE=<IMAGE_FILE_MACHINE_*>, to
; take the paths for a standard user, for another account and for another machine under Wine,
; where every program runs as an administrator on x64; a release never defines them.
;
; Switches: /S silent; /AllUsers or /CurrentUser; /D=<folder> (per user only, last on the line);
; /CURRENT with /S also makes it the current screen saver. /ELEVATED=<file> is internal: the
; elevated half of an all-users install, which writes a failure's message into <file>.
; Exit codes (README.txt lists them): 0 done; 1 cancelled (also: administrator rights refused);
; 2 failed, nothing was changed; 3 GloamDrift.scr is in use, nothing was changed; 4 installed, but
; not made the current screen saver (the installer runs as another account); 5 the command line
; is refused, nothing was changed; 6 a per-user install run as another account is refused,
; nothing was changed; 740 administrator rights needed and not had. A failure is explained in a
; message box, or on standard error when silent.

Unicode true
!ifdef TARGET
    Target ${TARGET}
!endif

!ifndef VERSION | VERSION_QUAD | STAGE | OUTFILE
    !error "pass -DVERSION, -DVERSION_QUAD, -DSTAGE and -DOUTFILE (scripts/release.sh does)"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh
!include nsDialogs.nsh

!define PRODUCT "Gloam Drift Screen Saver"
!define PUBLISHER "The GloamDrift developers"
!define SCR "GloamDrift.scr"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GloamDrift"
!define DESKTOP_KEY "Control Panel\Desktop"

!define EXIT_CANCELLED 1
!define EXIT_FAILED 2
!define EXIT_IN_USE 3
!define EXIT_NOT_MADE_CURRENT 4
!define EXIT_BAD_COMMAND_LINE 5
!define EXIT_OTHER_ACCOUNT 6
!define EXIT_NOT_ADMIN 740

!define ERROR_SHARING_VIOLATION 32
!define ERROR_CANCELLED 1223
!define MACHINE_AMD64 34404

!if ${NSIS_PTR_SIZE} > 4
    !define PAD "i 0,"
!else
    !define PAD ""
!endif

!ifdef SIGN
    ; Signs the uninstaller before it is packed, and the installer once it is written.
    !uninstfinalize '${SIGN} "%1"' = 0
    !finalize '${SIGN} "%1"' = 0
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; Rights are asked for only by the all-users half (see above).
RequestExecutionLevel user
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
; No InstallDir: an $INSTDIR that is not empty in .onInit was given with /D=.

Var Mode          ; AllUsers or CurrentUser
Var ScrDir        ; where GloamDrift.scr goes: $SYSDIR (seen without redirection) or $INSTDIR
Var Scr           ; $ScrDir\GloamDrift.scr
Var Admin         ; 1: this process has administrator rights
Var AdminUser     ; 1: it could have them without another account (an elevated or filtered admin)
Var OtherAccount  ; 1: it runs as another account than the signed-in user's (the shell's)
Var Elevated      ; the elevated half: the file its failure's message goes to; "" otherwise
Var Params
Var DirGiven      ; 1: /D= named $INSTDIR
Var FinishText
Var ModePage.AllUsers

!define MUI_ICON "${__FILEDIR__}/../res/app.ico"
!define MUI_UNICON "${__FILEDIR__}/../res/app.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This installs the Gloam Drift screen saver ${VERSION}, for all users \
    of this computer (with administrator rights) or only for you.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
Page custom ModePageShow ModePageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE FinishPagePre
!define MUI_PAGE_CUSTOMFUNCTION_SHOW FinishPageShow
!define MUI_FINISHPAGE_TEXT "$FinishText"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Make Gloam Drift the current screen saver"
!define MUI_FINISHPAGE_RUN_FUNCTION MakeCurrent
!define MUI_FINISHPAGE_SHOWREADME
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Open the Screen Saver Settings"
!define MUI_FINISHPAGE_SHOWREADME_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

VIProductVersion ${VERSION_QUAD}
VIFileVersion ${VERSION_QUAD}
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 ${PUBLISHER}. MIT License."

; Installer and uninstaller share these helpers; NSIS wants an "un." copy for the uninstaller.
!macro Helpers UN
    ; Ends the program with exit code $R0 after telling the user $R1: the elevated half tells the
    ; first process through its file, which shows it.
    Function ${UN}Fail
        ${If} $Elevated != ""
            FileOpen $R2 "$Elevated" w
            FileWriteUTF16LE $R2 "$R1"
            FileClose $R2
        ${ElseIf} ${Silent}
            StrCpy $R1 "GloamDrift setup: $R1$\r$\n"
            System::Call 'kernel32::GetStdHandle(i -12) p.r0'
            System::Call 'kernel32::lstrlenA(m R1) i.r1'
            System::Call 'kernel32::WriteFile(p r0, m R1, i r1, *i 0, p 0)'
        ${Else}
            MessageBox MB_OK|MB_ICONSTOP "$R1"
        ${EndIf}
        SetErrorLevel $R0
        Quit
    FunctionEnd

    ; $R1 = the system's text for Windows error code $R1, with the code.
    Function ${UN}DescribeError
        System::Call 'kernel32::FormatMessageW(i 0x1200, p 0, i R1, i 0, w .R2, i ${NSIS_MAX_STRLEN}, p 0) i.R3'
        ${If} $R3 = 0
            StrCpy $R1 "error $R1"
            Return
        ${EndIf}
        ${Do}
            StrCpy $R3 $R2 1 -1
            ${If} $R3 == "$\r"
            ${OrIf} $R3 == "$\n"
            ${OrIf} $R3 == " "
                StrCpy $R2 $R2 -1
            ${Else}
                ${ExitDo}
            ${EndIf}
        ${Loop}
        StrCpy $R1 "$R2 (error $R1)"
    FunctionEnd

    ; Sets $Admin, $AdminUser and $OtherAccount. Uses $0 to $9.
    Function ${UN}LearnAccount
        UserInfo::GetAccountType
        Pop $0
        StrCpy $Admin 0
        ${If} $0 == "Admin"
            StrCpy $Admin 1
        ${EndIf}
        StrCpy $AdminUser $Admin
        ; TOKEN_QUERY; TokenElevationType 3: an administrator running with a standard user's rights.
        System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p 0 r1) i.r0'
        ${If} $0 <> 0
            System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i 0 r2, i 4, *i 0) i.r0'
            ${If} $0 <> 0
            ${AndIf} $2 = 3
                StrCpy $AdminUser 1
            ${EndIf}
            System::Call 'kernel32::CloseHandle(p r1)'
        ${EndIf}

        ; The signed-in user is the one the shell runs as. Without a shell, or when its account
        ; cannot be read, this process is taken to be that user's.
        StrCpy $OtherAccount 0
        System::Call 'user32::GetShellWindow() p.r0'
        System::Call 'user32::GetWindowThreadProcessId(p r0, *i 0 r1)'
        ${If} $0 P<> 0
        ${AndIf} $1 <> 0
            ; PROCESS_QUERY_LIMITED_INFORMATION
            System::Call 'kernel32::OpenProcess(i 0x1000, i 0, i r1) p.r2'
            ${If} $2 P<> 0
                System::Call 'advapi32::OpenProcessToken(p r2, i 8, *p 0 r3) i.r0'
                ${If} $0 <> 0
                    System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p 0 r4) i.r0'
                    ${If} $0 <> 0
                        System::Alloc 512
                        Pop $5
                        System::Alloc 512
                        Pop $6
                        ; TokenUser: a TOKEN_USER, whose first member points to the account's SID.
                        System::Call 'advapi32::GetTokenInformation(p r3, i 1, p r5, i 512, *i 0) i.r0'
                        System::Call 'advapi32::GetTokenInformation(p r4, i 1, p r6, i 512, *i 0) i.r7'
                        ${If} $0 <> 0
                        ${AndIf} $7 <> 0
                            System::Call '*$5(p.r8)'
                            System::Call '*$6(p.r9)'
                            System::Call 'advapi32::EqualSid(p r8, p r9) i.r0'
                            ${If} $0 = 0
                                StrCpy $OtherAccount 1
                            ${EndIf}
                        ${EndIf}
                        System::Free $5
                        System::Free $6
                        System::Call 'kernel32::CloseHandle(p r4)'
                    ${EndIf}
                    System::Call 'kernel32::CloseHandle(p r3)'
                ${EndIf}
                System::Call 'kernel32::CloseHandle(p r2)'
            ${EndIf}
        ${EndIf}

        !ifdef SIMULATE_ACCOUNT
            !if "${SIMULATE_ACCOUNT}" == standard
                ${If} $Elevated == ""
                    StrCpy $Admin 0
                    StrCpy $AdminUser 0
                ${EndIf}
            !else if "${SIMULATE_ACCOUNT}" == other
                StrCpy $OtherAccount 1
            !else
                !error "SIMULATE_ACCOUNT is standard or other"
            !endif
        !endif
    FunctionEnd

    ; $0 = 1 when the switch $1 stands on the command line as a word of its own, in any case.
    Function ${UN}HasSwitch
        StrCpy $2 " $Params "
        StrCpy $1 " $1 "
        StrLen $3 $1
        StrCpy $0 0
        StrCpy $4 0
        ${Do}
            StrCpy $5 $2 $3 $4
            ${If} $5 == ""
                ${ExitDo}
            ${ElseIf} $5 == $1
                StrCpy $0 1
                ${ExitDo}
            ${EndIf}
            IntOp $4 $4 + 1
        ${Loop}
    FunctionEnd

    ; Sets $Params, $Elevated and $Mode: AllUsers or CurrentUser as a switch says, or "".
    ; Fails with EXIT_BAD_COMMAND_LINE when both are given.
    Function ${UN}ReadSwitches
        StrCpy $Mode ""
        ${GetParameters} $Params
        ClearErrors
        ${GetOptions} $Params "/ELEVATED=" $Elevated
        ${If} ${Errors}
            StrCpy $Elevated ""
        ${EndIf}
        StrCpy $1 "/AllUsers"
        Call ${UN}HasSwitch
        StrCpy $6 $0
        StrCpy $1 "/CurrentUser"
        Call ${UN}HasSwitch
        ${If} $0 = 1
        ${AndIf} $6 = 1
            StrCpy $R0 ${EXIT_BAD_COMMAND_LINE}
            StrCpy $R1 "/AllUsers and /CurrentUser exclude each other. Nothing was changed."
            Call ${UN}Fail
        ${ElseIf} $0 = 1
            StrCpy $Mode "CurrentUser"
        ${ElseIf} $6 = 1
            StrCpy $Mode "AllUsers"
        ${EndIf}
    FunctionEnd

    ; Sets $ScrDir, $Scr, the registry root of SHCTX and, unless /D= gave it, $INSTDIR.
    Function ${UN}ApplyMode
        ${If} $Mode == "AllUsers"
            SetShellVarContext all
            StrCpy $ScrDir "$SYSDIR"
            !ifndef __UNINSTALL__
                ${If} ${RunningX64}
                    StrCpy $INSTDIR "$PROGRAMFILES64\GloamDrift"
                ${Else}
                    StrCpy $INSTDIR "$PROGRAMFILES\GloamDrift"
                ${EndIf}
            !endif
        ${Else}
            SetShellVarContext current
            !ifndef __UNINSTALL__
                ${If} $DirGiven = 0
                    ; FOLDERID_UserProgramFiles, %LOCALAPPDATA%\Programs
                    GetKnownFolderPath $0 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
                    ${If} $0 == ""
                        StrCpy $0 "$LOCALAPPDATA\Programs"
                    ${EndIf}
                    StrCpy $INSTDIR "$0\GloamDrift"
                ${EndIf}
            !endif
            StrCpy $ScrDir "$INSTDIR"
        ${EndIf}
        StrCpy $Scr "$ScrDir\${SCR}"
    FunctionEnd

    Function ${UN}NativeFileSystem
        ${If} ${RunningX64}
            ${DisableX64FSRedirection}
        ${EndIf}
    FunctionEnd

    Function ${UN}RedirectedFileSystem
        ${If} ${RunningX64}
            ${EnableX64FSRedirection}
        ${EndIf}
    FunctionEnd

    ; $0 = the installed file's short (8.3) path, as Windows stores it in SCRNSAVE.EXE.
    Function ${UN}ShortScrPath
        Call ${UN}NativeFileSystem
        GetFullPathName /SHORT $0 "$Scr"
        Call ${UN}RedirectedFileSystem
        ${If} $0 == ""
            StrCpy $0 "$Scr"
        ${EndIf}
    FunctionEnd

    ; $0 = 1 when $Scr runs: Windows refuses to open a running program's file for writing
    ; (ERROR_SHARING_VIOLATION), whatever sharing is asked for. The Screen Saver Settings run the
    ; selected screen saver for their preview.
    Function ${UN}IsInUse
        Call ${UN}NativeFileSystem
        ; GENERIC_WRITE, FILE_SHARE_READ | WRITE | DELETE, OPEN_EXISTING
        System::Call 'kernel32::CreateFileW(w "$Scr", i 0x40000000, i 7, p 0, i 3, i 0, p 0) p.r0 ?e'
        Pop $1
        ${If} $0 P<> -1
            System::Call 'kernel32::CloseHandle(p r0)'
        ${EndIf}
        Call ${UN}RedirectedFileSystem
        ${If} $0 P= -1
        ${AndIf} $1 = ${ERROR_SHARING_VIOLATION}
            StrCpy $0 1
        ${Else}
            StrCpy $0 0
        ${EndIf}
    FunctionEnd

    ; $R0 and $R1 for a screen saver in use.
    Function ${UN}InUseFailure
        StrCpy $R0 ${EXIT_IN_USE}
        StrCpy $R1 "$Scr is in use: close the Screen Saver Settings (their preview runs the \
            screen saver) and end the screen saver if it is running, then try again. Nothing was \
            changed."
    FunctionEnd

    Function ${UN}FailIfInUse
        Call ${UN}IsInUse
        ${If} $0 = 1
            Call ${UN}InUseFailure
            Call ${UN}Fail
        ${EndIf}
    FunctionEnd

    ; Runs this program again with administrator rights, silently, as the all-users half, with
    ; the switches $0 (a _?= last); waits for it. $R0 = its exit code, $R1 = its message ("" when
    ; none).
    Function ${UN}RunElevated
        InitPluginsDir
        StrCpy $9 "$PLUGINSDIR\elevated.txt"
        Delete "$9"
        ; /ELEVATED comes first: _?= takes the rest of the line, and a half that missed it would
        ; run yet another.
        StrCpy $0 '/S /ELEVATED="$9" $0'
        ; A SHELLEXECUTEINFOW: SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC, SW_SHOWNORMAL.
        System::Call '*(&l4, i 0x140, p $HWNDPARENT, w "runas", w "$EXEPATH", w r0, p 0, i 1, \
            ${PAD} p 0, p 0, p 0, p 0, i 0, ${PAD} p 0, p 0) p.r1'
        System::Call 'shell32::ShellExecuteExW(p r1) i.r2 ?e'
        Pop $R1
        System::Call '*$1(i, i, p, p, p, p, p, i, ${PAD} p, p, p, p, i, ${PAD} p, p.r3)'
        System::Free $1
        ${If} $2 = 0
            ${If} $R1 = ${ERROR_CANCELLED}
                StrCpy $R0 ${EXIT_CANCELLED}
                StrCpy $R1 "Administrator rights were not given. Nothing was changed."
            ${Else}
                Call ${UN}DescribeError
                StrCpy $R0 ${EXIT_NOT_ADMIN}
                StrCpy $R1 "Could not get administrator rights: $R1. Nothing was changed."
            ${EndIf}
            Return
        ${EndIf}
        System::Call 'kernel32::WaitForSingleObject(p r3, i -1)'
        System::Call 'kernel32::GetExitCodeProcess(p r3, *i 0 R0)'
        System::Call 'kernel32::CloseHandle(p r3)'
        StrCpy $R1 ""
        ClearErrors
        FileOpen $4 "$9" r
        ${IfNot} ${Errors}
            FileReadUTF16LE $4 $R1
            FileClose $4
        ${EndIf}
        ${If} $R0 <> 0
        ${AndIf} $R1 == ""
            StrCpy $R1 "The part with administrator rights failed (exit code $R0)."
        ${EndIf}
    FunctionEnd

!macroend
!insertmacro Helpers ""
!insertmacro Helpers "un."

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    StrCpy $DirGiven 0
    ${If} $INSTDIR != ""
        StrCpy $DirGiven 1
    ${EndIf}
    Call ReadSwitches
    Call LearnAccount
    ; Without a switch: only for me when /D= names a folder or no rights can be had; a silent
    ; install never asks for rights it was not given.
    ${If} $Mode == ""
        StrCpy $Mode "AllUsers"
        ${If} $DirGiven = 1
            StrCpy $Mode "CurrentUser"
        ${ElseIf} ${Silent}
            ${If} $Admin = 0
                StrCpy $Mode "CurrentUser"
            ${EndIf}
        ${ElseIf} $AdminUser = 0
            StrCpy $Mode "CurrentUser"
        ${EndIf}
    ${EndIf}
    ${If} $Mode == "AllUsers"
    ${AndIf} $DirGiven = 1
        StrCpy $R0 ${EXIT_BAD_COMMAND_LINE}
        StrCpy $R1 "/D= names the folder of a per-user install (/CurrentUser); for all users the \
            screen saver always goes into $SYSDIR. Nothing was changed."
        Call Fail
    ${EndIf}
    ${If} $Elevated != ""
        ${If} $Mode != "AllUsers"
        ${OrIf} $Admin = 0
            StrCpy $R0 ${EXIT_NOT_ADMIN}
            StrCpy $R1 "Installing for all users needs administrator rights. Nothing was changed."
            Call Fail
        ${EndIf}
    ${EndIf}
    ${If} ${Silent}
        Call RefuseCurrentUserAsOtherAccount
    ${EndIf}
    Call ApplyMode
FunctionEnd

Function RefuseCurrentUserAsOtherAccount
    ${If} $Mode == "CurrentUser"
    ${AndIf} $OtherAccount = 1
        StrCpy $R0 ${EXIT_OTHER_ACCOUNT}
        StrCpy $R1 "This installer runs as another account than the signed-in user, so it cannot \
            install only for that user: start it without Run as administrator. Nothing was changed."
        Call Fail
    ${EndIf}
FunctionEnd

Function ModePageShow
    !insertmacro MUI_HEADER_TEXT "Who is it for?" "Install for all users or only for you."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateLabel} 0 0 100% 30u "For all users, the screen saver goes into the Windows \
        folder that holds screen savers; that needs administrator rights. Only for you, it goes \
        into your own folder and shows in the Screen Saver Settings while it is your screen saver."
    Pop $0
    ${NSD_CreateRadioButton} 10u 40u -10u 12u "For all users of this computer"
    Pop $ModePage.AllUsers
    System::Call 'advapi32::GetUserNameW(w .r1, *i ${NSIS_MAX_STRLEN})'
    ${NSD_CreateRadioButton} 10u 56u -10u 12u "Only for me ($1)"
    Pop $1
    ${If} $Mode == "AllUsers"
        ${NSD_Check} $ModePage.AllUsers
    ${Else}
        ${NSD_Check} $1
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $ModePage.AllUsers $0
    ${If} $0 = ${BST_CHECKED}
        ${If} $DirGiven = 1
            MessageBox MB_OK|MB_ICONEXCLAMATION "/D= names the folder of an install only for you; \
                for all users the screen saver always goes into $SYSDIR."
            Abort
        ${EndIf}
        StrCpy $Mode "AllUsers"
    ${Else}
        ${If} $OtherAccount = 1
            MessageBox MB_OK|MB_ICONEXCLAMATION "This installer runs as another account than the \
                signed-in user, so it cannot install only for that user: start it without Run as \
                administrator."
            Abort
        ${EndIf}
        StrCpy $Mode "CurrentUser"
    ${EndIf}
    Call ApplyMode
FunctionEnd

Function FinishPagePre
    ${If} $Mode == "AllUsers"
        StrCpy $FinishText "Gloam Drift is installed for all users."
    ${Else}
        StrCpy $FinishText "Gloam Drift is installed for you in $INSTDIR. It shows in the Screen \
            Saver Settings while it is your screen saver."
    ${EndIf}
    ${If} $OtherAccount = 1
        StrCpy $FinishText "$FinishText$\r$\n$\r$\nThis installer ran as another account, so it \
            left your screen saver as it was. To choose Gloam Drift, open Settings > \
            Personalisation > Lock screen > Screen saver."
    ${Else}
        StrCpy $FinishText "$FinishText Its settings are under Settings... in the Screen Saver \
            Settings."
    ${EndIf}
FunctionEnd

Function FinishPageShow
    ${If} $OtherAccount = 1
        ${NSD_Uncheck} $mui.FinishPage.Run
        ${NSD_Uncheck} $mui.FinishPage.ShowReadme
        ShowWindow $mui.FinishPage.Run ${SW_HIDE}
        ShowWindow $mui.FinishPage.ShowReadme ${SW_HIDE}
    ${EndIf}
FunctionEnd

Function MakeCurrent
    Call ShortScrPath
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$0"
    ; SPI_SETSCREENSAVEACTIVE, saved and announced, as the Screen Saver Settings do.
    System::Call 'user32::SystemParametersInfoW(i 17, i 1, p 0, i 3)'
FunctionEnd

Function OpenScreenSaverSettings
    Call NativeFileSystem
    Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
    Call RedirectedFileSystem
FunctionEnd

; MoveFileExW $R5 to $R6, replacing; $R1 = 0, or the Windows error code.
Function Move
    System::Call 'kernel32::MoveFileExW(w R5, w R6, i 9) i.r0 ?e'
    Pop $R1
    ${If} $0 <> 0
        StrCpy $R1 0
    ${EndIf}
FunctionEnd

; Puts $R4.new in the place of $R4, keeping a copy of the file it replaces as $R4.old. $R1 = 0,
; or the Windows error code with $R4 as it was.
Function PutInPlace
    Delete "$R4.old"
    StrCpy $R1 0
    ${If} ${FileExists} "$R4"
        System::Call 'kernel32::CopyFileW(w "$R4", w "$R4.old", i 0) i.r0 ?e'
        Pop $R1
        ${If} $0 <> 0
            StrCpy $R1 0
        ${EndIf}
    ${EndIf}
    ${If} $R1 = 0
        StrCpy $R5 "$R4.new"
        StrCpy $R6 "$R4"
        Call Move
    ${EndIf}
    ${If} $R1 <> 0
        Delete "$R4.old"
    ${EndIf}
FunctionEnd

; Undoes PutInPlace of $R4.
Function TakeBack
    ${If} ${FileExists} "$R4.old"
        StrCpy $R5 "$R4.old"
        StrCpy $R6 "$R4"
        Call Move
    ${Else}
        Delete "$R4"
    ${EndIf}
FunctionEnd

; Undoes what InstallFiles did before its step $R3 (1 copied, 2 uninstaller written, 3 screen
; saver in place, 4 uninstaller in place) and ends with $R0 and $R1.
Function RollBack
    Push $R1
    Call NativeFileSystem
    ${If} $R3 >= 4
        StrCpy $R4 "$INSTDIR\${UNINSTALLER}"
        Call TakeBack
    ${EndIf}
    ${If} $R3 >= 3
        StrCpy $R4 "$Scr"
        Call TakeBack
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}.new"
    Delete "$Scr.new"
    RMDir "$INSTDIR"
    RMDir "$ScrDir"
    Call RedirectedFileSystem
    Pop $R1
    Call Fail
FunctionEnd

; Stages both files beside their targets, puts them in place, writes the uninstall entry; when a
; step fails, everything is put back as it was.
Function InstallFiles
    InitPluginsDir
    !ifdef SIMULATE_MACHINE
        StrCpy $0 ${SIMULATE_MACHINE}
    !else
        ${GetNativeMachineArchitecture} $0
    !endif
    ${If} $0 = ${MACHINE_AMD64}
        File "/oname=$PLUGINSDIR\${SCR}" "${STAGE}/x64/${SCR}"
        DetailPrint "The 64-bit screen saver, for x64 Windows"
    ${Else}
        File "/oname=$PLUGINSDIR\${SCR}" "${STAGE}/x86/${SCR}"
        DetailPrint "The 32-bit screen saver, for 32-bit x86 or ARM64 Windows"
    ${EndIf}

    Call FailIfInUse
    DetailPrint "Installing $Scr"
    StrCpy $R0 ${EXIT_FAILED}
    StrCpy $R3 1
    Call NativeFileSystem
    CreateDirectory "$INSTDIR"
    CreateDirectory "$ScrDir"
    System::Call 'kernel32::CopyFileW(w "$PLUGINSDIR\${SCR}", w "$Scr.new", i 0) i.r0 ?e'
    Pop $R1
    Call RedirectedFileSystem
    ${If} $0 = 0
        Call DescribeError
        StrCpy $R1 "Could not write $Scr.new: $R1. Nothing was changed."
        Call RollBack
    ${EndIf}

    StrCpy $R3 2
    ClearErrors
    WriteUninstaller "$INSTDIR\${UNINSTALLER}.new"
    ${If} ${Errors}
        StrCpy $R1 "Could not write $INSTDIR\${UNINSTALLER}.new. Nothing was changed."
        Call RollBack
    ${EndIf}

    Call NativeFileSystem
    StrCpy $R4 "$Scr"
    Call PutInPlace
    Call RedirectedFileSystem
    ${If} $R1 <> 0
        ; It may have started since the first look.
        Call IsInUse
        ${If} $0 = 1
            Call InUseFailure
        ${Else}
            Call DescribeError
            StrCpy $R1 "Could not replace $Scr: $R1. Nothing was changed."
        ${EndIf}
        Call RollBack
    ${EndIf}
    StrCpy $R3 3
    Call NativeFileSystem
    StrCpy $R4 "$INSTDIR\${UNINSTALLER}"
    Call PutInPlace
    Call RedirectedFileSystem
    ${If} $R1 <> 0
        Call DescribeError
        StrCpy $R1 "Could not replace $INSTDIR\${UNINSTALLER}: $R1. Nothing was changed."
        Call RollBack
    ${EndIf}
    StrCpy $R3 4

    ; EstimatedSize: the two files, in KiB rounded up.
    FileOpen $4 "$PLUGINSDIR\${SCR}" r
    FileSeek $4 0 END $1
    FileClose $4
    FileOpen $4 "$INSTDIR\${UNINSTALLER}" r
    FileSeek $4 0 END $2
    FileClose $4
    IntOp $1 $1 + $2
    IntOp $1 $1 + 1023
    IntOp $1 $1 / 1024
    ClearErrors
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$Scr,0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /$Mode'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /$Mode /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${Errors}
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
        StrCpy $R1 "Could not write the uninstall entry. Nothing was changed."
        Call RollBack
    ${EndIf}

    Call NativeFileSystem
    Delete "$Scr.old"
    Delete "$INSTDIR\${UNINSTALLER}.old"
    Call RedirectedFileSystem
FunctionEnd

Section
    ${If} $Mode == "AllUsers"
    ${AndIf} $Admin = 0
    ${AndIf} $Elevated == ""
        DetailPrint "Installing for all users, with administrator rights"
        StrCpy $0 "/AllUsers"
        Call RunElevated
        ${If} $R0 <> 0
            Call Fail
        ${EndIf}
    ${Else}
        Call InstallFiles
    ${EndIf}

    ; What belongs to the signed-in user, never done by the elevated half.
    ${If} $Elevated == ""
    ${AndIf} ${Silent}
        StrCpy $1 "/CURRENT"
        Call HasSwitch
        ${If} $0 = 1
            ${If} $OtherAccount = 1
                StrCpy $R0 ${EXIT_NOT_MADE_CURRENT}
                StrCpy $R1 "Gloam Drift is installed, but not made the current screen saver: this \
                    installer runs as another account than the signed-in user. To choose it, open \
                    Settings > Personalisation > Lock screen > Screen saver."
                Call Fail
            ${EndIf}
            Call MakeCurrent
        ${EndIf}
    ${EndIf}
SectionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    Call un.ReadSwitches
    Call un.LearnAccount
    ; Without a switch: the per-user install keeps its screen saver beside the uninstaller.
    ${If} $Mode == ""
        StrCpy $Mode "AllUsers"
        ${If} ${FileExists} "$INSTDIR\${SCR}"
            StrCpy $Mode "CurrentUser"
        ${EndIf}
    ${EndIf}
    Call un.ApplyMode
    ${If} $Elevated != ""
    ${AndIf} $Admin = 0
        StrCpy $R0 ${EXIT_NOT_ADMIN}
        StrCpy $R1 "Removing Gloam Drift for all users needs administrator rights. Nothing was \
            changed."
        Call un.Fail
    ${EndIf}
FunctionEnd

; The signed-in user's screen saver is ours, by its short or its long path: $0 = 1.
Function un.ScrIsCurrent
    Call un.ShortScrPath
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $2 $0
    StrCpy $0 0
    ${If} $1 != ""
        ${If} $1 == $2
        ${OrIf} $1 == $Scr
            StrCpy $0 1
        ${EndIf}
    ${EndIf}
FunctionEnd

Section "Uninstall"
    ; Whether SCRNSAVE.EXE names this file is a question for the signed-in user's process, and
    ; the short path needs the file, so this comes first.
    StrCpy $R9 0
    ${If} $Elevated == ""
    ${AndIf} $OtherAccount = 0
        Call un.ScrIsCurrent
        StrCpy $R9 $0
    ${EndIf}

    ${If} $Mode == "AllUsers"
    ${AndIf} $Admin = 0
    ${AndIf} $Elevated == ""
        DetailPrint "Removing Gloam Drift for all users, with administrator rights"
        ; _?= keeps the elevated half in this copy of the uninstaller; it must come last.
        StrCpy $0 "/AllUsers _?=$INSTDIR"
        Call un.RunElevated
        ${If} $R0 <> 0
            Call un.Fail
        ${EndIf}
    ${Else}
        Call un.FailIfInUse
        DetailPrint "Removing $Scr"
        Call un.NativeFileSystem
        ClearErrors
        Delete "$Scr"
        ${If} ${Errors}
        ${AndIf} ${FileExists} "$Scr"
            Call un.RedirectedFileSystem
            StrCpy $R0 ${EXIT_FAILED}
            StrCpy $R1 "Could not remove $Scr. Nothing was changed."
            Call un.Fail
        ${EndIf}
        Call un.RedirectedFileSystem
        Delete "$INSTDIR\${UNINSTALLER}"
        RMDir "$INSTDIR"
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}

    ${If} $R9 = 1
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
SectionEnd
