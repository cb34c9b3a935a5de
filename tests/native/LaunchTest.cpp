// A click on "Process": the batch file byte for byte, the order in which it is
// held, written, checked and started, what is never started, and how a
// failure shows.
#include "ModelFixture.h"
#include "model/Compose.h"
#include "model/Launch.h"

namespace {

// Notes, at the pause before the start, whether "Process" is hidden.
class CSleepProbe : public CFakeSystem {
public:
    std::vector<bool> m_shownAtPause;

    void Sleep(unsigned nMilliseconds) override
    {
        CFakeSystem::Sleep(nMilliseconds);
        m_shownAtPause.push_back(g_btnProcess.IsVisible());
    }
};

class LaunchTest : public ModelTest {
protected:
    CSleepProbe m_probe;

    void SetUp() override
    {
        ModelTest::SetUp();
        m_probe.m_drives = m_system.m_drives;
        g_pSystem = &m_probe;
    }

    static void Click(ToolKind nTool, const char* pszDevice, const std::vector<int>& ticked)
    {
        SelectTool(nTool);
        for (int i : ticked)
            Tick(i);
        g_editDevice.m_strText = pszDevice;
        ProcessHover();
        ASSERT_EQ(g_btnProcess.m_strCaption, "Process") << "composed without a status";
        ProcessClick();
    }

