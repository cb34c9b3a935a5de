#include "Settings.h"

#include <climits>

#include "lib/Codepage.h"
#include "model/Globals.h"

namespace {

// Far beyond any settings file a person writes, yet small enough to hold at
// once; a larger file is not read at all.
constexpr int MAX_SETTINGS_BYTES = 16 * 1024 * 1024;

// A key is a whole number: an optional sign and decimal digits, nothing else
// ("1=C:\x" is not key 1). 0, an ignored key, for anything else, and for a
// number too large for an int.
int KeyOf(const CString& strField)
{
    std::size_t i = 0;
    const bool bNegative = !strField.empty() && strField[0] == '-';
    if (!strField.empty() && (strField[0] == '+' || strField[0] == '-'))
        ++i;
    if (i == strField.size())
        return 0;
    long long nKey = 0;
    for (; i < strField.size(); ++i) {
        if (strField[i] < '0' || strField[i] > '9')
            return 0;
        nKey = nKey * 10 + (strField[i] - '0');
        if (nKey > INT_MAX)
            return 0;
    }
    return static_cast<int>(bNegative ? -nKey : nKey);
}

// One line of the file: empty lines, comments, lines without a whole-number
// key and keys without a value change nothing. In a Unicode file the line is
// UTF-8, and a value that has no form in the ANSI code page is dropped rather
// than changed into another path.
void ApplyLine(const CString& strLine, bool bUnicode)
{
    if (strLine.empty() || strLine[0] == '#')
        return;
    int nCursor = 0;
    CString strKey;
    CString strValue;
    g_utility.Parse(strLine, "", nCursor, 1, strKey);
    g_utility.Parse(strLine, "", nCursor, 0, strValue);
    const int nKey = KeyOf(strKey);
    if (nKey < 1 || nKey > 3 || strValue.empty())
        return;
    if (bUnicode && !zobrel::Utf8toansi(strValue, strValue))
        return;
    switch (nKey) {
        case 1: g_editorPath = strValue; break;
        case 2:
            if (g_toolCount > TOOL_EXTERNAL)
                ToolTable[TOOL_EXTERNAL].m_strExe = strValue;
            break;
        default:
            if (g_toolCount > TOOL_EXTERNAL)
                ToolTable[TOOL_EXTERNAL].m_strArgs = strValue;
            break;
    }
}

void StripCr(CString& strLine)
{
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
}

// Lines end at LF, a CR before it dropped, as FileIO::Getline reads them.
void ApplyBytes(const CString& strAll, std::size_t nFrom, bool bUnicode)
{
    while (nFrom < strAll.size()) {
        std::size_t nEnd = strAll.find('\n', nFrom);
        if (nEnd == CString::npos)
            nEnd = strAll.size();
        CString strLine = strAll.substr(nFrom, nEnd - nFrom);
        StripCr(strLine);
        ApplyLine(strLine, bUnicode);
        nFrom = nEnd + 1;
    }
}

// UTF-16 lines end at the code unit U+000A: a 0x0A byte alone may be half of
// another character.
void ApplyUtf16(const CString& strAll, std::size_t nFrom, bool bBigEndian)
{
    const char* pAll = strAll.data();
    const std::size_t nLow = bBigEndian ? 1 : 0;
    while (nFrom < strAll.size()) {
        std::size_t nEnd = nFrom;
        while (nEnd + 1 < strAll.size() && !(pAll[nEnd + nLow] == '\n' && pAll[nEnd + 1 - nLow] == '\0'))
            nEnd += 2;
        if (nEnd + 1 >= strAll.size())
            nEnd = strAll.size();
        CString strLine;
        zobrel::Utf16toutf8(pAll + nFrom, nEnd - nFrom, bBigEndian, strLine);
        StripCr(strLine);
        ApplyLine(strLine, true);
        nFrom = nEnd + 2;
    }
}

}  // namespace

void LoadSettings()
{
    if (!g_fileIO.Opentest(g_settingsPath))
        return;
    CString strAll;
    if (g_fileIO.Open(g_settingsPath, "r") && g_fileIO.Getall(strAll, MAX_SETTINGS_BYTES) > 0) {
        std::size_t nMark = 0;
        switch (zobrel::Detectencoding(strAll, nMark)) {
            case zobrel::Encoding::ANSI: ApplyBytes(strAll, nMark, false); break;
            case zobrel::Encoding::UTF8: ApplyBytes(strAll, nMark, true); break;
            case zobrel::Encoding::UTF16LE: ApplyUtf16(strAll, nMark, false); break;
            case zobrel::Encoding::UTF16BE: ApplyUtf16(strAll, nMark, true); break;
        }
    }
    g_fileIO.Close();
    // The label names the built-in tool whatever key 2 says.
    g_toolLabel[TOOL_EXTERNAL].SetText(" " + CString(g_utility.Parsepath(g_builtinToolPath, 3)), CLR_NAVY, CLR_WHITE,
                                       g_hFont);
}
