; The installer of OmbrixImport.8ba. It finds the installed hosts through the
; App Paths entry of their executable, in both registry views, proposes a
; host's Plug-ins folder, puts each host the module of its own architecture
; (copied under a temporary name, then renamed), and installs an uninstaller
; that removes exactly what was installed. Every check, over every folder it
; will change, comes before the first change: exit code 0 installed, 2 no
; folder, 3 a folder cannot be written, 4 a module in use; after 3 or 4 disk
; and registry are as they were.
; Built by release/CMakeLists.txt:
;   makensis -DVERSION=x.y.z -DCOPYRIGHT=text -DHOST_EXE=name.exe -DSUPPORT=address -DSUPPORT_LINK=url
;            -DMODULE32=file [-DMODULE64=file] -DREMOVER_FILE=uninstall.exe -DSTAGE=folder
;            -DOUTFILE=setup.exe [-DSIGN_COMMAND=release/sign.sh] OmbrixImport.nsi
; STAGE holds THIRD-PARTY-NOTICES.txt and the user guides; REMOVER_FILE is
; the uninstaller built from uninstall.nsi.

Unicode true
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include x64.nsh

!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\${HOST_EXE}"

Name "Ombrix Import ${VERSION}"
OutFile "${OUTFILE}"
; Administrators install for every user; anyone else gets a clear message
; when the chosen folder cannot be written.
RequestExecutionLevel highest
SetCompressor /SOLID lzma
; Files keep no build time, so that two builds of one commit are identical.
SetDateSave off
ManifestDPIAware true
BrandingText "Korvel"
ShowInstDetails show

!ifdef SIGN_COMMAND
!finalize '"${SIGN_COMMAND}" "%1"'
!endif

Var Host32        ; folder of a host's executable of that architecture; empty when none
Var Host64
Var Proposed      ; the folder the page proposes: kept, it serves every host found
Var Target32      ; where this run puts each module; empty: that one is not installed
Var Target64
Var Made32        ; how many folders this run makes for that target
Var Made64
Var Created32     ; how many the installer made for it, now or in an earlier run
Var Created64
Var Prev32        ; the record of the installation this one replaces
Var Prev64
Var PrevCreated32
Var PrevCreated64
Var Elsewhere32   ; 1 when that earlier module lies outside this run's targets: it goes
Var Elsewhere64
Var ProgramFolder ; uninstaller, guides and notices
Var DirectoryText
Var Placed        ; the folders that got a module, for the last page

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "$DirectoryText"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "$(PluginsFolder)"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_FINISH

; The language is the user's Windows language, as for the module's own texts.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"
!include "shared.nsh"   ; makensis works in the script's folder

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Ombrix"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Korvel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Ombrix Import ${VERSION} setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"

