// Utility::Execute, Launch and Getcommandlineitems under Wine, against a probe
// that records how it was started (ItemsProbe.cpp). The probe sits in a folder
// of its own that only WINEPATH names; copies in folders with blanks or a
// non-ASCII name, and planted copies, are made per test.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "lib/Codepage.h"
#include "lib/FileIO.h"
#include "lib/Utility.h"

namespace {

using Clock = std::chrono::steady_clock;
using Args = std::vector<CString>;

CString ExeFolder()
{
    char szPath[MAX_PATH];
    const DWORD nLen = GetModuleFileNameA(nullptr, szPath, sizeof szPath);
    CString strPath(szPath, nLen);
    return strPath.substr(0, strPath.find_last_of('\\'));
}

CString SystemFolder()
{
    char szPath[MAX_PATH];
    const UINT nLen = GetSystemDirectoryA(szPath, sizeof szPath);
    return CString(szPath, nLen);
}

// The system's own words for an error, as Lasterror must give them.
CString SystemText(DWORD dwError)
{
    char szText[512] = {};
    DWORD nLen = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0, szText,
                                sizeof szText, nullptr);
    while (nLen > 0 && (szText[nLen - 1] == '\r' || szText[nLen - 1] == '\n' || szText[nLen - 1] == ' '))
        --nLen;
    return CString(szText, nLen);
}

CString Lower(CString str)
{
    std::transform(str.begin(), str.end(), str.begin(), [](unsigned char c) { return std::tolower(c); });
    return str;
}

std::wstring Wide(const CString& str)
{
    std::wstring strWide(str.size() + 1, L'\0');
    const int nLen = MultiByteToWideChar(CP_ACP, 0, str.c_str(), -1, &strWide[0], static_cast<int>(strWide.size()));
    strWide.resize(nLen > 0 ? nLen - 1 : 0);
    return strWide;
}

void RemoveTree(const std::wstring& strDir)
{
    WIN32_FIND_DATAW found;
    HANDLE hFind = FindFirstFileW((strDir + L"\\*").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring strName = found.cFileName;
            if (strName == L"." || strName == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(strDir + L"\\" + strName);
            else
                DeleteFileW((strDir + L"\\" + strName).c_str());
        } while (FindNextFileW(hFind, &found));
        FindClose(hFind);
    }
    RemoveDirectoryW(strDir.c_str());
}

DWORD IdOf(void* pStarted)
{
    return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(pStarted));
}

bool Contains(const CString& strList, DWORD nId)
{
    return (" " + strList + " ").find(" " + std::to_string(nId) + " ") != CString::npos;
}

// One start of the probe, as it recorded it.
struct ProbeRun {
    CString strCommand;
    CString strFolder;
    CString strConsole;
    Args args;   // as the C runtime split them
    Args items;  // Getcommandlineitems

    Args ItemArgs() const { return items.size() > 3 ? Args(items.begin() + 3, items.end()) : Args(); }
};

class ExecuteTest : public ::testing::Test {
protected:
    CString m_strDir;  // holds blanks, as many a user's TEMP does
    CString m_strRecord;
    CString m_strProbe;
    CString m_strSystem;
    char m_szOwnFolder[MAX_PATH] = {};
    zobrel::Utility m_utility;
    std::vector<DWORD> m_started;  // processes to end if still running

    void SetUp() override
    {
        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strDir = CString(szTemp) + "tarvick exec " + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                   " " + std::to_string(GetCurrentProcessId());
        RemoveTree(Wide(m_strDir));
        ASSERT_TRUE(CreateDirectoryA(m_strDir.c_str(), nullptr)) << m_strDir;
        m_strRecord = m_strDir + "\\record.txt";
        SetEnvironmentVariableA("TARVICK_RECORD", m_strRecord.c_str());
        SetEnvironmentVariableA("TARVICK_SLEEP_MS", nullptr);
        m_strProbe = ExeFolder() + "\\probebin\\items_probe.exe";
        ASSERT_NE(GetFileAttributesA(m_strProbe.c_str()), INVALID_FILE_ATTRIBUTES) << m_strProbe;
        m_strSystem = SystemFolder();
        GetCurrentDirectoryA(sizeof m_szOwnFolder, m_szOwnFolder);
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
        SetCurrentDirectoryA(m_szOwnFolder);
        RemoveTree(Wide(m_strDir));
    }

