// LoadSettings over real files in a scratch folder.
#include <filesystem>
#include <fstream>

#include "ModelFixture.h"
#include "TestFolder.h"
#include "settings/Settings.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const char* const NOTEPAD = "C:\\Windows\\System32\\notepad.exe";
const char* const EDITOR = "C:\\Program Files\\Ed\\ed.exe";
const char* const TOOL = "D:\\Tools\\disk tool.exe";

class SettingsTest : public ModelTest {
protected:
    fs::path m_dir;

    void SetUp() override
    {
        ModelTest::SetUp();
        m_dir = MakeTestFolder("tarvick-settings-");
        g_settingsPath = (m_dir / "Tarvick.ini").string();
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
        ModelTest::TearDown();
    }

    static void WriteSettings(const CString& strBytes)
    {
        std::ofstream(g_settingsPath, std::ios::binary | std::ios::trunc) << strBytes;
    }

    static void ExpectSettings(const CString& strEditor, const CString& strExe, const CString& strArgs,
                               const char* pszWhy)
    {
        EXPECT_EQ(g_editorPath, strEditor) << pszWhy;
        EXPECT_EQ(ToolTable[TOOL_EXTERNAL].m_strExe, strExe) << pszWhy;
        EXPECT_TRUE(ToolTable[TOOL_EXTERNAL].m_strArgs == strArgs)
            << pszWhy << ": args of " << ToolTable[TOOL_EXTERNAL].m_strArgs.size() << " bytes";
    }
};

struct FileCase {
    const char* pszName;
    CString strBytes;
    CString strEditor;
    CString strExe;
    CString strArgs;
};

