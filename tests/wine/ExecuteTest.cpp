// Utility::Execute and Getcommandlineitems under Wine, against programs that
// record how they were started (FakeTool.cpp, ItemsProbe.cpp). The fake
// CHKDSK.EXE sits in a folder of its own that only WINEPATH names; copies
// with blanks in their paths are made per test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "lib/FileIO.h"
#include "lib/Utility.h"

namespace {

using Clock = std::chrono::steady_clock;

CString ExeFolder()
{
    char szPath[MAX_PATH];
    const DWORD nLen = GetModuleFileNameA(nullptr, szPath, sizeof szPath);
    CString strPath(szPath, nLen);
    return strPath.substr(0, strPath.find_last_of('\\'));
}

CString Lower(CString str)
{
    std::transform(str.begin(), str.end(), str.begin(), [](unsigned char c) { return std::tolower(c); });
    return str;
}

DWORD IdOf(void* pStarted)
{
    return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(pStarted));
}

bool Contains(const CString& strList, DWORD nId)
{
    return (strList + " ").find(" " + std::to_string(nId) + " ") != CString::npos;
}

class ExecuteTest : public ::testing::Test {
protected:
    CString m_strDir;  // holds blanks, as many a user's TEMP does
    CString m_strRecord;
    CString m_strFake;
    zobrel::Utility m_utility;
    std::vector<DWORD> m_started;  // processes to end if still running

