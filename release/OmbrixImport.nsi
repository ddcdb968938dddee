; The installer of OmbrixImport.8ba. It finds the host through the App Paths
; entry of its executable (32-bit registry view), proposes the host's
; Plug-ins folder, copies the module under a temporary name and renames it,
; and registers an uninstaller that removes exactly what was installed.
; Built by release/CMakeLists.txt:
;   makensis -DVERSION=x.y.z -DCOPYRIGHT=text -DHOST_EXE=name.exe -DSTAGE=folder -DOUTFILE=setup.exe
;            [-DSIGN_COMMAND=release/sign.sh] OmbrixImport.nsi
; STAGE holds OmbrixImport.8ba, THIRD-PARTY-NOTICES.txt and the user guides.

Unicode true
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MODULE "OmbrixImport.8ba"
!define PARTIAL "OmbrixImport.8ba.partial"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OmbrixImport"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\${HOST_EXE}"
!define PROGRAM_FOLDER "Ombrix Import"

Name "Ombrix Import ${VERSION}"
OutFile "${OUTFILE}"
; Administrators install for every user; anyone else gets a clear message
; when the chosen folder cannot be written.
RequestExecutionLevel highest
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "Korvel"
ShowInstDetails show
ShowUninstDetails show

!ifdef SIGN_COMMAND
!finalize '"${SIGN_COMMAND}" "%1"'
!uninstfinalize '"${SIGN_COMMAND}" "%1" "the uninstaller"'
!endif

Var HostFolder       ; the folder of the host's executable; empty when not found
Var ProgramFolder    ; uninstaller, guides and notices
Var DirectoryText
Var PluginFolder     ; the uninstaller's: where the module was put
Var CreatedFolder    ; the uninstaller's: 1 when the installer made the Plug-ins folder

!define MUI_ICON "${NSISDIR}\Contrib\Graphics\Icons\modern-install.ico"
!define MUI_UNICON "${NSISDIR}\Contrib\Graphics\Icons\modern-uninstall.ico"
!define MUI_ABORTWARNING

!define MUI_DIRECTORYPAGE_TEXT_TOP "$DirectoryText"
!define MUI_DIRECTORYPAGE_TEXT_DESTINATION "$(PluginsFolder)"
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE DirectoryLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The language is the user's Windows language, as for the module's own texts.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "French"

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
LangString HostMissing ${LANG_ENGLISH} "The image editor was not found on this computer. Click Browse and select its Plug-ins folder (inside the image editor's own folder), then click Install."
LangString HostMissing ${LANG_FRENCH} "L'éditeur d'images est introuvable sur cet ordinateur. Cliquez sur Parcourir et choisissez son dossier Plug-ins (dans le dossier de l'éditeur d'images), puis cliquez sur Installer."
LangString NotWritable ${LANG_ENGLISH} "The folder $INSTDIR cannot be written.$\r$\n$\r$\nThe image editor's folder can only be changed with administrator rights: start the installer again as an administrator (right-click, Run as administrator), or choose another folder."
LangString NotWritable ${LANG_FRENCH} "Impossible d'écrire dans le dossier $INSTDIR.$\r$\n$\r$\nLe dossier de l'éditeur d'images ne peut être modifié qu'avec les droits d'administrateur : relancez le programme d'installation en tant qu'administrateur (clic droit, Exécuter en tant qu'administrateur), ou choisissez un autre dossier."
LangString InUse ${LANG_ENGLISH} "$INSTDIR\${MODULE} is in use: the image editor is running.$\r$\n$\r$\nClose the image editor, then click Retry."
LangString InUse ${LANG_FRENCH} "$INSTDIR\${MODULE} est en cours d'utilisation : l'éditeur d'images est ouvert.$\r$\n$\r$\nFermez l'éditeur d'images, puis cliquez sur Réessayer."
LangString FinishText ${LANG_ENGLISH} "The Ombrix import module is in $INSTDIR.$\r$\n$\r$\nStart the image editor and choose File > Import > $\"Ombrix...$\". The user guide is in $ProgramFolder."
LangString FinishText ${LANG_FRENCH} "Le module d'import Ombrix se trouve dans $INSTDIR.$\r$\n$\r$\nDémarrez l'éditeur d'images et choisissez Fichier > Importation > « Ombrix... ». Le guide de l'utilisateur se trouve dans $ProgramFolder."
LangString UnInUse ${LANG_ENGLISH} "$PluginFolder\${MODULE} is in use: the image editor is running.$\r$\n$\r$\nClose the image editor, then click Retry."
LangString UnInUse ${LANG_FRENCH} "$PluginFolder\${MODULE} est en cours d'utilisation : l'éditeur d'images est ouvert.$\r$\n$\r$\nFermez l'éditeur d'images, puis cliquez sur Réessayer."

; The host's folder from the App Paths entry of its executable, machine-wide
; first, then the user's; a stale entry whose folder is gone counts as none.
Function FindHost
    StrCpy $HostFolder ""
    ReadRegStr $0 HKLM "${APP_PATHS_KEY}" ""
    ${If} $0 == ""
        ReadRegStr $0 HKCU "${APP_PATHS_KEY}" ""
    ${EndIf}
    StrCpy $1 $0 1
    ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $0 $0 -1
    ${EndIf}
    ${If} $0 != ""
        ${GetParent} $0 $1
        ${If} ${FileExists} "$1\*.*"
            StrCpy $HostFolder $1
        ${EndIf}
    ${EndIf}
FunctionEnd

