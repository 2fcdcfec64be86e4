; GloamDrift setup. Puts GloamDrift.scr into the folder Windows lists screen savers from, the
; native System32 (the 64-bit build on 64-bit Windows, the 32-bit build on 32-bit Windows),
; registers an uninstaller and, when asked, makes it the current screen saver.
;
; The installer is a 32-bit program so that it runs on every Windows. On 64-bit Windows its view of
; System32 is redirected to SysWOW64, so every access to the installed file happens with
; redirection turned off, and the uninstall entry goes to the 64-bit registry view.
;
; Built by scripts/release.sh, which passes the version from res/version.h:
;   makensis -DVERSION=1.01 -DVERSION_QUAD=1.1.0.0 -DSTAGE=<folder holding x86/ and x64/>
;            -DOUTFILE=<setup.exe> packaging/GloamDrift.nsi
; -DTARGET=amd64-unicode makes the same installer a 64-bit program (for machines that cannot run
; 32-bit programs, such as a Linux without 32-bit support running Wine).
;
; Switches: /S silent; /CURRENT with /S also makes it the current screen saver.
; Exit codes: 0 done, 1 cancelled, 2 failed (nothing was changed), 740 administrator rights
; needed. A failure is explained in a message box, or on standard error when silent.

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

!define PRODUCT "Gloam Drift Screen Saver"
!define PUBLISHER "The GloamDrift developers"
!define SCR "GloamDrift.scr"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GloamDrift"
!define DESKTOP_KEY "Control Panel\Desktop"
!define EXIT_FAILED 2
!define EXIT_NOT_ADMIN 740

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
ManifestSupportedOS all
ManifestDPIAware true
SetCompressor /SOLID lzma
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
; Only the uninstaller lives here; the screen saver itself goes to System32.
InstallDir "$PROGRAMFILES\GloamDrift"

Var Scr ; the installed screen saver: $SYSDIR\GloamDrift.scr, seen without redirection

!define MUI_ICON "${__FILEDIR__}/../res/app.ico"
!define MUI_UNICON "${__FILEDIR__}/../res/app.ico"
!define MUI_ABORTWARNING

!define MUI_WELCOMEPAGE_TEXT "This installs the Gloam Drift screen saver ${VERSION} into the \
    Windows folder that holds screen savers, so that it appears in the Screen Saver Settings.$\r$\n\
    $\r$\nIt needs administrator rights.$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "Gloam Drift is installed. Its settings are under Settings... in the \
    Screen Saver Settings."
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
    ; Ends the program with exit code $R0 after telling the user $R1.
    Function ${UN}Fail
        ${If} ${Silent}
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

    Function ${UN}RequireAdmin
        UserInfo::GetAccountType
        Pop $0
        ${If} $0 != "Admin"
            StrCpy $R0 ${EXIT_NOT_ADMIN}
            StrCpy $R1 "${PRODUCT} must be installed and removed with administrator rights: \
                right-click the program and choose Run as administrator. Nothing was changed."
            Call ${UN}Fail
        ${EndIf}
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
!macroend
!insertmacro Helpers ""
!insertmacro Helpers "un."

Function .onInit
    ${If} ${RunningX64}
        SetRegView 64
        StrCpy $INSTDIR "$PROGRAMFILES64\GloamDrift"
    ${EndIf}
    StrCpy $Scr "$SYSDIR\${SCR}"
    Call RequireAdmin
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

; $R1 = the system's text for Windows error code $R1, with the code.
Function DescribeError
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

; Reports a failed step of the copy: $R1 = Windows error code, $R4 = what failed.
Function FailCopy
    Call DescribeError
    StrCpy $R0 ${EXIT_FAILED}
    StrCpy $R1 "$R4: $R1. Nothing was changed."
    Call Fail
FunctionEnd

Section
    InitPluginsDir
    ${If} ${RunningX64}
        File "/oname=$PLUGINSDIR\${SCR}" "${STAGE}/x64/${SCR}"
    ${Else}
        File "/oname=$PLUGINSDIR\${SCR}" "${STAGE}/x86/${SCR}"
    ${EndIf}

    ; Copy beside the target first, then replace the target in one step: whatever fails, the copy
    ; that was there before stays as it was.
    DetailPrint "Installing $Scr"
    Call NativeFileSystem
    System::Call 'kernel32::CopyFileW(w "$PLUGINSDIR\${SCR}", w "$Scr.new", i 0) i.r0 ?e'
    Pop $R1
    Call RedirectedFileSystem
    ${If} $0 = 0
        StrCpy $R4 "Could not write $Scr.new"
        Call FailCopy
    ${EndIf}

    StrCpy $3 0
    ${IfNot} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        StrCpy $3 1 ; a new uninstaller, to remove again if the install fails
    ${EndIf}
    ClearErrors
    CreateDirectory "$INSTDIR"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        Call NativeFileSystem
        Delete "$Scr.new"
        Call RedirectedFileSystem
        RMDir "$INSTDIR"
        StrCpy $R0 ${EXIT_FAILED}
        StrCpy $R1 "Could not write $INSTDIR\${UNINSTALLER}. Nothing was changed."
        Call Fail
    ${EndIf}

    Call NativeFileSystem
    ; MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
    System::Call 'kernel32::MoveFileExW(w "$Scr.new", w "$Scr", i 9) i.r0 ?e'
    Pop $R1
    ${If} $0 = 0
        Delete "$Scr.new"
    ${EndIf}
    Call RedirectedFileSystem
    ${If} $0 = 0
        ${If} $3 = 1
            Delete "$INSTDIR\${UNINSTALLER}"
            RMDir "$INSTDIR"
        ${EndIf}
        StrCpy $R4 "Could not replace $Scr"
        Call FailCopy
    ${EndIf}

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
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$Scr,0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${Errors}
        StrCpy $R0 ${EXIT_FAILED}
        StrCpy $R1 "$Scr is installed, but its uninstall entry could not be written."
        Call Fail
    ${EndIf}

    ${If} ${Silent}
        ${GetParameters} $0
        ClearErrors
        ${GetOptions} $0 "/CURRENT" $1
        ${IfNot} ${Errors}
            Call MakeCurrent
        ${EndIf}
    ${EndIf}
SectionEnd

Function un.onInit
    ${If} ${RunningX64}
        SetRegView 64
    ${EndIf}
    StrCpy $Scr "$SYSDIR\${SCR}"
    Call un.RequireAdmin
FunctionEnd

Section "Uninstall"
    ; SCRNSAVE.EXE is cleared only when it names this file, by its short or its long path. The
    ; short path needs the file, so this comes before the file goes.
    Call un.ShortScrPath
    ReadRegStr $1 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    StrCpy $2 0
    ${If} $1 != ""
        ${If} $1 == $0
        ${OrIf} $1 == $Scr
            StrCpy $2 1
        ${EndIf}
    ${EndIf}

    DetailPrint "Removing $Scr"
    Call un.NativeFileSystem
    ClearErrors
    Delete "$Scr"
    ${If} ${Errors}
    ${AndIf} ${FileExists} "$Scr"
        Call un.RedirectedFileSystem
        StrCpy $R0 ${EXIT_FAILED}
        StrCpy $R1 "Could not remove $Scr: end the screen saver if it is running, then try \
            again. Nothing was changed."
        Call un.Fail
    ${EndIf}
    Call un.RedirectedFileSystem

    ${If} $2 = 1
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${EndIf}
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
