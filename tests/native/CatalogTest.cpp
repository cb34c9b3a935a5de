#include <set>

#include "ModelFixture.h"

namespace {

struct ExpectedOption {
    const char* pszLabel;
    const char* pszSwitch;
    ToolKind nTool;
    VolumeClass nFsReq;
};

const ExpectedOption OPTIONS[] = {
    {" Fix - /f", "/F", TOOL_CHKDSK, VC_NONE},
    {" Dismount - /x", "/X", TOOL_CHKDSK, VC_NONE},
    {" Replace bad blocks - /r", "/R", TOOL_CHKDSK, VC_NONE},
    {" Verbose - /v", "/V", TOOL_CHKDSK, VC_NONE},
    {" Performance - /perf NTFS", "/PERF", TOOL_CHKDSK, VC_NTFS},
    {" Re-evaluate bad clusters - /b NTFS", "/B", TOOL_CHKDSK, VC_NTFS},
    {" Online scan - /scan", "/SCAN", TOOL_CHKDSK, VC_NONE},
    {" Scan now - /scannow", "/SCANNOW", TOOL_SFC, VC_NONE},
    {" Help - /?", "/?", TOOL_CHKDSK, VC_NONE},
    {" short index check /i NTFS", "/i", TOOL_CHKDSK, VC_NTFS},
    {" Skip cycle check /c NTFS", "/C", TOOL_CHKDSK, VC_NTFS},
    {" Delete sec descrips /sdcleanup NTFS", "/sdcleanup", TOOL_CHKDSK, VC_NTFS},
    {" Check Health", "/CheckHealth", TOOL_DISM, VC_NTFS},
    {" Scan Health", "/ScanHealth", TOOL_DISM, VC_NTFS},
    {" Restore Health", "/RestoreHealth", TOOL_DISM, VC_NTFS},
};

TEST(Catalog, FilledTablesHoldTheRowsInOrderWithFlagsClear)
{
    FillTables();
    ASSERT_EQ(g_optionCount, 15);
    ASSERT_EQ(OptionTable.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        const OptionEntry& row = OptionTable[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(row.m_strLabel, OPTIONS[i].pszLabel);
        EXPECT_EQ(row.m_strSwitch, OPTIONS[i].pszSwitch);
        EXPECT_EQ(row.m_nTool, OPTIONS[i].nTool);
        EXPECT_EQ(row.m_nFsReq, OPTIONS[i].nFsReq);
        EXPECT_EQ(row.m_nButtonId, 200 + i);
        EXPECT_EQ(row.m_nLabelId, 300 + i);
        EXPECT_EQ(row.m_pButton, &g_optionBox[i]);
        EXPECT_EQ(row.m_pLabel, &g_optionLabel[i]);
        EXPECT_FALSE(row.m_bChecked);
        EXPECT_FALSE(row.m_bApplicable);
    }
    EXPECT_EQ(OptionTable[HELP_ROW].m_strSwitch, "/?");

    const char* tools[][2] = {{" CHKDSK", "CHKDSK.EXE"}, {" DISM", "DISM.EXE"}, {" SFC", "SFC.EXE"}, {"", ""}};
    ASSERT_EQ(g_toolCount, 4);
    ASSERT_EQ(ToolTable.size(), 4u);
    for (int t = 0; t < 4; ++t) {
        SCOPED_TRACE(t);
        EXPECT_EQ(ToolTable[t].m_strLabel, tools[t][0]);
        EXPECT_EQ(ToolTable[t].m_strExe, tools[t][1]);
        EXPECT_EQ(ToolTable[t].m_strArgs, "");
        EXPECT_EQ(ToolTable[t].m_nButtonId, 400 + t);
        EXPECT_EQ(ToolTable[t].m_nLabelId, 500 + t);
        EXPECT_EQ(ToolTable[t].m_pButton, &g_toolRadio[t]);
        EXPECT_EQ(ToolTable[t].m_pLabel, nullptr);
        EXPECT_FALSE(ToolTable[t].m_bChecked);
    }
}

TEST(Catalog, ControlIdsAreDistinct)
{
    FillTables();
    std::set<int> ids;
    for (const OptionEntry& row : OptionTable) {
        ids.insert(row.m_nButtonId);
        ids.insert(row.m_nLabelId);
    }
    for (const ToolEntry& row : ToolTable) {
        ids.insert(row.m_nButtonId);
        ids.insert(row.m_nLabelId);
    }
    EXPECT_EQ(ids.size(), 2u * 15 + 2u * 4);
}

TEST(Catalog, RefillingStartsFromEmptyTables)
{
    FillTables();
    OptionTable[3].m_bChecked = true;
    ToolTable[3].m_strExe = "X.EXE";
    FillTables();
    EXPECT_EQ(OptionTable.size(), 15u);
    EXPECT_EQ(ToolTable.size(), 4u);
    EXPECT_FALSE(OptionTable[3].m_bChecked);
    EXPECT_EQ(ToolTable[3].m_strExe, "");
}

}  // namespace
