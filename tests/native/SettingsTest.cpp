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
        FileCase{"KeysOutOfRangeIgnored", "4 C:\\bad.exe\n0 x\n-1 y\n99999999999 z\n", NOTEPAD, "", ""},
        FileCase{"RepeatedKeyLastWins", "2 D:\\first.exe\n2 "s + TOOL + "\n", NOTEPAD, TOOL, ""},
        // Only a "#" in the first column makes a comment: " #1" is a setting
        // whose key is no number, and a "#" inside a value belongs to it.
        FileCase{"BlankBeforeHashIsASetting", " #1 C:\\bad.exe\n 3 /scan # all\n", NOTEPAD, "", "/scan # all"},
        FileCase{"ValueBlanksKeptTrailingTrimmed", "1 "s + EDITOR + " \t \n3 \t /a  /b \n", EDITOR, "", "/a  /b"},
        FileCase{"TabAfterKey", "2\t"s + TOOL + "\n", NOTEPAD, TOOL, ""},
        FileCase{"CrLfAndLfMixed", "1 "s + EDITOR + "\r\n2 " + TOOL + "\n3 /x\r\n", EDITOR, TOOL, "/x"},
        FileCase{"ByteOrderMarkBeforeFirstKey", "\xef\xbb\xbf" "1 "s + EDITOR + "\r\n", EDITOR, "", ""},
        FileCase{"NoFinalLineEnd", "2 "s + TOOL + "\r\n3 /last", NOTEPAD, TOOL, "/last"},
        FileCase{"OneMebibyteLine", "3 " + MEBIBYTE_ARGS + "\r\n1 " + EDITOR + "\r\n", EDITOR, "", MEBIBYTE_ARGS},
        FileCase{"BinaryBytes", "\0\xff\x1a junk\r\n3 a\0b\xff\x01\r\n\xef\xbb\xbf\r\n1 "s + EDITOR + "\n", EDITOR, "",
                 "a\0b\xff\x01"s}),
    [](const auto& info) { return std::string(info.param.pszName); });

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
