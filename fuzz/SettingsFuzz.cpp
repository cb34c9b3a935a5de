// The settings reader over any file content. Besides the sanitizers:
//   - reading the same file again over the state the first read left
//     changes nothing, and key 2 never renames the fourth tool;
//   - no value is empty or holds a line end;
//   - read as ANSI, every value is the trimmed tail of a line of the file;
//   - content that is valid UTF-8 gives the same settings when saved as
//     Notepad saves it otherwise: UTF-8 with a byte-order mark, UTF-16 in
//     either byte order; and each value, back in UTF-8, is a line's tail.
#include <cstddef>
#include <cstdint>

#include "FuzzSupport.h"
#include "lib/Codepage.h"
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

Loaded Load(const CScratchFile& file, const CString& strBytes)
{
    file.Write(reinterpret_cast<const std::uint8_t*>(strBytes.data()), strBytes.size());
    g_settingsPath = file.Path();
    g_editorPath = DEFAULT_EDITOR;
    FillTables();
    LoadSettings();
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
    FUZZ_CHECK(!strValue.empty());
    FUZZ_CHECK(strValue.find('\n') == CString::npos);
    FUZZ_CHECK(!IsBlank(strValue.front()) && !IsBlank(strValue.back()));
    bool bFound = false;
    for (std::size_t nAt = strFile.find(strValue); nAt != CString::npos && !bFound;
         nAt = strFile.find(strValue, nAt + 1))
        bFound = IsLineTail(strFile, nAt, strValue);
    FUZZ_CHECK(bFound);
}

void CheckValues(const Loaded& loaded, const CString& strFile)
{
    if (loaded.strEditor != DEFAULT_EDITOR)
        CheckValue(loaded.strEditor, strFile);
    if (!loaded.strExe.empty())
        CheckValue(loaded.strExe, strFile);
    if (!loaded.strArgs.empty())
        CheckValue(loaded.strArgs, strFile);
}

// Latin-1, which native builds stand in for the ANSI code page, as UTF-8.
CString Latin1toutf8(const CString& strAnsi)
{
    CString strOut;
    for (char c : strAnsi) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            strOut.push_back(c);
        } else {
            strOut.push_back(static_cast<char>(0xC0 | (b >> 6)));
            strOut.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return strOut;
}

// Valid UTF-8 as UTF-16 with a byte-order mark.
CString Utf8toutf16(const CString& strUtf8, bool bBigEndian)
{
    CString strOut = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    auto put = [&strOut, bBigEndian](unsigned nUnit) {
        const char cHigh = static_cast<char>(nUnit >> 8);
        const char cLow = static_cast<char>(nUnit & 0xFF);
        strOut.push_back(bBigEndian ? cHigh : cLow);
        strOut.push_back(bBigEndian ? cLow : cHigh);
    };
    for (std::size_t i = 0; i < strUtf8.size();) {
        const unsigned char c = static_cast<unsigned char>(strUtf8[i]);
        const std::size_t nLen = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        unsigned nPoint = nLen == 1 ? c : nLen == 2 ? (c & 0x1F) : nLen == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; k < nLen; ++k)
            nPoint = (nPoint << 6) | (static_cast<unsigned char>(strUtf8[i + k]) & 0x3F);
        if (nPoint >= 0x10000) {
            put(0xD800 + ((nPoint - 0x10000) >> 10));
            put(0xDC00 + ((nPoint - 0x10000) & 0x3FF));
        } else {
            put(nPoint);
        }
        i += nLen;
    }
    return strOut;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const CScratchFile s_file("Tarvick.ini");
    const CString strFile(reinterpret_cast<const char*>(pData), nSize);

    const Loaded first = Load(s_file, strFile);
    LoadSettings();
    const Loaded second = {g_editorPath, ToolTable[TOOL_EXTERNAL].m_strExe, ToolTable[TOOL_EXTERNAL].m_strArgs,
                           g_toolLabel[TOOL_EXTERNAL].m_strCaption};
    FUZZ_CHECK(first == second);
    FUZZ_CHECK(first.strLabel == " WinDlg");
    FUZZ_CHECK(g_toolCount == TOOL_ROWS && static_cast<int>(ToolTable.size()) == TOOL_ROWS);

    std::size_t nMark = 0;
    const zobrel::Encoding encoding = zobrel::Detectencoding(strFile, nMark);
    if (encoding == zobrel::Encoding::ANSI) {
        CheckValues(first, strFile);
        return 0;
    }
    if (encoding != zobrel::Encoding::UTF8 || !zobrel::Isutf8(strFile.data() + nMark, strFile.size() - nMark))
        return 0;

    const CString strText = strFile.substr(nMark);
    CheckValues({Latin1toutf8(first.strEditor), Latin1toutf8(first.strExe), Latin1toutf8(first.strArgs), ""}, strText);
    FUZZ_CHECK(Load(s_file, "\xEF\xBB\xBF" + strText) == first);
    FUZZ_CHECK(Load(s_file, Utf8toutf16(strText, false)) == first);
    FUZZ_CHECK(Load(s_file, Utf8toutf16(strText, true)) == first);
    return 0;
}
