; More of the installer's Add/Remove Programs entry: where the game lies, and how tools that
; manage programs remove it without questions. The uninstaller deletes the whole key.
WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvanel" "InstallLocation" "$INSTDIR"
WriteRegStr SHCTX "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvanel" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
