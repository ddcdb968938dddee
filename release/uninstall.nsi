; The uninstaller of OmbrixImport.8ba, installed as uninstall.exe beside the
; guides. It is a program of its own rather than NSIS's built-in uninstaller,
; which hands its work to a copy in the temporary folder and returns at once
; with 0. This one hands its work to such a copy too, since a program cannot
; remove the folder it runs from, but waits for it: `uninstall.exe /S`
; returns the outcome: 0 removed, 1 cancelled, 3 a folder it must change
; cannot be written (its own, for a user without the right to change it:
; then it cannot even tell which installation it belongs to), 4 a module in
; use. It checks everything before it changes anything: after 3 or 4
; nothing has changed. Once the started one has ended, the copy removes it
; and its folder. It removes the installation whose program folder it is
; in, all-users or per-user.
; Built by release/CMakeLists.txt before the installer, which carries it:
;   makensis -DVERSION=x.y.z -DCOPYRIGHT=text -DOUTFILE=uninstall.exe
;            [-DSIGN_COMMAND=release/sign.sh] uninstall.nsi

Unicode true
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include x64.nsh

Name "Ombrix Import ${VERSION}"
Caption "$(Caption)"
OutFile "${OUTFILE}"
RequestExecutionLevel highest
SetCompressor /SOLID lzma
SetDateSave off
ManifestDPIAware true
BrandingText "Korvel"
ShowInstDetails show

!ifdef SIGN_COMMAND
!finalize '"${SIGN_COMMAND}" "%1" "the uninstaller"'
!endif

Var Found       ; 1 when the uninstall entry of this installation was found
Var Folder32    ; the recorded module folders and how many folders the installer made
Var Folder64
Var Created32
Var Created64

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_INSTFILESPAGE_FINISHHEADER_TEXT "$(Done)"
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"
!include "shared.nsh"   ; makensis works in the script's folder

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Ombrix"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Korvel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Ombrix Import ${VERSION} uninstaller"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

LangString Caption ${LANG_ENGLISH} "Ombrix Import ${VERSION} Uninstall"
LangString Caption ${LANG_FRENCH} "Désinstallation d'Ombrix Import ${VERSION}"
LangString Confirm ${LANG_ENGLISH} "Remove the Ombrix import module from this computer?$\r$\n$\r$\nYour exported pictures, Ombrix and its settings stay."
LangString Confirm ${LANG_FRENCH} "Supprimer le module d'import Ombrix de cet ordinateur ?$\r$\n$\r$\nVos images exportées, Ombrix et ses réglages sont conservés."
LangString Done ${LANG_ENGLISH} "The Ombrix import module has been removed."
LangString Done ${LANG_FRENCH} "Le module d'import Ombrix a été supprimé."
LangString NotWritable ${LANG_ENGLISH} "The folder $R8 cannot be changed: the Ombrix import module cannot be removed.$\r$\n$\r$\nIt was installed with administrator rights: start the uninstaller again as an administrator (right-click, Run as administrator)."
LangString NotWritable ${LANG_FRENCH} "Impossible de modifier le dossier $R8 : le module d'import Ombrix ne peut pas être supprimé.$\r$\n$\r$\nIl a été installé avec les droits d'administrateur : relancez le programme de désinstallation en tant qu'administrateur (clic droit, Exécuter en tant qu'administrateur)."

; Reads the record of the current context's entry when its program folder
; is the one this uninstaller is in.
Function ReadOwnRecord
    ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    Push $INSTDIR
    Push $0
    Call SameFolder
    ${If} $R9 = 1
        StrCpy $Found 1
        ReadRegStr $Folder32 SHCTX "${UNINSTALL_KEY}" "${FOLDER_VALUE}32"
        ReadRegStr $Folder64 SHCTX "${UNINSTALL_KEY}" "${FOLDER_VALUE}64"
        ReadRegDWORD $Created32 SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}32"
        ReadRegDWORD $Created64 SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}64"
        IntOp $Created32 $Created32 + 0
        IntOp $Created64 $Created64 + 0
    ${EndIf}
FunctionEnd

