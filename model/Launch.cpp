#include "Launch.h"

#include "Globals.h"

namespace {

// Writes the two lines of the batch file; true only when all of it reached the disk.
bool WriteBatch(const CString& strLine)
{
    const bool bOpen = g_fileIO.Open(g_batchPath, "w") != 0;
    const bool bLine = g_fileIO.Putline(strLine, true) != 0;
    const bool bPause = g_fileIO.Putline("pause", true) != 0;
    const bool bClose = g_fileIO.Close() != 0;
    return bOpen && bLine && bPause && bClose;
}

}  // namespace

void RunCommand()
{
    if (g_currentTool >= TOOL_CHKDSK && g_currentTool <= TOOL_SFC) {
        const bool bWritten = WriteBatch(ToolTable[g_currentTool].m_strExe + " " + g_cmdArgs);
        g_pSystem->Sleep(250);
        // A batch file we could not write may be a stale one from an earlier
        // run, or one planted where TEMP points: never start that elevated.
        if (bWritten)
            g_utility.Execute(g_batchPath.c_str(), nullptr);
    } else if (g_currentTool == TOOL_EXTERNAL) {
        const ToolEntry& tool = ToolTable[TOOL_EXTERNAL];
        g_cmdArgs = tool.m_strArgs;
        g_utility.Execute(tool.m_strExe.c_str(), g_cmdArgs.c_str(), nullptr);
    }
}

void ProcessClick()
{
    g_btnProcess.m_bClicked = false;
    g_btnProcess.Show(false);
    g_cmdLine.clear();
    RunCommand();
    g_editOutput.SetText(g_cmdLine, g_hFont);
    g_btnProcess.Show(true);
    g_btnExit.Snapto();
}
