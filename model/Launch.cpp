#include "Launch.h"

#include <cctype>

#include "Compose.h"
#include "Globals.h"

namespace {

// Only a path from a drive's root or a share names a folder for certain: a
// TEMP that is unset gives "\sfc.bat", somewhere on whatever drive is current.
bool IsFullPath(const CString& strPath)
{
    const bool bDrive = strPath.size() >= 3 && std::isalpha(static_cast<unsigned char>(strPath[0])) &&
                        strPath[1] == ':' && strPath[2] == '\\';
    return bDrive || strPath.compare(0, 2, "\\\\") == 0;
}

CString RunBatch()
{
    const CString strText = ToolTable[g_currentTool].m_strExe + " " + g_cmdArgs + "\r\npause\r\n";
    const CString strWrite = "Could not write " + g_batchPath + ": ";
    if (!IsFullPath(g_batchPath))
        return strWrite + "TEMP names no folder.";
    CString strReason;
    if (!g_pSystem->Holdbatch(g_batchPath, strReason))
        return strWrite + strReason;
    if (!g_pSystem->Writebatch(strText, strReason)) {
        g_pSystem->Releasebatch();
        return strWrite + strReason;
    }
    if (!g_pSystem->Verifybatch(strText, strReason)) {
        g_pSystem->Releasebatch();
        return "Could not check " + g_batchPath + ": " + strReason;
    }
    g_pSystem->Sleep(250);
    if (!g_pSystem->Startbatch(strReason)) {
        g_pSystem->Releasebatch();
        return "Could not start the console for " + g_batchPath + ": " + strReason;
    }
    return "";
}

CString RunExternal()
{
    const ToolEntry& tool = ToolTable[TOOL_EXTERNAL];
    g_cmdArgs = tool.m_strArgs;
    if (tool.m_strExe.empty())
        return "Could not start the external tool: key 2 of " + g_settingsPath + " names no program.";
    // The argument text goes as the settings file has it, "*" included.
    if (!g_utility.Launch(tool.m_strExe, g_cmdArgs, false))
        return "Could not start " + tool.m_strExe + ": " + g_utility.Lasterror();
    return "";
}

}  // namespace

CString RunCommand()
{
    if (g_currentTool >= TOOL_CHKDSK && g_currentTool <= TOOL_SFC)
        return RunBatch();
    if (g_currentTool == TOOL_EXTERNAL)
        return RunExternal();
    return "";
}

void ProcessClick()
{
    g_btnProcess.m_bClicked = false;
    g_btnProcess.Show(false);
    g_cmdLine.clear();
    const CString strFailure = RunCommand();
    g_editOutput.SetText(strFailure.empty() ? g_cmdLine : strFailure, g_hFont);
    g_btnProcess.Show(true);
    if (strFailure.empty()) {
        g_btnExit.Snapto();
    } else {
        g_btnProcess.SetText(STATUS_FAILED, CLR_RED, 0, g_hFont);
    }
}

void WatchConsole()
{
    if (g_pSystem->Batchbusy())
        return;
    // "Busy" was shown to a pointer or to the keyboard focus: what a click
    // or Space would now run takes its place.
    if (g_btnProcess.m_strCaption == STATUS_BUSY)
        ProcessHover();
}

CString OpenSettings()
{
    if (g_utility.Execute(g_editorPath.c_str(), g_settingsPath.c_str(), "*", nullptr))
        return "";
    CString strFailure = "Could not start the editor " + g_editorPath + ": " + g_utility.Lasterror();
    // The user can always repair the settings from here, with the system's own editor.
    const CString strNotepad = g_pSystem->Systemfolder() + "\\notepad.exe";
    if (g_utility.Execute(strNotepad.c_str(), g_settingsPath.c_str(), "*", nullptr))
        return strFailure + " The settings file was opened in " + strNotepad + " instead.";
    return strFailure + " Nor could " + strNotepad + " start: " + g_utility.Lasterror();
}
