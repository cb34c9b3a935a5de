// The system services of the command model under Wine: the drive queries,
// and the batch file's guard and console as Windows provides them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "Input.h"
#include "Processes.h"
#include "lib/System.h"

namespace {

using guitest::WaitUntil;

TEST(HostSystem, FixedNtfsSystemDrive)
{
    zobrel::ISystem& system = zobrel::Hostsystem();
    EXPECT_EQ(system.Drivetype("C:\\"), 3u);
    char szName[8] = {};
    EXPECT_TRUE(system.Fsname("C:\\", szName, sizeof szName));
    EXPECT_STREQ(szName, "NTFS");
}

TEST(HostSystem, MissingDriveIsAnInvalidRootAndItsQueryFails)
{
    zobrel::ISystem& system = zobrel::Hostsystem();
    EXPECT_LE(system.Drivetype("Q:\\"), 1u);
    char szName[8] = {};
    EXPECT_FALSE(system.Fsname("Q:\\", szName, sizeof szName));
}

TEST(HostSystem, SystemFolderIsTheSystems)
{
    char szPath[MAX_PATH];
    ASSERT_GT(GetSystemDirectoryA(szPath, sizeof szPath), 0u);
    EXPECT_EQ(zobrel::Hostsystem().Systemfolder(), szPath);
}

class BatchGuard : public ::testing::Test {
protected:
    std::string m_strDir;
    std::string m_strBatch;
    zobrel::ISystem& m_system = zobrel::Hostsystem();

    void SetUp() override
    {
        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = std::string(szTemp) + "tarvick guard " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_strDir.c_str(), nullptr);
        m_strBatch = m_strDir + "\\sfc.bat";
    }

    void TearDown() override
    {
        WaitUntil([&] { return !m_system.Batchbusy(); }, 10000);
        m_system.Releasebatch();
        for (const char* pszName : {"\\sfc.bat", "\\victim.txt", "\\cwd.txt", "\\renamed.bat"})
            DeleteFileA((m_strDir + pszName).c_str());
        RemoveDirectoryA(m_strDir.c_str());
    }

