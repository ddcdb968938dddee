; What the installer (OmbrixImport.nsi) and the uninstaller (uninstall.nsi)
; share: names, the record of an installation, and the helpers both need.
; Included after the languages, as it defines language strings.

!define MODULE "OmbrixImport.8ba"
!define PARTIAL "OmbrixImport.8ba.partial"
!define REMOVER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OmbrixImport"
!define PROGRAM_FOLDER "Ombrix Import"

; The record in the uninstall entry: per architecture the folder that got
; that module, and 1 when the installer made the folder.
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

LangString InUse ${LANG_ENGLISH} "$R8\${MODULE} is in use: the image editor is running.$\r$\n$\r$\nClose the image editor, then click Retry."
LangString InUse ${LANG_FRENCH} "$R8\${MODULE} est en cours d'utilisation : l'éditeur d'images est ouvert.$\r$\n$\r$\nFermez l'éditeur d'images, puis cliquez sur Réessayer."
