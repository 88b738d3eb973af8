; The Windows installer of one architecture. packaging/windows/CMakeLists.txt runs
;   makensis -DVERSION=x.y.z -DARCH=x64|x86 -DSCR=vesperglow.scr -DFILES=dir -DICON=vesperglow.ico
;            -DOUTFILE=setup.exe vesperglow.nsi
; where FILES holds LICENSE.txt and LICENSE-glyph-sheets.txt. The saver goes into System32, where the
; Screen Saver Settings page lists it; the uninstaller and the licences into Program Files\Vesperglow.

; The x64 installer is a 64-bit program, so $SYSDIR is the real System32 and the registry its 64-bit view.
!if "${ARCH}" == "x64"
    Target amd64-unicode
!else
    Target x86-unicode
!endif

!include LogicLib.nsh
!include MUI2.nsh
!include x64.nsh

!define PUBLISHER "The Vesperglow developers"
!define SAVER "$SYSDIR\vesperglow.scr"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Vesperglow"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SETTINGS_KEY "Control Panel\Screen Saver.Vesperglow"

Name "Vesperglow ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Vesperglow"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
BrandingText "Vesperglow ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE English

VIProductVersion "${VERSION}.0"
VIAddVersionKey ProductName "Vesperglow"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "Vesperglow ${VERSION} (${ARCH}) setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "Copyright (c) 2026 ${PUBLISHER}"

; Where User Account Control is off, a standard user's setup would fail on the first write to System32.
!macro REQUIRE_ADMIN
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 != "Admin"
        MessageBox MB_ICONSTOP "Vesperglow setup needs administrator rights." /SD IDOK
        SetErrorLevel 740 ; ERROR_ELEVATION_REQUIRED
        Quit
    ${EndIf}
!macroend

Function .onInit
    !insertmacro REQUIRE_ADMIN
!if "${ARCH}" == "x86"
    ; 64-bit Windows would run this one too, putting the 32-bit saver where 64-bit programs look.
    ${If} ${RunningX64}
        MessageBox MB_ICONSTOP "This is Vesperglow for 32-bit Windows, and this computer runs 64-bit Windows.$\r$\n$\r$\nPlease use vesperglow-${VERSION}-x64-setup.exe instead." /SD IDOK
        SetErrorLevel 2
        Quit
    ${EndIf}
!endif
FunctionEnd

Function un.onInit
    !insertmacro REQUIRE_ADMIN
FunctionEnd

Section "-Vesperglow" SectionSaver
    ; A running saver cannot be overwritten, but it can be renamed: the new file takes the name at once
    ; and the old one goes now or, while it still runs, at the next restart (which nothing else needs).
    Delete "${SAVER}.old"
    Rename "${SAVER}" "${SAVER}.old"
    Delete /REBOOTOK "${SAVER}.old"
    SetRebootFlag false
    ${If} ${FileExists} "${SAVER}"
        MessageBox MB_ICONSTOP "Setup cannot replace ${SAVER}.$\r$\n$\r$\nIf Vesperglow is running, end it and run setup again." /SD IDOK
        SetErrorLevel 5 ; ERROR_ACCESS_DENIED
        Abort
    ${EndIf}
    SetOutPath $SYSDIR
    File "/oname=vesperglow.scr" "${SCR}"

    SetOutPath $INSTDIR
    File "${FILES}\LICENSE.txt" "${FILES}\LICENSE-glyph-sheets.txt"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; Installing again, or a newer version, rewrites the same key.
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayName "Vesperglow"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" DisplayIcon "${SAVER},0"
    WriteRegStr HKLM "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoModify 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" NoRepair 1
    SectionGetSize ${SectionSaver} $0
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section "Make Vesperglow my screen saver"
    WriteRegStr HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE "${SAVER}"
    ; SPI_SETSCREENSAVEACTIVE, stored and announced (SPIF_UPDATEINIFILE | SPIF_SENDCHANGE), so the running
    ; session takes it up at once rather than at the next sign-in.
    System::Call "user32::SystemParametersInfo(i 17, i 1, p 0, i 3)"
SectionEnd

Section "-un.Vesperglow"
    ; Windows may hold the saver's name as installed or in its short (8.3) form, in any case.
    GetFullPathName /SHORT $1 "${SAVER}"
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
    ${If} $0 == "${SAVER}"
    ${OrIf} $0 == $1
        DeleteRegValue HKCU "${DESKTOP_KEY}" SCRNSAVE.EXE
    ${EndIf}
    Delete /REBOOTOK "${SAVER}"
    Delete "${SAVER}.old"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\LICENSE-glyph-sheets.txt"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

Section /o "un.Remove my Vesperglow settings"
    DeleteRegKey HKCU "${SETTINGS_KEY}"
SectionEnd
