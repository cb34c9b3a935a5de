// End to end: bad settings, position and TEMP input and odd program folders
// neither crash nor hang the program nor lose data.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

enum class Outcome { Runs, Fails };

struct BadInput {
    const char* pszName;
    void (*pfnPrepare)(CTarvick&);
    bool bSettingsRead;        // the fourth tool's label comes from reading the file
    Outcome outcome;           // of a click on "Process" for CHKDSK on C:
    const wchar_t* pszFolder;  // the program folder's name
};

void PrintTo(const BadInput& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

// Settings files.
void SettingsEmpty(CTarvick& t)
{
    ASSERT_TRUE(WriteBytes(t.m_strIni, ""));
}
void SettingsBinary(CTarvick& t)
{
    ASSERT_TRUE(WriteBytes(t.m_strIni, Noise(65536) + std::string("\0\x1A\r\r\n\n", 6)));
}
void SettingsTenMiB(CTarvick& t)
{
    std::string strData = t.DefaultSettings();
    const std::string strLine = "# " + std::string(1021, 'p') + "\r\n";
    while (strData.size() < 10u << 20)
        strData += strLine;
    ASSERT_TRUE(WriteBytes(t.m_strIni, strData));
}
void SettingsMiBLines(CTarvick& t)
{
    const std::string strLong(1u << 20, 'w');
    ASSERT_TRUE(WriteBytes(t.m_strIni, "#" + strLong + "\r\n3 " + strLong + "\r\n9" + strLong + "\n" + strLong));
}
void SettingsNoFinalLineEnd(CTarvick& t)
{
    std::string strData = t.DefaultSettings();
    strData.resize(strData.size() - 2);
    ASSERT_TRUE(WriteBytes(t.m_strIni, strData));
}
void SettingsFolder(CTarvick& t)
{
    RemoveTree(t.m_strIni);
    ASSERT_TRUE(CreateDirectoryA(t.m_strIni.c_str(), nullptr));
}
void SettingsLocked(CTarvick& t)
{
    t.m_hLock = CreateFileA(t.m_strIni.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(t.m_hLock, INVALID_HANDLE_VALUE);
}

// Position files.
void PositionCorrupt(CTarvick& t)
{
    ASSERT_TRUE(WriteBytes(t.m_strPos, Noise(300)));
}
void PositionOffScreen(CTarvick& t)
{
    // Saved by the program itself, so the file is in its own format.
    ASSERT_TRUE(t.Start());
    MoveWindowTo(t.m_hWnd, {5000, 4000});
    PostMessageA(t.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(t.WaitEnded());
    ASSERT_TRUE(Exists(t.m_strPos));
}

// TEMP.
const char STALE_BATCH[] = "@\"SFC.EXE\" STALE\r\npause\r\n";

void TempUnset(CTarvick& t)
{
    // "\sfc.bat" would be the root of whatever drive is current: nothing may
    // be written there.
    t.m_bTempUnset = true;
    t.m_strBatch = t.m_strRoot.substr(0, 2) + "\\sfc.bat";
    ASSERT_FALSE(Exists(t.m_strBatch)) << "left over from elsewhere";
    t.m_bRemoveBatch = true;
}
void TempMissing(CTarvick& t)
{
    t.m_strTempValue = t.m_strRoot + "\\no such folder";
    t.m_strBatch = t.m_strTempValue + "\\sfc.bat";
}
void TempReadOnlyBatch(CTarvick& t)
{
    ASSERT_TRUE(WriteBytes(t.m_strBatch, STALE_BATCH));
    ASSERT_TRUE(SetFileAttributesA(t.m_strBatch.c_str(), FILE_ATTRIBUTE_READONLY));
    // Wine keeps the attribute as Unix permissions, which do not bind root.
    HANDLE hProbe = CreateFileA(t.m_strBatch.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hProbe != INVALID_HANDLE_VALUE) {
        CloseHandle(hProbe);
        GTEST_SKIP() << "the read-only attribute does not stop this user from writing";
    }
}
void TempIsAFile(CTarvick& t)
{
    t.m_strTempValue = t.m_strRoot + "\\temp file";
    ASSERT_TRUE(WriteBytes(t.m_strTempValue, "not a folder\r\n"));
    t.m_strBatch = t.m_strTempValue + "\\sfc.bat";
}
void TempLockedBatch(CTarvick& t)
{
    ASSERT_TRUE(WriteBytes(t.m_strBatch, STALE_BATCH));
    t.m_hLock = CreateFileA(t.m_strBatch.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(t.m_hLock, INVALID_HANDLE_VALUE);
}
void TempBatchIsFolder(CTarvick& t)
{
    ASSERT_TRUE(CreateDirectoryA(t.m_strBatch.c_str(), nullptr));
}

void Nothing(CTarvick&) {}

class BadInputs : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadInputs, NeitherCrashNorHangNorLoss)
{
    const BadInput& c = GetParam();
    const std::string strFolder = AnsiName(c.pszFolder);
    if (strFolder.empty())
        GTEST_SKIP() << "the folder name does not fit the ANSI code page " << GetACP();
    CTarvick tarvick(strFolder);
    const std::string strDefault = Contents(tarvick.m_strIni);
    c.pfnPrepare(tarvick);
    if (HasFatalFailure() || IsSkipped())
        return;
    std::string strSettings;
    if (!ReadBytes(tarvick.m_strIni, strSettings))
        strSettings = strDefault;  // a folder, or held open by the test
    const bool bSettingsFolder = (GetFileAttributesA(tarvick.m_strIni.c_str()) & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string strBatch = tarvick.Batch();

    ASSERT_TRUE(tarvick.Start());
    EXPECT_TRUE(tarvick.Responsive());
    EXPECT_EQ(tarvick.Text(IDC_TOOL_LABEL + TOOL_EXTERNAL), c.bSettingsRead ? " WinDlg" : "");
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    if (c.outcome == Outcome::Runs) {
        ASSERT_TRUE(tarvick.Run());
        ASSERT_TRUE(tarvick.WaitCalls(1));
        ExpectCall(tarvick.Calls()[0], "CHKDSK.EXE", "C:");
        EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C:\r\npause\r\n");
        EXPECT_EQ(tarvick.EndConsoles(), 1);
    } else {
        // The run fails visibly: "Failed" in red, one line saying what and
        // why, the pointer left where it was, nothing started.
        ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
        LeftClick(tarvick.Middle(IDC_PROCESS));
        ASSERT_TRUE(tarvick.WaitText(IDC_PROCESS, "Failed", RUN_MS));
        EXPECT_TRUE(tarvick.ShowsRed(IDC_PROCESS));
        const std::string strLine = tarvick.Text(IDC_OUTPUT);
        if (tarvick.m_bTempUnset) {
            EXPECT_EQ(strLine, "Could not write \\sfc.bat: TEMP names no folder.");
        } else {
            const std::string strStart = "Could not write " + tarvick.m_strBatch + ": ";
            EXPECT_EQ(strLine.compare(0, strStart.size(), strStart), 0) << strLine;
            EXPECT_GT(strLine.size(), strStart.size()) << "with the system's reason";
        }
        EXPECT_TRUE(tarvick.PointerRestsOn(IDC_PROCESS)) << UnderPointer();
        EXPECT_TRUE(tarvick.Children().empty());
        EXPECT_EQ(tarvick.Batch(), strBatch) << "a batch file the program could not write is left alone";
        EXPECT_TRUE(tarvick.Calls().empty());
    }
    EXPECT_TRUE(tarvick.Responsive());
    EXPECT_TRUE(tarvick.Exit());

    tarvick.Unlock();
    if (bSettingsFolder) {
        EXPECT_NE(GetFileAttributesA(tarvick.m_strIni.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    } else {
        EXPECT_TRUE(Contents(tarvick.m_strIni) == strSettings) << "the settings file changed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadInputs,
    ::testing::Values(BadInput{"SettingsEmpty", SettingsEmpty, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"SettingsBinary", SettingsBinary, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"SettingsTenMiB", SettingsTenMiB, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"SettingsMiBLines", SettingsMiBLines, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"SettingsNoFinalLineEnd", SettingsNoFinalLineEnd, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"SettingsFolder", SettingsFolder, false, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"SettingsLocked", SettingsLocked, false, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"PositionCorrupt", PositionCorrupt, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"PositionOffScreen", PositionOffScreen, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"TempUnset", TempUnset, true, Outcome::Fails, L"Tarvick prog"},
                      BadInput{"TempMissing", TempMissing, true, Outcome::Fails, L"Tarvick prog"},
                      BadInput{"TempReadOnlyBatch", TempReadOnlyBatch, true, Outcome::Fails, L"Tarvick prog"},
                      BadInput{"TempIsAFile", TempIsAFile, true, Outcome::Fails, L"Tarvick prog"},
                      BadInput{"TempLockedBatch", TempLockedBatch, true, Outcome::Fails, L"Tarvick prog"},
                      BadInput{"TempBatchIsFolder", TempBatchIsFolder, true, Outcome::Fails, L"Tarvick prog"},
                      BadInput{"FolderBlanks", Nothing, true, Outcome::Runs, L"a  b   c"},
                      BadInput{"FolderNonAscii", Nothing, true, Outcome::Runs, L"Pr\u00FCfung \u00E4\u00F6"}),
    [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
