#include "Catalog.h"

#include "Globals.h"

std::vector<OptionEntry> OptionTable;
std::vector<ToolEntry> ToolTable;
std::int32_t g_optionCount = 0;
std::int32_t g_toolCount = 0;

namespace {

struct OptionRow {
    const char* pszLabel;
    const char* pszSwitch;
    ToolKind nTool;
    VolumeClass nFsReq;
};

// Labels begin with one blank; a switch's case may differ from its label's.
const OptionRow OPTION_CATALOG[OPTION_ROWS] = {
    {" Fix - /f", "/F", TOOL_CHKDSK, VC_NONE},
    {" Dismount - /x", "/X", TOOL_CHKDSK, VC_NONE},
    {" Replace bad blocks - /r", "/R", TOOL_CHKDSK, VC_NONE},
    {" Verbose - /v", "/V", TOOL_CHKDSK, VC_NONE},
    {" Performance - /perf NTFS", "/PERF", TOOL_CHKDSK, VC_NTFS},
    {" Re-evaluate bad clusters - /b NTFS", "/B", TOOL_CHKDSK, VC_NTFS},
    {" Online scan - /scan", "/SCAN", TOOL_CHKDSK, VC_NONE},
    {" Scan now - /scannow", "/SCANNOW", TOOL_SFC, VC_NONE},
    {" Help - /?", "/?", TOOL_CHKDSK, VC_NONE},
    {" short index check /i NTFS", "/i", TOOL_CHKDSK, VC_NTFS},
    {" Skip cycle check /c NTFS", "/C", TOOL_CHKDSK, VC_NTFS},
    {" Delete sec descrips /sdcleanup NTFS", "/sdcleanup", TOOL_CHKDSK, VC_NTFS},
    {" Check Health", "/CheckHealth", TOOL_DISM, VC_NTFS},
    {" Scan Health", "/ScanHealth", TOOL_DISM, VC_NTFS},
    {" Restore Health", "/RestoreHealth", TOOL_DISM, VC_NTFS},
};

struct ToolRow {
    const char* pszLabel;
    const char* pszExe;
};

const ToolRow TOOL_CATALOG[TOOL_ROWS] = {
    {" CHKDSK", "CHKDSK.EXE"},
    {" DISM", "DISM.EXE"},
    {" SFC", "SFC.EXE"},
    {"", ""},  // the external tool: filled from the settings file
};

void EmptyTables()
{
    OptionTable.clear();
    OptionTable.shrink_to_fit();
    ToolTable.clear();
    ToolTable.shrink_to_fit();
    g_optionCount = 0;
    g_toolCount = 0;
}

void AppendOption(int i)
{
    const OptionRow& row = OPTION_CATALOG[i];
    OptionEntry entry;
    entry.m_pButton = &g_optionBox[i];
    entry.m_pLabel = &g_optionLabel[i];
    entry.m_strLabel = row.pszLabel;
    entry.m_nButtonId = IDC_OPTION_BOX + i;
    entry.m_nLabelId = IDC_OPTION_LABEL + i;
    entry.m_strSwitch = row.pszSwitch;
    entry.m_nTool = row.nTool;
    entry.m_nFsReq = row.nFsReq;
    OptionTable.push_back(entry);
}

void AppendTool(int i)
{
    ToolEntry entry;
    entry.m_pButton = &g_toolRadio[i];
    entry.m_strLabel = TOOL_CATALOG[i].pszLabel;
    entry.m_nButtonId = IDC_TOOL_RADIO + i;
    entry.m_nLabelId = IDC_TOOL_LABEL + i;
    entry.m_strExe = TOOL_CATALOG[i].pszExe;
    ToolTable.push_back(entry);
}

}  // namespace

void FillTables()
{
    EmptyTables();
    for (int i = 0; i < OPTION_ROWS; ++i)
        AppendOption(i);
    for (int i = 0; i < TOOL_ROWS; ++i)
        AppendTool(i);
    g_optionCount = static_cast<std::int32_t>(OptionTable.size());
    g_toolCount = static_cast<std::int32_t>(ToolTable.size());
}
