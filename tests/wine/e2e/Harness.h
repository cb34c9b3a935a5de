#pragma once
// The harness of the end-to-end tests: the real Tarvick.exe under Wine in a
// folder of its own, driven with real pointer and key input (Input.h), read
// back through window messages, process lists and screen pixels, with
// recording fakes standing in for CHKDSK, DISM, SFC, the editor and the
// external tool.
//
// TARVICK_EXE and TARVICK_FAKE_TOOL name the program and the recording fake,
// as Unix paths (reached through Wine's Z: drive) or Windows paths.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "Input.h"
#include "Processes.h"
#include "ScreenCapture.h"
#include "model/UiConstants.h"

namespace e2e {

using guitest::ChildrenOf;
using guitest::Descendants;
using guitest::EndProcesses;
using guitest::ImagePath;
using guitest::LeftClick;
using guitest::MouseButton;
using guitest::MovePointer;
using guitest::PressKey;
using guitest::ProcessList;
using guitest::TypeText;
using guitest::WaitUntil;

constexpr int OPTION_ROWS = 15;
constexpr int TOOL_CHKDSK = 0;
constexpr int TOOL_DISM = 1;
constexpr int TOOL_SFC = 2;
constexpr int TOOL_EXTERNAL = 3;
constexpr int ROW_FIX = 0;
constexpr int ROW_DISMOUNT = 1;
constexpr int ROW_REPLACE = 2;
constexpr int ROW_SCANNOW = 7;
constexpr int ROW_HELP = 8;
constexpr int ROW_CHECKHEALTH = 12;
constexpr int ROW_SCANHEALTH = 13;
constexpr int ROW_RESTOREHEALTH = 14;

// The folder where each process of the recording fake leaves a record of its
// own start (FakeTool.cpp).
constexpr char RECORD_VARIABLE[] = "TARVICK_RECORD";

// Leave notices are polled by Wine once per hover period (400 ms).
constexpr DWORD HOVER_MS = 1500;
constexpr DWORD START_MS = 20000;
constexpr DWORD RUN_MS = 10000;

inline const char NO_ANSWER[] = "<no answer>";

inline std::string WindowsPath(std::string strPath)
{
    if (!strPath.empty() && strPath[0] == '/')
        strPath = "Z:" + strPath;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

inline std::string FromEnvironment(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? WindowsPath(pszValue) : std::string();
}

inline bool SameNoCase(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

inline std::string BaseName(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// The system folder, "" when it cannot be read.
inline std::string SystemFolder()
{
    char szPath[MAX_PATH] = {};
    const UINT nLen = GetSystemDirectoryA(szPath, sizeof szPath);
    return nLen > 0 && nLen < sizeof szPath ? std::string(szPath, nLen) : std::string();
}

// ---- Files -----------------------------------------------------------------

inline bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline bool ReadBytes(const std::string& strPath, std::string& strOut)
{
    strOut.clear();
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD nRead = 0;
    bool bOk = true;
    while ((bOk = ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr) != FALSE) && nRead > 0)
        strOut.append(buffer, nRead);
    CloseHandle(hFile);
    return bOk;
}

inline std::string Contents(const std::string& strPath)
{
    std::string strData;
    return ReadBytes(strPath, strData) ? strData : std::string("<unreadable>");
}

inline bool WriteBytes(const std::string& strPath, const std::string& strData)
{
    HANDLE hFile =
        CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD nWritten = 0;
    const bool bOk = WriteFile(hFile, strData.data(), static_cast<DWORD>(strData.size()), &nWritten, nullptr) &&
                     nWritten == strData.size();
    return CloseHandle(hFile) && bOk;
}

inline void MakeFolders(const std::string& strPath)
{
    for (std::size_t i = 3; i <= strPath.size(); ++i) {
        if (i == strPath.size() || strPath[i] == '\\')
            CreateDirectoryA(strPath.substr(0, i).c_str(), nullptr);
    }
}

inline void RemoveTree(const std::string& strPath)
{
    const DWORD dwAttributes = GetFileAttributesA(strPath.c_str());
    if (dwAttributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(dwAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(strPath.c_str());
        return;
    }
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((strPath + "\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(fd.cFileName, ".") != 0 && std::strcmp(fd.cFileName, "..") != 0)
                RemoveTree(strPath + "\\" + fd.cFileName);
        } while (FindNextFileA(hFind, &fd));
        FindClose(hFind);
    }
    RemoveDirectoryA(strPath.c_str());
}

inline std::vector<std::string> Lines(const std::string& strData)
{
    std::vector<std::string> lines;
    std::size_t nStart = 0;
    while (nStart < strData.size()) {
        std::size_t nEnd = strData.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strData.size();
        std::string strLine = strData.substr(nStart, nEnd - nStart);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        lines.push_back(strLine);
        nStart = nEnd + 1;
    }
    return lines;
}

// One recorded start: the program as named on its command line, the rest,
// the executable that ran, its current folder and the processes that shared
// its console.
struct Call {
    DWORD dwProcess = 0;
    std::string strProgram;
    std::string strArgs;
    std::string strImage;
    std::string strFolder;
    std::vector<DWORD> console;
};

inline void SplitCall(const std::string& strLine, Call& call)
{
    std::size_t i = 0;
    if (!strLine.empty() && strLine[0] == '"') {
        const std::size_t nQuote = strLine.find('"', 1);
        call.strProgram = strLine.substr(1, nQuote == std::string::npos ? std::string::npos : nQuote - 1);
        i = nQuote == std::string::npos ? strLine.size() : nQuote + 1;
    } else {
        i = std::min(strLine.find(' '), strLine.size());
        call.strProgram = strLine.substr(0, i);
    }
    // One blank separates the program from its arguments; any more are theirs.
    if (i < strLine.size() && strLine[i] == ' ')
        ++i;
    call.strArgs = strLine.substr(i);
}

// One process's record: "key value" lines.
inline Call ParseRecord(const std::string& strData)
{
    Call call;
    for (const std::string& strLine : Lines(strData)) {
        const std::size_t nBlank = std::min(strLine.find(' '), strLine.size());
        const std::string strKey = strLine.substr(0, nBlank);
        const std::string strValue = strLine.substr(std::min(nBlank + 1, strLine.size()));
        if (strKey == "process") {
            call.dwProcess = static_cast<DWORD>(std::strtoul(strValue.c_str(), nullptr, 10));
        } else if (strKey == "command") {
            SplitCall(strValue, call);
        } else if (strKey == "image") {
            call.strImage = strValue;
        } else if (strKey == "folder") {
            call.strFolder = strValue;
        } else if (strKey == "console") {
            for (const char* p = strValue.c_str(); *p;) {
                char* pEnd = nullptr;
                const unsigned long nId = std::strtoul(p, &pEnd, 10);
                if (pEnd == p)
                    break;
                call.console.push_back(static_cast<DWORD>(nId));
                p = pEnd;
            }
        }
    }
    return call;
}

// The records in a folder, in the order their processes started: their
// names begin with the start time.
inline std::vector<Call> ReadRecords(const std::string& strFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*.rec").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do
            names.push_back(fd.cFileName);
        while (FindNextFileA(hFind, &fd));
        FindClose(hFind);
    }
    std::sort(names.begin(), names.end());
    std::vector<Call> calls;
    for (const std::string& strName : names) {
        std::string strData;
        if (ReadBytes(strFolder + "\\" + strName, strData))
            calls.push_back(ParseRecord(strData));
    }
    return calls;
}

// Copies a file unless the same bytes are there already: a copy in use (a
// program running from it) cannot be written over.
inline bool InstallCopy(const std::string& strFrom, const std::string& strTo)
{
    std::string strWanted, strThere;
    if (ReadBytes(strFrom, strWanted) && ReadBytes(strTo, strThere) && strWanted == strThere)
        return true;
    return CopyFileA(strFrom.c_str(), strTo.c_str(), FALSE) != FALSE;
}

inline std::string Unquoted(const std::string& str)
{
    return str.size() >= 2 && str.front() == '"' && str.back() == '"' ? str.substr(1, str.size() - 2) : str;
}

inline bool Near(COLORREF crPixel, COLORREF cr)
{
    // Antialiased glyph edges differ, glyph cores do not.
    return std::abs(GetRValue(crPixel) - GetRValue(cr)) <= 40 && std::abs(GetGValue(crPixel) - GetGValue(cr)) <= 40 &&
           std::abs(GetBValue(crPixel) - GetBValue(cr)) <= 40;
}

// Pixels of that colour on screen within rc.
inline int CountColour(const RECT& rc, COLORREF cr)
{
    const CScreenCapture capture(rc);
    return static_cast<int>(
        std::count_if(capture.Pixels().begin(), capture.Pixels().end(), [cr](COLORREF px) { return Near(px, cr); }));
}

// Whether the pointer rests where fnThere finds it. Under Xvfb, Wine may for
// a few milliseconds report a place the pointer had before (a late move of
// its own from an X crossing event) and puts it right with the next event:
// a place counts once it is read there twice, 100 ms apart.
template <class There>
bool PointerRests(There fnThere)
{
    return WaitUntil(
        [&] {
            if (!fnThere())
                return false;
            Sleep(100);
            return fnThere();
        },
        2000);
}

// What lies under the pointer, for failure messages: a window that covers a
// control swallows the click meant for it.
inline std::string UnderPointer()
{
    POINT pt = {};
    GetCursorPos(&pt);
    HWND hWnd = WindowFromPoint(pt);
    char szClass[64] = {};
    char szTitle[64] = {};
    GetClassNameA(hWnd, szClass, sizeof szClass);
    GetWindowTextA(GetAncestor(hWnd, GA_ROOT), szTitle, sizeof szTitle);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    std::string strExe = "?";
    for (const PROCESSENTRY32& pe : ProcessList()) {
        if (pe.th32ProcessID == dwProcess)
            strExe = pe.szExeFile;
    }
    // A click is lost to a window that holds the capture or was not active.
    GUITHREADINFO gti = {};
    gti.cbSize = sizeof gti;
    GetGUIThreadInfo(GetWindowThreadProcessId(hWnd, nullptr), &gti);
    DWORD_PTR nState = 0;
    SendMessageTimeoutA(hWnd, BM_GETSTATE, 0, 0, SMTO_ABORTIFHUNG, 1000, &nState);
    char szForeground[64] = {};
    GetWindowTextA(GetForegroundWindow(), szForeground, sizeof szForeground);
    char sz[512];
    std::snprintf(sz, sizeof sz,
                  " (under the pointer at %ld,%ld: %s control %d of \"%s\", %s; its thread: active %s, focus %d, "
                  "capture %d, flags %#lx; button state %#lx; foreground \"%s\")",
                  pt.x, pt.y, szClass, GetDlgCtrlID(hWnd), szTitle, strExe.c_str(),
                  gti.hwndActive == GetAncestor(hWnd, GA_ROOT) ? "yes" : "no",
                  gti.hwndFocus ? GetDlgCtrlID(gti.hwndFocus) : 0, gti.hwndCapture ? GetDlgCtrlID(gti.hwndCapture) : 0,
                  gti.flags, static_cast<unsigned long>(nState), szForeground);
    return sz;
}

// The text on a process's console, for failure messages: a tool that did
// not start leaves the interpreter's complaint there. This process gives up
// its own console for it (its output goes to pipes).
inline std::string ConsoleText(DWORD dwProcess)
{
    FreeConsole();
    if (!AttachConsole(dwProcess))
        return "<no console: error " + std::to_string(GetLastError()) + ">";
    std::string strText;
    HANDLE hOut = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    CONSOLE_SCREEN_BUFFER_INFO info = {};
    if (hOut != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(hOut, &info)) {
        for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
            std::string strLine(static_cast<std::size_t>(info.dwSize.X), ' ');
            DWORD nRead = 0;
            ReadConsoleOutputCharacterA(hOut, &strLine[0], info.dwSize.X, COORD{0, y}, &nRead);
            strLine.resize(nRead);
            strLine.erase(strLine.find_last_not_of(' ') + 1);
            if (!strLine.empty())
                strText += "\n    | " + strLine;
        }
    }
    if (hOut != INVALID_HANDLE_VALUE)
        CloseHandle(hOut);
    FreeConsole();
    return strText;
}

// ---- The program under test ----------------------------------------------------

struct DialogSearch {
    DWORD dwProcess;
    HWND hFound;
};

inline BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
{
    DialogSearch& search = *reinterpret_cast<DialogSearch*>(lParam);
    DWORD dwProcess = 0;
    GetWindowThreadProcessId(hWnd, &dwProcess);
    char szTitle[32] = {};
    if (dwProcess == search.dwProcess && IsWindowVisible(hWnd) && GetWindowTextA(hWnd, szTitle, sizeof szTitle) &&
        std::strcmp(szTitle, "Tarvick") == 0) {
        search.hFound = hWnd;
        return FALSE;
    }
    return TRUE;
}

// One installed copy of the program in a folder of its own, with its settings,
// its TEMP folder and the fakes it may start, all under one test folder.
class CTarvick {
public:
    explicit CTarvick(const std::string& strFolderName = "Tarvick prog")
    {
        const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string strTest = std::string(pInfo->test_suite_name()) + "." + pInfo->name();
        std::replace(strTest.begin(), strTest.end(), '/', '_');
        char szTemp[MAX_PATH];
        GetTempPathA(sizeof szTemp, szTemp);
        m_strRoot = std::string(szTemp) + "tarvick e2e\\" + strTest;
        RemoveTree(m_strRoot);
        m_strProg = m_strRoot + "\\" + strFolderName;
        m_strExe = m_strProg + "\\Tarvick.exe";
        m_strData = m_strProg + "\\data\\Tarvick";
        m_strIni = m_strData + "\\Tarvick.ini";
        m_strPos = m_strData + "\\Tarvick.pos";
        m_strTemp = m_strRoot + "\\temp";
        m_strFakes = m_strRoot + "\\fake tools";
        m_strRecords = m_strRoot + "\\records";
        m_strBatch = m_strTemp + "\\sfc.bat";
        m_strTempValue = m_strTemp;
        MakeFolders(m_strData);
        MakeFolders(m_strTemp);
        MakeFolders(m_strFakes);
        MakeFolders(m_strRecords);

        const std::string strExe = FromEnvironment("TARVICK_EXE");
        const std::string strFake = FromEnvironment("TARVICK_FAKE_TOOL");
        m_bInstalled = CopyFileA(strExe.c_str(), m_strExe.c_str(), FALSE) != FALSE;
        for (const char* pszName : {"CHKDSK.EXE", "DISM.EXE", "SFC.EXE", "FakeEditor.exe", "FakeDiag.exe"})
            m_bInstalled = CopyFileA(strFake.c_str(), (m_strFakes + "\\" + pszName).c_str(), FALSE) && m_bInstalled;
        // A console started in the system folder finds the tools there before
        // any on PATH, so the fakes stand there too, over Wine's dism.exe stub
        // (tests/wine/wine.env has Wine run the file there, not its own).
        const std::string strSystem = SystemFolder();
        m_bInstalled = !strSystem.empty() && m_bInstalled;
        for (const char* pszName : {"CHKDSK.EXE", "DISM.EXE", "SFC.EXE"})
            m_bInstalled = InstallCopy(strFake, strSystem + "\\" + pszName) && m_bInstalled;
        // The editor takes a moment, then rewrites key 3 before it ends, as
        // a user saving a change would.
        const std::string strEditor =
            "@set TARVICK_SLEEP_MS=300\r\n@\"" + m_strFakes + "\\FakeEditor.exe\" %*\r\n@echo 3 /after-edit>>%1\r\n";
        m_bInstalled = WriteBytes(m_strFakes + "\\editor.bat", strEditor) && m_bInstalled;
        m_bInstalled = WriteBytes(m_strIni, DefaultSettings()) && m_bInstalled;
    }

    ~CTarvick()
    {
        if (m_pi.hProcess) {
            if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
                EndProcesses(Descendants(m_pi.dwProcessId));
                TerminateProcess(m_pi.hProcess, 1);
                WaitForSingleObject(m_pi.hProcess, 5000);
            }
            EndProcesses(Descendants(m_pi.dwProcessId));
        }
        Release();
        Unlock();
        if (m_bRemoveBatch)
            DeleteFileA(m_strBatch.c_str());
        if (!::testing::Test::HasFailure())
            RemoveTree(m_strRoot);
    }

    CTarvick(const CTarvick&) = delete;
    CTarvick& operator=(const CTarvick&) = delete;

    std::string DefaultSettings() const
    {
        return "# Tarvick test settings\r\n1 " + m_strFakes + "\\editor.bat\r\n2 " + m_strFakes +
               "\\FakeDiag.exe\r\n3 /scan C: /full\r\n";
    }

    // Starts the program and waits until it takes input: it has reached its
    // message loop, its window shows, and it has put the pointer on "Exit",
    // which its start-up timer does once the window is painted.
    ::testing::AssertionResult Start()
    {
        if (!m_bInstalled)
            return ::testing::AssertionFailure() << "could not install into " << m_strProg;
        Release();
        // The pointer rests where no window of the program appears: a move
        // onto "Exit" can only be the program's.
        const POINT ptRest = {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
        if (!MovePointer(ptRest))
            return ::testing::AssertionFailure() << "the pointer did not go to the screen's corner";
        std::string strEnvironment = Environment();
        std::string strCommand = "\"" + m_strExe + "\"";
        // The program and all it starts write nowhere: under Wine a process
        // passes its output on to every process it starts, and one left
        // holding the test's output open would keep the test from ending.
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        HANDLE hNul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                                  OPEN_EXISTING, 0, nullptr);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (hNul != INVALID_HANDLE_VALUE) {
            si.dwFlags = STARTF_USESTDHANDLES;
            si.hStdInput = si.hStdOutput = si.hStdError = hNul;
        }
        // Wine now and then refuses a start with an internal error before any
        // code of the program runs (its loader did not come up): only that
        // start is made again.
        BOOL bStarted = FALSE;
        DWORD dwError = ERROR_SUCCESS;
        for (int nTry = 0; nTry < 3 && !bStarted; ++nTry) {
            if (nTry > 0)
                std::printf("CreateProcess: Wine's internal error, starting again\n");
            bStarted = CreateProcessA(m_strExe.c_str(), &strCommand[0], nullptr, nullptr, hNul != INVALID_HANDLE_VALUE,
                                      0, &strEnvironment[0], m_strRoot.c_str(), &si, &m_pi);
            dwError = bStarted ? ERROR_SUCCESS : GetLastError();
            if (dwError != ERROR_INTERNAL_ERROR)
                break;
        }
        if (hNul != INVALID_HANDLE_VALUE)
            CloseHandle(hNul);
        if (!bStarted)
            return ::testing::AssertionFailure() << "CreateProcess failed: " << dwError;

        // Before its message loop first waits for input, the program moves
        // the pointer only for a restored placement that resizes its still
        // hidden window; the start-up timer runs from the loop. Such an early
        // move is undone so that the start-up one shows. The pointer is read
        // before the program's state: a move seen then came before the loop.
        const bool bIdle = WaitUntil(
            [&] {
                POINT pt = {};
                const bool bMoved = GetCursorPos(&pt) && (pt.x != ptRest.x || pt.y != ptRest.y);
                if (Ended() || WaitForInputIdle(m_pi.hProcess, 0) == 0)
                    return true;
                if (bMoved)
                    MovePointer(ptRest);
                return false;
            },
            START_MS);
        if (Ended())
            return ::testing::AssertionFailure() << "the program ended at start";
        if (!bIdle)
            return ::testing::AssertionFailure() << "the program never waited for input";
        if (!WaitUntil([&] { return (m_hWnd = Dialog()) != nullptr || Ended(); }, START_MS) || !m_hWnd)
            return ::testing::AssertionFailure() << "no visible Tarvick window" << (Ended() ? " (it ended)" : "");
        if (!WaitUntil([&] { return PointerOn(IDC_EXIT) || Ended(); }, START_MS) || Ended())
            return ::testing::AssertionFailure() << "the pointer was never put on Exit" << UnderPointer();
        return ::testing::AssertionSuccess();
    }

    HWND Dialog() const
    {
        DialogSearch search = {m_pi.dwProcessId, nullptr};
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        return search.hFound;
    }

    HWND Item(int nId) const { return GetDlgItem(m_hWnd, nId); }

    // WM_GETTEXT crosses the process boundary; a hung program does not answer.
    std::string Text(int nId) const
    {
        char szText[4096] = {};
        DWORD_PTR nResult = 0;
        if (!SendMessageTimeoutA(Item(nId), WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText),
                                 SMTO_ABORTIFHUNG, 3000, &nResult))
            return NO_ANSWER;
        return std::string(szText, nResult);
    }

