; Mosaikon's setup program. It installs for the current user without asking
; for administrator rights, into the user's own program folder, where the
; settings file beside the program stays writable. The build passes what it
; packs and what it says about the program (installer/CMakeLists.txt):
;   makensis -INPUTCHARSET UTF8 -DVERSION=2.2.0 -DPUBLISHER=... -DCOPYRIGHT=...
;            -DTARGET=x86-unicode -DOUTFILE=... -DPROGRAM=Mosaikon.exe
;            -DFONT=MosaikonTerminal.fon -DLANGUAGES=<folder of mkn_*.dll>
;            -DICON=mosaikon.ico mosaikon.nsi
; Switches of the setup: /S silent, /D=<folder> the install folder (last, not
; quoted). The uninstaller takes /S as well; silent, it keeps the settings.

Target ${TARGET}
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Mosaikon"
!define USER_CLASSES "Software\Classes"
!define DOCUMENT_CLASS "Mosaikon.Document"
!define BACKUP_VALUE "Mosaikon.Backup"
!define FRAME_CLASS "MosaikonWndClass"

Name "Mosaikon"
BrandingText "Mosaikon ${VERSION}"
OutFile "${OUTFILE}"
; An installed copy is updated where it is.
InstallDir "$LOCALAPPDATA\Programs\Mosaikon"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Mosaikon.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The program's own two languages; the system's decides.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"

LangString RunningAsk ${LANG_ENGLISH} "Mosaikon is running. It must close before its files are replaced or removed.$\r$\n$\r$\nClick OK to close Mosaikon, or Cancel to stop."
LangString RunningAsk ${LANG_GERMAN} "Mosaikon läuft. Es muss beendet werden, bevor seine Dateien ersetzt oder entfernt werden.$\r$\n$\r$\nKlicken Sie auf OK, um Mosaikon zu beenden, oder auf Abbrechen, um aufzuhören."
LangString RunningStill ${LANG_ENGLISH} "Mosaikon has not closed. Close it, then click Retry; or click Cancel to stop."
LangString RunningStill ${LANG_GERMAN} "Mosaikon wurde nicht beendet. Beenden Sie es und klicken Sie auf Wiederholen, oder auf Abbrechen, um aufzuhören."
LangString KeepSettings ${LANG_ENGLISH} "Keep your Mosaikon settings (Mosaikon.ini)?$\r$\n$\r$\nClick Yes to keep them for a later installation, No to remove them."
LangString KeepSettings ${LANG_GERMAN} "Ihre Mosaikon-Einstellungen (Mosaikon.ini) behalten?$\r$\n$\r$\nKlicken Sie auf Ja, um sie für eine spätere Installation zu behalten, oder auf Nein, um sie zu entfernen."

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Mosaikon"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Mosaikon Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

; Running copies of the installed program, for the installer and the
; uninstaller alike. A copy started from another folder holds none of the
; files replaced here and is left alone.
!macro RUNNING_COPY_FUNCTIONS UN
; The main window of a running copy of $INSTDIR\Mosaikon.exe in $R0 (0 when
; none runs) and an open handle of its process in $R1.
Function ${UN}FindRunningCopy
  StrCpy $R0 0
  ${Do}
    FindWindow $R0 "${FRAME_CLASS}" "" 0 $R0
    ${If} $R0 = 0
      Return
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R2)'
    ; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
    System::Call 'kernel32::OpenProcess(i 0x00101000, i 0, i R2) p .R1'
    ${If} $R1 <> 0
      StrCpy $R3 ""
      System::Call 'kernel32::QueryFullProcessImageNameW(p R1, i 0, w .R3, *i ${NSIS_MAX_STRLEN})'
      ${If} $R3 == "$INSTDIR\Mosaikon.exe"
        Return
      ${EndIf}
      System::Call 'kernel32::CloseHandle(p R1)'
    ${EndIf}
  ${Loop}
FunctionEnd