    void SetUp() override
    {
        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = CString(szTemp) + "tarvick exec " + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                   " " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_strDir.c_str(), nullptr);
        m_strRecord = m_strDir + "\\record.txt";
        DeleteFileA(m_strRecord.c_str());
        SetEnvironmentVariableA("TARVICK_RECORD", m_strRecord.c_str());
        SetEnvironmentVariableA("TARVICK_SLEEP_MS", nullptr);
        m_strFake = ExeFolder() + "\\fakebin\\CHKDSK.exe";
        ASSERT_NE(GetFileAttributesA(m_strFake.c_str()), INVALID_FILE_ATTRIBUTES) << m_strFake;
    }

    void TearDown() override
    {
        for (DWORD nId : m_started) {
            if (HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, nId)) {
                if (WaitForSingleObject(hProcess, 0) == WAIT_TIMEOUT) {
                    TerminateProcess(hProcess, 1);
                    WaitForSingleObject(hProcess, 5000);
                }
                CloseHandle(hProcess);
            }
        }
        WIN32_FIND_DATAA found;
        HANDLE hFind = FindFirstFileA((m_strDir + "\\*").c_str(), &found);
        if (hFind != INVALID_HANDLE_VALUE) {
            do
                DeleteFileA((m_strDir + "\\" + found.cFileName).c_str());
            while (FindNextFileA(hFind, &found));
            FindClose(hFind);
        }
        RemoveDirectoryA(m_strDir.c_str());
    }

    CString Copy(const CString& strFrom, const char* pszName) const
    {
        const CString strTo = m_strDir + "\\" + pszName;
        EXPECT_TRUE(CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE)) << strTo;
        return strTo;
    }

    std::vector<CString> Record() const
    {
        std::ifstream in(m_strRecord, std::ios::binary);
        const CString strAll((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<CString> lines;
        for (std::size_t nPos = 0, nEnd; (nEnd = strAll.find("\r\n", nPos)) != CString::npos; nPos = nEnd + 2)
            lines.push_back(strAll.substr(nPos, nEnd - nPos));
        return lines;
    }

    // The started program writes its record when it gets round to it.
    std::vector<CString> AwaitRecord(std::size_t nLines) const
    {
        const auto tEnd = Clock::now() + std::chrono::seconds(20);
        std::vector<CString> lines = Record();
        while (lines.size() < nLines && Clock::now() < tEnd) {
            Sleep(50);
            lines = Record();
        }
        return lines;
    }

    void* Started(void* pStarted)
    {
        if (pStarted)
            m_started.push_back(IdOf(pStarted));
        return pStarted;
    }
};

TEST_F(ExecuteTest, BatchFileRunsTheToolThroughTheInterpreterInAConsoleOfItsOwn)
{
    struct {
        const char* pszName;
        const char* pszCommand;
        const char* pszLast;
        const char* pszArg;  // null: none
        const char* pszTail;
        bool bStaysOpen;
    } cases[] = {
        {"sfc.bat", "CHKDSK.EXE C: /F /R", "pause", nullptr, " C: /F /R", true},
        {"Repair.CMD", "CHKDSK.EXE %*", "rem done", "C:\\Program Files\\a b.ini", " \"C:\\Program Files\\a b.ini\"",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        DeleteFileA(m_strRecord.c_str());
        const CString strBatch = m_strDir + "\\" + c.pszName;
        zobrel::FileIO file;
        ASSERT_NE(file.Open(strBatch, "w"), 0);
        file.Putline(c.pszCommand, true);
        file.Putline(c.pszLast, true);
        ASSERT_NE(file.Close(), 0);

        void* pStarted = Started(c.pszArg ? m_utility.Execute(strBatch.c_str(), c.pszArg, nullptr)
                                          : m_utility.Execute(strBatch.c_str(), nullptr));
        ASSERT_NE(pStarted, nullptr);
        const std::vector<CString> lines = AwaitRecord(2);
        ASSERT_EQ(lines.size(), 2u);

        // Found along WINEPATH; Wine may show the program by its path.
        const CString strTail = c.pszTail;
        ASSERT_GT(lines[0].size(), strTail.size()) << lines[0];
        EXPECT_EQ(lines[0].substr(lines[0].size() - strTail.size()), strTail);
        CString strProgram = Lower(lines[0].substr(0, lines[0].size() - strTail.size()));
        strProgram.erase(std::remove(strProgram.begin(), strProgram.end(), '"'), strProgram.end());
        ASSERT_GE(strProgram.size(), 10u) << lines[0];
        EXPECT_EQ(strProgram.substr(strProgram.size() - 10), "chkdsk.exe") << lines[0];

        // The tool shares its console with the interpreter, not with us.
        EXPECT_TRUE(Contains(lines[1], IdOf(pStarted))) << lines[1];
        EXPECT_FALSE(Contains(lines[1], GetCurrentProcessId())) << lines[1];

        HANDLE hInterpreter = OpenProcess(SYNCHRONIZE, FALSE, IdOf(pStarted));
        ASSERT_NE(hInterpreter, nullptr);
        const DWORD nWait = WaitForSingleObject(hInterpreter, c.bStaysOpen ? 500 : 10000);
        CloseHandle(hInterpreter);
        EXPECT_EQ(nWait, c.bStaysOpen ? static_cast<DWORD>(WAIT_TIMEOUT) : WAIT_OBJECT_0)
            << (c.bStaysOpen ? "the console waits at pause" : "the console ends with the script");
    }
}

TEST_F(ExecuteTest, ArgumentsArriveAsCommandLineTextAndOnlyPathsWithBlanksAreQuoted)
{
    const CString strProbe = Copy(ExeFolder() + "\\items_probe.exe", "Items Probe.exe");
    struct {
        const char* pszName;
        std::vector<const char*> args;
        const char* pszTail;  // behind the quoted program
        std::vector<CString> argv;
    } cases[] = {
        {"argument list", {"/scan C: /full"}, " /scan C: /full", {"/scan", "C:", "/full"}},
        {"settings path",
         {"C:\\Program Files\\Tarvick\\Tarvick.ini"},
         " \"C:\\Program Files\\Tarvick\\Tarvick.ini\"",
         {"C:\\Program Files\\Tarvick\\Tarvick.ini"}},
        {"UNC path",
         {"\\\\server\\my share\\a.ini"},
         " \"\\\\server\\my share\\a.ini\"",
         {"\\\\server\\my share\\a.ini"}},
        {"folder with trailing backslash", {"C:\\My Tools\\"}, " \"C:\\My Tools\\\\\"", {"C:\\My Tools\\"}},
        {"path without blanks", {"C:\\Tools\\a.ini"}, " C:\\Tools\\a.ini", {"C:\\Tools\\a.ini"}},
        {"already quoted", {"\"C:\\a b\\x.ini\""}, " \"C:\\a b\\x.ini\"", {"C:\\a b\\x.ini"}},
        {"empty arguments add nothing", {"", "-a", "", "-b"}, " -a -b", {"-a", "-b"}},
        {"no arguments", {}, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        DeleteFileA(m_strRecord.c_str());
        void* pStarted = nullptr;
        switch (c.args.size()) {
        case 0:
            pStarted = m_utility.Execute(strProbe.c_str(), "*", nullptr);
            break;
        case 1:
            pStarted = m_utility.Execute(strProbe.c_str(), c.args[0], "*", nullptr);
            break;
        default:
            pStarted = m_utility.Execute(strProbe.c_str(), c.args[0], c.args[1], c.args[2], c.args[3], "*", nullptr);
            break;
        }
        ASSERT_NE(pStarted, nullptr);
        const std::vector<CString> lines = Record();
        ASSERT_GE(lines.size(), 4u) << "complete once Execute returned";
        EXPECT_EQ(lines[0], "\"" + strProbe + "\"" + c.pszTail);
        EXPECT_EQ(std::vector<CString>(lines.begin() + 4, lines.end()), c.argv) << "as the program splits them";
    }
}

TEST_F(ExecuteTest, ProgramPathInQuotesOrFoundAlongPathStarts)
{
    const CString strTool = Copy(m_strFake, "Disk Tool.exe");
    ASSERT_NE(m_utility.Execute(("\"" + strTool + "\"").c_str(), "/x", "*", nullptr), nullptr);
    ASSERT_NE(m_utility.Execute("CHKDSK.EXE", "C: /F", "*", nullptr), nullptr);
    const std::vector<CString> lines = Record();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "\"" + strTool + "\" /x");
    EXPECT_EQ(lines[2], "\"CHKDSK.EXE\" C: /F");
}

LRESULT CALLBACK CountPaints(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        ++*reinterpret_cast<int*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

TEST_F(ExecuteTest, StarWaitsForTheProgramAndKeepsWindowsPainted)
{
    const CString strTool = Copy(m_strFake, "Slow Tool.exe");
    SetEnvironmentVariableA("TARVICK_SLEEP_MS", "1500");

    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountPaints;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TarvickPaintCounter";
    RegisterClassA(&wc);
    HWND hWnd = CreateWindowA(wc.lpszClassName, "waiting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hWnd, nullptr);
    int nPaints = 0;
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&nPaints));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    nPaints = 0;

    // Something uncovers the window while the program runs.
    // Input is shut out meanwhile, so a click cannot start a second call.
    BOOL bEnabledDuringWait = TRUE;
    std::thread uncover([hWnd, &bEnabledDuringWait] {
        Sleep(300);
        bEnabledDuringWait = IsWindowEnabled(hWnd);
        InvalidateRect(hWnd, nullptr, TRUE);
    });
    const auto tStart = Clock::now();
    void* pStarted = m_utility.Execute(strTool.c_str(), "/wait", "*", nullptr);
    const auto nWaited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tStart).count();
    uncover.join();
    EXPECT_FALSE(bEnabledDuringWait);
    EXPECT_TRUE(IsWindowEnabled(hWnd)) << "enabled again once the program has ended";
    DestroyWindow(hWnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);

    ASSERT_NE(pStarted, nullptr);
    EXPECT_GE(nWaited, 1400);
    const std::vector<CString> lines = Record();
    ASSERT_EQ(lines.size(), 2u) << "the record exists when Execute returns";
    EXPECT_EQ(lines[0], "\"" + strTool + "\" /wait") << "\"*\" is not passed on";
    EXPECT_GT(nPaints, 0) << "painted during the wait";

    // Without "*" Execute returns while the program still sleeps.
    DeleteFileA(m_strRecord.c_str());
    const auto tQuick = Clock::now();
    Started(m_utility.Execute(strTool.c_str(), "/nowait", nullptr));
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tQuick).count(), 1000);
    EXPECT_TRUE(Record().empty());
    EXPECT_EQ(AwaitRecord(2).size(), 2u);
}

