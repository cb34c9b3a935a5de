#pragma once
// Runs the composed command: the three repair tools through sfc.bat in a
// console of their own, the external tool directly; and opens the settings
// file in the editor.
#include "lib/Types.h"

// Shown in red on the button whose request could not be carried out.
constexpr const char* STATUS_FAILED = "Failed";

// Runs the command for the current tool. Returns "" when it started, else
// one line saying what could not be done, with the path and the reason.
// The batch file is held, written, checked, left for 250 ms and started;
// the guard then stays until the console started from it has ended.
CString RunCommand();

// What a click on "Process" does around RunCommand: the button is hidden
// while the command starts and the preview is emptied. After a start the
// pointer goes to "Exit"; after a failure the button shows "Failed" in red,
// the output box says why, and the pointer stays.
void ProcessClick();

// Called every little while: once the console of the last run has ended its
// batch file is let go, and a "Busy" on "Process" turns into the preview of
// what a click would now run.
void WatchConsole();

// Opens the settings file in the configured editor and waits for it; when
// that editor cannot start, in the system's own notepad.exe instead. Returns
// "" when the configured editor ran, else the line that says why it did not.
CString OpenSettings();
