; The Windows installer: the window program and the command line always, the radio simulator and
; the install folder on the user's PATH on request (an upgrade keeps what was chosen before;
; /SIMULATOR and /PATH choose them on a silent run); a Start-menu entry and an uninstaller that
; removes exactly what was installed, and the user's settings on request.
; Made in two passes, so that the uninstaller carries version information of its own (NSIS gives
; an uninstaller it writes the stub of the installer that writes it):
;   makensis -DINNER -DVERSION=1.2.0 -DUNINSTALL_LIST=<nsh> -DICON=<program.ico> -DOUTFILE=<x.exe>
;            installer.nsi       a program that only writes uninstall.exe beside itself when run
;   makensis -DVERSION=1.2.0 -DSTAGE=<folder> -DINSTALL_LIST=<nsh> -DUNINSTALLER=<uninstall.exe>
;            -DICON=<program.ico> -DFINISH_BITMAP=<164x314.bmp> -DOUTFILE=<setup.exe> installer.nsi
;            the installer
; (scripts/windows writes the lists, runs the first under Wine, then makes the second).
Unicode true
; A 64-bit installer: the programs are 64-bit, and a 64-bit-only Wine cannot run a 32-bit one.
Target amd64-unicode
SetCompressor /SOLID lzma
; Sharp text at any scaling, as the programs draw theirs.
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "WinVer.nsh"
!include "WordFunc.nsh"
!include "WinMessages.nsh"

!define PRODUCT "Zerlind Firm Utility"
; The programs' CompanyName, which also names their settings key.
!define COMPANY "vurn"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZerlindFirmUtility"
; Where the programs keep the user's settings.
!define SETTINGS_KEY "Software\${COMPANY}\Zerlind FirmUtility"
; The copy of the uninstaller that removes it after a quiet uninstall that ran in place.
!define CLEANUP_EXE "zerlind-firm-utility-uninstall-cleanup.exe"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
; The product at the foot of every page, not the installer system's name.
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
!ifdef INNER
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} uninstaller"
VIAddVersionKey /LANG=1033 "OriginalFilename" "uninstall.exe"
!else
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "OriginalFilename" "zerlind-firm-utility-${VERSION}-setup.exe"
!endif
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "© 2026 The Zerlind Firm Utility developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
; The description box holds two lines: each description fits it in both languages.
!define MUI_COMPONENTSPAGE_SMALLDESC
; Escape or Cancel asks before it quits.
!define MUI_ABORTWARNING
!define MUI_UNABORTWARNING
!ifdef INNER
; Removing frees space: the components page has no "Space required" to show.
SpaceTexts none
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!else
; The programs' own licence, and where the licences of what ships with them are.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "$(LicenceBottom)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\zerlind-firm-utility.exe"
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
!define MUI_WELCOMEFINISHPAGE_BITMAP "${FINISH_BITMAP}"
; The stock Japanese title, with the version, leaves its last letter alone on a second line.
!define MUI_FINISHPAGE_TITLE "$(FinishTitle)"
!insertmacro MUI_PAGE_FINISH
!endif
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NamePrograms ${LANG_ENGLISH} "${PRODUCT}"
LangString NamePrograms ${LANG_JAPANESE} "${PRODUCT}"
LangString DescPrograms ${LANG_ENGLISH} "The window program and zerlind-firm-update, with a Start-menu entry."
LangString DescPrograms ${LANG_JAPANESE} "ウィンドウのプログラム、zerlind-firm-update、スタートメニュー。"
LangString NameSimulator ${LANG_ENGLISH} "Radio simulator"
LangString NameSimulator ${LANG_JAPANESE} "無線機シミュレーター"
LangString DescSimulator ${LANG_ENGLISH} "zerlind-radio-sim, a radio on this computer for tests and demonstrations."
LangString DescSimulator ${LANG_JAPANESE} "zerlind-radio-sim：テストとデモ用に、このコンピューター上で無線機の代わりをします。"
LangString LicenceBottom ${LANG_ENGLISH} "Qt (LGPL v3), the GCC runtime and the other components installed with the programs keep their own licences: THIRD-PARTY-NOTICES.txt in the installation folder gives them, where their source is and how to replace Qt."
LangString LicenceBottom ${LANG_JAPANESE} "一緒にインストールされるQt（LGPL v3）、GCCランタイムなどの部品には、それぞれのライセンスがあります。インストール先のTHIRD-PARTY-NOTICES.txtに、その全文、ソースの入手先、Qtの差し替え方を記しています。"
LangString NamePath ${LANG_ENGLISH} "Command line in every console"
LangString NamePath ${LANG_JAPANESE} "どのコンソールでもコマンドラインを使う"
LangString DescPath ${LANG_ENGLISH} "Puts this folder on your PATH, so that a new console finds zerlind-firm-update."
LangString DescPath ${LANG_JAPANESE} "PATHに加え、新しいコンソールでzerlind-firm-updateを使えるようにします。"
LangString PathTooLong ${LANG_ENGLISH} "Your PATH is too long to be changed safely here; add $INSTDIR to it yourself."
LangString PathTooLong ${LANG_JAPANESE} "PATHが長すぎるため、ここでは安全に変更できません。$INSTDIRをご自分で加えてください。"
LangString NameUnPrograms ${LANG_ENGLISH} "${PRODUCT}"
LangString NameUnPrograms ${LANG_JAPANESE} "${PRODUCT}"
LangString DescUnPrograms ${LANG_ENGLISH} "The programs, their Start-menu entries and their place on your PATH."
LangString DescUnPrograms ${LANG_JAPANESE} "プログラム、スタートメニューの項目、PATHへの追加。"
LangString NameUnSettings ${LANG_ENGLISH} "Your settings"
LangString NameUnSettings ${LANG_JAPANESE} "ユーザーの設定"
LangString DescUnSettings ${LANG_ENGLISH} "The last firmware file and radio address the window program keeps for you."
LangString DescUnSettings ${LANG_JAPANESE} "ウィンドウのプログラムが記憶している、最後のファームウェアファイルと無線機のアドレス。"
LangString ShortcutUninstall ${LANG_ENGLISH} "Uninstall ${PRODUCT}"
LangString ShortcutUninstall ${LANG_JAPANESE} "${PRODUCT}のアンインストール"
LangString FinishTitle ${LANG_ENGLISH} "Completing $(^NameDA) Setup"
LangString FinishTitle ${LANG_JAPANESE} "${PRODUCT}セットアップの完了"
LangString OldWindows ${LANG_ENGLISH} "${PRODUCT} needs Windows 10 or 11, 64-bit. Nothing has been installed."
LangString OldWindows ${LANG_JAPANESE} "${PRODUCT}にはWindows 10または11（64ビット）が必要です。何もインストールしていません。"
LangString Running ${LANG_ENGLISH} "${PRODUCT} is running ($R1). Close it, then choose Retry."
LangString Running ${LANG_JAPANESE} "${PRODUCT}が実行中です（$R1）。終了してから「再試行」を選んでください。"

