; The Windows installer of KELDRA, made with makensis by
; packaging/make-windows-installer.sh, which passes:
;   VERSION  the product version (3.0.0)
;   STAGE    a folder holding the files to ship: KELDRA.vst3\ (the bundle),
;            keldra-render.exe, README.txt, LICENSE.txt and, when this build
;            made one, KELDRA.clap
;   OUTFILE  the installer to write
;   HAVE_CLAP defined when KELDRA.clap is in STAGE
; The installer is a 64-bit program like everything it installs: a 32-bit
; Windows refuses to start it, saying that it cannot run on that computer.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include LogicLib.nsh
!include FileFunc.nsh

!define PRODUCT "KELDRA"
!define PUBLISHER "Brackenfold"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KELDRA"
!define BUNDLE_DIR "$COMMONFILES64\VST3\KELDRA.vst3"
!define MODULE_DIR "${BUNDLE_DIR}\Contents\x86_64-win"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
ShowInstDetails show
ShowUninstDetails show
VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "GPL-3.0-or-later"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "KELDRA"
  SetShellVarContext all
  ; The system's VST3 and CLAP folders are shared with other plug-ins: the
  ; uninstaller removes them only if this installer made them.
  ${IfNot} ${FileExists} "$COMMONFILES64\VST3\*.*"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "MadeVst3Folder" 1
  ${EndIf}
  SetOutPath "${MODULE_DIR}"
  File "${STAGE}\KELDRA.vst3\Contents\x86_64-win\KELDRA.vst3"
!ifdef HAVE_CLAP
  ${IfNot} ${FileExists} "$COMMONFILES64\CLAP\*.*"
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "MadeClapFolder" 1
  ${EndIf}
  SetOutPath "$COMMONFILES64\CLAP"
  File "${STAGE}\KELDRA.clap"
!endif

  SetOutPath "$INSTDIR"
  File "${STAGE}\keldra-render.exe"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Add/Remove Programs. An upgrade writes the same key over the old one.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size in KB of everything installed.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  ${GetSize} "${BUNDLE_DIR}" "/S=0K" $3 $1 $2
  IntOp $0 $0 + $3
!ifdef HAVE_CLAP
  ${GetSize} "$COMMONFILES64\CLAP" "/M=KELDRA.clap /S=0K" $3 $1 $2
  IntOp $0 $0 + $3
!endif
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

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
