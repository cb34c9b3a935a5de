#include "Rules.h"

#include "Globals.h"

namespace {

bool RowApplies(int i, const OptionEntry& row)
{
    switch (g_currentTool) {
        case TOOL_CHKDSK:
            // The file-system requirement counts only for CHKDSK.
            return row.m_nTool == TOOL_CHKDSK &&
                   (row.m_nFsReq == VC_NONE || i == HELP_ROW || row.m_nFsReq == g_volumeClass);
        case TOOL_DISM: return row.m_nTool == TOOL_DISM || i == HELP_ROW;
        case TOOL_SFC: return row.m_nTool == TOOL_SFC || i == HELP_ROW;
        default: return false;
    }
}

}  // namespace

void ApplyOptionRules()
{
    if (g_currentTool < TOOL_CHKDSK || g_currentTool > TOOL_EXTERNAL)
        return;
    for (int i = 0; i < g_optionCount; ++i) {
        OptionEntry& row = OptionTable[i];
        // Only visibility changes: a hidden switch keeps its tick.
        row.m_bApplicable = RowApplies(i, row);
        row.m_pButton->Show(row.m_bApplicable);
        row.m_pLabel->Show(row.m_bApplicable);
    }
}

void StartSelection()
{
    g_currentTool = TOOL_CHKDSK;
    if (g_toolCount > TOOL_CHKDSK)
        ToolTable[TOOL_CHKDSK].m_pButton->SetCheck(true);
    g_volumeClass = VC_NONE;
    ApplyOptionRules();
}

void SelectTool(ToolKind t)
{
    if (t < 0 || t >= g_toolCount)
        return;
    g_currentTool = t;
    for (int k = 0; k < g_toolCount; ++k) {
        ToolTable[k].m_pButton->m_bClicked = false;
        ToolTable[k].m_bChecked = false;
        ToolTable[k].m_pButton->SetCheck(false);
    }
    ToolTable[t].m_pButton->m_bClicked = false;
    ToolTable[t].m_bChecked = true;
    ToolTable[t].m_pButton->SetCheck(true);
    ApplyOptionRules();
}

void ToggleOption(int i)
{
    if (i < 0 || i >= g_optionCount)
        return;
    OptionEntry& row = OptionTable[i];
    row.m_bChecked = !row.m_bChecked;
    row.m_pButton->SetCheck(row.m_bChecked);
}