LangString PluginsFolder ${LANG_ENGLISH} "Plug-ins folder"
LangString PluginsFolder ${LANG_FRENCH} "Dossier Plug-ins"
LangString HostFound ${LANG_ENGLISH} "Setup will put the Ombrix import module into the Plug-ins folder of the image editor found on this computer. To use another folder, click Browse and select it. Click Install to start the installation."
LangString HostFound ${LANG_FRENCH} "Le programme d'installation va placer le module d'import Ombrix dans le dossier Plug-ins de l'éditeur d'images trouvé sur cet ordinateur. Pour utiliser un autre dossier, cliquez sur Parcourir et choisissez-le. Cliquez sur Installer pour démarrer l'installation."
LangString HostsFound ${LANG_ENGLISH} "Setup will put the Ombrix import module into the Plug-ins folders of both image editors found on this computer: the 64-bit one below, and $Host32\Plug-ins for the 32-bit one. To use only another folder, click Browse and select it. Click Install to start the installation."
LangString HostsFound ${LANG_FRENCH} "Le programme d'installation va placer le module d'import Ombrix dans les dossiers Plug-ins des deux éditeurs d'images trouvés sur cet ordinateur : celui de l'éditeur 64 bits ci-dessous, et $Host32\Plug-ins pour l'éditeur 32 bits. Pour n'utiliser qu'un autre dossier, cliquez sur Parcourir et choisissez-le. Cliquez sur Installer pour démarrer l'installation."
LangString HostMissing ${LANG_ENGLISH} "The image editor was not found on this computer. Click Browse and select its Plug-ins folder (inside the image editor's own folder), then click Install."
LangString HostMissing ${LANG_FRENCH} "L'éditeur d'images est introuvable sur cet ordinateur. Cliquez sur Parcourir et choisissez son dossier Plug-ins (dans le dossier de l'éditeur d'images), puis cliquez sur Installer."
LangString NotWritable ${LANG_ENGLISH} "The folder $R8 cannot be written.$\r$\n$\r$\nThe image editor's folder can only be changed with administrator rights: start the installer again as an administrator (right-click, Run as administrator), or choose another folder."
LangString NotWritable ${LANG_FRENCH} "Impossible d'écrire dans le dossier $R8.$\r$\n$\r$\nLe dossier de l'éditeur d'images ne peut être modifié qu'avec les droits d'administrateur : relancez le programme d'installation en tant qu'administrateur (clic droit, Exécuter en tant qu'administrateur), ou choisissez un autre dossier."
LangString NoFolder ${LANG_ENGLISH} "/D= names no folder. Give the Plug-ins folder after it: /D=C:\Program Files\Image Editor\Plug-ins"
LangString NoFolder ${LANG_FRENCH} "/D= ne nomme aucun dossier. Indiquez le dossier Plug-ins après : /D=C:\Program Files\Image Editor\Plug-ins"
LangString BothPlaced ${LANG_ENGLISH} "$Target64 (for the 64-bit image editor) and in $Target32 (for the 32-bit one)"
LangString BothPlaced ${LANG_FRENCH} "$Target64 (pour l'éditeur d'images 64 bits) et dans $Target32 (pour l'éditeur 32 bits)"
LangString FinishText ${LANG_ENGLISH} "The Ombrix import module is in $Placed.$\r$\n$\r$\nStart the image editor and choose File > Import > $\"Ombrix...$\". The user guide is in $ProgramFolder."
LangString FinishText ${LANG_FRENCH} "Le module d'import Ombrix se trouve dans $Placed.$\r$\n$\r$\nDémarrez l'éditeur d'images et choisissez Fichier > Importation > « Ombrix... ». Le guide de l'utilisateur se trouve dans $ProgramFolder."

; The bitness of a program by its header's machine field: pops the path,
; pushes 64, 32, or "" when the file is no readable program.
Function ProgramBits
    Exch $0
    Push $1
    Push $2
    Push $3
    StrCpy $3 ""
    ClearErrors
    FileOpen $1 $0 r
    ${IfNot} ${Errors}
        ; The offset of the PE header, little-endian at 0x3C (below 16 MB
        ; in any real program, so three bytes suffice).
        FileSeek $1 0x3C SET
        FileReadByte $1 $0
        FileReadByte $1 $2
        IntOp $2 $2 << 8
        IntOp $0 $0 | $2
        FileReadByte $1 $2
        IntOp $2 $2 << 16
        IntOp $0 $0 | $2
        ; Past the four-byte PE signature: the machine.
        IntOp $0 $0 + 4
        FileSeek $1 $0 SET
        FileReadByte $1 $0
        FileReadByte $1 $2
        IntOp $2 $2 << 8
        IntOp $0 $0 | $2
        ${If} $0 = 0x8664
            StrCpy $3 64
        ${ElseIf} $0 = 0x14C
            StrCpy $3 32
        ${EndIf}
        FileClose $1
    ${EndIf}
    ClearErrors
    StrCpy $0 $3
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

; Reads the App Paths entries of the host's executable in the current
; registry view, machine-wide and the user's, and files each host's folder
; under its executable's own architecture (read from its header; the view's,
; $R0, when the header cannot be read); the first one found of each wins. A
; stale entry counts as none.
Function FindHostsInView
    ReadRegStr $0 HKLM "${APP_PATHS_KEY}" ""
    Call FileHost
    ReadRegStr $0 HKCU "${APP_PATHS_KEY}" ""
    Call FileHost
FunctionEnd

Function FileHost
    StrCpy $1 $0 1
    ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $0 $0 -1
    ${EndIf}
    ${If} $0 == ""
        Return
    ${EndIf}
    ${IfNot} ${FileExists} $0
        Return
    ${EndIf}
    ${GetParent} $0 $1
    Push $0
    Call ProgramBits
    Pop $2
    ${If} $2 == ""
        StrCpy $2 $R0
    ${EndIf}
    ${If} $2 == 64
        ${If} $Host64 == ""
            StrCpy $Host64 $1
        ${EndIf}
    ${ElseIf} $Host32 == ""
        StrCpy $Host32 $1
    ${EndIf}
FunctionEnd

