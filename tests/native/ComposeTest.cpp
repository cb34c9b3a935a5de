#include "ModelFixture.h"
#include "model/Compose.h"

namespace {

struct ComposeCase {
    const char* pszName;
    ToolKind nTool;
    const char* pszDevice;
    std::vector<int> ticked;
    const char* pszArgs;  // null: g_cmdArgs unchanged
    const char* pszLine;
    const char* pszStatus;
};

class ComposeTable : public ModelTest, public ::testing::WithParamInterface<ComposeCase> {};

const char* const PREVIOUS_ARGS = "previous";

TEST_P(ComposeTable, ComposesArgumentsPreviewAndStatus)
{
    const ComposeCase& c = GetParam();
    SelectTool(c.nTool);
    g_volumeClass = VC_NTFS;  // every ticked switch applicable, as in the worked table
    ApplyOptionRules();
    g_volumeClass = VC_OTHER;
    for (int i : c.ticked)
        Tick(i);
    g_editDevice.m_strText = c.pszDevice;
    g_cmdArgs = PREVIOUS_ARGS;
    g_rootPath = "Z:\\";

    EXPECT_EQ(ComposeCommand(), c.pszStatus);
    EXPECT_EQ(g_cmdArgs, c.pszArgs ? c.pszArgs : PREVIOUS_ARGS);
    EXPECT_EQ(g_cmdLine, c.pszLine);
    if (c.pszArgs == nullptr && c.nTool == TOOL_CHKDSK) {
        EXPECT_EQ(g_volumeClass, VC_OTHER) << "a status leaves the volume class alone";
    }
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, ComposeTable,
    ::testing::Values(
        ComposeCase{"ChkdskNtfsFixReplace", TOOL_CHKDSK, "C", {0, 2}, "C: /F /R", "CHKDSK C: /F /R\r\n", ""},
        ComposeCase{"ChkdskFat32PathLowerCase", TOOL_CHKDSK, "d:\\data", {}, "d:", "CHKDSK d:\r\n", ""},
        ComposeCase{"ChkdskEmptyDevice", TOOL_CHKDSK, "", {0}, nullptr, "", "No Dev"},
        ComposeCase{"ChkdskMissingDrive", TOOL_CHKDSK, "Q", {0}, nullptr, "", "Offline"},
        ComposeCase{"ChkdskLeadingBlankIsOffline", TOOL_CHKDSK, " C", {}, nullptr, "", "Offline"},
        ComposeCase{"ChkdskHelpNeedsNoDrive", TOOL_CHKDSK, "", {0, 2, HELP_ROW}, "/?", "CHKDSK /?\r\n", ""},
        ComposeCase{"ChkdskHelpWithMissingDrive", TOOL_CHKDSK, "Q", {HELP_ROW}, "/?", "CHKDSK /?\r\n", ""},
        ComposeCase{"DismScanRestore",
                    TOOL_DISM,
                    "",
                    {13, 14},
                    "/Online /Cleanup-Image /ScanHealth /RestoreHealth",
                    "DISM /Online /Cleanup-Image /ScanHealth /RestoreHealth\r\n",
                    ""},
        ComposeCase{"DismHelpWins", TOOL_DISM, "", {12, HELP_ROW}, "/?", "DISM /?\r\n", ""},
        ComposeCase{"SfcScanNowTwoBlanks", TOOL_SFC, "", {7}, " /SCANNOW", "SFC  /SCANNOW\r\n", ""},
        ComposeCase{"SfcNothing", TOOL_SFC, "", {}, "", "SFC \r\n", ""},
        ComposeCase{"SfcHelpWins", TOOL_SFC, "", {7, HELP_ROW}, "/?", "SFC /?\r\n", ""},
        ComposeCase{"ExternalTool", TOOL_EXTERNAL, "C", {0}, nullptr, "WinDlg", ""}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(ModelTest, DriveLetterAloneAndWithColonComposeTheSame)
{
    Tick(0);
    g_editDevice.m_strText = "C:";
    ComposeCommand();
    const CString strFirst = g_cmdLine;
    g_editDevice.m_strText = "C";
    ComposeCommand();
    EXPECT_EQ(g_cmdLine, strFirst);
    EXPECT_EQ(g_cmdLine, "CHKDSK C: /F\r\n");
    EXPECT_EQ(g_rootPath, "C:\\");
}

TEST_F(ModelTest, SwitchesFollowTableOrderNotTickOrder)
{
    for (int i : {6, 3, 0, 2, 1})
        Tick(i);
    g_editDevice.m_strText = "D";
    ComposeCommand();
    EXPECT_EQ(g_cmdArgs, "D: /F /X /R /V /SCAN");
}

TEST_F(ModelTest, VolumeClassFollowsTheFileSystemName)
{
    struct {
        const char* pszDevice;
        VolumeClass nClass;
    } cases[] = {{"C", VC_NTFS}, {"D", VC_OTHER}, {"R", VC_OTHER}};
    for (const auto& c : cases) {
        g_editDevice.m_strText = c.pszDevice;
        EXPECT_EQ(ComposeCommand(), "");
        EXPECT_EQ(g_volumeClass, c.nClass) << c.pszDevice;
    }
}

TEST_F(ModelTest, NameThatOnlyBeginsWithNtfsIsOther)
{
    m_system.m_drives['F'] = {3, "NTFS5"};
    g_editDevice.m_strText = "F";
    ComposeCommand();
    EXPECT_EQ(g_volumeClass, VC_OTHER);
}

TEST_F(ModelTest, VolumeThatCannotBeReadIsNotTakenForTheLastOne)
{
    // E: is a removable drive with no medium: the type is valid, the query
    // fails. After C: (NTFS) it must not offer the NTFS-only switches.
    for (int i : {4, 5})
        Tick(i);
    g_editDevice.m_strText = "C";
    ProcessHover();
    ASSERT_EQ(g_cmdArgs, "C: /PERF /B");

    g_editDevice.m_strText = "E";
    ProcessHover();
    EXPECT_EQ(g_volumeClass, VC_OTHER);
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK E:\r\n");
    EXPECT_EQ(VisibleRows(), (std::vector<int>{0, 1, 2, 3, 6, 8}));
}

TEST_F(ModelTest, OfflineKeepsTheNewRootPath)
{
    g_editDevice.m_strText = "C";
    ComposeCommand();
    g_editDevice.m_strText = "q";
    EXPECT_EQ(ComposeCommand(), "Offline");
    EXPECT_EQ(g_rootPath, "q:\\");
    EXPECT_EQ(g_cmdArgs, "C:");
    EXPECT_EQ(g_volumeClass, VC_NTFS);
}

TEST_F(ModelTest, ProbeSettlesTheSwitchesOfItsOwnVolume)
{
    // /PERF ticked on an NTFS drive, then the Device text changes to FAT32
    // and back: each preview holds exactly the switches shown for its drive.
    g_editDevice.m_strText = "C";
    ProcessHover();
    Tick(4);
    ProcessHover();
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK C: /PERF\r\n");

    g_editDevice.m_strText = "D";
    ProcessHover();
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK D:\r\n");
    EXPECT_FALSE(OptionTable[4].m_bApplicable);

    g_editDevice.m_strText = "C";
    ProcessHover();
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK C: /PERF\r\n");
    EXPECT_TRUE(OptionTable[4].m_bApplicable);
    EXPECT_TRUE(OptionTable[4].m_bChecked);
}

TEST_F(ModelTest, HoverShowsPreviewAndGreenProcess)
{
    g_editDevice.m_strText = "C";
    ProcessHover();
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK C:\r\n");
    EXPECT_EQ(g_btnProcess.m_strCaption, "Process");
    EXPECT_EQ(g_btnProcess.m_crText, 0x00FF00u);
    EXPECT_EQ(g_btnProcess.m_crBack, 0u);
    EXPECT_EQ(VisibleRows(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11}));
}

TEST_F(ModelTest, StatusIsRedEmptiesPreviewAndCancelsTheClick)
{
    struct {
        ToolKind nTool;
        const char* pszDevice;
        bool bConsoleOpen;
        const char* pszStatus;
    } cases[] = {{TOOL_CHKDSK, "", false, "No Dev"}, {TOOL_CHKDSK, "Q", false, "Offline"},
                 {TOOL_CHKDSK, "C", true, "Busy"},   {TOOL_CHKDSK, "", true, "Busy"},
                 {TOOL_DISM, "", true, "Busy"},      {TOOL_SFC, "", true, "Busy"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszStatus);
        m_system.CloseConsole();
        SelectTool(c.nTool);
        g_editDevice.m_strText = "C";
        ProcessHover();
        ASSERT_EQ(g_btnProcess.m_strCaption, "Process");
        m_system.m_bConsoleOpen = c.bConsoleOpen;
        g_editDevice.m_strText = c.pszDevice;
        g_btnProcess.m_bClicked = true;
        ProcessHover();
        EXPECT_EQ(g_editOutput.m_strText, "");
        EXPECT_EQ(g_btnProcess.m_strCaption, c.pszStatus);
        EXPECT_EQ(g_btnProcess.m_crText, 0x0000FFu);
        EXPECT_FALSE(g_btnProcess.m_bClicked);
    }
}

TEST_F(ModelTest, AnOpenConsoleHoldsBackNeitherHelpNorTheExternalTool)
{
    m_system.m_bConsoleOpen = true;
    Tick(HELP_ROW);
    EXPECT_EQ(ComposeCommand(), "Busy") << "help runs through the batch file too";
    SelectTool(TOOL_EXTERNAL);
    EXPECT_EQ(ComposeCommand(), "");
    EXPECT_EQ(g_cmdLine, "WinDlg");
}

}  // namespace