Function .onInit
    SetRegView 32
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        SetShellVarContext all
        StrCpy $ProgramFolder "$PROGRAMFILES32\${PROGRAM_FOLDER}"
    ${Else}
        SetShellVarContext current
        StrCpy $ProgramFolder "$LOCALAPPDATA\${PROGRAM_FOLDER}"
    ${EndIf}
    Call FindHost
    StrCpy $DirectoryText "$(HostMissing)"
    ${If} $HostFolder != ""
        StrCpy $DirectoryText "$(HostFound)"
    ${EndIf}
    ; /D= wins over the host's folder.
    ${If} $INSTDIR == ""
    ${AndIf} $HostFolder != ""
        StrCpy $INSTDIR "$HostFolder\Plug-ins"
    ${EndIf}
    ${If} $INSTDIR == ""
    ${AndIf} ${Silent}
        ; No folder to propose and nobody to ask.
        SetErrorLevel 2
        Quit
    ${EndIf}
FunctionEnd

; Sets the error flag when $INSTDIR cannot be written; makes it when missing.
Function CheckWritable
    ClearErrors
    CreateDirectory "$INSTDIR"
    ${IfNot} ${Errors}
        FileOpen $0 "$INSTDIR\${PARTIAL}" w
        ${IfNot} ${Errors}
            FileClose $0
            Delete "$INSTDIR\${PARTIAL}"
        ${EndIf}
    ${EndIf}
FunctionEnd

Function DirectoryLeave
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        Return
    ${EndIf}
    Call CheckWritable
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "$(NotWritable)"
        Abort
    ${EndIf}
FunctionEnd

; Fails the installation: the message (silent: none), the exit code, stop.
; Abort would turn every code into 2, so a silent run quits.
!macro Fail text code
    Delete "$INSTDIR\${PARTIAL}"
    !if "${text}" != ""
        MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
    !endif
    SetErrorLevel ${code}
    ${If} ${Silent}
        Quit
    ${EndIf}
    Abort
!macroend

Section "Ombrix Import"
    SetRegView 32
    StrCpy $R0 0
    ${IfNot} ${FileExists} "$INSTDIR\*.*"
        StrCpy $R0 1
    ${EndIf}
    Call CheckWritable
    ${If} ${Errors}
        !insertmacro Fail "$(NotWritable)" 3
    ${EndIf}
    ; The module is written under a temporary name and renamed once whole:
    ; the host never finds a half-copied module.
    SetOverwrite on
    ClearErrors
    File "/oname=$INSTDIR\${PARTIAL}" "${STAGE}\${MODULE}"
    ${If} ${Errors}
        !insertmacro Fail "$(NotWritable)" 3
    ${EndIf}
    ; A module the running host has loaded can be neither written nor deleted.
    replace:
    ClearErrors
    ${If} ${FileExists} "$INSTDIR\${MODULE}"
        Delete "$INSTDIR\${MODULE}"
    ${EndIf}
    ${IfNot} ${Errors}
        Rename "$INSTDIR\${PARTIAL}" "$INSTDIR\${MODULE}"
    ${EndIf}
    ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUse)" /SD IDCANCEL IDRETRY replace
        !insertmacro Fail "" 4
    ${EndIf}

    ; A module left by an earlier installation into another folder is ours too.
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "PluginFolder"
    ${If} $1 != ""
    ${AndIf} $1 != $INSTDIR
        Delete "$1\${MODULE}"
    ${EndIf}

    SetOutPath "$ProgramFolder"
    File "${STAGE}\THIRD-PARTY-NOTICES.txt"
    File "${STAGE}\user-guide.html"
    File "${STAGE}\user-guide-fr.html"
    WriteUninstaller "$ProgramFolder\${UNINSTALLER}"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Ombrix Import"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "Korvel"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$ProgramFolder\${UNINSTALLER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$ProgramFolder"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$ProgramFolder\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$ProgramFolder\${UNINSTALLER}" /S'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "PluginFolder" "$INSTDIR"
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "CreatedPluginFolder" $R0
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$ProgramFolder" "/S=0K" $1 $2 $3
    ${GetSize} "$INSTDIR" "/M=${MODULE} /S=0K" $2 $3 $4
    IntOp $1 $1 + $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

Function un.onInit
    SetRegView 32
    SetShellVarContext all
    ReadRegStr $PluginFolder SHCTX "${UNINSTALL_KEY}" "PluginFolder"
    ${If} $PluginFolder == ""
        SetShellVarContext current
        ReadRegStr $PluginFolder SHCTX "${UNINSTALL_KEY}" "PluginFolder"
    ${EndIf}
    ReadRegDWORD $CreatedFolder SHCTX "${UNINSTALL_KEY}" "CreatedPluginFolder"
FunctionEnd

; Removes what the installer put down and nothing else: export folders, the
; converter's settings and anything beside the module stay.
Section "Uninstall"
    SetRegView 32
    ${If} $PluginFolder != ""
        remove:
        ClearErrors
        ${If} ${FileExists} "$PluginFolder\${MODULE}"
            Delete "$PluginFolder\${MODULE}"
        ${EndIf}
        ${If} ${Errors}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(UnInUse)" /SD IDCANCEL IDRETRY remove
            SetErrorLevel 4
            ${If} ${Silent}
                Quit
            ${EndIf}
            Abort
        ${EndIf}
        Delete "$PluginFolder\${PARTIAL}"
        ${If} $CreatedFolder == 1
            RMDir "$PluginFolder"
        ${EndIf}
    ${EndIf}
    Delete "$INSTDIR\THIRD-PARTY-NOTICES.txt"
    Delete "$INSTDIR\user-guide.html"
    Delete "$INSTDIR\user-guide-fr.html"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