    bool Visible(int nId) const { return IsWindowVisible(Item(nId)) != FALSE; }

    int Checked(int nId) const
    {
        DWORD_PTR nResult = 0;
        if (!SendMessageTimeoutA(Item(nId), BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 3000, &nResult))
            return -1;
        return static_cast<int>(nResult);
    }

    RECT ScreenRect(int nId) const
    {
        RECT rc = {};
        GetWindowRect(Item(nId), &rc);
        return rc;
    }

    bool PointerOn(int nId) const
    {
        POINT pt;
        const RECT rc = ScreenRect(nId);
        return GetCursorPos(&pt) && PtInRect(&rc, pt);
    }

    bool PointerRestsOn(int nId) const
    {
        return PointerRests([&] { return PointerOn(nId); });
    }

    POINT Middle(int nId) const
    {
        const RECT rc = ScreenRect(nId);
        return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }

    void PointAt(int nId) const { MovePointer(Middle(nId)); }

    void ClickOn(int nId) const
    {
        PointAt(nId);
        LeftClick(Middle(nId));
    }

    // A point of the dialog's face that no control covers.
    POINT FacePoint() const
    {
        RECT rc;
        GetClientRect(m_hWnd, &rc);
        POINT pt = {rc.right * 335 / 720, rc.bottom * 370 / 755};
        ClientToScreen(m_hWnd, &pt);
        return pt;
    }

