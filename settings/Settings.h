#pragma once
// The settings file: key 1 the editor, key 2 the external tool's program,
// key 3 its argument text. Read only; a missing file is skipped silently.
// Read as Notepad saves it: ANSI, UTF-8 with or without a byte-order mark, or
// UTF-16 in either byte order with one; Unicode values are converted to the
// ANSI code page, and one that cannot be keeps the setting as it was.

// Reads g_settingsPath and sets the fourth tool's label.
void LoadSettings();
