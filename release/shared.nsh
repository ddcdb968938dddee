; What the installer (OmbrixImport.nsi) and the uninstaller (uninstall.nsi)
; share: names, the record of an installation, and the helpers both need.
; Included after the languages, as it defines language strings.

!define MODULE "OmbrixImport.8ba"
!define PARTIAL "OmbrixImport.8ba.partial"
!define REMOVER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OmbrixImport"
!define PROGRAM_FOLDER "Ombrix Import"

; The record in the uninstall entry: per architecture the folder that got
; that module, and how many folders the installer made for it: 0 none, 1 the
; folder itself, 2 the folder and its parent, and so on.
!define FOLDER_VALUE "PluginFolder"
!define CREATED_VALUE "CreatedPluginFolder"

; The installer is a 32-bit program: on 64-bit Windows it reads and writes
; the 64-bit registry view on purpose, where the Programs list's entry of a
; program that serves 64-bit hosts belongs.
!macro UseEntryView
    ${If} ${RunningX64}
        SetRegView 64
    ${Else}
        SetRegView 32
    ${EndIf}
!macroend

; NSIS's error flag is cleared by every test of it (IfErrors, ${Errors}),
; so a failure must be read exactly once, right after the command.
!macro ErrorsTo var
    StrCpy ${var} 0
    IfErrors 0 +2
    StrCpy ${var} 1
!macroend

; Folder comparison by identity: a probe file made in the first folder is
; looked for in the second. Text comparison is not enough: one folder has
; many spellings (another drive letter, an 8.3 name, a junction). Leaves 1
; in $R9 when they are the same folder, 0 otherwise (or when the first one
; cannot be written, so nothing can be told).
Function SameFolder
    Exch $1   ; the second folder
    Exch
    Exch $0   ; the first folder
    Push $2
    StrCpy $R9 0
    ${If} $0 != ""
    ${AndIf} $1 != ""
    ${AndIf} ${FileExists} "$0\*.*"
    ${AndIf} ${FileExists} "$1\*.*"
        ClearErrors
        GetTempFileName $2 "$0"
        ${IfNot} ${Errors}
            ${GetFileName} $2 $0
            ${If} ${FileExists} "$1\$0"
                StrCpy $R9 1
            ${EndIf}
            Delete $2
        ${EndIf}
    ${EndIf}
    ClearErrors
    Pop $2
    Pop $0
    Pop $1
FunctionEnd

Var Failure   ; after a check: 0, 3 (cannot be written) or 4 (module in use)
Var Made      ; after CheckFolder: how many folders a module put into $R8 makes

; Checks, changing nothing, that the module can be put into, replaced in or
; removed from the folder $R8: the folder exists or can be made, a file can
; be written in it, and a module there is not held by a running host (one
; that a running host has loaded cannot be opened for writing). The folders
; it makes for the check it removes again. Sets $Failure and $Made.
Function CheckFolder
    StrCpy $Failure 0
    ; The nearest folder that exists.
    StrCpy $2 $R8
    StrCpy $Made 0
    ${DoUntil} ${FileExists} "$2\*.*"
        ${GetParent} $2 $2
        IntOp $Made $Made + 1
        ${IfThen} $2 == "" ${|} ${ExitDo} ${|}
    ${Loop}
    ClearErrors
    CreateDirectory $R8
    ${If} ${Errors}
        StrCpy $Failure 3
    ${Else}
        ClearErrors
        FileOpen $0 "$R8\${PARTIAL}" w
        ${If} ${Errors}
            StrCpy $Failure 3
        ${Else}
            FileClose $0
            Delete "$R8\${PARTIAL}"
        ${EndIf}
    ${EndIf}
    ${If} $Failure = 0
    ${AndIf} ${FileExists} "$R8\${MODULE}"
        ClearErrors
        FileOpen $0 "$R8\${MODULE}" a
        ${If} ${Errors}
            StrCpy $Failure 4
        ${Else}
            FileClose $0
        ${EndIf}
    ${EndIf}
    StrCpy $R7 $Made
    Call RemoveMadeFolders
FunctionEnd

; Checks the folder $R8 and says what stops the change: a module in use
; (Retry checks again), or a folder that cannot be written (NotWritable, the
; program's own words). $Failure stays nonzero when the user gives up.
Function CheckAndSay
    retry:
    Call CheckFolder
    ${If} $Failure = 4
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
    ${ElseIf} $Failure = 3
        MessageBox MB_OK|MB_ICONSTOP "$(NotWritable)" /SD IDOK
    ${EndIf}
FunctionEnd

; Removes the folder $R8 and then its parents, $R7 folders in all, each only
; when it is empty; stops at the first that stays. One that is missing
; already is passed over.
Function RemoveMadeFolders
    StrCpy $0 $R8
    ${For} $1 1 $R7
        ${If} ${FileExists} "$0\*.*"
            ClearErrors
            RMDir $0
            ${IfThen} ${Errors} ${|} ${ExitFor} ${|}
        ${EndIf}
        ${GetParent} $0 $0
    ${Next}
    ClearErrors
FunctionEnd

; Removes the module from the folder $R8 (Retry while a running host holds
; it; then $Failure is 4), then the $R7 folders the installer made for it,
; when empty.
Function RemoveModule
    StrCpy $Failure 0
    retry:
    ClearErrors
    ${If} ${FileExists} "$R8\${MODULE}"
        Delete "$R8\${MODULE}"
    ${EndIf}
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
        StrCpy $Failure 4
        Return
    ${EndIf}
    Delete "$R8\${PARTIAL}"
    Call RemoveMadeFolders
FunctionEnd

LangString InUse ${LANG_ENGLISH} "$R8\${MODULE} is in use: the image editor is running.$\r$\n$\r$\nClose the image editor, then click Retry."
LangString InUse ${LANG_FRENCH} "$R8\${MODULE} est en cours d'utilisation : l'éditeur d'images est ouvert.$\r$\n$\r$\nFermez l'éditeur d'images, puis cliquez sur Réessayer."