void PrintTo(const FileCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class SettingsFiles : public SettingsTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(SettingsFiles, ReadsKnownKeysAndLabelsTheFourthTool)
{
    const FileCase& c = GetParam();
    WriteSettings(c.strBytes);
    LoadSettings();
    ExpectSettings(c.strEditor, c.strExe, c.strArgs, c.pszName);
    // The built-in tool's name, whatever key 2 says.
    EXPECT_EQ(g_toolLabel[TOOL_EXTERNAL].m_strCaption, " WinDlg");
}

const CString MEBIBYTE_ARGS(1024 * 1024, 'a');

INSTANTIATE_TEST_SUITE_P(
    EveryShapeOfFile, SettingsFiles,
    ::testing::Values(
        FileCase{"Empty", "", NOTEPAD, "", ""},
        FileCase{"OnlyComments", "# 1 C:\\bad.exe\r\n#2 D:\\bad.exe\n#\n", NOTEPAD, "", ""},
        FileCase{"AllThreeKeys", "1 "s + EDITOR + "\n2 " + TOOL + "\n3 /scan C: /full\n", EDITOR, TOOL,
                 "/scan C: /full"},
        FileCase{"KeyWithLeadingZero", "01 "s + EDITOR + "\n", EDITOR, "", ""},
        FileCase{"KeyOfLettersIgnored", "one C:\\bad.exe\nx2 D:\\bad.exe\n", NOTEPAD, "", ""},
        FileCase{"KeysOutOfRangeIgnored", "4 C:\\bad.exe\n0 x\n-1 y\n99999999999 z\n4294967297 w\n", NOTEPAD, "", ""},
        FileCase{"SignAndLeadingZeros", "+2 "s + TOOL + "\n00000000000000000001 " + EDITOR + "\n", EDITOR, TOOL, ""},
        // A key field that is not a whole number is no key at all, however
        // it begins: these lines must not empty what the first three set.
        FileCase{"KeyMustBeAWholeNumber",
                 "1 "s + EDITOR + "\n2 " + TOOL + "\n3 /a\n1=C:\\x\n2:D:\\y\n3x /b\n1.0 C:\\z\n+ C:\\w\n- w\n", EDITOR,
                 TOOL, "/a"},
        FileCase{"KeyWithoutValueKeepsTheSetting", "1 "s + EDITOR + "\n2 " + TOOL + "\n3 /a\n1\n2 \t\n3\r\n", EDITOR,
                 TOOL, "/a"},
        FileCase{"RepeatedKeyLastWins", "2 D:\\first.exe\n2 "s + TOOL + "\n", NOTEPAD, TOOL, ""},
        // Only a "#" in the first column makes a comment: " #1" is a setting
        // whose key is no number, and a "#" inside a value belongs to it.
        FileCase{"BlankBeforeHashIsASetting", " #1 C:\\bad.exe\n 3 /scan # all\n", NOTEPAD, "", "/scan # all"},
        FileCase{"ValueBlanksKeptTrailingTrimmed", "1 "s + EDITOR + " \t \n3 \t /a  /b \n", EDITOR, "", "/a  /b"},
        FileCase{"TabAfterKey", "2\t"s + TOOL + "\n", NOTEPAD, TOOL, ""},
        FileCase{"CrLfAndLfMixed", "1 "s + EDITOR + "\r\n2 " + TOOL + "\n3 /x\r\n", EDITOR, TOOL, "/x"},
        FileCase{"ByteOrderMarkBeforeFirstKey",
                 "\xef\xbb\xbf"
                 "1 "s +
                     EDITOR + "\r\n",
                 EDITOR, "", ""},
        FileCase{"NoFinalLineEnd", "2 "s + TOOL + "\r\n3 /last", NOTEPAD, TOOL, "/last"},
        FileCase{"OneMebibyteLine", "3 " + MEBIBYTE_ARGS + "\r\n1 " + EDITOR + "\r\n", EDITOR, "", MEBIBYTE_ARGS},
        FileCase{"BinaryBytes", "\0\xff\x1a junk\r\n3 a\0b\xff\x01\r\n\xef\xbb\xbf\r\n1 "s + EDITOR + "\n", EDITOR, "",
                 "a\0b\xff\x01"s}),
    [](const auto& info) { return std::string(info.param.pszName); });

// The same settings as UTF-16 text, with or without a byte-order mark.
CString Utf16(const std::u16string& strText, bool bBigEndian, bool bMark = true)
{
    CString strBytes = bMark ? (bBigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (char16_t cUnit : strText) {
        const char cHigh = static_cast<char>(cUnit >> 8);
        const char cLow = static_cast<char>(cUnit & 0xFF);
        strBytes += bBigEndian ? CString{cHigh, cLow} : CString{cLow, cHigh};
    }
    return strBytes;
}

// Native builds stand Latin-1 in for the ANSI code page.
const char* const TOOL_UTF8 =
    "C:\\Tools\\Pr\xC3\xBC"
    "fung\\diag.exe";
const char* const TOOL_ANSI =
    "C:\\Tools\\Pr\xFC"
    "fung\\diag.exe";
const std::u16string TOOL_UTF16 = u"C:\\Tools\\Pr\u00FCfung\\diag.exe";
const std::u16string THREE_KEYS = u"1 C:\\Program Files\\Ed\\ed.exe\r\n2 " + TOOL_UTF16 + u"\r\n3 /quick\r\n";

INSTANTIATE_TEST_SUITE_P(
    EveryEncoding, SettingsFiles,
    ::testing::Values(
        FileCase{"Utf8WithMark",
                 "\xEF\xBB\xBF"
                 "2 "s +
                     TOOL_UTF8 + "\r\n",
                 NOTEPAD, TOOL_ANSI, ""},
        FileCase{"Utf8WithoutMark",
                 "# Pr\xC3\xBC"
                 "fung\n2 "s +
                     TOOL_UTF8 + "\n3 /quick\n",
                 NOTEPAD, TOOL_ANSI, "/quick"},
        FileCase{"Utf16LittleEndian", Utf16(THREE_KEYS, false), EDITOR, TOOL_ANSI, "/quick"},
        FileCase{"Utf16BigEndian", Utf16(THREE_KEYS, true), EDITOR, TOOL_ANSI, "/quick"},
        FileCase{"Utf16LfOnly", Utf16(u"3 /a\n2 " + TOOL_UTF16, false), NOTEPAD, TOOL_ANSI, "/a"},
        FileCase{"AnsiHighByteKeptAsWritten", "2 "s + TOOL_ANSI + "\n", NOTEPAD, TOOL_ANSI, ""},
        // One byte that is not UTF-8 makes the whole file ANSI.
        FileCase{"InvalidUtf8AnywhereMeansAnsi", "2 "s + TOOL_UTF8 + "\n3 \xFC\n", NOTEPAD, TOOL_UTF8, "\xFC"},
        FileCase{"Utf16WithoutMarkIsAnsi", Utf16(THREE_KEYS, false, false), NOTEPAD, "", ""},
        FileCase{"MarkAlone", "\xEF\xBB\xBF", NOTEPAD, "", ""}, FileCase{"Utf16MarkAlone", "\xFF\xFE", NOTEPAD, "", ""},
        // A character the code page lacks leaves the setting as it was,
        // rather than naming some other file.
        FileCase{"NoAnsiFormKeepsTheSetting",
                 "\xEF\xBB\xBF"
                 "2 "s +
                     TOOL + "\n2 C:\\\xE4\xB8\xAD\\x.exe\n1 C:\\\xC4\x81\\ed.exe\n3 \xC2\xB5s\n",
                 NOTEPAD, TOOL, "\xB5s"},
        FileCase{"Utf16SurrogatePairWithoutAnsiForm", Utf16(u"2 D:\\x\r\n2 D:\\\xD83D\xDE00.exe\r\n", false), NOTEPAD,
                 "D:\\x", ""},
        FileCase{"Utf16UnpairedSurrogates", Utf16(u"2 D:\\x\n2 D:\\\xD800.exe\n2 D:\\\xDC00.exe\n3 /a\xD800", true),
                 NOTEPAD, "D:\\x", ""},
        // An odd last byte spoils only the last line.
        FileCase{"Utf16OddLength", Utf16(u"3 /first\r\n2 D:\\x\r\n3 /b", false) + "c", NOTEPAD, "D:\\x", "/first"},
        // Split at bytes, U+0A0D would end the line after "/a".
        FileCase{"Utf16UnitsHoldingLineEndBytes", Utf16(u"3 /a\u0A0D\u0D0Ab\r\n2 D:\\x\r\n", false), NOTEPAD, "D:\\x",
                 ""}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(SettingsTest, LargeFilesAreReadWithinBoundsAndTooLargeOnesNotAtAll)
{
    const CString strLong(1024 * 1024, 'x');
    CString strComments;
    for (int i = 0; i < 9; ++i)
        strComments += "#" + strLong + "\r\n";
    WriteSettings(strComments + "3 " + strLong + "\r\n1 " + EDITOR + "\r\n");
    LoadSettings();
    ExpectSettings(EDITOR, "", strLong, "10 MiB of ANSI");

    std::u16string strWide;
    for (int i = 0; i < 5; ++i)
        strWide += u"#" + std::u16string(1024 * 1024, u'\u00FC') + u"\r\n";
    WriteSettings(Utf16(strWide + u"2 " + TOOL_UTF16 + u"\r\n", false));
    LoadSettings();
    ExpectSettings(EDITOR, TOOL_ANSI, strLong, "10 MiB of UTF-16");

    // Too large to be a settings file: not read, but the label is set.
    g_toolLabel[TOOL_EXTERNAL].m_strCaption.clear();
    WriteSettings("1 C:\\other.exe\r\n#" + CString(16 * 1024 * 1024, 'y'));
    LoadSettings();
    ExpectSettings(EDITOR, TOOL_ANSI, strLong, "over 16 MiB");
    EXPECT_EQ(g_toolLabel[TOOL_EXTERNAL].m_strCaption, " WinDlg");
}

TEST_F(SettingsTest, WithoutAReadableFileNothingChanges)
{
    struct {
        const char* pszName;
        CString strPath;
    } cases[] = {
        {"missing file", (m_dir / "missing.ini").string()},
        {"folder", m_dir.string()},
        {"missing folder", (m_dir / "missing" / "Tarvick.ini").string()},
    };
    for (const auto& c : cases) {
        g_settingsPath = c.strPath;
        LoadSettings();
        ExpectSettings(NOTEPAD, "", "", c.pszName);
        EXPECT_EQ(g_toolLabel[TOOL_EXTERNAL].m_strCaption, "") << c.pszName;
    }
}

TEST_F(SettingsTest, KeyAbsentOnASecondReadKeepsItsValue)
{
    WriteSettings("1 "s + EDITOR + "\n2 " + TOOL + "\n3 /first\n");
    LoadSettings();
    WriteSettings("3 /second\n");
    LoadSettings();
    ExpectSettings(EDITOR, TOOL, "/second", "second read");
}

TEST_F(SettingsTest, ShippedSampleNamesNotepadAndLeavesTheExternalProgramUnset)
{
    g_settingsPath = TARVICK_SAMPLE_INI;
    LoadSettings();
    ExpectSettings(NOTEPAD, "", "", "sample");
    EXPECT_EQ(g_toolLabel[TOOL_EXTERNAL].m_strCaption, " WinDlg");
}

}  // namespace