; Asks every running copy to close as its close box does, so that it saves
; its settings, and waits until its process has ended. The user is asked
; first (silent: no question); a copy that does not end is named to the user,
; who closes it and retries or stops the setup.
Function ${UN}CloseRunningCopies
  StrCpy $R5 0
  ${Do}
    Call ${UN}FindRunningCopy
    ${If} $R0 = 0
      Return
    ${EndIf}
    ${If} $R5 = 0
      StrCpy $R5 1
      MessageBox MB_OKCANCEL|MB_ICONINFORMATION "$(RunningAsk)" /SD IDOK IDOK close
      System::Call 'kernel32::CloseHandle(p R1)'
      Abort
    ${EndIf}
    close:
    System::Call 'user32::PostMessageW(p R0, i ${WM_CLOSE}, p 0, p 0)'
    System::Call 'kernel32::WaitForSingleObject(p R1, i 20000) i .R4'
    System::Call 'kernel32::CloseHandle(p R1)'
    ${If} $R4 <> 0
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningStill)" /SD IDCANCEL IDRETRY retry
      Abort
      retry:
    ${EndIf}
  ${Loop}
FunctionEnd
!macroend
!insertmacro RUNNING_COPY_FUNCTIONS ""
!insertmacro RUNNING_COPY_FUNCTIONS "un."

Section
  Call CloseRunningCopies
  ; Mosaikon.ini is not a file of the setup: installing over a copy keeps it.
  SetOutPath "$INSTDIR"
  File "/oname=Mosaikon.exe" "${PROGRAM}"
  File "/oname=MosaikonTerminal.fon" "${FONT}"
  SetOutPath "$INSTDIR\language"
  File "${LANGUAGES}/mkn_*.dll"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Mosaikon.lnk" "$INSTDIR\Mosaikon.exe" "" "$INSTDIR\Mosaikon.exe" 0

  ; The entry in the list of installed programs, for this user.
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Mosaikon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Mosaikon.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; --- Uninstaller ---

Var Types      ; the rest of the FileTypes list
Var Extension  ; ".e", the key of one extension
Var Index      ; of the key enumerated
Var Name       ; its name
Var Value
Var Blanks     ; the white space trimmed from an entry of the list

; Takes back the key ${KEY} of an extension under ${ROOT} as the program
; does when a type leaves its list: a default that names Mosaikon's class
; becomes the saved default again, or goes; a default naming another class
; stays; the saved default goes; everything else under the key stays, and
; the key goes only when it is left empty.
!macro TAKE_BACK_KEY ROOT KEY
  ReadRegStr $Value ${ROOT} "${KEY}" ""
  ${If} $Value == "${DOCUMENT_CLASS}"
    ClearErrors
    ReadRegStr $Value ${ROOT} "${KEY}" "${BACKUP_VALUE}"
    ${If} ${Errors}
      DeleteRegValue ${ROOT} "${KEY}" ""
    ${Else}
      WriteRegStr ${ROOT} "${KEY}" "" $Value
    ${EndIf}
  ${EndIf}
  DeleteRegValue ${ROOT} "${KEY}" "${BACKUP_VALUE}"
  ; Without a value left (the unnamed one included) and without subkeys.
  ClearErrors
  EnumRegValue $Value ${ROOT} "${KEY}" 0
  ${If} ${Errors}
    DeleteRegKey /ifempty ${ROOT} "${KEY}"
  ${EndIf}
!macroend

; Takes back $Extension in the classes the shell reads and in this user's
; own classes.
Function un.TakeBackExtension
  !insertmacro TAKE_BACK_KEY HKCR "$Extension"
  !insertmacro TAKE_BACK_KEY HKCU "${USER_CLASSES}\$Extension"
FunctionEnd

; True (1 in $9) when the one character in $Value is white space as the
; program trims it from an entry: tab, line feed, vertical tab, form feed,
; carriage return or blank.
Function un.IsBlank
  StrCpy $9 0
  ${For} $8 0 5
    StrCpy $7 $Blanks 1 $8
    ${If} $Value S== $7
      StrCpy $9 1
    ${EndIf}
  ${Next}
FunctionEnd

