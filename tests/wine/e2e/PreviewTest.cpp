// End to end: the preview is what a click runs, across drives of both file
// system classes; a failure shows on the button that was clicked; settings
// files as editors save them.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

constexpr int ROW_PERF = 4;
constexpr int ROW_REEVALUATE = 5;

// The test prefix maps R: as a CD drive: a drive of another file system.
::testing::AssertionResult CdDriveMapped()
{
    char szName[8] = {};
    if (GetDriveTypeA("R:\\") == DRIVE_CDROM &&
        GetVolumeInformationA("R:\\", nullptr, 0, nullptr, nullptr, nullptr, szName, sizeof szName) &&
        std::strcmp(szName, "NTFS") != 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "R: is no CD drive in the test prefix (type " << GetDriveTypeA("R:\\")
                                         << ", \"" << szName << "\")";
}

// ---- The preview is what runs -------------------------------------------------------------

TEST(TruePreview, ASwitchTheNewDriveCannotTakeIsNeitherShownNorRun)
{
    ASSERT_TRUE(CdDriveMapped());
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
    ASSERT_TRUE(tarvick.Tick(ROW_REEVALUATE));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C: /B\r\n"));

    ASSERT_TRUE(tarvick.ReplaceDevice("R"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK R:\r\n"));
    EXPECT_FALSE(tarvick.Visible(IDC_OPTION_BOX + ROW_REEVALUATE)) << "a CD holds no NTFS volume";
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE R:\r\npause\r\n");
    ExpectCall(tarvick.Calls()[0], "CHKDSK.EXE", "R:");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

TEST(TruePreview, ASwitchHiddenOnTheWayIsShownAndRunOnTheWayBack)
{
    ASSERT_TRUE(CdDriveMapped());
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
    ASSERT_TRUE(tarvick.Tick(ROW_PERF));
    ASSERT_TRUE(tarvick.ReplaceDevice("R"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK R:\r\n"));
    ASSERT_TRUE(tarvick.ReplaceDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C: /PERF\r\n"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C: /PERF\r\npause\r\n");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

TEST(TruePreview, TypingUnderAPointerRestingOnProcessRefreshesThePreview)
{
    ASSERT_TRUE(CdDriveMapped());
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));

    // The keyboard focus stays in the Device box; the pointer does not move.
    ASSERT_TRUE(tarvick.RetypeDevice("R"));
    EXPECT_TRUE(tarvick.WaitText(IDC_OUTPUT, "CHKDSK R:\r\n"));
    ASSERT_TRUE(tarvick.PointerOn(IDC_PROCESS));
    ASSERT_TRUE(tarvick.RetypeDevice(""));
    EXPECT_TRUE(tarvick.WaitText(IDC_PROCESS, "No Dev"));
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    ASSERT_TRUE(tarvick.RetypeDevice("R"));
    ASSERT_TRUE(tarvick.WaitText(IDC_OUTPUT, "CHKDSK R:\r\n"));

    LeftClick(tarvick.Middle(IDC_PROCESS));
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE R:\r\npause\r\n");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Failures are visible -----------------------------------------------------------------

// Clicks "Process", which must then show "Failed" in red with the output box
// saying why in one line that begins with strStart; the pointer stays.
void ExpectProcessFails(const CTarvick& tarvick, const std::string& strStart)
{
    tarvick.ClickOn(IDC_PROCESS);
    ASSERT_TRUE(tarvick.WaitText(IDC_PROCESS, "Failed", RUN_MS));
    EXPECT_TRUE(tarvick.ShowsRed(IDC_PROCESS));
    const std::string strLine = tarvick.Text(IDC_OUTPUT);
    EXPECT_EQ(strLine.compare(0, strStart.size(), strStart), 0) << strLine;
    EXPECT_GT(strLine.size(), strStart.size()) << "with the system's reason";
    EXPECT_EQ(strLine.find('\n'), std::string::npos) << "one line";
    EXPECT_TRUE(tarvick.PointerRestsOn(IDC_PROCESS)) << "the pointer stays after a failure" << UnderPointer();
    EXPECT_TRUE(tarvick.Visible(IDC_PROCESS));
}

TEST(Failures, AMissingExternalToolShowsFailedWithThePathAndTheReason)
{
    CTarvick tarvick;
    const std::string strGone = tarvick.m_strFakes + "\\gone diag.exe";
    ASSERT_TRUE(WriteBytes(tarvick.m_strIni, "2 " + strGone + "\r\n3 /quick\r\n"));
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    ExpectProcessFails(tarvick, "Could not start " + strGone + ": ");
    EXPECT_TRUE(tarvick.Calls().empty());
    EXPECT_TRUE(tarvick.Children().empty());
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Failures, AnExternalToolNotSetNamesItsKeyAndTheFile)
{
    CTarvick tarvick;
    ASSERT_TRUE(WriteBytes(tarvick.m_strIni, "# no key 2\r\n3 /quick\r\n"));
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    tarvick.ClickOn(IDC_PROCESS);
    ASSERT_TRUE(tarvick.WaitText(IDC_PROCESS, "Failed", RUN_MS));
    EXPECT_TRUE(SameNoCase(tarvick.Text(IDC_OUTPUT),
                           "Could not start the external tool: key 2 of " + tarvick.m_strIni + " names no program."))
        << tarvick.Text(IDC_OUTPUT);
    EXPECT_TRUE(tarvick.Exit());
}

// The system's notepad.exe replaced by the recording fake for one test.
class CFakeNotepad {
public:
    explicit CFakeNotepad(CTarvick& tarvick)
    {
        m_strNotepad = SystemFolder() + "\\notepad.exe";
        m_strSaved = tarvick.m_strRoot + "\\notepad.saved";
        m_bReady = CopyFileA(m_strNotepad.c_str(), m_strSaved.c_str(), FALSE) &&
                   CopyFileA(FromEnvironment("TARVICK_FAKE_TOOL").c_str(), m_strNotepad.c_str(), FALSE);
    }
    ~CFakeNotepad() { CopyFileA(m_strSaved.c_str(), m_strNotepad.c_str(), FALSE); }
    CFakeNotepad(const CFakeNotepad&) = delete;
    CFakeNotepad& operator=(const CFakeNotepad&) = delete;

    std::string m_strNotepad;
    std::string m_strSaved;
    bool m_bReady = false;
};

TEST(Failures, AnEditorThatCannotStartOpensTheSettingsInTheSystemsNotepad)
{
    CTarvick tarvick;
    CFakeNotepad notepad(tarvick);
    ASSERT_TRUE(notepad.m_bReady);
    const std::string strEditor = tarvick.m_strFakes + "\\no such editor.exe";
    ASSERT_TRUE(WriteBytes(tarvick.m_strIni, "1 " + strEditor + "\r\n"));
    ASSERT_TRUE(tarvick.Start());

    tarvick.ClickOn(IDC_EDIT_SETTINGS);
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const Call call = tarvick.Calls()[0];
    EXPECT_TRUE(SameNoCase(call.strProgram, notepad.m_strNotepad)) << call.strProgram;
    EXPECT_TRUE(SameNoCase(Unquoted(call.strArgs), tarvick.m_strIni)) << call.strArgs;
    ASSERT_TRUE(tarvick.WaitText(IDC_EDIT_SETTINGS, "Failed", RUN_MS));
    EXPECT_TRUE(tarvick.ShowsRed(IDC_EDIT_SETTINGS));
    const std::string strLine = tarvick.Text(IDC_OUTPUT);
    const std::string strStart = "Could not start the editor " + strEditor + ": ";
    EXPECT_EQ(strLine.compare(0, strStart.size(), strStart), 0) << strLine;
    EXPECT_NE(strLine.find("opened in " + notepad.m_strNotepad + " instead."), std::string::npos) << strLine;
    EXPECT_TRUE(tarvick.Responsive());
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Settings as editors save them ----------------------------------------------------------

std::string Utf8(const std::wstring& str)
{
    std::string strOut(str.size() * 3, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), &strOut[0],
                                      static_cast<int>(strOut.size()), nullptr, nullptr);
    strOut.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return strOut;
}

std::string Utf16(const std::wstring& str, bool bBigEndian)
{
    std::string strOut = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : str) {
        const char hi = static_cast<char>((c >> 8) & 0xFF);
        const char lo = static_cast<char>(c & 0xFF);
        strOut += bBigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return strOut;
}

enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be };

class SettingsEncoding : public ::testing::TestWithParam<Encoding> {};

TEST_P(SettingsEncoding, NamesAToolInANonAsciiFolderThatGetsItsArgumentTextAsWritten)
{
    CTarvick tarvick;
    wchar_t szRoot[MAX_PATH] = {};
    ASSERT_GT(MultiByteToWideChar(CP_ACP, 0, tarvick.m_strRoot.c_str(), -1, szRoot, MAX_PATH), 0);
    const std::wstring strFolder = std::wstring(szRoot) + L"\\Pr\u00FCfung";
    const std::wstring strTool = strFolder + L"\\diag.exe";
    const std::string strAnsiTool = AnsiName(strTool.c_str());
    if (strAnsiTool.empty())
        GTEST_SKIP() << "the folder name does not fit the ANSI code page " << GetACP();
    ASSERT_TRUE(CreateDirectoryW(strFolder.c_str(), nullptr));
    wchar_t szFake[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, FromEnvironment("TARVICK_FAKE_TOOL").c_str(), -1, szFake, MAX_PATH);
    ASSERT_TRUE(CopyFileW(szFake, strTool.c_str(), FALSE));

    // Key 3 begins with a drive path: it must still arrive as written.
    const std::wstring strText = L"# Pr\u00FCfung\r\n2 " + strTool + L"\r\n3 C:\\logs\\diag.log /quick\r\n";
    std::string strBytes;
    switch (GetParam()) {
        case Encoding::Utf8: strBytes = Utf8(strText); break;
        case Encoding::Utf8Bom: strBytes = "\xEF\xBB\xBF" + Utf8(strText); break;
        case Encoding::Utf16Le: strBytes = Utf16(strText, false); break;
        case Encoding::Utf16Be: strBytes = Utf16(strText, true); break;
    }
    ASSERT_TRUE(WriteBytes(tarvick.m_strIni, strBytes));

    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const Call call = tarvick.Calls()[0];
    EXPECT_TRUE(SameNoCase(call.strProgram, strAnsiTool)) << call.strProgram;
    EXPECT_EQ(call.strArgs, "C:\\logs\\diag.log /quick");
    EXPECT_TRUE(tarvick.Exit());
}

std::string EncodingName(const ::testing::TestParamInfo<Encoding>& info)
{
    const char* const names[] = {"Utf8", "Utf8Bom", "Utf16Le", "Utf16Be"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Notepad, SettingsEncoding,
                         ::testing::Values(Encoding::Utf8, Encoding::Utf8Bom, Encoding::Utf16Le, Encoding::Utf16Be),
                         EncodingName);

}  // namespace
