// The settings reader over any file content. Besides the sanitizers: every
// value is the trimmed tail of a line of the file, and reading the same file
// again over the state the first read left changes nothing.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "model/Globals.h"
#include "settings/Settings.h"

namespace {

const char* const DEFAULT_EDITOR = "C:\\Windows\\System32\\notepad.exe";

struct Loaded {
    CString strEditor;
    CString strExe;
    CString strArgs;
    CString strLabel;

    bool operator==(const Loaded& other) const
    {
        return strEditor == other.strEditor && strExe == other.strExe && strArgs == other.strArgs &&
               strLabel == other.strLabel;
    }
};

Loaded Snapshot()
{
    return {g_editorPath, ToolTable[TOOL_EXTERNAL].m_strExe, ToolTable[TOOL_EXTERNAL].m_strArgs,
            g_toolLabel[TOOL_EXTERNAL].m_strCaption};
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Whether strValue stands at nAt as the tail of a line: after a blank, and
// followed by nothing but blanks and the line's end.
bool IsLineTail(const CString& strFile, std::size_t nAt, const CString& strValue)
{
    if (nAt == 0 || !IsBlank(strFile[nAt - 1]))
        return false;
    std::size_t i = nAt + strValue.size();
    while (i < strFile.size() && IsBlank(strFile[i]))
        ++i;
    if (i < strFile.size() && strFile[i] == '\r')
        ++i;
    return i == strFile.size() || strFile[i] == '\n';
}

void CheckValue(const CString& strValue, const CString& strFile)
{
    if (strValue.empty())
        return;
    FUZZ_CHECK(strValue.find('\n') == CString::npos);
    FUZZ_CHECK(!IsBlank(strValue.front()) && !IsBlank(strValue.back()));
    bool bFound = false;
    for (std::size_t nAt = strFile.find(strValue); nAt != CString::npos && !bFound;
         nAt = strFile.find(strValue, nAt + 1))
        bFound = IsLineTail(strFile, nAt, strValue);
    FUZZ_CHECK(bFound);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const CScratchFile s_file("Tarvick.ini");
    s_file.Write(pData, nSize);
    const CString strFile(reinterpret_cast<const char*>(pData), nSize);

    g_settingsPath = s_file.Path();
    g_editorPath = DEFAULT_EDITOR;
    FillTables();
    LoadSettings();
    const Loaded first = Snapshot();
    LoadSettings();
    const Loaded second = Snapshot();

    FUZZ_CHECK(first == second);
    if (first.strEditor != DEFAULT_EDITOR)
        CheckValue(first.strEditor, strFile);
    CheckValue(first.strExe, strFile);
    CheckValue(first.strArgs, strFile);
    // Key 2 never renames the tool.
    FUZZ_CHECK(first.strLabel == " WinDlg");
    FUZZ_CHECK(g_toolCount == TOOL_ROWS && static_cast<int>(ToolTable.size()) == TOOL_ROWS);
    return 0;
}
