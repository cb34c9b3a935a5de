#pragma once
// The settings file: key 1 the editor, key 2 the external tool's program,
// key 3 its argument text. Read only; a missing file is skipped silently.

// Reads g_settingsPath and sets the fourth tool's label.
void LoadSettings();
