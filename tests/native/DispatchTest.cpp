#include "ModelFixture.h"
#include "model/Dispatch.h"

namespace {

class CRecordingHost : public IDialogHost {
public:
    int m_nEnds = 0;
    int m_nReloads = 0;
    std::size_t m_nExecutesAtReload = 0;
    void EndOk() override { ++m_nEnds; }
    void ReloadSettings() override
    {
        ++m_nReloads;
        m_nExecutesAtReload = zobrel::g_executeLog.size();
    }
};

class DispatchTest : public ModelTest {
protected:
    CRecordingHost m_host;
    void Notify() { DispatchWidgetNotify(m_host); }
};

TEST_F(DispatchTest, NoFlagChangesNothing)
{
    g_cmdLine = "kept";
    Notify();
    EXPECT_EQ(g_cmdLine, "kept");
    EXPECT_EQ(g_btnProcess.m_strCaption, "");
    EXPECT_EQ(m_host.m_nEnds + m_host.m_nReloads, 0);
    EXPECT_TRUE(zobrel::g_executeLog.empty());
}

TEST_F(DispatchTest, TwoRadioClicksTheLowerIndexWinsAndTheOtherIsDropped)
{
    g_toolRadio[2].m_bClicked = true;
    g_toolRadio[1].m_bClicked = true;
    Notify();
    EXPECT_EQ(g_currentTool, TOOL_DISM);
    EXPECT_FALSE(g_toolRadio[2].m_bClicked);
    Notify();
    EXPECT_EQ(g_currentTool, TOOL_DISM);
}

TEST_F(DispatchTest, TwoCheckBoxClicksAreHandledOnePerNotification)
{
    g_optionBox[3].m_bClicked = true;
    g_optionBox[1].m_bClicked = true;
    Notify();
    EXPECT_TRUE(OptionTable[1].m_bChecked);
    EXPECT_FALSE(OptionTable[3].m_bChecked);
    EXPECT_TRUE(g_optionBox[3].m_bClicked);
    Notify();
    EXPECT_TRUE(OptionTable[3].m_bChecked);
    EXPECT_TRUE(OptionTable[1].m_bChecked);
}

TEST_F(DispatchTest, RadioAndCheckBoxInOneNotificationBothHandled)
{
    g_toolRadio[1].m_bClicked = true;
    g_optionBox[13].m_bClicked = true;
    Notify();
    EXPECT_EQ(g_currentTool, TOOL_DISM);
    EXPECT_TRUE(OptionTable[13].m_bChecked);
}

TEST_F(DispatchTest, HoverTurnsExitAndEditGreen)
{
    g_btnExit.m_bHot = true;
    g_btnEdit.m_bHot = true;
    Notify();
    EXPECT_EQ(g_btnExit.m_strCaption, "Exit");
    EXPECT_EQ(g_btnExit.m_crText, 0x00FF00u);
    EXPECT_EQ(g_btnEdit.m_strCaption, "Edit");
    EXPECT_EQ(g_btnEdit.m_crText, 0x00FF00u);
    EXPECT_EQ(m_host.m_nEnds, 0);
}

TEST_F(DispatchTest, ExitClickEndsTheDialogOnce)
{
    g_btnExit.m_bHot = true;
    g_btnExit.m_bClicked = true;
    Notify();
    EXPECT_EQ(m_host.m_nEnds, 1);
    EXPECT_FALSE(g_btnExit.m_bClicked);
    Notify();
    EXPECT_EQ(m_host.m_nEnds, 1);
}

TEST_F(DispatchTest, EditClickStartsTheEditorThenReloadsOnce)
{
    g_settingsPath = "D:\\Apps\\data\\Tarvick\\Tarvick.ini";
    g_btnEdit.m_bClicked = true;
    Notify();
    ASSERT_EQ(zobrel::g_executeLog.size(), 1u);
    EXPECT_EQ(zobrel::g_executeLog[0],
              (std::vector<CString>{"C:\\Windows\\System32\\notepad.exe", g_settingsPath, "*"}));
    EXPECT_EQ(m_host.m_nReloads, 1);
    EXPECT_EQ(m_host.m_nExecutesAtReload, 1u) << "settings are read after the editor call returns";
    EXPECT_FALSE(g_btnEdit.m_bClicked);
}

TEST_F(DispatchTest, ProcessClickWithEmptyDeviceShowsNoDevAndRunsNothing)
{
    g_btnProcess.m_bHot = true;
    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(g_btnProcess.m_strCaption, "No Dev");
    EXPECT_TRUE(zobrel::g_executeLog.empty());
    EXPECT_TRUE(m_system.m_sleeps.empty());
}

TEST_F(DispatchTest, ProcessClickWithoutHoverComposesForTheCurrentToolFirst)
{
    // A CHKDSK preview, then SFC chosen, then Space on the focused button.
    g_editDevice.m_strText = "C";
    Tick(0);
    g_btnProcess.m_bHot = true;
    Notify();
    EXPECT_EQ(g_cmdArgs, "C: /F");
    g_btnProcess.m_bHot = false;
    g_toolRadio[TOOL_SFC].m_bClicked = true;
    Notify();

    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(g_cmdArgs, "");
    EXPECT_EQ(zobrel::g_executeLog.size(), 1u);
}

TEST_F(DispatchTest, ProcessClickWithoutHoverStillHonoursAStatus)
{
    g_editDevice.m_strText = "C";
    g_btnProcess.m_bHot = true;
    Notify();
    g_btnProcess.m_bHot = false;
    g_editDevice.m_strText = "";
    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(g_btnProcess.m_strCaption, "No Dev");
    EXPECT_TRUE(zobrel::g_executeLog.empty());
}

}  // namespace