    // Visible rows, each checked to show its label exactly when its box shows.
    std::vector<int> VisibleRows() const
    {
        std::vector<int> rows;
        for (int i = 0; i < OPTION_ROWS; ++i) {
            EXPECT_EQ(Visible(IDC_OPTION_BOX + i), Visible(IDC_OPTION_LABEL + i)) << "row " << i;
            if (Visible(IDC_OPTION_BOX + i))
                rows.push_back(i);
        }
        return rows;
    }

    // The control that has the program's keyboard focus.
    bool Focused(int nId) const
    {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        return GetGUIThreadInfo(m_pi.dwThreadId, &gti) && gti.hwndFocus == Item(nId);
    }

    ::testing::AssertionResult TypeDevice(const char* pszText) const
    {
        // Keys go to the window that has the focus when they are queued: the
        // click must have given it to the box before the first one.
        ClickOn(IDC_DEVICE);
        if (!WaitUntil([&] { return Focused(IDC_DEVICE); }, 3000))
            return ::testing::AssertionFailure() << "the Device box did not take the focus" << UnderPointer();
        TypeText(pszText);
        if (WaitUntil([&] { return Text(IDC_DEVICE) == pszText; }, 3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Device box holds \"" << Text(IDC_DEVICE) << '"';
    }

    ::testing::AssertionResult Tick(int nRow) const
    {
        const int nBefore = Checked(IDC_OPTION_BOX + nRow);
        ClickOn(IDC_OPTION_BOX + nRow);
        if (WaitUntil([&] { return Checked(IDC_OPTION_BOX + nRow) == (nBefore == BST_CHECKED ? 0 : 1); }, 3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "row " << nRow << " did not change its mark" << UnderPointer();
    }

    ::testing::AssertionResult ChooseTool(int nTool) const
    {
        ClickOn(IDC_TOOL_RADIO + nTool);
        if (WaitUntil([&] { return Checked(IDC_TOOL_RADIO + nTool) == BST_CHECKED; }, 3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "tool " << nTool << " was not marked" << UnderPointer();
    }

    // Points at "Process" and waits for the preview. The pointer comes from
    // the dialog's face: a move the dialog sees cools every hot button at once
    // (a leave would be noticed only up to a hover period late), so the move
    // onto "Process" is a new hover, which composes. Input is handled in order.
    ::testing::AssertionResult Preview(const std::string& strExpected) const
    {
        const POINT ptFace = FacePoint();
        if (WindowFromPoint(ptFace) != m_hWnd)
            return ::testing::AssertionFailure() << "another window covers the dialog's face";
        MovePointer(ptFace);
        PointAt(IDC_PROCESS);
        if (WaitUntil([&] { return Text(IDC_OUTPUT) == strExpected; }, 3000))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "output box shows \"" << Text(IDC_OUTPUT) << "\", not \"" << strExpected << '"' << UnderPointer();
    }

    // Clicks "Process" and waits for the end of its sequence: the pointer on
    // "Exit" and the button shown again.
    ::testing::AssertionResult Run() const
    {
        ClickOn(IDC_PROCESS);
        if (WaitUntil([&] { return PointerOn(IDC_EXIT) && Visible(IDC_PROCESS); }, RUN_MS))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the pointer did not move to Exit after the click";
    }

    // Processes the program started, by executable name (null: any).
    std::vector<DWORD> Children(const char* pszName = nullptr) const { return ChildrenOf(m_pi.dwProcessId, pszName); }

    // Ends the consoles the program opened: each waits at "pause".
    int EndConsoles() const
    {
        int nEnded = 0;
        for (DWORD dwCmd : Children("cmd.exe")) {
            std::vector<DWORD> tree = Descendants(dwCmd);
            tree.insert(tree.begin(), dwCmd);
            nEnded += EndProcesses(tree) > 0 ? 1 : 0;
        }
        return nEnded;
    }

    // The recorded starts, in the order they happened.
    std::vector<Call> Calls() const { return ReadRecords(m_strRecords); }

    ::testing::AssertionResult WaitCalls(std::size_t nCount) const
    {
        if (WaitUntil([&] { return Calls().size() >= nCount; }, RUN_MS))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Calls().size() << " recorded starts, not " << nCount << Situation();
    }

    // What the program has started and left behind, for failure messages.
    std::string Situation() const
    {
        std::string strText = "\n  processes under the program:";
        for (DWORD dwId : Descendants(m_pi.dwProcessId)) {
            for (const PROCESSENTRY32& pe : ProcessList()) {
                if (pe.th32ProcessID == dwId)
                    strText += std::string(" ") + pe.szExeFile + " " + std::to_string(dwId);
            }
        }
        strText += "\n  in the record folder:";
        WIN32_FIND_DATAA fd;
        HANDLE hFind = FindFirstFileA((m_strRecords + "\\*").c_str(), &fd);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                if (fd.cFileName[0] != '.')
                    strText += std::string(" ") + fd.cFileName;
            } while (FindNextFileA(hFind, &fd));
            FindClose(hFind);
        }
        strText += "\n  batch file: \"" + Batch() + '"';
        for (DWORD dwCmd : Children("cmd.exe"))
            strText += "\n  console of cmd.exe " + std::to_string(dwCmd) + ":" + ConsoleText(dwCmd);
        return strText;
    }

    // The batch file the program left, "" when there is none.
    std::string Batch() const
    {
        std::string strData;
        return ReadBytes(m_strBatch, strData) ? strData : std::string();
    }

    bool Ended() const { return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_OBJECT_0; }

    ::testing::AssertionResult WaitEnded() const
    {
        if (!WaitUntil([&] { return Ended(); }, 10000))
            return ::testing::AssertionFailure() << "the program did not end";
        DWORD dwCode = 0;
        GetExitCodeProcess(m_pi.hProcess, &dwCode);
        if (dwCode != 0)
            return ::testing::AssertionFailure() << "exit code 0x" << std::hex << dwCode;
        return ::testing::AssertionSuccess();
    }

    ::testing::AssertionResult Exit() const
    {
        ClickOn(IDC_EXIT);
        return WaitEnded();
    }

    void Unlock()
    {
        if (m_hLock != INVALID_HANDLE_VALUE)
            CloseHandle(m_hLock);
        m_hLock = INVALID_HANDLE_VALUE;
    }

    // Tabs through the dialog until the control has the keyboard focus, each
    // Tab only once the one before has moved the focus.
    ::testing::AssertionResult FocusByTab(int nId) const
    {
        auto focus = [&] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof gti;
            return GetGUIThreadInfo(m_pi.dwThreadId, &gti) ? gti.hwndFocus : nullptr;
        };
        for (int nTabs = 0; nTabs < 25 && !Focused(nId); ++nTabs) {
            const HWND hBefore = focus();
            PressKey(VK_TAB, false);
            if (!WaitUntil([&] { return focus() != hBefore; }, 3000))
                return ::testing::AssertionFailure() << "Tab did not move the focus";
        }
        if (Focused(nId))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Tab never reached control " << nId;
    }

    // Answers a message at all: neither crashed nor hung.
    bool Responsive() const
    {
        DWORD_PTR nResult = 0;
        return !Ended() && SendMessageTimeoutA(m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &nResult) != 0;
    }

    // Waits until the control shows the text.
    ::testing::AssertionResult WaitText(int nId, const std::string& strText, DWORD nTimeoutMs = HOVER_MS) const
    {
        if (WaitUntil([&] { return Text(nId) == strText; }, nTimeoutMs))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "control " << nId << " shows \"" << Text(nId) << "\", not \"" << strText << '"' << UnderPointer();
    }

    // Replaces the Device text by typing, wherever the pointer then rests:
    // the keyboard focus must be in the Device box already.
    ::testing::AssertionResult RetypeDevice(const char* pszText) const
    {
        PressKey(VK_END);
        for (std::size_t n = Text(IDC_DEVICE).size(); n > 0; --n)
            PressKey(VK_BACK);
        TypeText(pszText);
        return WaitText(IDC_DEVICE, pszText, 3000);
    }

    // Clicks into the Device box and replaces its text.
    ::testing::AssertionResult ReplaceDevice(const char* pszText) const
    {
        ClickOn(IDC_DEVICE);
        return RetypeDevice(pszText);
    }

    // Red text on the control: a status.
    bool ShowsRed(int nId) const
    {
        return WaitUntil([&] { return CountColour(ScreenRect(nId), CLR_RED) > 10; }, 2000);
    }

    std::string m_strRoot;
    std::string m_strProg;
    std::string m_strExe;
    std::string m_strData;
    std::string m_strIni;
    std::string m_strPos;
    std::string m_strTemp;
    std::string m_strFakes;
    std::string m_strRecords;  // the folder of the fakes' records
    std::string m_strBatch;
    std::string m_strTempValue;  // TEMP for the program
    bool m_bTempUnset = false;
    std::map<std::string, std::string> m_env;  // further variables for the program; "" removes one
    HANDLE m_hLock = INVALID_HANDLE_VALUE;     // a file the test holds open while the program runs
    bool m_bRemoveBatch = false;               // the batch file lies outside the test folder
    PROCESS_INFORMATION m_pi = {};
    HWND m_hWnd = nullptr;

private:
    void Release()
    {
        if (m_pi.hProcess)
            CloseHandle(m_pi.hProcess);
        if (m_pi.hThread)
            CloseHandle(m_pi.hThread);
        m_pi = {};
        m_hWnd = nullptr;
    }

    // This process's environment with TEMP, PATH (fakes first) and the record folder set.
    std::string Environment() const
    {
        std::map<std::string, std::string, bool (*)(const std::string&, const std::string&)> vars(
            [](const std::string& a, const std::string& b) { return _stricmp(a.c_str(), b.c_str()) < 0; });
        char* pBlock = GetEnvironmentStringsA();
        for (const char* p = pBlock; *p; p += std::strlen(p) + 1) {
            const char* pEq = std::strchr(p + 1, '=');
            if (pEq)
                vars[std::string(p, pEq)] = pEq + 1;
        }
        FreeEnvironmentStringsA(pBlock);
        vars.erase("TMP");
        if (m_bTempUnset)
            vars.erase("TEMP");
        else
            vars["TEMP"] = m_strTempValue;
        vars["PATH"] = m_strFakes + ";" + vars["PATH"];
        vars[RECORD_VARIABLE] = m_strRecords;
        for (const auto& var : m_env) {
            if (var.second.empty())
                vars.erase(var.first);
            else
                vars[var.first] = var.second;
        }
        std::string strBlock;
        for (const auto& var : vars)
            strBlock += var.first + "=" + var.second + '\0';
        return strBlock + '\0';
    }

    bool m_bInstalled = false;
};

inline void ExpectCall(const Call& call, const char* pszProgram, const std::string& strArgs)
{
    EXPECT_TRUE(SameNoCase(BaseName(call.strProgram), pszProgram)) << call.strProgram;
    EXPECT_EQ(call.strArgs, strArgs);
}

inline std::vector<int> RowsOf(std::initializer_list<int> rows)
{
    return rows;
}

// Moves the program's window so its top-left corner is at pt, same size.
inline RECT MoveWindowTo(HWND hWnd, POINT pt)
{
    SetWindowPos(hWnd, nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT rc = {};
    WaitUntil(
        [&] {
            GetWindowRect(hWnd, &rc);
            return rc.left == pt.x && rc.top == pt.y;
        },
        2000);
    return rc;
}

// Consoles open at the screen's top left and may be wide: the program's
// window goes to the bottom right corner, where none covers the controls on
// its right (push buttons, tools, the Device box) that a test uses while a
// console is open.
inline ::testing::AssertionResult KeepClearOfConsoles(HWND hWnd)
{
    RECT rc = {};
    GetWindowRect(hWnd, &rc);
    const POINT pt = {GetSystemMetrics(SM_CXSCREEN) - (rc.right - rc.left),
                      GetSystemMetrics(SM_CYSCREEN) - (rc.bottom - rc.top)};
    const RECT rcMoved = MoveWindowTo(hWnd, pt);
    if (rcMoved.left == pt.x && rcMoved.top == pt.y)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the window stays at " << rcMoved.left << "," << rcMoved.top;
}

inline bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

inline std::string Describe(const RECT& rc)
{
    char sz[80];
    std::snprintf(sz, sizeof sz, "(%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}

// ---- Bad input ------------------------------------------------------------------------

inline std::string Noise(std::size_t nSize)
{
    std::string strData(nSize, '\0');
    std::uint32_t nState = 0x2545F491;
    for (char& c : strData) {
        nState = nState * 1664525u + 1013904223u;
        c = static_cast<char>(nState >> 24);
    }
    return strData;
}

inline std::string AnsiName(const wchar_t* pszWide)
{
    char szName[MAX_PATH] = {};
    BOOL bDefault = FALSE;
    if (!WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pszWide, -1, szName, sizeof szName, nullptr, &bDefault) ||
        bDefault)
        return std::string();
    return szName;
}

}  // namespace e2e
