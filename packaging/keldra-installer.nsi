; The Windows installer of KELDRA, made with makensis by
; packaging/make-windows-installer.sh, which passes:
;   VERSION  the product version (3.0.0)
;   STAGE    a folder holding the files to ship: KELDRA.vst3\ (the bundle),
;            keldra-render.exe, README.txt (the user's guide), LICENSE.txt
;            and, when this build made one, KELDRA.clap
;   OUTFILE  the installer to write
;   HAVE_CLAP defined when KELDRA.clap is in STAGE
;   REMOVE_PRESETS  a script of Delete lines, one per factory preset in
;            STAGE\VST3 Presets, for the uninstaller
; The installer is a 64-bit program like everything it installs: a 32-bit
; Windows refuses to start it, saying that it cannot run on that computer.
;
; Pages: welcome, licence, components, folder, progress, finish (with a link
; to the user's guide). Silent: "/S" installs every component;
; "/S /COMPONENTS=vst3,clap,render" installs only those named (any order,
; comma-separated), in a silent or a shown install alike.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WordFunc.nsh

!define PRODUCT "KELDRA"
!define PUBLISHER "Brackenfold"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KELDRA"
!define BUNDLE_DIR "$COMMONFILES64\VST3\KELDRA.vst3"
!define MODULE_DIR "${BUNDLE_DIR}\Contents\x86_64-win"
; Where VST3 hosts look for a maker's presets for every user ($APPDATA is
; ProgramData once the shell context is "all").
!define PRESET_ROOT "$APPDATA\VST3 Presets"
!define PRESET_DIR "${PRESET_ROOT}\Brackenfold\KELDRA"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
BrandingText "${PUBLISHER} ${PRODUCT} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 ${PUBLISHER}. GPL-3.0-or-later."

!ifdef HAVE_CLAP
  !define FORMATS "a VST3 and a CLAP plug-in"
!else
  !define FORMATS "a VST3 plug-in"
!endif
!define MUI_ICON "${__FILEDIR__}\windows\keldra.ico"
!define MUI_UNICON "${__FILEDIR__}\windows\keldra.ico"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${__FILEDIR__}\windows\welcome.bmp"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC
!define MUI_WELCOMEPAGE_TEXT "This installs ${PRODUCT} ${VERSION}, a stereo tone-shaping equaliser modelled on an analog circuit, as ${FORMATS} for 64-bit Windows hosts, with its command-line renderer.$\r$\n$\r$\nClose your music software before you continue, so that its plug-in scan finds the new files.$\r$\n$\r$\n$_CLICK"
!define MUI_DIRECTORYPAGE_TEXT_TOP "The plug-ins go in the system's VST3 and CLAP folders, where every host looks. This folder holds the command-line renderer, the user's guide and the uninstaller.$\r$\n$\r$\n$_CLICK"
!define MUI_FINISHPAGE_TITLE "${PRODUCT} is installed"
!define MUI_FINISHPAGE_TEXT "Start your host's plug-in scan: ${PRODUCT} appears under ${PUBLISHER}.$\r$\n$\r$\nThe user's guide explains every knob and switch, and how your settings move between computers."
!define MUI_FINISHPAGE_LINK "Open the ${PRODUCT} user's guide"
!define MUI_FINISHPAGE_LINK_LOCATION "$INSTDIR\README.txt"
!define MUI_FINISHPAGE_NOREBOOTSUPPORT
; The progress page stays until Next, so what was installed where can be read.
!define MUI_FINISHPAGE_NOAUTOCLOSE

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "VST3 plug-in" SecVst3
  SetShellVarContext all
  ; The system's VST3 and CLAP folders are shared with other plug-ins: the
  ; uninstaller removes them only if this installer made them.
  ${IfNot} ${FileExists} "$COMMONFILES64\VST3\*.*"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "MadeVst3Folder" 1
  ${EndIf}
  SetOutPath "${MODULE_DIR}"
  File "${STAGE}\KELDRA.vst3\Contents\x86_64-win\KELDRA.vst3"
  ; The factory presets go with the plug-in.
  ${IfNot} ${FileExists} "${PRESET_ROOT}\*.*"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "MadePresetFolder" 1
  ${EndIf}
  SetOutPath "${PRESET_DIR}"
  File "${STAGE}\VST3 Presets\*.vstpreset"
SectionEnd

!ifdef HAVE_CLAP
Section "CLAP plug-in" SecClap
  SetShellVarContext all
  ${IfNot} ${FileExists} "$COMMONFILES64\CLAP\*.*"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "MadeClapFolder" 1
  ${EndIf}
  SetOutPath "$COMMONFILES64\CLAP"
  File "${STAGE}\KELDRA.clap"
SectionEnd
!endif

Section "Command-line renderer" SecRender
  SetOutPath "$INSTDIR"
  File "${STAGE}\keldra-render.exe"
SectionEnd

; Always installed: the guide, the licence, the uninstaller and its entry.
Section "-Uninstaller"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Add/Remove Programs. An upgrade writes the same key over the old one.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\uninstall.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size in KB of everything installed.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${If} ${FileExists} "${BUNDLE_DIR}\*.*"
    ${GetSize} "${BUNDLE_DIR}" "/S=0K" $3 $1 $2
    IntOp $0 $0 + $3
  ${EndIf}
  ${If} ${FileExists} "${PRESET_DIR}\*.*"
    ${GetSize} "${PRESET_DIR}" "/S=0K" $3 $1 $2
    IntOp $0 $0 + $3
  ${EndIf}
  ${If} ${FileExists} "$COMMONFILES64\CLAP\KELDRA.clap"
    ${GetSize} "$COMMONFILES64\CLAP" "/M=KELDRA.clap /S=0K" $3 $1 $2
    IntOp $0 $0 + $3
  ${EndIf}
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecVst3} "KELDRA.vst3 in Common Files\VST3, where every VST3 host looks, and its factory presets."
!ifdef HAVE_CLAP
  !insertmacro MUI_DESCRIPTION_TEXT ${SecClap} "KELDRA.clap in Common Files\CLAP, for CLAP hosts."
