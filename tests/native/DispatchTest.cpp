#include "ModelFixture.h"
#include "model/Dispatch.h"

#include <algorithm>

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
    EXPECT_NE(g_btnEdit.m_strCaption, "Failed");
}

TEST_F(DispatchTest, EditorThatCannotStartFallsBackToTheSystemNotepadAndSaysSo)
{
    g_settingsPath = "D:\\Apps\\data\\Tarvick\\Tarvick.ini";
    g_editorPath = "C:\\Tools\\ed.exe";
    zobrel::g_executeFailures[g_editorPath] = "The system cannot find the file specified.";
    g_btnEdit.m_bHot = true;
    g_btnEdit.m_bClicked = true;
    Notify();
    ASSERT_EQ(zobrel::g_executeLog.size(), 2u);
    EXPECT_EQ(zobrel::g_executeLog[1],
              (std::vector<CString>{"C:\\Windows\\System32\\notepad.exe", g_settingsPath, "*"}));
    EXPECT_EQ(m_host.m_nReloads, 1);
    EXPECT_EQ(m_host.m_nExecutesAtReload, 2u) << "read once notepad has ended";
    EXPECT_EQ(g_btnEdit.m_strCaption, "Failed");
    EXPECT_EQ(g_btnEdit.m_crText, CLR_RED);
    EXPECT_EQ(g_editOutput.m_strText,
              "Could not start the editor C:\\Tools\\ed.exe: The system cannot find the file specified. The "
              "settings file was opened in C:\\Windows\\System32\\notepad.exe instead.");

    // Neither starts.
    zobrel::g_executeFailures["C:\\Windows\\System32\\notepad.exe"] = "Access is denied.";
    g_btnEdit.m_bClicked = true;
    Notify();
    EXPECT_EQ(g_editOutput.m_strText,
              "Could not start the editor C:\\Tools\\ed.exe: The system cannot find the file specified. Nor "
              "could C:\\Windows\\System32\\notepad.exe start: Access is denied.");
    EXPECT_EQ(m_host.m_nReloads, 2);
}

TEST_F(DispatchTest, ProcessClickWithEmptyDeviceShowsNoDevAndRunsNothing)
{
    g_btnProcess.m_bHot = true;
    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(g_btnProcess.m_strCaption, "No Dev");
    EXPECT_TRUE(m_system.m_events.empty());
}

TEST_F(DispatchTest, ProcessClickWithThePointerOnItComposesAndRunsInOneNotification)
{
    g_editDevice.m_strText = "C";
    Tick(0);
    g_btnProcess.m_bHot = true;
    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(m_system.m_strWritten, "CHKDSK.EXE C: /F\r\npause\r\n");
    EXPECT_EQ(m_system.m_events.back(), "start");
    EXPECT_EQ(g_editOutput.m_strText, "") << "emptied by the run";
    EXPECT_EQ(g_btnExit.m_nSnaps, 1);
    EXPECT_FALSE(g_btnProcess.m_bClicked);
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
    EXPECT_EQ(m_system.m_strWritten, "SFC.EXE \r\npause\r\n");
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
    EXPECT_TRUE(m_system.m_events.empty());
}

TEST_F(DispatchTest, FailedRunShowsFailedAndLeavesThePointer)
{
    m_system.m_strFailAt = "hold";
    g_btnProcess.m_bHot = true;
    g_btnProcess.m_bClicked = true;
    SelectTool(TOOL_DISM);
    Notify();
    EXPECT_EQ(g_btnProcess.m_strCaption, "Failed");
    EXPECT_EQ(g_btnProcess.m_crText, CLR_RED);
    EXPECT_EQ(g_editOutput.m_strText, "Could not write C:\\Users\\me\\Temp\\sfc.bat: Access is denied.");
    EXPECT_EQ(g_btnExit.m_nSnaps, 0);

    // Still on the button, the next notification shows the preview again.
    Notify();
    EXPECT_EQ(g_btnProcess.m_strCaption, "Process");
    EXPECT_EQ(g_editOutput.m_strText, "DISM /Online /Cleanup-Image\r\n");
}

TEST_F(DispatchTest, WhileTheConsoleIsOpenAClickRunsNothingAndTheNextRunWorksOnceItCloses)
{
    g_btnProcess.m_bHot = true;
    g_btnProcess.m_bClicked = true;
    SelectTool(TOOL_SFC);
    Notify();
    ASSERT_TRUE(m_system.m_bConsoleOpen);
    const std::size_t nEvents = m_system.m_events.size();

    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(g_btnProcess.m_strCaption, "Busy");
    EXPECT_EQ(g_btnProcess.m_crText, CLR_RED);
    EXPECT_EQ(m_system.m_events.size(), nEvents) << "the file is not touched";

    m_system.CloseConsole();
    g_btnProcess.m_bClicked = true;
    Notify();
    EXPECT_EQ(m_system.m_events.back(), "start");
    EXPECT_EQ(std::count(m_system.m_events.begin(), m_system.m_events.end(), "start"), 2);
}

TEST_F(DispatchTest, FocusFromTheKeyboardPreviewsOnce)
{
    g_editDevice.m_strText = "C";
    g_btnProcess.m_bFocus = true;
    Notify();
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK C:\r\n");
    EXPECT_FALSE(g_btnProcess.m_bFocus);

    // A focused button alone is no reason to compose again.
    g_editOutput.SetText("", nullptr);
    g_btnExit.m_bHot = true;
    Notify();
    EXPECT_EQ(g_editOutput.m_strText, "");
}

TEST_F(DispatchTest, AChoiceChangedUnderAPointerOnProcessRefreshesThePreview)
{
    // Space on a focused check box while the pointer rests on "Process".
    g_editDevice.m_strText = "C";
    g_btnProcess.m_bHot = true;
    Notify();
    g_optionBox[0].m_bClicked = true;
    Notify();
    EXPECT_EQ(g_editOutput.m_strText, "CHKDSK C: /F\r\n");
    g_toolRadio[TOOL_DISM].m_bClicked = true;
    Notify();
    EXPECT_EQ(g_editOutput.m_strText, "DISM /Online /Cleanup-Image\r\n");
}

}  // namespace
