// End to end: what runs elevated cannot be changed by anyone else. The batch
// file is locked while its console runs and "Process" is busy meanwhile; the
// console and the tools are the system's own, started in the system folder.
#include "e2e/Harness.h"

namespace {

using namespace e2e;

// What another process of the user can do to a file: 0 when it worked,
// otherwise the error Windows gave.
DWORD OpenForWriting(const std::string& strPath)
{
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return GetLastError();
    CloseHandle(hFile);
    return 0;
}

DWORD Rename(const std::string& strPath)
{
    const std::string strOther = strPath + ".moved";
    if (!MoveFileA(strPath.c_str(), strOther.c_str()))
        return GetLastError();
    MoveFileA(strOther.c_str(), strPath.c_str());
    return 0;
}

TEST(Guard, WhileItsConsoleIsOpenTheBatchFileIsLockedAndProcessIsBusy)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(KeepClearOfConsoles(tarvick.m_hWnd));
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_SFC));
    ASSERT_TRUE(tarvick.Tick(ROW_SCANNOW));
    ASSERT_TRUE(tarvick.Preview("SFC  /SCANNOW\r\n"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const std::string strBatch = tarvick.Batch();
    ASSERT_EQ(strBatch, "SFC.EXE  /SCANNOW\r\npause\r\n");
    ASSERT_EQ(tarvick.Children("cmd.exe").size(), 1u) << "the console waits at pause";

    EXPECT_EQ(OpenForWriting(tarvick.m_strBatch), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_NE(Rename(tarvick.m_strBatch), 0u);
    EXPECT_FALSE(DeleteFileA(tarvick.m_strBatch.c_str()));

    tarvick.PointAt(IDC_PROCESS);
    ASSERT_TRUE(tarvick.WaitText(IDC_PROCESS, "Busy"));
    EXPECT_TRUE(tarvick.ShowsRed(IDC_PROCESS));
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    LeftClick(tarvick.Middle(IDC_PROCESS));
    // Input is handled in order: once the typed letter shows, so has the
    // click. (The Device box lies clear of the console, which opens at the
    // top left.)
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    EXPECT_EQ(tarvick.Calls().size(), 1u);
    EXPECT_EQ(tarvick.Children("cmd.exe").size(), 1u);
    EXPECT_EQ(tarvick.Batch(), strBatch);

    // Once the console has closed, the file is free and the next run works.
    ASSERT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(WaitUntil([&] { return OpenForWriting(tarvick.m_strBatch) == 0; }, 3000)) << "let go";
    ASSERT_TRUE(tarvick.Preview("SFC  /SCANNOW\r\n"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(2));
    EXPECT_EQ(tarvick.Batch(), strBatch);
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Guard, OnlyTheSystemsToolRunsAndInTheSystemFolder)
{
    CTarvick tarvick;
    // Copies planted where a search by name might look first: the program's
    // folder, its current folder and TEMP.
    const std::string strFake = FromEnvironment("TARVICK_FAKE_TOOL");
    for (const std::string& strFolder : {tarvick.m_strProg, tarvick.m_strRoot, tarvick.m_strTemp})
        ASSERT_TRUE(CopyFileA(strFake.c_str(), (strFolder + "\\CHKDSK.EXE").c_str(), FALSE));
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const Call call = tarvick.Calls()[0];
    EXPECT_TRUE(SameNoCase(call.strImage, SystemFolder() + "\\CHKDSK.EXE")) << call.strImage;
    EXPECT_TRUE(SameNoCase(call.strFolder, SystemFolder())) << call.strFolder;
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_EQ(tarvick.Calls().size(), 1u);
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Guard, AConsoleNamedByComSpecIsNeverTheOneThatRuns)
{
    CTarvick tarvick;
    const std::string strPlanted = tarvick.m_strFakes + "\\planted console.exe";
    ASSERT_TRUE(CopyFileA(FromEnvironment("TARVICK_FAKE_TOOL").c_str(), strPlanted.c_str(), FALSE));
    tarvick.m_env["ComSpec"] = strPlanted;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    for (const Call& call : tarvick.Calls())
        EXPECT_TRUE(SameNoCase(BaseName(call.strImage), "CHKDSK.EXE")) << call.strImage;
    const std::vector<DWORD> consoles = tarvick.Children("cmd.exe");
    ASSERT_EQ(consoles.size(), 1u);
    EXPECT_TRUE(SameNoCase(ImagePath(consoles[0]), SystemFolder() + "\\cmd.exe")) << ImagePath(consoles[0]);
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

}  // namespace