!endif
  !insertmacro MUI_DESCRIPTION_TEXT ${SecRender} "keldra-render.exe: renders WAV files through KELDRA from the command line."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; Clears the section when /COMPONENTS= is given and does not name it.
!macro KeepIfNamed NAME SECTION
  ClearErrors
  ${WordFind} ",$R0," ",${NAME}," "E*" $R1
  ${If} ${Errors}
    !insertmacro UnselectSection ${SECTION}
  ${EndIf}
!macroend

Function .onInit
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/COMPONENTS=" $R0
  ${IfNot} ${Errors}
    !insertmacro KeepIfNamed vst3 ${SecVst3}
!ifdef HAVE_CLAP
    !insertmacro KeepIfNamed clap ${SecClap}
!endif
    !insertmacro KeepIfNamed render ${SecRender}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Exactly the files and folders the installer made, nothing else.
  Delete "${MODULE_DIR}\KELDRA.vst3"
  RMDir "${MODULE_DIR}"
  RMDir "${BUNDLE_DIR}\Contents"
  RMDir "${BUNDLE_DIR}"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "MadeVst3Folder"
  ${If} $0 == 1
    RMDir "$COMMONFILES64\VST3"
  ${EndIf}
  !include "${REMOVE_PRESETS}"
  RMDir "${PRESET_DIR}"
  RMDir "${PRESET_ROOT}\Brackenfold"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "MadePresetFolder"
  ${If} $0 == 1
    RMDir "${PRESET_ROOT}"
  ${EndIf}
  Delete "$COMMONFILES64\CLAP\KELDRA.clap"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "MadeClapFolder"
  ${If} $0 == 1
    RMDir "$COMMONFILES64\CLAP"
  ${EndIf}

  Delete "$INSTDIR\keldra-render.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