    CString Copy(const CString& strFrom, const CString& strTo) const
    {
        EXPECT_TRUE(CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE)) << strTo;
        return strTo;
    }

    CString CopyProbe(const char* pszName) const { return Copy(m_strProbe, m_strDir + "\\" + pszName); }

    CString WriteBatch(const char* pszName, const std::vector<const char*>& lines) const
    {
        const CString strBatch = m_strDir + "\\" + pszName;
        zobrel::FileIO file;
        EXPECT_NE(file.Open(strBatch, "w"), 0);
        for (const char* pszLine : lines)
            file.Putline(pszLine, true);
        EXPECT_NE(file.Close(), 0);
        return strBatch;
    }

    // Every complete run recorded so far.
    std::vector<ProbeRun> Runs() const
    {
        std::ifstream in(m_strRecord, std::ios::binary);
        const CString strAll((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::vector<ProbeRun> runs;
        ProbeRun run;
        for (std::size_t nPos = 0, nEnd; (nEnd = strAll.find("\r\n", nPos)) != CString::npos; nPos = nEnd + 2) {
            const CString strLine = strAll.substr(nPos, nEnd - nPos);
            const std::size_t nBlank = strLine.find(' ');
            const CString strTag = strLine.substr(0, nBlank);
            const CString strValue = nBlank == CString::npos ? CString() : strLine.substr(nBlank + 1);
            if (strTag == "cmd")
                run = ProbeRun{strValue, "", "", {}, {}};
            else if (strTag == "cwd")
                run.strFolder = strValue;
            else if (strTag == "console")
                run.strConsole = strValue;
            else if (strTag == "arg")
                run.args.push_back(strValue);
            else if (strTag == "item")
                run.items.push_back(strValue);
            else if (strTag == "end")
                runs.push_back(run);
        }
        return runs;
    }

    // A started program writes its record when it gets round to it.
    std::vector<ProbeRun> AwaitRuns(std::size_t nRuns) const
    {
        const auto tEnd = Clock::now() + std::chrono::seconds(20);
        std::vector<ProbeRun> runs = Runs();
        while (runs.size() < nRuns && Clock::now() < tEnd) {
            Sleep(50);
            runs = Runs();
        }
        return runs;
    }

    void* Started(void* pStarted)
    {
        if (pStarted)
            m_started.push_back(IdOf(pStarted));
        return pStarted;
    }

    // Execute with up to three strings, then "*" when bWait.
    void* ExecuteWith(const CString& strFile, const Args& args, bool bWait)
    {
        const char* psz[4] = {nullptr, nullptr, nullptr, nullptr};
        std::size_t n = 0;
        for (const CString& strArg : args)
            psz[n++] = strArg.c_str();
        if (bWait)
            psz[n++] = "*";
        EXPECT_LE(n, 4u);
        return Started(m_utility.Execute(strFile.c_str(), psz[0], psz[1], psz[2], psz[3], nullptr));
    }

    void ExpectSystemFolder(const ProbeRun& run) const
    {
        EXPECT_EQ(Lower(run.strFolder), Lower(m_strSystem)) << "the started program's current folder";
    }
};

TEST_F(ExecuteTest, EachStringIsOneArgumentQuotedOnlyWhenItNeedsIt)
{
    const CString strProbe = CopyProbe("Items Probe.exe");
    const struct {
        const char* pszName;
        Args args;
        const char* pszTail;  // behind the quoted program
    } cases[] = {
        {"settings path",
         {"C:\\Program Files\\Tarvick\\data\\Tarvick\\Tarvick.ini"},
         " \"C:\\Program Files\\Tarvick\\data\\Tarvick\\Tarvick.ini\""},
        {"a text with blanks stays one argument", {"/scan C: /full"}, " \"/scan C: /full\""},
        {"plain path", {"C:\\Tools\\a.ini"}, " C:\\Tools\\a.ini"},
        {"folder with a trailing backslash", {"C:\\My Tools\\"}, " \"C:\\My Tools\\\\\""},
        {"quotes and backslashes", {"say \"hi\"", "a\\\"b"}, " \"say \\\"hi\\\"\" \"a\\\\\\\"b\""},
        {"empty string and tab", {"", "tab\there", "-b"}, " \"\" \"tab\there\" -b"},
        {"no arguments", {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        DeleteFileA(m_strRecord.c_str());
        ASSERT_NE(ExecuteWith(strProbe, c.args, true), nullptr) << m_utility.Lasterror();
        EXPECT_EQ(m_utility.Lasterror(), "");
        const std::vector<ProbeRun> runs = Runs();
        ASSERT_EQ(runs.size(), 1u) << "complete once Execute returned";
        EXPECT_EQ(runs[0].strCommand, "\"" + strProbe + "\"" + c.pszTail);
        EXPECT_EQ(runs[0].args, c.args) << "as the C runtime splits them";
        EXPECT_EQ(runs[0].ItemArgs(), c.args) << "as Getcommandlineitems splits them";
        ExpectSystemFolder(runs[0]);
    }
}

TEST_F(ExecuteTest, LaunchPassesTheArgumentTextExactlyAsWritten)
{
    const CString strBlankProbe = CopyProbe("Items Probe.exe");
    const struct {
        const char* pszName;
        CString strProgram;
        const char* pszText;
        CString strCommand;
        Args args;
    } cases[] = {
        {"log path and switch",
         m_strProbe,
         "C:\\logs\\diag.log /quick",
         m_strProbe + " C:\\logs\\diag.log /quick",
         {"C:\\logs\\diag.log", "/quick"}},
        {"star is only text", m_strProbe, "*", m_strProbe + " *", {"*"}},
        {"quotes as written", m_strProbe, "\"a b\" c\\", m_strProbe + " \"a b\" c\\", {"a b", "c\\"}},
        {"no text", m_strProbe, "", m_strProbe, {}},
        {"program with blanks", strBlankProbe, "/x C:\\y", "\"" + strBlankProbe + "\" /x C:\\y", {"/x", "C:\\y"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        DeleteFileA(m_strRecord.c_str());
        ASSERT_NE(Started(m_utility.Launch(c.strProgram, c.pszText, true)), nullptr) << m_utility.Lasterror();
        EXPECT_EQ(m_utility.Lasterror(), "");
        const std::vector<ProbeRun> runs = Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].strCommand, c.strCommand);
        EXPECT_EQ(runs[0].args, c.args);
        ExpectSystemFolder(runs[0]);
    }
}

TEST_F(ExecuteTest, ProgramsInFoldersWithBlanksOrANonAsciiNameStart)
{
    const CString strBlank = CopyProbe("Disk Tool.exe");
    ASSERT_NE(ExecuteWith("\"" + strBlank + "\"", {"/x"}, true), nullptr) << m_utility.Lasterror();

    CString strName;
    if (!zobrel::Utf8toansi("Pr\xC3\xBC"
                            "fung",
                            strName))
        GTEST_SKIP() << "\"\xC3\xBC\" has no form in ANSI code page " << GetACP();
    const CString strFolder = m_strDir + "\\" + strName;
    ASSERT_TRUE(CreateDirectoryA(strFolder.c_str(), nullptr));
    ASSERT_NE(GetFileAttributesW((Wide(m_strDir) + L"\\Pr\u00FCfung").c_str()), INVALID_FILE_ATTRIBUTES)
        << "the ANSI name stands for the same folder";
    const CString strTool = Copy(m_strProbe, strFolder + "\\diag.exe");
    ASSERT_NE(ExecuteWith(strTool, {}, true), nullptr) << m_utility.Lasterror();
    ASSERT_NE(Started(m_utility.Launch(strTool, "/quick", true)), nullptr) << m_utility.Lasterror();

    const std::vector<ProbeRun> runs = Runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(Lower(runs[0].items.at(0)), Lower(strBlank));
    EXPECT_EQ(runs[0].args, Args{"/x"});
    EXPECT_EQ(Lower(runs[1].items.at(0)), Lower(strTool));
    EXPECT_EQ(runs[2].strCommand, "\"" + strTool + "\" /quick");
}

TEST_F(ExecuteTest, AFailedStartReturnsNullWithTheSystemsReason)
{
    const CString strBatch = WriteBatch("run.bat", {"items_probe.exe %*"});
    const CString strNotFound = SystemText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(strNotFound.empty());
    const auto tStart = Clock::now();

    EXPECT_EQ(ExecuteWith(m_strDir + "\\no such tool.exe", {"/x"}, true), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), strNotFound) << "missing program";
    EXPECT_EQ(Started(m_utility.Launch(m_strDir + "\\no such tool.exe", "/x", true)), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), strNotFound) << "missing program, Launch";
    EXPECT_EQ(ExecuteWith("no-such-tool-of-tarvick", {}, true), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), strNotFound) << "bare name found nowhere";

    EXPECT_EQ(ExecuteWith(m_strDir + "\\no such folder\\tool.exe", {}, true), nullptr);
    const CString strMissingFolder = m_utility.Lasterror();
    EXPECT_TRUE(strMissingFolder == strNotFound || strMissingFolder == SystemText(ERROR_PATH_NOT_FOUND))
        << strMissingFolder;
    EXPECT_EQ(ExecuteWith(m_strDir, {}, true), nullptr);
    EXPECT_FALSE(m_utility.Lasterror().empty()) << "a folder";
    EXPECT_EQ(m_utility.Lasterror().find_first_of("\r\n"), CString::npos) << m_utility.Lasterror();

    // No quoting gets these past the interpreter unchanged.
    for (const char* pszArg : {"100%", "say \"hi\""}) {
        EXPECT_EQ(ExecuteWith(strBatch, {pszArg}, false), nullptr) << pszArg;
        EXPECT_EQ(m_utility.Lasterror(), SystemText(ERROR_INVALID_PARAMETER)) << pszArg;
    }

    EXPECT_EQ(m_utility.Execute(nullptr), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), "No program is named.");
    EXPECT_EQ(ExecuteWith("", {}, true), nullptr);
    EXPECT_EQ(ExecuteWith("\"\"", {}, true), nullptr);
    EXPECT_EQ(Started(m_utility.Launch("", "/x", true)), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), "No program is named.");
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tStart).count(), 5000);

    ASSERT_NE(ExecuteWith(m_strProbe, {}, true), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), "") << "after a start that worked";
    EXPECT_EQ(Runs().size(), 1u) << "only the last start ran";
}

