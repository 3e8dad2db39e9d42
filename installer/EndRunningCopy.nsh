; Ends a Varnquill that runs from $INSTDIR before its files are replaced or removed: it is
; asked through its own Exit (the registered message "Varnquill.Exit" posted to its main
; window), so it saves its database list, static text and window position, and the process
; is waited for. A program of another maker with a window of the same class ignores the
; message, and a copy running from another folder is left alone: its files stay.
; When a copy does not end, nothing has been touched yet: the user may end it and retry,
; otherwise (and always when silent) the setup stops with exit code 2.

; The main window's class comes from the build (-DVARNQUILL_WINDOW_CLASS), which reads it
; from the program's own ui/MainWindowClass.h.
!ifndef VARNQUILL_WINDOW_CLASS
  !error "VARNQUILL_WINDOW_CLASS is not defined: build the setup program with cmake --build build --target dist"
!endif
!define VARNQUILL_EXIT_MESSAGE "Varnquill.Exit"
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION: enough to read its path and wait for it.
!define VARNQUILL_PROCESS_ACCESS 0x00101000
; Exit writes two small files and a registry value; this is ample even on a loaded machine.
!define VARNQUILL_EXIT_TIMEOUT_MS 20000

!macro VARNQUILL_END_RUNNING_COPY un
Function ${un}EndRunningCopy
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  System::Call 'user32::RegisterWindowMessageW(w "${VARNQUILL_EXIT_MESSAGE}") i .R5'
  ${If} $R5 = 0
    ; Without the message no copy can be asked; a running one then keeps its files locked
    ; and the file step reports that.
    Goto done
  ${EndIf}
search:
  StrCpy $R0 0
next_window:
  System::Call 'user32::FindWindowExW(p 0, p R0, w "${VARNQUILL_WINDOW_CLASS}", p 0) p .R0'
  ${If} $R0 P= 0
    Goto done
  ${EndIf}
  System::Call 'user32::GetWindowThreadProcessId(p R0, *i .R1)'
  System::Call 'kernel32::OpenProcess(i ${VARNQUILL_PROCESS_ACCESS}, i 0, i R1) p .R2'
  ${If} $R2 P= 0
    Goto next_window ; gone already, or not ours to end
  ${EndIf}
  System::Call 'kernel32::QueryFullProcessImageNameW(p R2, i 0, w .R3, *i ${NSIS_MAX_STRLEN}) i .R4'
  ${If} $R4 = 0
  ${OrIf} $R3 != "$INSTDIR\Varnquill.exe"
    System::Call 'kernel32::CloseHandle(p R2)'
    Goto next_window
  ${EndIf}
  DetailPrint "Asking the running Varnquill to exit"
  ; A message that cannot be posted shows as a copy that does not end, just below.
  System::Call 'user32::PostMessageW(p R0, i R5, p 0, p 0)'
  System::Call 'kernel32::WaitForSingleObject(p R2, i ${VARNQUILL_EXIT_TIMEOUT_MS}) i .R4'
  System::Call 'kernel32::CloseHandle(p R2)'
  ${If} $R4 <> 0 ; not WAIT_OBJECT_0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Varnquill is still running. End it with Exit in its tray menu, then choose Retry." \
      /SD IDCANCEL IDRETRY search
    DetailPrint "Varnquill is still running; nothing was changed."
    SetErrorLevel 2
    Abort
  ${EndIf}
  ; Start over: the window list has changed, and a second copy may run too.
  Goto search
done:
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
!macroend