; $2 is what follows /D= on the command line: the folder in it, up to a
; closing quote, goes into $INSTDIR. An opening quote may come escaped (\"),
; as programs that quote arguments write it; a backslash before the closing
; quote goes.
Function QuotedFolder
    StrCpy $3 $2 2
    ${If} $3 == '\"'
        StrCpy $2 $2 "" 2
    ${Else}
        StrCpy $3 $2 1
        ${IfThen} $3 == '"' ${|} StrCpy $2 $2 "" 1 ${|}
    ${EndIf}
    StrCpy $4 0
    ${Do}
        StrCpy $3 $2 1 $4
        ${IfThen} $3 == "" ${|} ${ExitDo} ${|}
        ${IfThen} $3 == '"' ${|} ${ExitDo} ${|}
        IntOp $4 $4 + 1
    ${Loop}
    StrCpy $2 $2 $4
    StrCpy $3 $2 1 -1
    ${IfThen} $3 == "\" ${|} StrCpy $2 $2 -1 ${|}
    StrCpy $INSTDIR $2
FunctionEnd

Function .onInit
    ; /CURRENTUSER: for this user only, even for an administrator.
    UserInfo::GetAccountType
    Pop $0
    ${GetParameters} $1
    ClearErrors
    ${GetOptions} $1 "/CURRENTUSER" $2
    ${IfNot} ${Errors}
        StrCpy $0 "User"
    ${EndIf}
    ${If} $0 == "Admin"
        SetShellVarContext all
        ${If} ${RunningX64}
            StrCpy $ProgramFolder "$PROGRAMFILES64\${PROGRAM_FOLDER}"
        ${Else}
            StrCpy $ProgramFolder "$PROGRAMFILES32\${PROGRAM_FOLDER}"
        ${EndIf}
    ${Else}
        SetShellVarContext current
        StrCpy $ProgramFolder "$LOCALAPPDATA\${PROGRAM_FOLDER}"
    ${EndIf}

    ${If} ${RunningX64}
        SetRegView 64
        StrCpy $R0 64
        Call FindHostsInView
    ${EndIf}
    SetRegView 32
    StrCpy $R0 32
    Call FindHostsInView
!ifndef MODULE64
    ; No module here that a 64-bit host could load.
    StrCpy $Host64 ""
!endif

    StrCpy $DirectoryText "$(HostMissing)"
    ${If} $Host64 != ""
        StrCpy $Proposed "$Host64\Plug-ins"
        StrCpy $DirectoryText "$(HostFound)"
        ${If} $Host32 != ""
            StrCpy $DirectoryText "$(HostsFound)"
        ${EndIf}
    ${ElseIf} $Host32 != ""
        StrCpy $Proposed "$Host32\Plug-ins"
        StrCpy $DirectoryText "$(HostFound)"
    ${EndIf}
    ; NSIS takes /D= unquoted only: a quoted one, "/D=C:\x y" or /D="C:\x y",
    ; it passes over without a word, or drops. Read here, from the line as given.
    ${If} $INSTDIR == ""
        System::Call 'kernel32::GetCommandLine() t .r1'
        ClearErrors
        ${WordFind} $1 "/D=" "E+1}" $2
        ${IfNot} ${Errors}
            Call QuotedFolder
            ${If} $INSTDIR == ""
                MessageBox MB_OK|MB_ICONSTOP "$(NoFolder)" /SD IDOK
                SetErrorLevel 2
                Quit
            ${EndIf}
        ${EndIf}
    ${EndIf}
    ; /D= wins over the hosts' folders.
    ${If} $INSTDIR == ""
        StrCpy $INSTDIR $Proposed
    ${EndIf}
    ${If} $INSTDIR == ""
    ${AndIf} ${Silent}
        ; No folder to propose and nobody to ask.
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

; Where each module goes. The proposed folder kept: every host found gets
; the module of its architecture. Another folder: the module of the host
; whose executable is beside it, else the one of this Windows.
Function PlanTargets
    StrCpy $Target32 ""
    StrCpy $Target64 ""
    ${If} $INSTDIR == $Proposed
        ${If} $Host64 != ""
            StrCpy $Target64 "$Host64\Plug-ins"
        ${EndIf}
        ${If} $Host32 != ""
            StrCpy $Target32 "$Host32\Plug-ins"
        ${EndIf}
        Return
    ${EndIf}
    ${GetParent} $INSTDIR $0
    Push "$0\${HOST_EXE}"
    Call ProgramBits
    Pop $1
    ${If} $1 == ""
        StrCpy $1 32
        ${If} ${RunningX64}
            StrCpy $1 64
        ${EndIf}
    ${EndIf}
!ifndef MODULE64
    StrCpy $1 32
!endif
    ${If} $1 == 64
        StrCpy $Target64 $INSTDIR
    ${Else}
        StrCpy $Target32 $INSTDIR
    ${EndIf}
FunctionEnd

; The installation this one replaces, from the uninstall entry, and for each
; architecture whether its module lies elsewhere than where this run puts
; the modules: then it goes, with the folders the installer made for it.
!macro PlanEarlier bits
    ReadRegStr $Prev${bits} SHCTX "${UNINSTALL_KEY}" "${FOLDER_VALUE}${bits}"
    ReadRegDWORD $PrevCreated${bits} SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}${bits}"
    IntOp $PrevCreated${bits} $PrevCreated${bits} + 0
    StrCpy $Elsewhere${bits} 0
    ${If} $Prev${bits} != ""
    ${AndIf} ${FileExists} "$Prev${bits}\*.*"
        StrCpy $R8 $Prev${bits}
        Call IsTarget
        ${If} $R9 <> 1
            StrCpy $Elsewhere${bits} 1
        ${EndIf}
    ${EndIf}
