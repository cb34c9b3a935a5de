// End to end: previews and runs of CHKDSK, DISM and SFC through the batch
// file, drive problems, the external tool, the editor and the keyboard.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

// ---- CHKDSK: preview, run, second run ------------------------------------------------------------

TEST(Chkdsk, PreviewShowsNtfsRowsThenClickRunsBatch)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));

    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
    EXPECT_EQ(tarvick.Text(IDC_PROCESS), "Process");
    EXPECT_TRUE(WaitUntil([&] { return CountColour(tarvick.ScreenRect(IDC_PROCESS), CLR_GREEN) > 10; }, 2000))
        << "Process turns green";
    EXPECT_EQ(tarvick.VisibleRows(), RowsOf({0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11}));

    ASSERT_TRUE(tarvick.Tick(ROW_FIX));
    ASSERT_TRUE(tarvick.Tick(ROW_REPLACE));
    ASSERT_TRUE(tarvick.Run());
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C: /F /R\r\npause\r\n");
    const Call run = tarvick.Calls()[0];
    ExpectCall(run, "CHKDSK.EXE", "C: /F /R");
    const std::vector<DWORD> shells = tarvick.Children("cmd.exe");
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_NE(std::find(run.console.begin(), run.console.end(), shells[0]), run.console.end())
        << "the tool shares the console of the cmd.exe the program started";
    EXPECT_EQ(std::find(run.console.begin(), run.console.end(), tarvick.m_pi.dwProcessId), run.console.end());
    EXPECT_EQ(tarvick.EndConsoles(), 1) << "one console waiting at pause";

    // The same file is rewritten by the next run.
    ASSERT_TRUE(tarvick.Tick(ROW_REPLACE));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(2));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C: /F\r\npause\r\n");
    ExpectCall(tarvick.Calls()[1], "CHKDSK.EXE", "C: /F");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

// ---- DISM, SFC and help --------------------------------------------------------------------------

struct ToolCase {
    const char* pszName;
    int nTool;
    std::vector<int> ticked;
    std::vector<int> visibleRows;
    const char* pszPreview;
    const char* pszProgram;
    const char* pszBatchLine;  // the batch file's first line
};

void PrintTo(const ToolCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ToolRun : public ::testing::TestWithParam<ToolCase> {};

TEST_P(ToolRun, PreviewsAndRunsThroughTheBatchFile)
{
    const ToolCase& c = GetParam();
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    if (c.nTool != TOOL_CHKDSK) {
        ASSERT_TRUE(tarvick.ChooseTool(c.nTool));
    }
    EXPECT_EQ(tarvick.VisibleRows(), c.visibleRows);
    for (int nRow : c.ticked)
        ASSERT_TRUE(tarvick.Tick(nRow));

    ASSERT_TRUE(tarvick.Preview(c.pszPreview));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), std::string(c.pszBatchLine) + "\r\npause\r\n");
    const std::string strLine = c.pszBatchLine;
    ExpectCall(tarvick.Calls()[0], c.pszProgram, strLine.substr(strLine.find(' ') + 1));
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolRun,
    ::testing::Values(
        ToolCase{"DismScanHealth",
                 TOOL_DISM,
                 {ROW_SCANHEALTH},
                 {8, 12, 13, 14},
                 "DISM /Online /Cleanup-Image /ScanHealth\r\n",
                 "DISM.EXE",
                 "DISM.EXE /Online /Cleanup-Image /ScanHealth"},
        ToolCase{"DismCheckRestore",
                 TOOL_DISM,
                 {ROW_CHECKHEALTH, ROW_RESTOREHEALTH},
                 {8, 12, 13, 14},
                 "DISM /Online /Cleanup-Image /CheckHealth /RestoreHealth\r\n",
                 "DISM.EXE",
                 "DISM.EXE /Online /Cleanup-Image /CheckHealth /RestoreHealth"},
        ToolCase{"SfcScanNow", TOOL_SFC, {ROW_SCANNOW}, {7, 8}, "SFC  /SCANNOW\r\n", "SFC.EXE", "SFC.EXE  /SCANNOW"},
        // Help wins over every other switch, and CHKDSK then needs no drive.
        ToolCase{"ChkdskHelpWithoutDrive",
                 TOOL_CHKDSK,
                 {ROW_FIX, ROW_HELP},
                 {0, 1, 2, 3, 6, 8},
                 "CHKDSK /?\r\n",
                 "CHKDSK.EXE",
                 "CHKDSK.EXE /?"},
        ToolCase{"DismHelp",
                 TOOL_DISM,
                 {ROW_SCANHEALTH, ROW_HELP},
                 {8, 12, 13, 14},
                 "DISM /?\r\n",
                 "DISM.EXE",
                 "DISM.EXE /?"},
        ToolCase{"SfcHelp", TOOL_SFC, {ROW_SCANNOW, ROW_HELP}, {7, 8}, "SFC /?\r\n", "SFC.EXE", "SFC.EXE /?"}),
    [](const auto& info) { return std::string(info.param.pszName); });