TEST_F(ExecuteTest, NothingToStartReturnsNullAtOnce)
{
    const auto tStart = Clock::now();
    EXPECT_EQ(m_utility.Execute(nullptr), nullptr);
    EXPECT_EQ(m_utility.Execute("", nullptr), nullptr);
    EXPECT_EQ(m_utility.Execute("", "*", nullptr), nullptr);
    EXPECT_EQ(m_utility.Execute("\"\"", "*", nullptr), nullptr);
    EXPECT_EQ(m_utility.Execute((m_strDir + "\\no such tool.exe").c_str(), "/x", "*", nullptr), nullptr);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tStart).count(), 5000);
    EXPECT_TRUE(Record().empty());
}

TEST_F(ExecuteTest, EndedProgramLeavesNoHandleOpen)
{
    // An ended process stays reachable by its id while any handle to it is
    // open; Wine lets it go some 500 ms after the last one is closed. (Its
    // GetProcessHandleCount always answers 0.)
    void* pStarted = m_utility.Execute(m_strFake.c_str(), "*", nullptr);
    ASSERT_NE(pStarted, nullptr);
    const auto tEnd = Clock::now() + std::chrono::seconds(5);
    bool bReachable = true;
    while (bReachable && Clock::now() < tEnd) {
        HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, IdOf(pStarted));
        bReachable = hProcess != nullptr;
        if (hProcess) {
            CloseHandle(hProcess);
            Sleep(50);
        }
    }
    EXPECT_FALSE(bReachable);
}