    void ExpectFailureShown(const CString& strLine) const
    {
        EXPECT_EQ(g_editOutput.m_strText, strLine);
        EXPECT_EQ(g_btnProcess.m_strCaption, "Failed");
        EXPECT_EQ(g_btnProcess.m_crText, CLR_RED);
        EXPECT_TRUE(g_btnProcess.IsVisible());
        EXPECT_EQ(g_btnExit.m_nSnaps, 0) << "the pointer stays after a failure";
        EXPECT_FALSE(m_probe.m_bConsoleOpen);
    }
};

struct BatchCase {
    const char* pszName;
    ToolKind nTool;
    const char* pszDevice;
    std::vector<int> ticked;
    const char* pszLine;
};

void PrintTo(const BatchCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class BatchTable : public LaunchTest, public ::testing::WithParamInterface<BatchCase> {};

TEST_P(BatchTable, HoldsWritesChecksPausesStartsAndLetsGoWhenTheConsoleEnds)
{
    const BatchCase& c = GetParam();
    Click(c.nTool, c.pszDevice, c.ticked);

    const CString strBatch = CString(c.pszLine) + "\r\npause\r\n";
    EXPECT_EQ(m_probe.m_events,
              (std::vector<CString>{"hold " + g_batchPath, "write " + strBatch, "verify", "sleep 250", "start"}));
    EXPECT_EQ(m_probe.m_shownAtPause, std::vector<bool>{false}) << "hidden while the command starts";
    EXPECT_TRUE(zobrel::g_executeLog.empty()) << "the console is the system's, not a started program";
    EXPECT_EQ(g_cmdLine, "");
    EXPECT_EQ(g_editOutput.m_strText, "");
    EXPECT_TRUE(g_btnProcess.IsVisible());
    EXPECT_EQ(g_btnExit.m_nSnaps, 1);

    // The file stays held while its console runs, and only until then.
    EXPECT_TRUE(m_probe.Batchbusy());
    EXPECT_EQ(m_probe.m_events.back(), "start");
    m_probe.CloseConsole();
    EXPECT_FALSE(m_probe.Batchbusy());
    EXPECT_EQ(m_probe.m_events.back(), "release");
}

INSTANTIATE_TEST_SUITE_P(
    EveryTool, BatchTable,
    ::testing::Values(BatchCase{"ChkdskFixReplace", TOOL_CHKDSK, "C", {0, 2}, "CHKDSK.EXE C: /F /R"},
                      BatchCase{"ChkdskHelp", TOOL_CHKDSK, "", {HELP_ROW}, "CHKDSK.EXE /?"},
                      BatchCase{"DismCheckHealth", TOOL_DISM, "", {12}, "DISM.EXE /Online /Cleanup-Image /CheckHealth"},
                      BatchCase{"DismNothing", TOOL_DISM, "", {}, "DISM.EXE /Online /Cleanup-Image"},
                      BatchCase{"SfcScanNowTwoBlanks", TOOL_SFC, "", {7}, "SFC.EXE  /SCANNOW"},
                      BatchCase{"SfcNothingOneTrailingBlank", TOOL_SFC, "", {}, "SFC.EXE "}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST_F(LaunchTest, NextRunAfterTheConsoleClosedWritesOnlyItsOwnCommand)
{
    Click(TOOL_CHKDSK, "C", {0, 2});
    m_probe.CloseConsole();
    m_probe.m_events.clear();
    Click(TOOL_SFC, "", {});
    EXPECT_EQ(m_probe.m_strWritten, "SFC.EXE \r\npause\r\n");
    EXPECT_EQ(m_probe.m_events.front(), "release") << "the first console's guard goes first";
    EXPECT_EQ(m_probe.m_events.back(), "start");
}

struct FailureCase {
    const char* pszStep;
    std::vector<CString> events;  // after "hold"
    const char* pszLine;
};

TEST_F(LaunchTest, AFailedStepStartsNothingLetsGoAndSaysWhy)
{
    const CString strPath = g_batchPath;
    const CString strText = "SFC.EXE \r\npause\r\n";
    const FailureCase cases[] = {
        {"hold", {}, "Could not write C:\\Users\\me\\Temp\\sfc.bat: Access is denied."},
        {"write", {"write " + strText, "release"}, "Could not write C:\\Users\\me\\Temp\\sfc.bat: Access is denied."},
        {"verify",
         {"write " + strText, "verify", "release"},
         "Could not check C:\\Users\\me\\Temp\\sfc.bat: Access is denied."},
        {"start",
         {"write " + strText, "verify", "sleep 250", "start", "release"},
         "Could not start the console for C:\\Users\\me\\Temp\\sfc.bat: Access is denied."},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.pszStep);
        m_probe.m_events.clear();
        m_probe.m_strFailAt = c.pszStep;
        g_btnExit.m_nSnaps = 0;
        Click(TOOL_SFC, "", {});
        std::vector<CString> expected{"hold " + strPath};
        expected.insert(expected.end(), c.events.begin(), c.events.end());
        EXPECT_EQ(m_probe.m_events, expected);
        ExpectFailureShown(c.pszLine);
    }
}

TEST_F(LaunchTest, ATempThatNamesNoFolderWritesNothing)
{
    // TEMP unset gives "\sfc.bat": the root of whatever drive is current.
    for (const char* pszPath : {"\\sfc.bat", "sfc.bat", "C:sfc.bat"}) {
        SCOPED_TRACE(pszPath);
        g_batchPath = pszPath;
        m_probe.m_events.clear();
        Click(TOOL_DISM, "", {});
        EXPECT_TRUE(m_probe.m_events.empty());
        ExpectFailureShown("Could not write " + CString(pszPath) + ": TEMP names no folder.");
    }
}

TEST_F(LaunchTest, ExternalToolStartsDirectlyWithItsArgumentTextAsWritten)
{
    ToolTable[TOOL_EXTERNAL].m_strExe = "C:\\Tools\\Diag\\diag.exe";
    for (const char* pszArgs : {"/scan C: /full", "C:\\logs\\diag.log /quick", "*", ""}) {
        SCOPED_TRACE(pszArgs);
        zobrel::g_executeLog.clear();
        g_btnExit.m_nSnaps = 0;
        ToolTable[TOOL_EXTERNAL].m_strArgs = pszArgs;
        Click(TOOL_EXTERNAL, "", {});
        EXPECT_EQ(zobrel::g_executeLog, (std::vector<std::vector<CString>>{{"C:\\Tools\\Diag\\diag.exe", pszArgs}}))
            << "started at once, never waited for";
        EXPECT_EQ(g_cmdArgs, pszArgs);
        EXPECT_EQ(g_editOutput.m_strText, "");
        EXPECT_EQ(g_btnExit.m_nSnaps, 1);
    }
    EXPECT_TRUE(m_probe.m_events.empty()) << "no batch file";
    EXPECT_TRUE(m_probe.m_sleeps.empty());
}

TEST_F(LaunchTest, ExternalToolThatCannotStartSaysWhy)
{
    g_settingsPath = "C:\\Program Files\\Tarvick\\data\\Tarvick\\Tarvick.ini";
    Click(TOOL_EXTERNAL, "", {});
    ExpectFailureShown("Could not start the external tool: key 2 of " + g_settingsPath + " names no program.");
    EXPECT_TRUE(zobrel::g_executeLog.empty());

    ToolTable[TOOL_EXTERNAL].m_strExe = "D:\\Gone\\diag.exe";
    zobrel::g_executeFailures["D:\\Gone\\diag.exe"] = "The system cannot find the path specified.";
    Click(TOOL_EXTERNAL, "", {});
    ExpectFailureShown("Could not start D:\\Gone\\diag.exe: The system cannot find the path specified.");
}

TEST_F(LaunchTest, ExternalToolIsNotHeldBackByAnOpenConsole)
{
    Click(TOOL_SFC, "", {});
    ASSERT_TRUE(m_probe.m_bConsoleOpen);
    ToolTable[TOOL_EXTERNAL].m_strExe = "C:\\Tools\\diag.exe";
    Click(TOOL_EXTERNAL, "", {});
    EXPECT_EQ(zobrel::g_executeLog.size(), 1u);
}

}  // namespace
