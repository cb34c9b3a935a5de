#include "Settings.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "model/Globals.h"

namespace {

// As atoi reads a key, but a number too large for an int is out of range
// instead of undefined, and is ignored like any other unknown key.
int KeyOf(const CString& strField)
{
    errno = 0;
    long nKey = std::strtol(strField.c_str(), nullptr, 10);
    if (errno == ERANGE || nKey > INT_MAX || nKey < INT_MIN)
        return 0;
    return static_cast<int>(nKey);
}

}  // namespace

void LoadSettings()
{
    if (!g_fileIO.Opentest(g_settingsPath))
        return;
    g_fileIO.Open(g_settingsPath, "r");
    CString strLine;
    bool bFirst = true;
    while (g_fileIO.Getline(strLine) != -1) {
        // Editors that save UTF-8 may put a byte-order mark before the first key.
        if (bFirst && strLine.compare(0, 3, "\xEF\xBB\xBF") == 0)
            strLine.erase(0, 3);
        bFirst = false;
        if (strLine.empty() || strLine[0] == '#')
            continue;
        int nCursor = 0;
        CString strKey;
        CString strValue;
        g_utility.Parse(strLine, "", nCursor, 1, strKey);
        g_utility.Parse(strLine, "", nCursor, 0, strValue);
        switch (KeyOf(strKey)) {
        case 1:
            g_editorPath = strValue;
            break;
        case 2:
            if (g_toolCount > TOOL_EXTERNAL)
                ToolTable[TOOL_EXTERNAL].m_strExe = strValue;
            break;
        case 3:
            if (g_toolCount > TOOL_EXTERNAL)
                ToolTable[TOOL_EXTERNAL].m_strArgs = strValue;
            break;
        default:
            break;
        }
    }
    g_fileIO.Close();
    // The label names the built-in tool whatever key 2 says.
    g_toolLabel[TOOL_EXTERNAL].SetText(" " + CString(g_utility.Parsepath(g_builtinToolPath, 3)), CLR_NAVY, CLR_WHITE,
                                       g_hFont);
}
