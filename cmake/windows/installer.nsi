; The Windows installer: the window program and the command line always, the radio simulator on
; request; a Start-menu entry and an uninstaller that removes exactly what was installed.
; makensis -DVERSION=1.2.0 -DSTAGE=<folder> -DINSTALL_LIST=<nsh> -DUNINSTALL_LIST=<nsh>
;          -DICON=<program.ico> -DOUTFILE=<setup.exe> installer.nsi   (scripts/windows writes the lists)
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

!define PRODUCT "Zerlind Firm Utility"
; The programs' CompanyName, which also names their settings key.
!define COMPANY "vurn"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\ZerlindFirmUtility"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Zerlind Firm Utility developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_SMALLDESC
; The programs' own licence, and where the licences of what ships with them are.
!define MUI_LICENSEPAGE_TEXT_BOTTOM "$(LicenceBottom)"
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString NamePrograms ${LANG_ENGLISH} "${PRODUCT}"
LangString NamePrograms ${LANG_JAPANESE} "${PRODUCT}"
LangString DescPrograms ${LANG_ENGLISH} "The window program and the command-line updater zerlind-firm-update, with a Start-menu entry."
LangString DescPrograms ${LANG_JAPANESE} "ウィンドウのプログラムとコマンドラインの更新プログラム zerlind-firm-update、スタートメニューの項目。"
LangString NameSimulator ${LANG_ENGLISH} "Radio simulator"
LangString NameSimulator ${LANG_JAPANESE} "無線機シミュレーター"
LangString DescSimulator ${LANG_ENGLISH} "zerlind-radio-sim, a radio on this computer for tests and demonstrations."
LangString DescSimulator ${LANG_JAPANESE} "zerlind-radio-sim：テストとデモ用に、このコンピューター上で無線機の代わりをします。"
LangString LicenceBottom ${LANG_ENGLISH} "Qt (LGPL v3), the GCC runtime and the other components installed with the programs keep their own licences: THIRD-PARTY-NOTICES.txt in the installation folder gives them, where their source is and how to replace Qt."
LangString LicenceBottom ${LANG_JAPANESE} "一緒にインストールされる Qt（LGPL v3）、GCC ランタイムなどの部品には、それぞれのライセンスがあります。インストール先の THIRD-PARTY-NOTICES.txt に、その全文、ソースの入手先、Qt の差し替え方を記しています。"
LangString OldWindows ${LANG_ENGLISH} "${PRODUCT} needs Windows 10 or 11, 64-bit. Nothing has been installed."
LangString OldWindows ${LANG_JAPANESE} "${PRODUCT} には Windows 10 または 11（64 ビット）が必要です。何もインストールしていません。"
LangString Running ${LANG_ENGLISH} "$R1 is running. Close it, then choose Retry."
LangString Running ${LANG_JAPANESE} "$R1 が実行中です。終了してから [再試行] を選んでください。"

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
!insertmacro ASK_TO_CLOSE_RUNNING ""
!insertmacro ASK_TO_CLOSE_RUNNING "un."

; The Start-menu entry for every user of the machine, as the programs are. The bundled Qt runs on
; Windows 10 and later only: an older system is told so before anything is written.
Function .onInit
  ${IfNot} ${AtLeastWin10}
    MessageBox MB_OK|MB_ICONSTOP "$(OldWindows)" /SD IDOK
    SetErrorLevel 3
    Quit
  ${EndIf}
  SetShellVarContext all
FunctionEnd
Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "!$(NamePrograms)" SecPrograms
  SectionIn RO
  Call AskToCloseRunning
  !include "${INSTALL_LIST}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\zerlind-firm-utility.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zerlind-firm-utility.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "$(NameSimulator)" SecSimulator
  SetOutPath "$INSTDIR"
  File "${STAGE}\zerlind-radio-sim.exe"
SectionEnd

; Last: the size in Settings, Apps is what the chosen parts take (in KiB).
Section "-EstimatedSize"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecPrograms} $(DescPrograms)
  !insertmacro MUI_DESCRIPTION_TEXT ${SecSimulator} $(DescSimulator)
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  Call un.AskToCloseRunning
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
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