; A program that runs holds its file: each one installed is asked for until it is closed or the
; operator cancels (a silent run cancels), before a single file is replaced or removed.
!macro ASK_TO_CLOSE_RUNNING prefix
Function ${prefix}AskToCloseRunning
  Push $R0
  Push $R1
  Push $R2
  StrCpy $R2 0
  ${Do}
    ${Select} $R2
      ${Case} 0
        StrCpy $R1 "zerlind-firm-utility.exe"
      ${Case} 1
        StrCpy $R1 "zerlind-firm-update.exe"
      ${Case} 2
        StrCpy $R1 "zerlind-radio-sim.exe"
      ${CaseElse}
        ${Break}
    ${EndSelect}
    ${If} ${FileExists} "$INSTDIR\$R1"
      ClearErrors
      FileOpen $R0 "$INSTDIR\$R1" a
      ${If} ${Errors}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(Running)" /SD IDCANCEL IDRETRY again
        Abort
        again:
        ${Continue}
      ${EndIf}
      FileClose $R0
    ${EndIf}
    IntOp $R2 $R2 + 1
  ${Loop}
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
!ifdef INNER
!insertmacro ASK_TO_CLOSE_RUNNING "un."
!else
!insertmacro ASK_TO_CLOSE_RUNNING ""
!endif

; The install folder on the user's PATH, or taken off it, for consoles started from then on. A
; PATH longer than NSIS's strings could be cut short by a write: it is left alone.
!macro PATH_FUNCTIONS prefix
Function ${prefix}SetPath ; $R0: 1 adds the folder, 0 takes it off
  Push $R1
  Push $R2
  ReadRegStr $R1 HKCU "Environment" "Path"
  StrLen $R2 $R1
  ${If} $R2 > 900
    DetailPrint "$(PathTooLong)"
  ${Else}
    ${${prefix}WordReplace} ";$R1;" ";$INSTDIR;" ";" "+" $R1
    ${${prefix}WordReplace} "$R1" ";" "" "{}*" $R1
    ${If} $R0 = 1
      ${If} $R1 == ""
        StrCpy $R1 "$INSTDIR"
      ${Else}
        StrCpy $R1 "$R1;$INSTDIR"
      ${EndIf}
    ${EndIf}
    ${If} $R1 == ""
      DeleteRegValue HKCU "Environment" "Path"
    ${Else}
      WriteRegExpandStr HKCU "Environment" "Path" "$R1"
    ${EndIf}
    SendMessage ${HWND_BROADCAST} ${WM_SETTINGCHANGE} 0 "STR:Environment" /TIMEOUT=5000
  ${EndIf}
  Pop $R2
  Pop $R1
FunctionEnd
!macroend
!ifdef INNER
!insertmacro PATH_FUNCTIONS "un."
!else
!insertmacro PATH_FUNCTIONS ""
!endif

