#pragma once
// Turns the current choices into the preview line and the argument text.
#include "lib/Types.h"

// Status texts shown in red on the "Process" button.
constexpr const char* STATUS_NO_DEVICE = "No Dev";
constexpr const char* STATUS_OFFLINE = "Offline";
// The console of the last batch run is still open: nothing may touch its file.
constexpr const char* STATUS_BUSY = "Busy";

// Composes g_cmdLine and g_cmdArgs; returns "" or a status text. A drive
// probe settles the rules for the volume it found before the switches are
// read, so what is composed is what the window then shows as applicable.
CString ComposeCommand();

// What a hover on "Process" does: compose, preview, and show "Process" in
// green or the status in red (which also cancels a click that arrived with
// the hover).
void ProcessHover();