!macroend

; Leaves 1 in $R9 when the folder $R8 is one this run puts a module into
; (however either is spelled).
Function IsTarget
    StrCpy $R9 0
    ${If} $Target64 != ""
        Push $R8
        Push $Target64
        Call SameFolder
    ${EndIf}
    ${If} $R9 <> 1
    ${AndIf} $Target32 != ""
        Push $R8
        Push $Target32
        Call SameFolder
    ${EndIf}
FunctionEnd

Function Plan
    Call PlanTargets
    !insertmacro UseEntryView
    !insertmacro PlanEarlier 64
    !insertmacro PlanEarlier 32
FunctionEnd

; $R8 is a target that CheckFolder found makes $Made folders: leaves in $R6
; how many folders the installer made for it, in this run or, when it is an
; earlier installation's folder, in that one.
Function FoldersMadeFor
    StrCpy $R6 $Made
    ${If} $R6 = 0
    ${AndIf} $Prev64 != ""
        Push $R8
        Push $Prev64
        Call SameFolder
        ${IfThen} $R9 = 1 ${|} StrCpy $R6 $PrevCreated64 ${|}
    ${EndIf}
    ${If} $R6 = 0
    ${AndIf} $Prev32 != ""
        Push $R8
        Push $Prev32
        Call SameFolder
        ${IfThen} $R9 = 1 ${|} StrCpy $R6 $PrevCreated32 ${|}
    ${EndIf}
FunctionEnd

!macro CheckTargetOf bits
    ${If} $Failure = 0
    ${AndIf} $Target${bits} != ""
        StrCpy $R8 $Target${bits}
        Call CheckAndSay
        StrCpy $Made${bits} $Made
        Call FoldersMadeFor
        StrCpy $Created${bits} $R6
    ${EndIf}
!macroend

!macro CheckEarlierOf bits
    ${If} $Failure = 0
    ${AndIf} $Elsewhere${bits} = 1
        StrCpy $R8 $Prev${bits}
        Call CheckAndSay
    ${EndIf}
!macroend

; Every check, over every folder this run changes, before the first change:
; the targets, the earlier installation's folders and the program folder.
; Changes nothing; sets $Failure.
Function CheckAll
    StrCpy $Failure 0
    !insertmacro CheckTargetOf 64
    !insertmacro CheckTargetOf 32
    !insertmacro CheckEarlierOf 64
    !insertmacro CheckEarlierOf 32
    ${If} $Failure = 0
        StrCpy $R8 $ProgramFolder
        Call CheckAndSay
    ${EndIf}
FunctionEnd

; The page keeps the user when a folder will not do, so that another can be
; chosen or the same tried again.
Function DirectoryLeave
    Call Plan
    Call CheckAll
    ${If} $Failure <> 0
        Abort
    ${EndIf}
FunctionEnd

; Ends a failed installation with the exit code $Failure. Abort would turn
; every code into 2, so a silent run quits.
!macro Fail
    SetErrorLevel $Failure
    ${If} ${Silent}
        Quit
    ${EndIf}
    Abort
!macroend

; Copies a module into its target under the temporary name, making the
; folders it needs; sets $Failure to 3 when it cannot.
!macro CopyModule bits source
    ${If} $Failure = 0
    ${AndIf} $Target${bits} != ""
        StrCpy $R8 $Target${bits}
        DetailPrint "$R8\${MODULE}"
        ClearErrors
        CreateDirectory $R8
        SetOverwrite on
        File "/oname=$R8\${PARTIAL}" "${source}"
        ${IfThen} ${Errors} ${|} StrCpy $Failure 3 ${|}
    ${EndIf}
