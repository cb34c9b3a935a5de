#include "Compose.h"

#include <cstring>

#include "Globals.h"
#include "Rules.h"

namespace {

struct ToolFormat {
    const char* pszLineStart;
    const char* pszArgsBase;
};

const ToolFormat TOOL_FORMATS[3] = {
    {"CHKDSK ", nullptr},  // the base is the drive: letter and colon
    {"DISM ", "/Online /Cleanup-Image"},
    {"SFC ", ""},
};

// Appends the ticked, applicable switches of tool t in table order.
void AppendSwitches(ToolKind t)
{
    for (int i = 0; i < g_optionCount; ++i) {
        const OptionEntry& row = OptionTable[i];
        if (row.m_nTool == t && row.m_bChecked && row.m_bApplicable)
            g_cmdArgs += " " + row.m_strSwitch;
    }
}

// Probes the drive of the Device text; "" when it is usable.
CString ProbeDrive()
{
    const CString& strDevice = g_editDevice.m_strText;
    if (strDevice.empty())
        return STATUS_NO_DEVICE;
    g_rootPath = CString(1, strDevice[0]) + ":\\";
    if (g_pSystem->Drivetype(g_rootPath) <= 1)
        return STATUS_OFFLINE;
    // A volume that cannot be read (an empty card reader or DVD drive) is of
    // no known file system: it must not inherit the name of the last one.
    std::memset(g_fsName, 0, sizeof g_fsName);
    const bool bRead = g_pSystem->Fsname(g_rootPath, g_fsName, sizeof g_fsName);
    // Five bytes: "NTFS" with its zero, so "NTFS5" does not count.
    g_volumeClass = bRead && std::memcmp(g_fsName, "NTFS", 5) == 0 ? VC_NTFS : VC_OTHER;
    // The switches of this volume, not of the one before, take part.
    ApplyOptionRules();
    return "";
}

}  // namespace

CString ComposeCommand()
{
    g_cmdLine.clear();
    if (g_currentTool == TOOL_EXTERNAL) {
        g_cmdLine = "WinDlg";
        return "";
    }
    if (g_currentTool < TOOL_CHKDSK || g_currentTool > TOOL_SFC)
        return "";

    // The console of the last run still reads its batch file.
    if (g_pSystem->Batchbusy())
        return STATUS_BUSY;

    const ToolFormat& format = TOOL_FORMATS[g_currentTool];
    if (HELP_ROW < g_optionCount && OptionTable[HELP_ROW].m_bChecked) {
        // Help wins over every other switch and needs no drive.
        g_cmdArgs = OptionTable[HELP_ROW].m_strSwitch;
        g_cmdLine = format.pszLineStart + g_cmdArgs + "\r\n";
        return "";
    }

    if (g_currentTool == TOOL_CHKDSK) {
        CString strStatus = ProbeDrive();
        if (!strStatus.empty())
            return strStatus;
        g_cmdArgs = g_rootPath.substr(0, 2);
    } else {
        g_cmdArgs = format.pszArgsBase;
    }
    g_cmdLine = format.pszLineStart;
    AppendSwitches(g_currentTool);
    g_cmdLine += g_cmdArgs + "\r\n";
    return "";
}

void ProcessHover()
{
    CString strStatus = ComposeCommand();
    g_editOutput.SetText(g_cmdLine, g_hFont);
    if (!strStatus.empty()) {
        g_btnProcess.SetText(strStatus, CLR_RED, 0, g_hFont);
        g_btnProcess.m_bClicked = false;
    } else {
        g_btnProcess.SetText("Process", CLR_GREEN, 0, g_hFont);
    }
}