; The started uninstall.exe: runs a copy of itself from the temporary folder
; on the program folder and returns its outcome.
Function HandOff
    GetTempFileName $1
    Delete $1
    CreateDirectory $1
    CopyFiles /SILENT "$EXEPATH" "$1\${REMOVER}"
    StrCpy $2 ""
    ${If} ${Silent}
        StrCpy $2 "/S "
    ${EndIf}
    ClearErrors
    ExecWait '"$1\${REMOVER}" $2/HANDOFF=$EXEDIR' $0
    ${If} ${Errors}
        StrCpy $0 1
    ${EndIf}
    ${If} $0 = 0
        ; The copy waits for this program to end, then removes it and its folder.
        Exec '"$1\${REMOVER}" /S /CLEANUP=$EXEDIR'
    ${Else}
        Delete "$1\${REMOVER}"
        RMDir $1
    ${EndIf}
    SetErrorLevel $0
    Quit
FunctionEnd

; The copy, after a removal: once the started uninstall.exe has ended, it and
; its folder go; the copy itself at the next start of Windows.
Function CleanUp
    ${For} $1 1 100
        Delete "$0\${REMOVER}"
        ${IfNot} ${FileExists} "$0\${REMOVER}"
            ${ExitFor}
        ${EndIf}
        Sleep 100
    ${Next}
    RMDir $0
    ; This copy and its folder in the temporary folder go at the next start.
    Delete /REBOOTOK "$EXEPATH"
    RMDir /REBOOTOK $EXEDIR
    Quit
FunctionEnd

Function .onInit
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/CLEANUP=" $0
    ${IfNot} ${Errors}
        Call CleanUp
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/HANDOFF=" $INSTDIR
    ${If} ${Errors}
        Call HandOff
    ${EndIf}

    ; It finds its own record by a probe written into its folder, and it
    ; removes files from there: a user who may not change that folder (an
    ; installation for all users, run without administrator rights) is told
    ; so, and the exit code says that nothing was removed.
    StrCpy $R8 $INSTDIR
    Call CheckFolder
    ${If} $Failure = 3
        MessageBox MB_OK|MB_ICONSTOP "$(NotWritable)" /SD IDOK
        SetErrorLevel 3
        Quit
    ${EndIf}
    !insertmacro UseEntryView
    StrCpy $Found 0
    SetShellVarContext all
    Call ReadOwnRecord
    ${If} $Found = 0
        SetShellVarContext current
        Call ReadOwnRecord
    ${EndIf}
    ${IfNot} ${Silent}
        MessageBox MB_YESNO|MB_ICONQUESTION "$(Confirm)" IDYES confirmed
        SetErrorLevel 1
        Quit
    ${EndIf}
    confirmed:
FunctionEnd

!macro CheckModuleFolder bits
    ${If} $Failure = 0
    ${AndIf} $Folder${bits} != ""
    ${AndIf} ${FileExists} "$Folder${bits}\*.*"
        StrCpy $R8 $Folder${bits}
        Call CheckAndSay
    ${EndIf}
!macroend

!macro RemoveModuleOf bits
    ${If} $Failure = 0
    ${AndIf} $Folder${bits} != ""
        StrCpy $R8 $Folder${bits}
        StrCpy $R7 $Created${bits}
        Call RemoveModule
    ${EndIf}
!macroend

; Removes what the installer put down and nothing else: export folders, the
; converter's settings and anything beside the module stay. Every folder is
; checked before anything goes.
Section "Remove"
    StrCpy $Failure 0
    !insertmacro CheckModuleFolder 64
    !insertmacro CheckModuleFolder 32
    !insertmacro RemoveModuleOf 64
    !insertmacro RemoveModuleOf 32
    ${If} $Failure <> 0
        ; Nothing else goes: the entry still describes what is installed.
        SetErrorLevel $Failure
        ${If} ${Silent}
            Quit
        ${EndIf}
        Abort
    ${EndIf}
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\user-guide.html"
    Delete "$INSTDIR\user-guide-fr.html"
    ; uninstall.exe and the folder go once the started uninstall.exe has ended.
    ${If} $Found = 1
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}
SectionEnd
