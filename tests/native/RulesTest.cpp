#include "ModelFixture.h"
#include "model/Compose.h"

namespace {

struct VisibilityCase {
    ToolKind nTool;
    VolumeClass nClass;
    std::vector<int> rows;
};

std::string VisibilityName(const ::testing::TestParamInfo<VisibilityCase>& info)
{
    static const char* const TOOLS[] = {"Chkdsk", "Dism", "Sfc", "External"};
    static const char* const CLASSES[] = {"None", "Ntfs", "Other"};
    return std::string(TOOLS[info.param.nTool]) + CLASSES[info.param.nClass];
}

class VisibilityTable : public ModelTest, public ::testing::WithParamInterface<VisibilityCase> {};

TEST_P(VisibilityTable, ShowsExactlyTheApplicableRows)
{
    const VisibilityCase& c = GetParam();
    g_volumeClass = c.nClass;
    SelectTool(c.nTool);
    EXPECT_EQ(VisibleRows(), c.rows);
}

const std::vector<int> CHKDSK_ANY = {0, 1, 2, 3, 6, 8};
const std::vector<int> CHKDSK_NTFS = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11};
const std::vector<int> DISM_ROWS = {8, 12, 13, 14};
const std::vector<int> SFC_ROWS = {7, 8};

INSTANTIATE_TEST_SUITE_P(
    EveryToolAndClass, VisibilityTable,
    ::testing::Values(VisibilityCase{TOOL_CHKDSK, VC_NONE, CHKDSK_ANY},
                      VisibilityCase{TOOL_CHKDSK, VC_OTHER, CHKDSK_ANY},
                      VisibilityCase{TOOL_CHKDSK, VC_NTFS, CHKDSK_NTFS}, VisibilityCase{TOOL_DISM, VC_NONE, DISM_ROWS},
                      VisibilityCase{TOOL_DISM, VC_NTFS, DISM_ROWS}, VisibilityCase{TOOL_DISM, VC_OTHER, DISM_ROWS},
                      VisibilityCase{TOOL_SFC, VC_NONE, SFC_ROWS}, VisibilityCase{TOOL_SFC, VC_NTFS, SFC_ROWS},
                      VisibilityCase{TOOL_SFC, VC_OTHER, SFC_ROWS}, VisibilityCase{TOOL_EXTERNAL, VC_NONE, {}},
                      VisibilityCase{TOOL_EXTERNAL, VC_NTFS, {}}),
    VisibilityName);

TEST_F(ModelTest, StartShowsTheSixChkdskRowsWithOnlyChkdskMarked)
{
    // Whatever came before: another tool, an NTFS probe, rows shown.
    SelectTool(TOOL_DISM);
    g_volumeClass = VC_NTFS;
    SelectTool(TOOL_SFC);
    g_toolRadio[TOOL_SFC].SetCheck(false);
    for (auto& box : g_optionBox)
        box.Show(true);

    StartSelection();
    EXPECT_EQ(g_currentTool, TOOL_CHKDSK);
    EXPECT_EQ(g_volumeClass, VC_NONE);
    EXPECT_EQ(VisibleRows(), CHKDSK_ANY);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(g_toolRadio[t].m_bMarked, t == TOOL_CHKDSK) << t;
    for (const auto& box : g_optionBox)
        EXPECT_FALSE(box.m_bMarked);
}

TEST_F(ModelTest, SelectToolMovesTheMarkAndClearsEveryRadioClick)
{
    for (auto& radio : g_toolRadio)
        radio.m_bClicked = true;
    SelectTool(TOOL_SFC);
    EXPECT_EQ(g_currentTool, TOOL_SFC);
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(g_toolRadio[t].m_bMarked, t == TOOL_SFC) << t;
        EXPECT_EQ(ToolTable[t].m_bChecked, t == TOOL_SFC) << t;
        EXPECT_FALSE(g_toolRadio[t].m_bClicked) << t;
    }
}

TEST_F(ModelTest, TicksSurviveToolChangesAndHiding)
{
    Tick(0);
    Tick(HELP_ROW);
    Tick(7);
    for (ToolKind t : {TOOL_DISM, TOOL_EXTERNAL, TOOL_SFC, TOOL_CHKDSK}) {
        SelectTool(t);
        EXPECT_TRUE(OptionTable[0].m_bChecked);
        EXPECT_TRUE(OptionTable[HELP_ROW].m_bChecked);
        EXPECT_TRUE(OptionTable[7].m_bChecked);
        EXPECT_TRUE(g_optionBox[0].m_bMarked);
        EXPECT_TRUE(g_optionBox[HELP_ROW].m_bMarked);
    }
    EXPECT_TRUE(OptionTable[0].m_bApplicable);
    EXPECT_FALSE(OptionTable[7].m_bApplicable);
}

TEST_F(ModelTest, HiddenTickedSwitchIsLeftOutUntilShownAgain)
{
    // /F and the SFC-only /SCANNOW ticked; CHKDSK hides /SCANNOW.
    g_editDevice.m_strText = "C";
    Tick(0);
    SelectTool(TOOL_SFC);
    Tick(7);
    SelectTool(TOOL_CHKDSK);
    EXPECT_FALSE(OptionTable[7].m_bApplicable);
    ComposeCommand();
    EXPECT_EQ(g_cmdArgs, "C: /F") << "hidden, so left out, though ticked";

    SelectTool(TOOL_SFC);
    ComposeCommand();
    EXPECT_EQ(g_cmdArgs, " /SCANNOW") << "shown again, still ticked";
    EXPECT_TRUE(OptionTable[0].m_bChecked);
}

TEST_F(ModelTest, VolumeClassSurvivesAToolChange)
{
    g_volumeClass = VC_NTFS;
    SelectTool(TOOL_DISM);
    SelectTool(TOOL_CHKDSK);
    EXPECT_EQ(VisibleRows(), CHKDSK_NTFS);
}

TEST_F(ModelTest, ToggleFlipsOneRowAndItsMarkOnly)
{
    const std::vector<int> rowsBefore = VisibleRows();
    for (int i : {4, 0}) {  // 4 is hidden now: the tick is still taken
        SCOPED_TRACE(i);
        ToggleOption(i);
        for (int k = 0; k < g_optionCount; ++k) {
            EXPECT_EQ(OptionTable[k].m_bChecked, k == i || (i == 0 && k == 4)) << k;
            EXPECT_EQ(g_optionBox[k].m_bMarked, OptionTable[k].m_bChecked) << k;
        }
        EXPECT_EQ(VisibleRows(), rowsBefore) << "visibility and applicability stay";
    }
    ToggleOption(4);
    EXPECT_FALSE(OptionTable[4].m_bChecked);
    EXPECT_FALSE(g_optionBox[4].m_bMarked);
    EXPECT_TRUE(OptionTable[0].m_bChecked);
}

TEST_F(ModelTest, ReselectingTheCurrentToolKeepsTheSameRows)
{
    SelectTool(TOOL_CHKDSK);
    EXPECT_EQ(g_currentTool, TOOL_CHKDSK);
    EXPECT_TRUE(g_toolRadio[0].m_bMarked);
    EXPECT_EQ(VisibleRows(), CHKDSK_ANY);
}

}  // namespace