TEST_F(ExecuteTest, BareNameIsLookedForInTheSystemFoldersAndPathOnly)
{
    // Planted where CreateProcess itself would look first: our current folder.
    CopyProbe("items_probe.exe");
    CopyProbe("planted.exe");
    ASSERT_TRUE(SetCurrentDirectoryA(m_strDir.c_str()));

    for (const char* pszName : {"items_probe.exe", "ITEMS_PROBE", "\"items_probe\""}) {
        SCOPED_TRACE(pszName);
        DeleteFileA(m_strRecord.c_str());
        ASSERT_NE(Started(m_utility.Launch(pszName, "x", true)), nullptr) << m_utility.Lasterror();
        const std::vector<ProbeRun> runs = Runs();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(Lower(runs[0].items.at(0)), Lower(m_strProbe)) << "found along PATH";
        EXPECT_EQ(Lower(runs[0].strCommand), Lower(m_strProbe) + " x") << "started by the path it was found at";
        ExpectSystemFolder(runs[0]);
    }
    EXPECT_EQ(ExecuteWith("planted.exe", {}, true), nullptr);
    EXPECT_EQ(m_utility.Lasterror(), SystemText(ERROR_FILE_NOT_FOUND));
}

TEST_F(ExecuteTest, BatchFileRunsUnderTheSystemsInterpreterWhateverComSpecSays)
{
    // A fake console in ComSpec, and a planted probe both in the batch's
    // folder and in our current folder: none of them may run.
    const CString strFakeConsole = CopyProbe("fake console.exe");
    CopyProbe("items_probe.exe");
    char szComSpec[MAX_PATH] = {};
    GetEnvironmentVariableA("ComSpec", szComSpec, sizeof szComSpec);
    SetEnvironmentVariableA("ComSpec", strFakeConsole.c_str());
    SetCurrentDirectoryA(m_strDir.c_str());
    struct CRestore {
        const char* m_psz;
        ~CRestore() { SetEnvironmentVariableA("ComSpec", *m_psz ? m_psz : nullptr); }
    } restore{szComSpec};

    const struct {
        const char* pszName;
        std::vector<const char*> lines;
        Args args;
        Args probeArgs;
        bool bStaysOpen;
    } cases[] = {
        {"sfc.bat", {"items_probe.exe C: /F /R", "pause"}, {}, {"C:", "/F", "/R"}, true},
        // Quoted for the interpreter, "&" runs nothing and "," splits nothing.
        {"Repair.CMD",
         {"items_probe.exe %*", "rem done"},
         {"C:\\R&D\\a b.ini", "x,y", "R&D"},
         {"C:\\R&D\\a b.ini", "x,y", "R&D"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        DeleteFileA(m_strRecord.c_str());
        const CString strBatch = WriteBatch(c.pszName, c.lines);
        void* pStarted = ExecuteWith(strBatch, c.args, false);
        ASSERT_NE(pStarted, nullptr) << m_utility.Lasterror();
        const std::vector<ProbeRun> runs = AwaitRuns(1);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(Lower(runs[0].items.at(0)), Lower(m_strProbe)) << "the probe along PATH, not a planted one";
        EXPECT_EQ(runs[0].args, c.probeArgs);
        ExpectSystemFolder(runs[0]);
        // The tool shares its console with the interpreter, not with us.
        EXPECT_TRUE(Contains(runs[0].strConsole, IdOf(pStarted))) << runs[0].strConsole;
        EXPECT_FALSE(Contains(runs[0].strConsole, GetCurrentProcessId())) << runs[0].strConsole;

        HANDLE hInterpreter = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, IdOf(pStarted));
        ASSERT_NE(hInterpreter, nullptr);
        if (c.bStaysOpen) {
            char szImage[MAX_PATH] = {};
            DWORD nImage = sizeof szImage;
            ASSERT_TRUE(QueryFullProcessImageNameA(hInterpreter, 0, szImage, &nImage));
            EXPECT_EQ(Lower(szImage), Lower(m_strSystem + "\\cmd.exe"));
        }
        const DWORD nWait = WaitForSingleObject(hInterpreter, c.bStaysOpen ? 500 : 10000);
        CloseHandle(hInterpreter);
        EXPECT_EQ(nWait, c.bStaysOpen ? static_cast<DWORD>(WAIT_TIMEOUT) : WAIT_OBJECT_0)
            << (c.bStaysOpen ? "the console waits at pause" : "the console ends with the script");
    }
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
    const CString strTool = CopyProbe("Slow Tool.exe");
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
    void* pStarted = ExecuteWith(strTool, {"/wait"}, true);
    const auto nWaited = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tStart).count();
    uncover.join();
    EXPECT_FALSE(bEnabledDuringWait);
    EXPECT_TRUE(IsWindowEnabled(hWnd)) << "enabled again once the program has ended";
    DestroyWindow(hWnd);
    UnregisterClassA(wc.lpszClassName, wc.hInstance);

    ASSERT_NE(pStarted, nullptr);
    EXPECT_GE(nWaited, 1400);
    std::vector<ProbeRun> runs = Runs();
    ASSERT_EQ(runs.size(), 1u) << "the record exists when Execute returns";
    EXPECT_EQ(runs[0].args, Args{"/wait"}) << "\"*\" is not passed on";
    EXPECT_GT(nPaints, 0) << "painted during the wait";

    // Without "*" Execute returns while the program still sleeps, and so does
    // Launch, to which "*" is only text.
    DeleteFileA(m_strRecord.c_str());
    const auto tQuick = Clock::now();
    ASSERT_NE(ExecuteWith(strTool, {"/nowait"}, false), nullptr);
    ASSERT_NE(Started(m_utility.Launch(strTool, "*", false)), nullptr);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - tQuick).count(), 1000);
    EXPECT_TRUE(Runs().empty());
    runs = AwaitRuns(2);
    ASSERT_EQ(runs.size(), 2u);
    std::sort(runs.begin(), runs.end(), [](const ProbeRun& a, const ProbeRun& b) { return a.args < b.args; });
    EXPECT_EQ(runs[0].args, Args{"*"});
    EXPECT_EQ(runs[1].args, Args{"/nowait"});
}