    static std::string Read(const std::string& strPath)
    {
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return "<unreadable>";
        char buffer[4096];
        DWORD nRead = 0;
        std::string strData;
        while (ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr) && nRead > 0)
            strData.append(buffer, nRead);
        CloseHandle(hFile);
        return strData;
    }

    static bool Write(const std::string& strPath, const std::string& strData)
    {
        HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (hFile == INVALID_HANDLE_VALUE)
            return false;
        DWORD nWritten = 0;
        const bool bOk = WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &nWritten, nullptr);
        CloseHandle(hFile);
        return bOk && nWritten == strData.size();
    }

    // What another process of the user could do to the file, each answered
    // with the error Windows gives (0: it worked).
    struct Attempts {
        DWORD dwWrite, dwDelete, dwRename, dwRead;
    };
    Attempts Attack() const
    {
        Attempts attempts = {};
        HANDLE hWrite =
            CreateFileA(m_strBatch.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        attempts.dwWrite = hWrite == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (hWrite != INVALID_HANDLE_VALUE)
            CloseHandle(hWrite);
        attempts.dwDelete = DeleteFileA(m_strBatch.c_str()) ? 0 : GetLastError();
        const std::string strRenamed = m_strDir + "\\renamed.bat";
        attempts.dwRename = MoveFileA(m_strBatch.c_str(), strRenamed.c_str()) ? 0 : GetLastError();
        if (!attempts.dwRename)
            MoveFileA(strRenamed.c_str(), m_strBatch.c_str());
        HANDLE hRead = CreateFileA(m_strBatch.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
        attempts.dwRead = hRead == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (hRead != INVALID_HANDLE_VALUE)
            CloseHandle(hRead);
        return attempts;
    }
};

TEST_F(BatchGuard, HeldFileCanBeReadButNotWrittenDeletedOrRenamedUntilLetGo)
{
    std::string strReason;
    ASSERT_TRUE(Write(m_strBatch, "stale\r\n"));
    ASSERT_TRUE(m_system.Holdbatch(m_strBatch, strReason)) << strReason;
    ASSERT_TRUE(m_system.Writebatch("CHKDSK.EXE C:\r\npause\r\n", strReason)) << strReason;
    EXPECT_TRUE(m_system.Verifybatch("CHKDSK.EXE C:\r\npause\r\n", strReason)) << strReason;
    EXPECT_FALSE(m_system.Verifybatch("CHKDSK.EXE D:\r\npause\r\n", strReason));
    EXPECT_FALSE(strReason.empty());

    const Attempts held = Attack();
    EXPECT_EQ(held.dwWrite, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_NE(held.dwDelete, 0u);
    EXPECT_NE(held.dwRename, 0u);
    EXPECT_EQ(held.dwRead, 0u) << "the console must read it";
    EXPECT_EQ(Read(m_strBatch), "CHKDSK.EXE C:\r\npause\r\n");

    m_system.Releasebatch();
    EXPECT_EQ(Attack().dwWrite, 0u) << "let go";
}

TEST_F(BatchGuard, ALinkPlantedAtTheNameIsReplacedNotFollowed)
{
    const std::string strVictim = m_strDir + "\\victim.txt";
    ASSERT_TRUE(Write(strVictim, "keep me\r\n"));
    if (!CreateHardLinkA(m_strBatch.c_str(), strVictim.c_str(), nullptr))
        GTEST_SKIP() << "no hard links here: " << GetLastError();
    std::string strReason;
    ASSERT_TRUE(m_system.Holdbatch(m_strBatch, strReason)) << strReason;
    ASSERT_TRUE(m_system.Writebatch("SFC.EXE \r\npause\r\n", strReason)) << strReason;
    EXPECT_TRUE(m_system.Verifybatch("SFC.EXE \r\npause\r\n", strReason)) << strReason;
    m_system.Releasebatch();
    EXPECT_EQ(Read(strVictim), "keep me\r\n");
    EXPECT_EQ(Read(m_strBatch), "SFC.EXE \r\npause\r\n");
}

TEST_F(BatchGuard, AFolderOrAMissingFolderFailsWithTheSystemsReason)
{
    std::string strReason;
    ASSERT_TRUE(CreateDirectoryA(m_strBatch.c_str(), nullptr));
    EXPECT_FALSE(m_system.Holdbatch(m_strBatch, strReason));
    EXPECT_FALSE(strReason.empty());
    RemoveDirectoryA(m_strBatch.c_str());

    strReason.clear();
    EXPECT_FALSE(m_system.Holdbatch(m_strDir + "\\no such folder\\sfc.bat", strReason));
    EXPECT_FALSE(strReason.empty());
}

// The consoles this process started: their ids and image paths.
std::vector<std::pair<DWORD, std::string>> Consoles()
{
    std::vector<std::pair<DWORD, std::string>> found;
    for (DWORD dwId : guitest::ChildrenOf(GetCurrentProcessId()))
        found.emplace_back(dwId, guitest::ImagePath(dwId));
    return found;
}

TEST_F(BatchGuard, ConsoleIsTheSystemsCmdInTheSystemFolderAndHoldsTheFileUntilItEnds)
{
    // A planted console named by ComSpec must not be the one that runs.
    SetEnvironmentVariableA("ComSpec", (m_strDir + "\\fake cmd.exe").c_str());
    const std::string strCwd = m_strDir + "\\cwd.txt";
    const std::string strText = "@cd > \"" + strCwd + "\"\r\n@pause\r\n";
    std::string strReason;
    ASSERT_TRUE(m_system.Holdbatch(m_strBatch, strReason)) << strReason;
    ASSERT_TRUE(m_system.Writebatch(strText, strReason)) << strReason;
    ASSERT_TRUE(m_system.Verifybatch(strText, strReason)) << strReason;
    ASSERT_TRUE(m_system.Startbatch(strReason)) << strReason;
    // The line is whole once it has its end.
    ASSERT_TRUE(WaitUntil([&] { return Read(strCwd).find('\n') != std::string::npos && !Consoles().empty(); }, 10000));

    char szSystem[MAX_PATH];
    GetSystemDirectoryA(szSystem, sizeof szSystem);
    EXPECT_EQ(_strnicmp(Read(strCwd).c_str(), szSystem, std::strlen(szSystem)), 0) << Read(strCwd);
    const auto consoles = Consoles();
    ASSERT_EQ(consoles.size(), 1u);
    EXPECT_EQ(_stricmp(consoles[0].second.c_str(), (std::string(szSystem) + "\\cmd.exe").c_str()), 0)
        << consoles[0].second;

    // Waiting at "pause": still busy, still held.
    EXPECT_TRUE(m_system.Batchbusy());
    EXPECT_EQ(Attack().dwWrite, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE hConsole = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, consoles[0].first);
    ASSERT_NE(hConsole, nullptr);
    TerminateProcess(hConsole, 0);
    WaitForSingleObject(hConsole, 5000);
    CloseHandle(hConsole);
    EXPECT_FALSE(m_system.Batchbusy());
    EXPECT_EQ(Attack().dwWrite, 0u) << "let go once the console ended";
}

}  // namespace
