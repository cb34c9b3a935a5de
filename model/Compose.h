#pragma once
// Turns the current choices into the preview line and the argument text.
#include "lib/Types.h"

// Status texts shown in red on the "Process" button.
constexpr const char* STATUS_NO_DEVICE = "No Dev";
constexpr const char* STATUS_OFFLINE = "Offline";

// Composes g_cmdLine and g_cmdArgs; returns "" or a status text.
CString ComposeCommand();

// What a hover on "Process" does: compose, preview, re-apply the rules, and
// show "Process" in green or the status in red (which also cancels a click
// that arrived with the hover).
void ProcessHover();