TEST_F(ExecuteTest, EndedProgramLeavesNoHandleOpen)
{
    // An ended process stays reachable by its id while any handle to it is
    // open; Wine lets it go some 500 ms after the last one is closed. (Its
    // GetProcessHandleCount always answers 0.)
    void* pStarted = ExecuteWith(m_strProbe, {}, true);
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
    const CString strProbe = CopyProbe("Items Probe.exe");
    struct {
        const char* pszName;
        CString strCommand;
        const char* pszWorkDir;
        CString strTail;
        Args args;
    } cases[] = {
        {"full path with blanks from another folder",
         "\"" + strProbe + "\"  \"two words\" plain \"a\\\"b\" C:\\x\\ \"C:\\y z\\\\\" \"\" end",
         "C:\\windows",
         "\"two words\" plain \"a\\\"b\" C:\\x\\ \"C:\\y z\\\\\" \"\" end",
         {"two words", "plain", "a\"b", "C:\\x\\", "C:\\y z\\", "", "end"}},
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
        SetCurrentDirectoryA(c.pszWorkDir ? c.pszWorkDir : m_strDir.c_str());
        const BOOL bStarted =
            CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
        SetCurrentDirectoryA(m_szOwnFolder);
        ASSERT_TRUE(bStarted);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);

        const std::vector<ProbeRun> runs = Runs();
        ASSERT_EQ(runs.size(), 1u);
        ASSERT_GE(runs[0].items.size(), 3u);
        EXPECT_EQ(Lower(runs[0].items[0]), Lower(strProbe)) << "item 0";
        EXPECT_EQ(runs[0].items[1], c.strTail) << "item 1";
        EXPECT_EQ(Lower(runs[0].items[2]), Lower(m_strDir)) << "item 2";
        EXPECT_EQ(runs[0].ItemArgs(), c.args) << "items 3 on";
        EXPECT_EQ(runs[0].args, c.args) << "the C runtime agrees";
    }
}

}  // namespace
