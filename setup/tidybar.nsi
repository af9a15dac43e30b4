; tidybar-setup.exe: installs Tidybar into C:\tyb, the folder the program expects, with its
; calendar and about programs, its start-up sound, the Startup shortcut's source, the eight
; category folders with a few shortcuts in each, Start-menu entries and an uninstaller.
;
; Built by the normal build (setup/CMakeLists.txt), which passes the files to pack:
;   makensis -DVERSION=1.0.0 -DPROGRAM=... -DCALENDAR=... -DABOUT=... -DSOUND=... -DICON=...
;            -DOUTFILE=... tidybar.nsi
; Silent use: tidybar-setup.exe /S [/D=C:\folder]   (/D last and unquoted)
;             Uninstall.exe /S [/REMOVEUSERFILES]   (returns at once; the work goes on in a copy)

Unicode true
; A 32-bit setup does nothing on 64-bit-only Wine and still exits 0.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "nsDialogs.nsh"

!define PRODUCT "Tidybar"
!define PUBLISHER "Farrowind"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tidybar"
!define UNINSTALLER "Uninstall.exe"
!define STARTUP_LINK "Shortcuttotyb.exe.lnk"
; Where Windows XP and older keep the all-users Startup folder; the bar falls back to it.
!define OLD_STARTUP "c:\Documents and Settings\All Users\Start Menu\Programs\Startup"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
; The program finds its category folders, playlist and Startup shortcut under C:\tyb.
InstallDir "C:\tyb"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright ${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "This will install ${PRODUCT} ${VERSION}, a desktop bar that keeps your shortcuts \
in eight categories and plays MP3 files.$\r$\n$\r$\nIt goes into C:\tyb, the folder the program works in.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartBar

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.UserFilesPage un.UserFilesPageLeave
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

; The category folders, as the selector windows name them (the table in
; selectors/Categories.h; its tests compare this list with it).
!macro ForEachCategory _macro
  !insertmacro ${_macro} AUDIO
  !insertmacro ${_macro} GRAPHICS
  !insertmacro ${_macro} INTERNET
  !insertmacro ${_macro} OFFICE
  !insertmacro ${_macro} PHOTOS
  !insertmacro ${_macro} PROGRAMS
  !insertmacro ${_macro} SYSTEM
  !insertmacro ${_macro} VIDEO
!macroend

; The shortcuts a first start shows, one line each: folder, name, target, arguments.
; Setup makes a shortcut only when its target is there; the uninstaller removes each name.
!macro ForEachSample _macro
  !insertmacro ${_macro} OFFICE "Notepad" "$WINDIR\notepad.exe" ""
  !insertmacro ${_macro} OFFICE "WordPad" "$PROGRAMFILES64\Windows NT\Accessories\wordpad.exe" ""
  !insertmacro ${_macro} SYSTEM "Command Prompt" "$SYSDIR\cmd.exe" ""
  !insertmacro ${_macro} SYSTEM "Registry Editor" "$WINDIR\regedit.exe" ""
  !insertmacro ${_macro} PROGRAMS "Calendar" "$INSTDIR\tybCal.exe" ""
  !insertmacro ${_macro} PROGRAMS "About Tidybar" "$INSTDIR\aboutTYB.exe" ""
  !insertmacro ${_macro} INTERNET "Internet Explorer" "$PROGRAMFILES64\Internet Explorer\iexplore.exe" ""
  !insertmacro ${_macro} INTERNET "Internet Options" "$SYSDIR\control.exe" "inetcpl.cpl"
  !insertmacro ${_macro} AUDIO "Start-up sound" "$INSTDIR\simple.mp3" ""
  !insertmacro ${_macro} AUDIO "Music" "$MUSIC" ""
  !insertmacro ${_macro} VIDEO "Windows Media Player" "$PROGRAMFILES64\Windows Media Player\wmplayer.exe" ""
  !insertmacro ${_macro} VIDEO "Videos" "$VIDEOS" ""
  !insertmacro ${_macro} GRAPHICS "Paint" "$SYSDIR\mspaint.exe" ""
  !insertmacro ${_macro} GRAPHICS "DirectX Diagnostics" "$SYSDIR\dxdiag.exe" ""
  !insertmacro ${_macro} PHOTOS "Pictures" "$PICTURES" ""
!macroend

!macro MakeCategory _folder
  CreateDirectory "$INSTDIR\TYBICONS\${_folder}"
!macroend

!macro MakeSample _folder _name _target _args
  ${If} ${FileExists} "${_target}"
    CreateShortCut "$INSTDIR\TYBICONS\${_folder}\${_name}.lnk" "${_target}" "${_args}"
  ${EndIf}
!macroend

!macro RemoveSample _folder _name _target _args
  Delete "$INSTDIR\TYBICONS\${_folder}\${_name}.lnk"
!macroend

; A category folder goes only when nothing of the user's is left in it.
!macro RemoveCategory _folder
  RMDir "$INSTDIR\TYBICONS\${_folder}"
!macroend

; ---- Running bars ----
; A running tidybar.exe can be neither replaced nor removed, so setup and the uninstaller go
; on only when no bar runs. Each bar holds the mutex below while it runs and a hidden window
; of the class below, which passes a close request on to its bar (app/RunningMark.h).
!define RUNNING_MUTEX "TidybarRunning"
!define RUNNING_WINDOW_CLASS "TidybarRunning"
!define SYNCHRONIZE 0x00100000
!define BAR_END_WAIT_TRIES 50  ; of 200 ms each

!macro RunningBarFunctions _un
; $0: 1 while a bar runs, else 0.
Function ${_un}IsBarRunning
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0'
  ${If} $0 != 0
    System::Call 'kernel32::CloseHandle(p r0)'
    StrCpy $0 1
  ${EndIf}
FunctionEnd

; $0: 0 once no bar runs, 1 if one still does after ten seconds.
Function ${_un}WaitForBarsToEnd
  ${For} $1 1 ${BAR_END_WAIT_TRIES}
    Call ${_un}IsBarRunning
    ${IfThen} $0 == 0 ${|} Return ${|}
    Sleep 200
  ${Next}
FunctionEnd

Function ${_un}AskBarsToClose
  StrCpy $1 0
  ${Do}
    FindWindow $1 "${RUNNING_WINDOW_CLASS}" "" 0 $1
    ${IfThen} $1 == 0 ${|} ${ExitDo} ${|}
    SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=1000
  ${Loop}
FunctionEnd

; For a moment after a bar has ended, its process still holds tidybar.exe.
Function ${_un}WaitForProgramFile
  ${IfNot} ${FileExists} "$INSTDIR\tidybar.exe"
    Return
  ${EndIf}
  ${For} $1 1 ${BAR_END_WAIT_TRIES}
    ClearErrors
    FileOpen $2 "$INSTDIR\tidybar.exe" a
    ${IfNot} ${Errors}
      FileClose $2
      Return
    ${EndIf}
    Sleep 200
  ${Next}
FunctionEnd

; Asks the user to close every running bar, or in a silent run closes them; aborts when
; they stay.
Function ${_un}CloseRunningBars
  Call ${_un}IsBarRunning
  ${If} $0 == 1
  ${AndIf} ${Silent}
    DetailPrint "Closing ${PRODUCT}"
    Call ${_un}AskBarsToClose
    Call ${_un}WaitForBarsToEnd
    ${If} $0 == 1
      SetErrorLevel 2
      Abort "${PRODUCT} is still running."
    ${EndIf}
  ${EndIf}
  ${DoWhile} $0 == 1
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running. Close it with its Close button, \
then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort "${PRODUCT} is still running."
  retry:
    Call ${_un}IsBarRunning
  ${Loop}
  Call ${_un}WaitForProgramFile
FunctionEnd
!macroend
!insertmacro RunningBarFunctions ""
!insertmacro RunningBarFunctions "un."

Section "Tidybar" SecProgram
  SectionIn RO
  Call CloseRunningBars
  SetOutPath "$INSTDIR"
  File "/oname=tidybar.exe" "${PROGRAM}"
  File "/oname=tybCal.exe" "${CALENDAR}"
  File "/oname=aboutTYB.exe" "${ABOUT}"
  File "/oname=simple.mp3" "${SOUND}"
  ; The bar copies this one into the Startup folder when "Load at startup" is on.
  ; Shortcuts start in $OUTDIR, here the program's folder, where its note and sound are.
  CreateShortCut "$INSTDIR\${STARTUP_LINK}" "$INSTDIR\tidybar.exe"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  ; Shortcuts only in a new arrangement: a reinstall leaves the user's as they are.
  SetShellVarContext current
  ${IfNot} ${FileExists} "$INSTDIR\TYBICONS\*.*"
    !insertmacro ForEachCategory MakeCategory
    !insertmacro ForEachSample MakeSample
  ${Else}
    !insertmacro ForEachCategory MakeCategory
  ${EndIf}

  SetShellVarContext all
  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\tidybar.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\${PRODUCT} calendar.lnk" "$INSTDIR\tybCal.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\${UNINSTALLER}"

  Call WriteUninstallEntry
SectionEnd

Function WriteUninstallEntry
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tidybar.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; Kilobytes of what this section installs, not of what the user keeps in the folder.
  SectionGetSize ${SecProgram} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
FunctionEnd

; As the Start-menu entry starts it: in its own folder.
Function StartBar
  SetOutPath "$INSTDIR"
  Exec '"$INSTDIR\tidybar.exe"'
FunctionEnd

; ---- Uninstaller ----

Var RemoveUserFiles
Var RemoveUserFilesCheck

Function un.onInit
  StrCpy $RemoveUserFiles ${BST_UNCHECKED}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEUSERFILES" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveUserFiles ${BST_CHECKED}
  ${EndIf}
FunctionEnd

Function un.UserFilesPage
  !insertmacro MUI_HEADER_TEXT "Your files" "Choose whether to keep what you made with ${PRODUCT}."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "Your note (note1.txt), your playlist (playlist.m3u), your settings and \
everything you put into the category folders under $INSTDIR\TYBICONS are kept, so a later install finds them again."
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "&Remove them too"
  Pop $RemoveUserFilesCheck
  ${NSD_SetState} $RemoveUserFilesCheck $RemoveUserFiles
  nsDialogs::Show
FunctionEnd

Function un.UserFilesPageLeave
  ${NSD_GetState} $RemoveUserFilesCheck $RemoveUserFiles
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningBars
  ; The copy the bar put into the all-users Startup folder, wherever the bar found it.
  SetShellVarContext all
  Delete "$SMSTARTUP\${STARTUP_LINK}"
  Delete "${OLD_STARTUP}\${STARTUP_LINK}"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT} calendar.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  SetShellVarContext current
  ${If} $RemoveUserFiles == ${BST_CHECKED}
    Call un.RemoveUserFiles
  ${EndIf}
  !insertmacro ForEachSample RemoveSample
  !insertmacro ForEachCategory RemoveCategory
  RMDir "$INSTDIR\TYBICONS"

  Delete "$INSTDIR\tidybar.exe"
  Delete "$INSTDIR\tybCal.exe"
  Delete "$INSTDIR\aboutTYB.exe"
  Delete "$INSTDIR\simple.mp3"
  Delete "$INSTDIR\${STARTUP_LINK}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only when empty: the user's note and playlist live here.
  RMDir "$INSTDIR"

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Function un.RemoveUserFiles
  Delete "$INSTDIR\note1.txt"
  Delete "$INSTDIR\playlist.m3u"
  RMDir /r "$INSTDIR\TYBICONS"
  DeleteRegKey HKCU "Software\Farrowind\tyb"
  DeleteRegKey HKCU "Software\Farrowind\tybCal"
  DeleteRegKey /ifempty HKCU "Software\Farrowind"
  DeleteRegKey HKCU "Software\Glade Inc.\tyb"
  DeleteRegKey /ifempty HKCU "Software\Glade Inc."
FunctionEnd
