; The installer of Quorlet (鸥信通), made by scripts/package:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.7.0 -DHOME_PAGE=... -DFILES=DIR -DICON=app.ico
;            -DOUTFILE=Quorlet-1.7.0-setup.exe installer.nsi
; FILES holds Quorlet.exe, Quorlet.chm, README.txt and LICENSE.txt.
;
; It installs for the current user alone, without administrator rights: the program writes its
; data files beside itself, so it lives in a folder the user owns (%LOCALAPPDATA%\Programs\Quorlet).
; The uninstaller removes what the installer put there and keeps the user's data files and
; settings, and says which files it kept.
;
; Silent use: setup.exe /S [/AUTOSTART] [/D=FOLDER]; Uninstall.exe /S.

Unicode true
; A 64-bit installer for a 64-bit program; the default 32-bit stub would not run where only
; 64-bit programs can.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define PRODUCT "鸥信通"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorlet"
!define MENU_FOLDER "$SMPROGRAMS\${PRODUCT}"
; The note the uninstaller leaves beside the data files it kept.
!define KEPT_NOTE "卸载说明.txt"

Name "${PRODUCT} ${VERSION}"
Caption "${PRODUCT} ${VERSION} 安装"
UninstallCaption "${PRODUCT} 卸载"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Quorlet"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Quorlet"
VIAddVersionKey /LANG=2052 "FileDescription" "${PRODUCT} ${VERSION} 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "Copyright (C) 2026 The Quorlet developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Quorlet.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行${PRODUCT}"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\Quorlet.chm"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "查看帮助"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${FILES}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

; The program holds its files open while it runs, and its settings are saved only when it
; ends; so neither the installer nor the uninstaller goes on while it runs. It is found by the
; mutex that keeps it to one copy.
!macro RefuseWhileRunning un
Function ${un}RefuseWhileRunning
    retry:
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Quorlet Class") p .r0'
    ${If} $0 != 0
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT}正在运行。请先退出${PRODUCT}，然后按“重试”。" \
            /SD IDCANCEL IDRETRY retry
        Abort
    ${EndIf}
FunctionEnd
!macroend
!insertmacro RefuseWhileRunning ""
!insertmacro RefuseWhileRunning "un."

Section "${PRODUCT}（程序和帮助）" SecProgram
    SectionIn RO
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${FILES}\Quorlet.exe"
    File "${FILES}\Quorlet.chm"
    File "${FILES}\README.txt"
    File "${FILES}\LICENSE.txt"
    ; A note left by an earlier uninstall no longer holds.
    Delete "$INSTDIR\${KEPT_NOTE}"
    WriteUninstaller "$INSTDIR\Uninstall.exe"

    ; The shortcuts start in the program's folder (the output path), where it keeps its data.
    CreateDirectory "${MENU_FOLDER}"
    CreateShortCut "${MENU_FOLDER}\${PRODUCT}.lnk" "$INSTDIR\Quorlet.exe"
    CreateShortCut "${MENU_FOLDER}\${PRODUCT}帮助.lnk" "$INSTDIR\Quorlet.chm"
    CreateShortCut "${MENU_FOLDER}\卸载${PRODUCT}.lnk" "$INSTDIR\Uninstall.exe"

    ; "Apps" in the system's settings, for this user.
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT} (Quorlet)"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Quorlet.exe"
    WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "The Quorlet developers"
    WriteRegStr HKCU "${UNINST_KEY}" "URLInfoAbout" "${HOME_PAGE}"
    WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
    WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

; Start with Windows for this user: the same value the program's own option writes where the
; machine's Run key is refused, the quoted program path under the user's Run key, and the
; option itself ticked, so that the options page shows it and clearing it there removes it.
Section /o "开机时启动${PRODUCT}" SecAutostart
    WriteRegStr HKCU "${RUN_KEY}" "Quorlet" '"$INSTDIR\Quorlet.exe"'
    WriteRegStr HKCU "Software\Quorlet\Main" "AutoLoad" "1"
SectionEnd

Function .onInit
    ; /AUTOSTART chooses the start with Windows, for silent installs.
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/AUTOSTART" $1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecAutostart}
    ${EndIf}
    Call RefuseWhileRunning
FunctionEnd

Function un.onInit
    Call un.RefuseWhileRunning
FunctionEnd

Section "Uninstall"
    SetShellVarContext current
    Delete "$INSTDIR\Quorlet.exe"
    Delete "$INSTDIR\Quorlet.chm"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\${KEPT_NOTE}"
    Delete "$INSTDIR\Uninstall.exe"

    Delete "${MENU_FOLDER}\${PRODUCT}.lnk"
    Delete "${MENU_FOLDER}\${PRODUCT}帮助.lnk"
    Delete "${MENU_FOLDER}\卸载${PRODUCT}.lnk"
    RMDir "${MENU_FOLDER}"
    ; The start with Windows goes with the program; the setting beside it is the user's.
    ReadRegStr $0 HKCU "${RUN_KEY}" "Quorlet"
    ${If} $0 == '"$INSTDIR\Quorlet.exe"'
        DeleteRegValue HKCU "${RUN_KEY}" "Quorlet"
    ${EndIf}
    DeleteRegKey HKCU "${UNINST_KEY}"

    ; Whatever is left in the folder is the user's: the filter lists, tariffs, holidays, dial-up
    ; settings and the connection log the program wrote. The folder goes only when it is empty.
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
        StrCpy $2 ""
        FindFirst $0 $1 "$INSTDIR\*.*"
        ${DoWhile} $1 != ""
            ${If} $1 != "."
            ${AndIf} $1 != ".."
                StrCpy $2 "$2    $1$\r$\n"
            ${EndIf}
            FindNext $0 $1
        ${Loop}
        FindClose $0
        FileOpen $3 "$INSTDIR\${KEPT_NOTE}" w
        FileWriteUTF16LE /BOM $3 "${PRODUCT}已经卸载。$\r$\n$\r$\n"
        FileWriteUTF16LE $3 "这个文件夹中的下列文件是${PRODUCT}保存的数据（过滤列表、费率、节假日、拨号设置、上网记录等），卸载程序没有删除它们：$\r$\n$\r$\n"
        FileWriteUTF16LE $3 "$2$\r$\n"
        FileWriteUTF16LE $3 "重新安装${PRODUCT}到这个文件夹后，可以继续使用这些数据；不再需要时，可以删除整个文件夹。$\r$\n"
        FileWriteUTF16LE $3 "${PRODUCT}的设置和账户保存在注册表 HKEY_CURRENT_USER\Software\Quorlet 中，也没有删除。$\r$\n"
        FileClose $3
        DetailPrint "保留了数据文件：$INSTDIR"
        MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT}已经卸载。$\r$\n$\r$\n您的数据没有删除：程序文件夹中的数据文件和注册表中的设置都保留着。$\r$\n保留的文件列在这个文件夹的“${KEPT_NOTE}”中：$\r$\n$INSTDIR" \
            /SD IDOK
    ${Else}
        MessageBox MB_OK|MB_ICONINFORMATION "${PRODUCT}已经卸载。注册表中的设置和账户（HKEY_CURRENT_USER\Software\Quorlet）保留了下来，没有删除。" \
            /SD IDOK
    ${EndIf}
SectionEnd