!macroend

; After a failed copy: the copies go, and the folders made for them.
!macro UndoCopy bits
    ${If} $Target${bits} != ""
        Delete "$Target${bits}\${PARTIAL}"
        StrCpy $R8 $Target${bits}
        StrCpy $R7 $Made${bits}
        Call RemoveMadeFolders
    ${EndIf}
!macroend

; Moves the module copied to $R8\PARTIAL onto $R8\MODULE; a module the
; running host holds can be neither deleted nor replaced (Retry tries again).
Function ReplaceModule
    retry:
    ClearErrors
    ${If} ${FileExists} "$R8\${MODULE}"
        Delete "$R8\${MODULE}"
    ${EndIf}
    !insertmacro ErrorsTo $0
    ${If} $0 = 0
        Rename "$R8\${PARTIAL}" "$R8\${MODULE}"
        !insertmacro ErrorsTo $0
    ${EndIf}
    StrCpy $Failure 0
    ${If} $0 = 1
        ${If} ${FileExists} "$R8\${MODULE}"
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY retry
            StrCpy $Failure 4
        ${Else}
            MessageBox MB_OK|MB_ICONSTOP "$(NotWritable)" /SD IDOK
            StrCpy $Failure 3
        ${EndIf}
        Delete "$R8\${PARTIAL}"
    ${EndIf}
FunctionEnd

!macro ReplaceModuleOf bits
    ${If} $Target${bits} != ""
        StrCpy $R8 $Target${bits}
        Call ReplaceModule
        ${If} $Failure <> 0
            !insertmacro Fail
        ${EndIf}
    ${EndIf}
!macroend

!macro RemoveEarlier bits
    ${If} $Elsewhere${bits} = 1
        StrCpy $R8 $Prev${bits}
        StrCpy $R7 $PrevCreated${bits}
        Call RemoveModule
        ${If} $Failure <> 0
            !insertmacro Fail
        ${EndIf}
    ${EndIf}
!macroend

!macro WriteRecordOf bits
    ${If} $Target${bits} != ""
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "${FOLDER_VALUE}${bits}" $Target${bits}
        WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}${bits}" $Created${bits}
        ${GetSize} $Target${bits} "/M=${MODULE} /S=0K" $2 $3 $4
        IntOp $1 $1 + $2
    ${Else}
        DeleteRegValue SHCTX "${UNINSTALL_KEY}" "${FOLDER_VALUE}${bits}"
        DeleteRegValue SHCTX "${UNINSTALL_KEY}" "${CREATED_VALUE}${bits}"
    ${EndIf}
!macroend

Section "Ombrix Import"
    Call Plan
    Call CheckAll
    ${If} $Failure <> 0
        !insertmacro Fail
    ${EndIf}

    ; The new modules come in under a temporary name first: a copy that
    ; fails is undone whole.
!ifdef MODULE64
    !insertmacro CopyModule 64 "${MODULE64}"
!endif
    !insertmacro CopyModule 32 "${MODULE32}"
    ${If} $Failure <> 0
        MessageBox MB_OK|MB_ICONSTOP "$(NotWritable)" /SD IDOK
        !insertmacro UndoCopy 64
        !insertmacro UndoCopy 32
        !insertmacro Fail
    ${EndIf}
    !insertmacro ReplaceModuleOf 64
    !insertmacro ReplaceModuleOf 32
    !insertmacro RemoveEarlier 64
    !insertmacro RemoveEarlier 32

    SetOutPath "$ProgramFolder"
    File "${STAGE}\THIRD-PARTY-NOTICES.txt"
    File "${STAGE}\user-guide.html"
    File "${STAGE}\user-guide-fr.html"
    File "/oname=${REMOVER}" "${REMOVER_FILE}"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Ombrix Import"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Korvel"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "HelpLink" "${SUPPORT_LINK}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Contact" "${SUPPORT}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$ProgramFolder\${REMOVER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$ProgramFolder"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$ProgramFolder\${REMOVER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$ProgramFolder\${REMOVER}" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$ProgramFolder" "/S=0K" $1 $2 $3
    !insertmacro WriteRecordOf 64
    !insertmacro WriteRecordOf 32
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1

    ; The last page names every folder that got a module.
    ${If} $Target64 != ""
    ${AndIf} $Target32 != ""
        StrCpy $Placed "$(BothPlaced)"
    ${ElseIf} $Target64 != ""
        StrCpy $Placed $Target64
    ${Else}
        StrCpy $Placed $Target32
    ${EndIf}
SectionEnd