// ---- Drive problems: status in red, nothing runs -------------------------------------------------

struct StatusCase {
    const char* pszName;
    const char* pszDevice;
    const char* pszStatus;
};

void PrintTo(const StatusCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class DriveStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(DriveStatus, ShownInRedAndNothingRuns)
{
    const StatusCase& c = GetParam();
    if (*c.pszDevice) {
        ASSERT_LE(GetDriveTypeA((std::string(c.pszDevice) + ":\\").c_str()), 1u) << "the drive must be missing";
    }
    CTarvick tarvick;
    const std::string strStale = "@echo stale\r\npause\r\n";
    ASSERT_TRUE(WriteBytes(tarvick.m_strBatch, strStale));
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.Tick(ROW_FIX));
    if (*c.pszDevice) {
        ASSERT_TRUE(tarvick.TypeDevice(c.pszDevice));
    }

    tarvick.ClickOn(IDC_PROCESS);
    ASSERT_TRUE(WaitUntil([&] { return tarvick.Text(IDC_PROCESS) == c.pszStatus; }, HOVER_MS))
        << tarvick.Text(IDC_PROCESS);
    EXPECT_TRUE(WaitUntil([&] { return CountColour(tarvick.ScreenRect(IDC_PROCESS), CLR_RED) > 10; }, 2000))
        << "status in red";
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    EXPECT_TRUE(tarvick.PointerRestsOn(IDC_PROCESS)) << "no run, so the pointer stays" << UnderPointer();
    // Input is handled in order: once this tick shows, so has the click, and
    // a run would have started its console by then.
    ASSERT_TRUE(tarvick.Tick(ROW_DISMOUNT));
    EXPECT_TRUE(tarvick.Children().empty());
    EXPECT_EQ(tarvick.Batch(), strStale);
    EXPECT_TRUE(tarvick.Calls().empty());
    EXPECT_TRUE(tarvick.Exit());
}

INSTANTIATE_TEST_SUITE_P(Drives, DriveStatus,
                         ::testing::Values(StatusCase{"EmptyDevice", "", "No Dev"},
                                           StatusCase{"MissingDrive", "Q", "Offline"}),
                         [](const auto& info) { return std::string(info.param.pszName); });

// ---- The external tool and the editor ------------------------------------------------------------

TEST(External, StartsConfiguredProgramWithItsArgumentsDirectly)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    EXPECT_EQ(tarvick.VisibleRows(), RowsOf({}));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    ASSERT_TRUE(tarvick.Run());
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    ASSERT_TRUE(tarvick.WaitCalls(1));
    ExpectCall(tarvick.Calls()[0], "FakeDiag.exe", "/scan C: /full");
    EXPECT_TRUE(SameNoCase(tarvick.Calls()[0].strProgram, tarvick.m_strFakes + "\\FakeDiag.exe"));
    EXPECT_FALSE(Exists(tarvick.m_strBatch)) << "no batch file for the external tool";
    EXPECT_TRUE(tarvick.Children("cmd.exe").empty());
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Edit, StartsEditorWithSettingsPathAndRereadsAfterIt)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    tarvick.ClickOn(IDC_EDIT_SETTINGS);
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const Call editor = tarvick.Calls()[0];
    EXPECT_TRUE(SameNoCase(BaseName(editor.strProgram), "FakeEditor.exe")) << editor.strProgram;
    EXPECT_TRUE(SameNoCase(Unquoted(editor.strArgs), tarvick.m_strIni)) << editor.strArgs;
    // The editor is waited for: its console closes once it has saved.
    ASSERT_TRUE(WaitUntil([&] { return tarvick.Children().empty(); }, RUN_MS));
    EXPECT_TRUE(tarvick.Responsive());

    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(2));
    ExpectCall(tarvick.Calls()[1], "FakeDiag.exe", "/after-edit");
    EXPECT_EQ(tarvick.Text(IDC_TOOL_LABEL + TOOL_EXTERNAL), " WinDlg");
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Keyboard ------------------------------------------------------------------------------------

TEST(Keyboard, SpaceOnFocusedProcessComposesBeforeItRuns)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_DISM));
    ASSERT_TRUE(tarvick.Tick(ROW_SCANHEALTH));
    // Nothing was composed yet, and the pointer is nowhere near "Process".
    ASSERT_TRUE(tarvick.FocusByTab(IDC_PROCESS));
    PressKey(VK_SPACE, false);
    ASSERT_TRUE(WaitUntil([&] { return tarvick.PointerOn(IDC_EXIT); }, RUN_MS));
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "DISM.EXE /Online /Cleanup-Image /ScanHealth\r\npause\r\n");
    ExpectCall(tarvick.Calls()[0], "DISM.EXE", "/Online /Cleanup-Image /ScanHealth");
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

}  // namespace