; Cuts the next entry off the FileTypes list in $Types at ";", trims it as
; the program does, and puts its key name ".e" into $Extension; empty when
; the entry is empty or cannot be the name of one key. Lengths, not
; comparisons with "", tell whether text is left: the system's string
; comparison takes some control characters for nothing.
Function un.NextFileType
  StrCpy $Extension ""
  StrCpy $6 1
  ${Do}
    StrLen $9 $Types
    ${If} $9 = 0
      ${ExitDo}
    ${EndIf}
    StrCpy $Value $Types 1
    StrCpy $Types $Types "" 1
    ${If} $Value == ";"
      ${ExitDo}
    ${ElseIf} $Value == "\"
      StrCpy $6 0
    ${EndIf}
    StrCpy $Extension "$Extension$Value"
  ${Loop}
  ${Do}
    StrCpy $Value $Extension 1
    StrLen $9 $Value
    ${IfThen} $9 = 0 ${|} ${ExitDo} ${|}
    Call un.IsBlank
    ${IfThen} $9 = 0 ${|} ${ExitDo} ${|}
    StrCpy $Extension $Extension "" 1
  ${Loop}
  ${Do}
    StrCpy $Value $Extension 1 -1
    StrLen $9 $Value
    ${IfThen} $9 = 0 ${|} ${ExitDo} ${|}
    Call un.IsBlank
    ${IfThen} $9 = 0 ${|} ${ExitDo} ${|}
    StrCpy $Extension $Extension -1
  ${Loop}
  ; A registry key name holds no backslash and at most 255 characters.
  StrLen $9 $Extension
  ${If} $9 = 0
  ${OrIf} $9 > 254
  ${OrIf} $6 = 0
    StrCpy $Extension ""
  ${Else}
    StrCpy $Extension ".$Extension"
  ${EndIf}
FunctionEnd

; Takes back every extension key under ${ROOT}\${KEY} that names
; Mosaikon's class or holds a default Mosaikon saved: also those of types
; taken off a list by hand, which the settings no longer name.
!macro TAKE_BACK_MARKED ROOT KEY PREFIX
  StrCpy $Index 0
  ${Do}
    EnumRegKey $Name ${ROOT} "${KEY}" $Index
    StrLen $9 $Name
    ${If} $9 = 0
      ${ExitDo}
    ${EndIf}
    StrCpy $Value $Name 1
    ${If} $Value == "."
      StrCpy $8 1
      ReadRegStr $Value ${ROOT} "${PREFIX}$Name" ""
      ${If} $Value != "${DOCUMENT_CLASS}"
        ClearErrors
        ReadRegStr $Value ${ROOT} "${PREFIX}$Name" "${BACKUP_VALUE}"
        ${IfThen} ${Errors} ${|} StrCpy $8 0 ${|}
      ${EndIf}
      ${If} $8 = 1
        StrCpy $Extension $Name
        Call un.TakeBackExtension
        ; When the key went, the next one took its place.
        EnumRegKey $Value ${ROOT} "${KEY}" $Index
        ${If} $Value != $Name
          ${Continue}
        ${EndIf}
      ${EndIf}
    ${EndIf}
    IntOp $Index $Index + 1
  ${Loop}
!macroend

Function un.onInit
  IntFmt $0 "%c" 11
  IntFmt $1 "%c" 12
  StrCpy $Blanks "$\t$\n$0$1$\r "
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopies

  ; The file types: those of the settings (their empty per-user keys go
  ; too), then every extension key that still names Mosaikon's class or
  ; holds a default it saved.
  ReadINIStr $Types "$INSTDIR\Mosaikon.ini" "Settings" "FileTypes"
  ${Do}
    StrLen $9 $Types
    ${IfThen} $9 = 0 ${|} ${ExitDo} ${|}
    Call un.NextFileType
    StrLen $9 $Extension
    ${IfThen} $9 > 0 ${|} Call un.TakeBackExtension ${|}
  ${Loop}
  !insertmacro TAKE_BACK_MARKED HKCR "" ""
  !insertmacro TAKE_BACK_MARKED HKCU "${USER_CLASSES}" "${USER_CLASSES}\"
  DeleteRegKey HKCR "${DOCUMENT_CLASS}"
  DeleteRegKey HKCR "Applications\Mosaikon.exe"
  DeleteRegKey HKCU "${USER_CLASSES}\${DOCUMENT_CLASS}"
  DeleteRegKey HKCU "${USER_CLASSES}\Applications\Mosaikon.exe"
  ; SHCNE_ASSOCCHANGED
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  Delete "$INSTDIR\Mosaikon.exe"
  Delete "$INSTDIR\MosaikonTerminal.fon"
  Delete "$INSTDIR\language\mkn_*.dll"
  RMDir "$INSTDIR\language"
  Delete "$SMPROGRAMS\Mosaikon.lnk"
  ${If} ${FileExists} "$INSTDIR\Mosaikon.ini"
    MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettings)" /SD IDYES IDYES keep
    Delete "$INSTDIR\Mosaikon.ini"
    keep:
  ${EndIf}
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  ; Last: its going tells that the uninstaller is done.
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
