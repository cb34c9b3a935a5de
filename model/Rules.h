#pragma once
// Which switches apply to the current tool and volume, and the two user
// actions that change the choice.
#include "Catalog.h"

void ApplyOptionRules();
// The choice at start: CHKDSK current and marked, no drive probed yet, the
// rules applied. Other radio buttons keep whatever mark they have.
void StartSelection();
void SelectTool(ToolKind t);
void ToggleOption(int i);