!ifndef INNER
Section "!$(NamePrograms)" SecPrograms
  SectionIn RO
  Call AskToCloseRunning
  !include "${INSTALL_LIST}"
  SetOutPath "$INSTDIR"
  File "${UNINSTALLER}"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  Delete "$SMPROGRAMS\${PRODUCT}\*.lnk" ; an earlier install's, perhaps in another language
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\zerlind-firm-utility.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(ShortcutUninstall).lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zerlind-firm-utility.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  ; In place (_?=), so that its status is the uninstall's: 0 done, 2 given up (a program ran).
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(NameSimulator)" SecSimulator
  SetOutPath "$INSTDIR"
  File "${STAGE}\zerlind-radio-sim.exe"
SectionEnd

Section /o "$(NamePath)" SecPath
SectionEnd

; What was chosen, kept for the next upgrade; what is no longer chosen goes.
Section "-Choices"
  ${If} ${SectionIsSelected} ${SecSimulator}
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Simulator" 1
  ${Else}
    Delete "$INSTDIR\zerlind-radio-sim.exe"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Simulator" 0
  ${EndIf}
  ReadRegDWORD $R3 HKLM "${UNINSTALL_KEY}" "Path"
  ${If} ${SectionIsSelected} ${SecPath}
    StrCpy $R0 1
    Call SetPath
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Path" 1
  ${ElseIf} $R3 = 1
    StrCpy $R0 0
    Call SetPath
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Path" 0
  ${EndIf}
SectionEnd

; Last: the size in Settings, Apps is what the chosen parts take (in KiB).
Section "-EstimatedSize"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} $(DescPrograms)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} $(DescSimulator)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPath} $(DescPath)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; The Start-menu entry for every user of the machine, as the programs are. The bundled Qt runs on
; Windows 10 and later only: an older system is told so before anything is written. An upgrade
; starts with the parts chosen before; a silent run can choose them by switch.
Function .onInit
  ${IfNot} ${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP "$(OldWindows)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  SetShellVarContext all
  ${GetParameters} $R0
  ReadRegDWORD $R1 HKLM "${UNINSTALL_KEY}" "Simulator"
  ClearErrors
  ${GetOptions} $R0 "/SIMULATOR" $R2
  ${IfNot} ${Errors}
  ${OrIf} $R1 = 1
    !insertmacro SelectSection ${SecSimulator}
  ${EndIf}
  ReadRegDWORD $R1 HKLM "${UNINSTALL_KEY}" "Path"
  ClearErrors
  ${GetOptions} $R0 "/PATH" $R2
  ${IfNot} ${Errors}
  ${OrIf} $R1 = 1
    !insertmacro SelectSection ${SecPath}
  ${EndIf}
FunctionEnd
!else

; The first pass: uninstall.exe written beside this program, which then ends (status 0 when written).
Function .onInit
  ClearErrors
  WriteUninstaller "$EXEDIR\uninstall.exe"
  ${If} ${Errors}
    SetErrorLevel 1
  ${Else}
    SetErrorLevel 0
  ${EndIf}
  Quit
FunctionEnd

Section
SectionEnd

; A quiet uninstall runs in place and cannot remove its own file: it leaves a copy of itself in
; the temporary folder started with /CLEANUP, which removes the file and the folder once that run
; has ended (within 30 seconds), then its own file at the next restart.
Function un.onInit
  SetShellVarContext all
  ${GetParameters} $R0
  ClearErrors
  ${un.GetOptions} $R0 "/CLEANUP" $R1
  ${IfNot} ${Errors}
    ${For} $R2 1 150
      Delete "$INSTDIR\uninstall.exe"
      ${IfNot} ${FileExists} "$INSTDIR\uninstall.exe"
        ${Break}
      ${EndIf}
      Sleep 200
    ${Next}
    RMDir "$INSTDIR"
    Delete /REBOOTOK "$EXEPATH"
    Quit
  ${EndIf}
FunctionEnd

Section "un.$(NameUnPrograms)" SecUnPrograms
  SectionIn RO
  Call un.AskToCloseRunning
  ReadRegDWORD $R3 HKLM "${UNINSTALL_KEY}" "Path"
  ${If} $R3 = 1
    StrCpy $R0 0
    Call un.SetPath
  ${EndIf}
  ; The empty keys Qt's file dialog leaves once the program has taken its state away again;
  ; keys that hold another Qt program's state stay.
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\QtProject\OrganizationDefaults"
  DeleteRegKey /ifnosubkeys /ifnovalues HKCU "Software\QtProject"
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\zerlind-radio-sim.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR\plugins\platforms"
  RMDir "$INSTDIR\plugins\styles"
  RMDir "$INSTDIR\plugins"
  RMDir "$INSTDIR\translations"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}\*.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ${If} $EXEDIR == $INSTDIR
    CopyFiles /SILENT "$EXEPATH" "$TEMP\${CLEANUP_EXE}"
    Exec '"$TEMP\${CLEANUP_EXE}" /S /CLEANUP _?=$INSTDIR'
  ${EndIf}
SectionEnd

Section /o "un.$(NameUnSettings)" SecUnSettings
  DeleteRegKey HKCU "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${COMPANY}"
SectionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnPrograms} $(DescUnPrograms)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUnSettings} $(DescUnSettings)
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
!endif
