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
        ComposeCase{"DismScanRestore", TOOL_DISM, "", {13, 14},
                    "/Online /Cleanup-Image /ScanHealth /RestoreHealth",
                    "DISM /Online /Cleanup-Image /ScanHealth /RestoreHealth\r\n", ""},
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

TEST_F(ModelTest, FailedVolumeQueryKeepsTheLastName)
{
    // E: is a removable drive with no medium: the type is valid, the query fails.
    g_editDevice.m_strText = "E";
    EXPECT_EQ(ComposeCommand(), "");
    EXPECT_EQ(g_volumeClass, VC_OTHER) << "zeroed buffer before any query";
    EXPECT_EQ(g_cmdLine, "CHKDSK E:\r\n");

    g_editDevice.m_strText = "C";
    ComposeCommand();
    g_editDevice.m_strText = "E";
    ComposeCommand();
    EXPECT_EQ(g_volumeClass, VC_NTFS) << "the buffer still holds C:'s name";
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

TEST_F(ModelTest, ProbeChangesTheSwitchesOnlyFromTheNextComposition)
{
    // /PERF ticked on an NTFS drive, then the Device text changes to FAT32.
    g_editDevice.m_strText = "C";
    ProcessHover();
    Tick(4);
    ProcessHover();
    EXPECT_EQ(g_cmdArgs, "C: /PERF");

    g_editDevice.m_strText = "D";
    ProcessHover();
    EXPECT_EQ(g_cmdArgs, "D: /PERF") << "the rules run after composing";
    EXPECT_FALSE(OptionTable[4].m_bApplicable);
    ProcessHover();
    EXPECT_EQ(g_cmdArgs, "D:");

    // Back to NTFS: still left out once, then back in, still ticked.
    g_editDevice.m_strText = "C";
    ProcessHover();
    EXPECT_EQ(g_cmdArgs, "C:");
    ProcessHover();
    EXPECT_EQ(g_cmdArgs, "C: /PERF");
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
        const char* pszDevice;
        const char* pszStatus;
    } cases[] = {{"", "No Dev"}, {"Q", "Offline"}};
    for (const auto& c : cases) {
        g_editDevice.m_strText = "C";
        ProcessHover();
        g_editDevice.m_strText = c.pszDevice;
        g_btnProcess.m_bClicked = true;
        ProcessHover();
        EXPECT_EQ(g_editOutput.m_strText, "");
        EXPECT_EQ(g_btnProcess.m_strCaption, c.pszStatus);
        EXPECT_EQ(g_btnProcess.m_crText, 0x0000FFu);
        EXPECT_FALSE(g_btnProcess.m_bClicked);
    }
}

}  // namespace