TEST_F(ExecuteTest, CommandLineItemsNameTheExecutablesFolderFromAnyWorkingDirectory)
{
    const CString strProbe = Copy(ExeFolder() + "\\items_probe.exe", "Items Probe.exe");
    struct {
        const char* pszName;
        CString strCommand;
        const char* pszWorkDir;
        CString strTail;
        std::vector<CString> args;
    } cases[] = {
        {"full path with blanks from another folder",
         "\"" + strProbe + "\"  \"two words\" plain \"a\\\"b\" C:\\x\\",
         "C:\\windows",
         "\"two words\" plain \"a\\\"b\" C:\\x\\",
         {"two words", "plain", "a\"b", "C:\\x\\"}},
        {"bare name in its own folder", "\"Items Probe.exe\"", nullptr, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        DeleteFileA(m_strRecord.c_str());
        CString strCommand = c.strCommand;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        // A bare name is searched in our working directory, not the child's.
        char szOwnDir[MAX_PATH];
        GetCurrentDirectoryA(sizeof szOwnDir, szOwnDir);
        SetCurrentDirectoryA(c.pszWorkDir ? c.pszWorkDir : m_strDir.c_str());
        const BOOL bStarted =
            CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        SetCurrentDirectoryA(szOwnDir);
        ASSERT_TRUE(bStarted);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);

        const std::vector<CString> lines = Record();
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(Lower(lines[1]), Lower(strProbe)) << "item 0";
        EXPECT_EQ(lines[2], c.strTail) << "item 1";
        EXPECT_EQ(Lower(lines[3]), Lower(m_strDir)) << "item 2";
        EXPECT_EQ(std::vector<CString>(lines.begin() + 4, lines.end()), c.args) << "items 3 on";
    }
}

}  // namespace
