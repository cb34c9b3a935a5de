// A click on "Process": the batch file byte for byte, what gets started, and
// what is never started when the batch file cannot be written.
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "ModelFixture.h"
#include "TestFolder.h"
#include "model/Compose.h"
#include "model/Launch.h"

namespace {

namespace fs = std::filesystem;

CString ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return CString((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Notes, at the pause before the start, what has already happened.
class CSleepProbe : public CFakeSystem {
public:
    struct Moment {
        unsigned nMilliseconds;
        std::size_t nStarted;
        CString strBatch;
        bool bProcessShown;
    };
    std::vector<Moment> m_moments;

    void Sleep(unsigned nMilliseconds) override
    {
        CFakeSystem::Sleep(nMilliseconds);
        // Not /dev/full: it reads as endless zeros.
        const CString strBatch = fs::is_regular_file(g_batchPath) ? ReadAll(g_batchPath) : "";
        m_moments.push_back({nMilliseconds, zobrel::g_executeLog.size(), strBatch, g_btnProcess.IsVisible()});
    }
};

class LaunchTest : public ModelTest {
protected:
    CSleepProbe m_probe;
    fs::path m_dir;

    void SetUp() override
    {
        ModelTest::SetUp();
        m_probe.m_drives = m_system.m_drives;
        g_pSystem = &m_probe;
        m_dir = MakeTestFolder("tarvick-launch-");
        g_batchPath = (m_dir / "sfc.bat").string();
    }

    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir / "sfc.bat", fs::perms::owner_write, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
        ModelTest::TearDown();
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

TEST_P(BatchTable, WritesTheBatchFileThenPausesThenStartsIt)
{
    const BatchCase& c = GetParam();
    Click(c.nTool, c.pszDevice, c.ticked);

    const CString strBatch = CString(c.pszLine) + "\r\npause\r\n";
    EXPECT_EQ(ReadAll(g_batchPath), strBatch);
    EXPECT_EQ(zobrel::g_executeLog, (std::vector<std::vector<CString>>{{g_batchPath}}));

    ASSERT_EQ(m_probe.m_moments.size(), 1u);
    const CSleepProbe::Moment& pause = m_probe.m_moments[0];
    EXPECT_EQ(pause.nMilliseconds, 250u);
    EXPECT_EQ(pause.nStarted, 0u) << "the pause comes before the start";
    EXPECT_EQ(pause.strBatch, strBatch) << "the file is complete before the pause";
    EXPECT_FALSE(pause.bProcessShown) << "hidden while the command starts";

    EXPECT_EQ(g_cmdLine, "");
    EXPECT_EQ(g_editOutput.m_strText, "");
    EXPECT_TRUE(g_btnProcess.IsVisible());
    EXPECT_EQ(g_btnExit.m_nSnaps, 1);
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

TEST_F(LaunchTest, SecondRunLeavesOnlyItsOwnBatchFile)
{
    Click(TOOL_CHKDSK, "C", {0, 2});
    Click(TOOL_SFC, "", {});
    EXPECT_EQ(ReadAll(g_batchPath), "SFC.EXE \r\npause\r\n");
    EXPECT_EQ(zobrel::g_executeLog.size(), 2u);
}

// Root writes through read-only bits, so as root the run happens in a child
// that has given up its rights first. Returns how many starts the run asked for.
template <class Run>
int StartsWithoutRights(Run run)
{
    if (geteuid() != 0) {
        run();
        return static_cast<int>(zobrel::g_executeLog.size());
    }
    std::fflush(nullptr);
    const pid_t nChild = fork();
    if (nChild == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(100);
        run();
        _exit(static_cast<int>(zobrel::g_executeLog.size()));
    }
    int nStatus = 0;
    waitpid(nChild, &nStatus, 0);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : 101;
}

TEST_F(LaunchTest, BatchFileThatCannotBeWrittenIsNeverStarted)
{
    SelectTool(TOOL_SFC);
    ProcessHover();

    g_batchPath = (m_dir / "missing folder" / "sfc.bat").string();
    ProcessClick();
    EXPECT_FALSE(fs::exists(g_batchPath));
    EXPECT_TRUE(zobrel::g_executeLog.empty()) << "folder missing";

    // The flush on closing fails: the file may hold half a command.
    g_batchPath = "/dev/full";
    ProcessClick();
    EXPECT_TRUE(zobrel::g_executeLog.empty()) << "disk full";

    // A stale or planted batch file that cannot be overwritten.
    g_batchPath = (m_dir / "sfc.bat").string();
    const CString strStale = "format C: /q\r\npause\r\n";
    std::ofstream(g_batchPath, std::ios::binary) << strStale;
    fs::permissions(g_batchPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(StartsWithoutRights([] { ProcessClick(); }), 0) << "read-only stale file";
    EXPECT_EQ(ReadAll(g_batchPath), strStale);

    EXPECT_TRUE(g_btnProcess.IsVisible());
}

TEST_F(LaunchTest, ExternalToolStartsDirectlyWithItsArgumentText)
{
    ToolTable[TOOL_EXTERNAL].m_strExe = "D:\\WD_Disk_Diag\\WinDlg.exe";
    ToolTable[TOOL_EXTERNAL].m_strArgs = "/scan C: /full";
    Click(TOOL_EXTERNAL, "", {});

    EXPECT_FALSE(fs::exists(g_batchPath)) << "no batch file";
    EXPECT_TRUE(m_probe.m_sleeps.empty());
    EXPECT_EQ(zobrel::g_executeLog,
              (std::vector<std::vector<CString>>{{"D:\\WD_Disk_Diag\\WinDlg.exe", "/scan C: /full"}}));
    EXPECT_EQ(g_cmdArgs, "/scan C: /full");
    EXPECT_EQ(g_cmdLine, "");
    EXPECT_EQ(g_editOutput.m_strText, "");
    EXPECT_TRUE(g_btnProcess.IsVisible());
    EXPECT_EQ(g_btnExit.m_nSnaps, 1);
}

}  // namespace
