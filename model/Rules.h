#pragma once
// Which switches apply to the current tool and volume, and the two user
// actions that change the choice.
#include "Catalog.h"

void ApplyOptionRules();
void SelectTool(ToolKind t);
void ToggleOption(int i);
