// End-to-end tests: the real Tarvick.exe under Wine, driven with real pointer
// and key input (SendInput), read back through window messages, process lists
// and screen pixels. Recording fakes stand in for CHKDSK, DISM, SFC, the
// editor and the external tool.
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
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "ScreenCapture.h"
#include "model/UiConstants.h"

namespace {

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

// The recording fake appends to the file this names two lines per start: its
// command line, and "console" with the ids of the processes on its console.
constexpr char RECORD_VARIABLE[] = "TARVICK_RECORD";

constexpr DWORD POLL_MS = 20;
// Leave notices are polled by Wine once per hover period (400 ms).
constexpr DWORD HOVER_MS = 1500;
constexpr DWORD START_MS = 20000;
constexpr DWORD RUN_MS = 10000;

const char NO_ANSWER[] = "<no answer>";

template <class Done>
bool WaitUntil(Done fnDone, DWORD nTimeoutMs)
{
    const DWORD nStart = GetTickCount();
    while (!fnDone()) {
        if (GetTickCount() - nStart >= nTimeoutMs)
            return fnDone();
        Sleep(POLL_MS);
    }
    return true;
}

std::string WindowsPath(std::string strPath)
{
    if (!strPath.empty() && strPath[0] == '/')
        strPath = "Z:" + strPath;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

std::string FromEnvironment(const char* pszName)
{
    const char* pszValue = std::getenv(pszName);
    return pszValue ? WindowsPath(pszValue) : std::string();
}

bool SameNoCase(const std::string& a, const std::string& b)
{
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

std::string BaseName(const std::string& strPath)
{
    const std::size_t nSlash = strPath.find_last_of("\\/");
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

// ---- Files -----------------------------------------------------------------

bool Exists(const std::string& strPath)
{
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadBytes(const std::string& strPath, std::string& strOut)
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

std::string Contents(const std::string& strPath)
{
    std::string strData;
    return ReadBytes(strPath, strData) ? strData : std::string("<unreadable>");
}

bool WriteBytes(const std::string& strPath, const std::string& strData)
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

void MakeFolders(const std::string& strPath)
{
    for (std::size_t i = 3; i <= strPath.size(); ++i) {
        if (i == strPath.size() || strPath[i] == '\\')
            CreateDirectoryA(strPath.substr(0, i).c_str(), nullptr);
    }
}

void RemoveTree(const std::string& strPath)
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

std::vector<std::string> Lines(const std::string& strData)
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
// and the processes that shared its console.
struct Call {
    std::string strProgram;
    std::string strArgs;
    std::vector<DWORD> console;
};

Call SplitCall(const std::string& strLine)
{
    Call call;
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
    return call;
}

std::vector<Call> ParseRecord(const std::string& strData)
{
    std::vector<Call> calls;
    for (const std::string& strLine : Lines(strData)) {
        if (strLine.compare(0, 8, "console ") == 0 || strLine == "console") {
            if (!calls.empty()) {
                for (const char* p = strLine.c_str() + 7; *p;) {
                    char* pEnd = nullptr;
                    const unsigned long nId = std::strtoul(p, &pEnd, 10);
                    if (pEnd == p)
                        break;
                    calls.back().console.push_back(static_cast<DWORD>(nId));
                    p = pEnd;
                }
            }
        } else {
            calls.push_back(SplitCall(strLine));
        }
    }
    return calls;
}

std::string Unquoted(const std::string& str)
{
    return str.size() >= 2 && str.front() == '"' && str.back() == '"' ? str.substr(1, str.size() - 2) : str;
}

// ---- Processes ---------------------------------------------------------------

std::vector<PROCESSENTRY32> ProcessList()
{
    std::vector<PROCESSENTRY32> list;
    HANDLE hSnap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnap == INVALID_HANDLE_VALUE)
        return list;
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL bMore = Process32First(hSnap, &pe); bMore; bMore = Process32Next(hSnap, &pe))
        list.push_back(pe);
    CloseHandle(hSnap);
    return list;
}

// The processes a process started, by executable name (null: any).
std::vector<DWORD> ChildrenOf(DWORD dwParent, const char* pszName = nullptr)
{
    std::vector<DWORD> found;
    for (const PROCESSENTRY32& pe : ProcessList()) {
        if (pe.th32ParentProcessID == dwParent && pe.th32ProcessID != dwParent &&
            (!pszName || SameNoCase(BaseName(pe.szExeFile), pszName)))
            found.push_back(pe.th32ProcessID);
    }
    return found;
}

// A process's children, theirs and so on, parents before children.
std::vector<DWORD> Descendants(DWORD dwRoot)
{
    std::vector<DWORD> found = ChildrenOf(dwRoot);
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (DWORD dwChild : ChildrenOf(found[i])) {
            if (std::find(found.begin(), found.end(), dwChild) == found.end())
                found.push_back(dwChild);
        }
    }
    return found;
}

int EndProcesses(const std::vector<DWORD>& ids)
{
    std::vector<HANDLE> handles;
    for (DWORD dwId : ids) {
        if (HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwId)) {
            TerminateProcess(hProcess, 1);
            handles.push_back(hProcess);
        }
    }
    for (HANDLE hProcess : handles) {
        WaitForSingleObject(hProcess, 5000);
        CloseHandle(hProcess);
    }
    return static_cast<int>(handles.size());
}

// ---- Input and screen --------------------------------------------------------

bool MovePointer(POINT pt)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = (pt.x * 65535 + (cx - 1) / 2) / (cx - 1);
    in.mi.dy = (pt.y * 65535 + (cy - 1) / 2) / (cy - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
    return WaitUntil(
        [&] {
            POINT now;
            return GetCursorPos(&now) && now.x == pt.x && now.y == pt.y;
        },
        1000);
}

INPUT MouseButton(DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = dwFlags;
    return in;
}

void LeftClick()
{
    INPUT ins[2] = {MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP)};
    SendInput(2, ins, sizeof ins[0]);
}

INPUT Key(WORD wVk, WORD wScan, DWORD dwFlags)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = wVk;
    in.ki.wScan = wScan;
    in.ki.dwFlags = dwFlags;
    return in;
}

void TypeText(const char* pszText)
{
    for (const char* p = pszText; *p; ++p) {
        const WORD wChar = static_cast<unsigned char>(*p);
        INPUT ins[2] = {Key(0, wChar, KEYEVENTF_UNICODE), Key(0, wChar, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        SendInput(2, ins, sizeof ins[0]);
    }
}

void PressKey(WORD wVk, bool bAlt)
{
    std::vector<INPUT> ins;
    if (bAlt)
        ins.push_back(Key(VK_MENU, 0, 0));
    ins.push_back(Key(wVk, 0, 0));
    ins.push_back(Key(wVk, 0, KEYEVENTF_KEYUP));
    if (bAlt)
        ins.push_back(Key(VK_MENU, 0, KEYEVENTF_KEYUP));
    SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof ins[0]);
}

bool Near(COLORREF crPixel, COLORREF cr)
{
    // Antialiased glyph edges differ, glyph cores do not.
    return std::abs(GetRValue(crPixel) - GetRValue(cr)) <= 40 && std::abs(GetGValue(crPixel) - GetGValue(cr)) <= 40 &&
           std::abs(GetBValue(crPixel) - GetBValue(cr)) <= 40;
}

// Pixels of that colour on screen within rc.
int CountColour(const RECT& rc, COLORREF cr)
{
    const CScreenCapture capture(rc);
    return static_cast<int>(
        std::count_if(capture.Pixels().begin(), capture.Pixels().end(), [cr](COLORREF px) { return Near(px, cr); }));
}

// What lies under the pointer, for failure messages: a window that covers a
// control swallows the click meant for it.
std::string UnderPointer()
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
    char sz[256];
    std::snprintf(sz, sizeof sz, " (under the pointer at %ld,%ld: %s control %d of \"%s\", %s)", pt.x, pt.y, szClass,
                  GetDlgCtrlID(hWnd), szTitle, strExe.c_str());
    return sz;
}

// ---- The program under test ----------------------------------------------------

struct DialogSearch {
    DWORD dwProcess;
    HWND hFound;
};

BOOL CALLBACK FindDialog(HWND hWnd, LPARAM lParam)
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
        m_strRecord = m_strRoot + "\\record.txt";
        m_strBatch = m_strTemp + "\\sfc.bat";
        m_strTempValue = m_strTemp;
        MakeFolders(m_strData);
        MakeFolders(m_strTemp);
        MakeFolders(m_strFakes);

        const std::string strExe = FromEnvironment("TARVICK_EXE");
        const std::string strFake = FromEnvironment("TARVICK_FAKE_TOOL");
        m_bInstalled = CopyFileA(strExe.c_str(), m_strExe.c_str(), FALSE) != FALSE;
        for (const char* pszName : {"CHKDSK.EXE", "DISM.EXE", "SFC.EXE", "FakeEditor.exe", "FakeDiag.exe"})
            m_bInstalled = CopyFileA(strFake.c_str(), (m_strFakes + "\\" + pszName).c_str(), FALSE) && m_bInstalled;
        // The editor takes a moment, then rewrites key 3 before it ends, as
        // a user saving a change would.
        m_bInstalled = WriteBytes(m_strFakes + "\\editor.bat", "@set TARVICK_SLEEP_MS=300\r\n"
                                                                "@\"" + m_strFakes + "\\FakeEditor.exe\" %*\r\n"
                                                                "@echo 3 /after-edit>>%1\r\n") &&
                       m_bInstalled;
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
        return "# Tarvick test settings\r\n"
               "1 " + m_strFakes + "\\editor.bat\r\n"
               "2 " + m_strFakes + "\\FakeDiag.exe\r\n"
               "3 /scan C: /full\r\n";
    }

    // Starts the program and waits until its window is up and it has put
    // the pointer on "Exit", its sign that the screen is ready.
    ::testing::AssertionResult Start()
    {
        if (!m_bInstalled)
            return ::testing::AssertionFailure() << "could not install into " << m_strProg;
        Release();
        // The pointer must not rest where the new window's buttons appear.
        if (!MovePointer({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1}))
            return ::testing::AssertionFailure() << "the pointer did not go to the screen's corner";
        std::string strEnvironment = Environment();
        std::string strCommand = "\"" + m_strExe + "\"";
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        BOOL bStarted = CreateProcessA(m_strExe.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0,
                                       &strEnvironment[0], m_strRoot.c_str(), &si, &m_pi);
        // Wine now and then fails a start with an internal error before any of
        // the program's code runs (its loader did not come up): once more.
        if (!bStarted && GetLastError() == ERROR_INTERNAL_ERROR) {
            std::printf("CreateProcess: internal error, starting again\n");
            Sleep(200);
            bStarted = CreateProcessA(m_strExe.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0,
                                      &strEnvironment[0], m_strRoot.c_str(), &si, &m_pi);
        }
        if (!bStarted)
            return ::testing::AssertionFailure() << "CreateProcess failed: " << GetLastError();
        if (!WaitUntil([&] { return (m_hWnd = Dialog()) != nullptr || Ended(); }, START_MS) || !m_hWnd)
            return ::testing::AssertionFailure() << "no visible Tarvick window" << (Ended() ? " (it ended)" : "");
        // A restored placement may resize the still hidden window, which puts
        // the pointer on "Exit" early; the start-up timer (300 ms) does it
        // once more after the first paint. Input must wait for that one.
        const DWORD dwVisible = GetTickCount();
        if (!WaitUntil([&] { return PointerOn(IDC_EXIT) && GetTickCount() - dwVisible >= 700; }, START_MS))
            return ::testing::AssertionFailure() << "the pointer was never put on Exit";
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

    void PointAt(int nId) const
    {
        const RECT rc = ScreenRect(nId);
        MovePointer({(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    }

    void ClickOn(int nId) const
    {
        PointAt(nId);
        LeftClick();
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

    ::testing::AssertionResult TypeDevice(const char* pszText) const
    {
        ClickOn(IDC_DEVICE);
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

    // Points at "Process" until the preview shows. A leave is noticed up to
    // one hover period late, and a return before that is no new hover: so
    // on a miss the pointer waits on the face and comes back.
    ::testing::AssertionResult Preview(const std::string& strExpected) const
    {
        for (int nTry = 0; nTry < 3; ++nTry) {
            PointAt(IDC_PROCESS);
            if (WaitUntil([&] { return Text(IDC_OUTPUT) == strExpected; }, HOVER_MS))
                return ::testing::AssertionSuccess();
            MovePointer(FacePoint());
            Sleep(600);
        }
        return ::testing::AssertionFailure()
               << "output box shows \"" << Text(IDC_OUTPUT) << "\", not \"" << strExpected << '"';
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
    std::vector<DWORD> Children(const char* pszName = nullptr) const
    {
        return ChildrenOf(m_pi.dwProcessId, pszName);
    }

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

    std::vector<Call> Calls() const
    {
        std::string strData;
        return ReadBytes(m_strRecord, strData) ? ParseRecord(strData) : std::vector<Call>();
    }

    ::testing::AssertionResult WaitCalls(std::size_t nCount) const
    {
        if (WaitUntil([&] { return Calls().size() >= nCount; }, RUN_MS))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << Calls().size() << " recorded starts, not " << nCount;
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

    // Tabs through the dialog until the control has the keyboard focus.
    ::testing::AssertionResult FocusByTab(int nId) const
    {
        auto focused = [&] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof gti;
            return GetGUIThreadInfo(m_pi.dwThreadId, &gti) && gti.hwndFocus == Item(nId);
        };
        for (int nTabs = 0; nTabs < 25 && !focused(); ++nTabs) {
            PressKey(VK_TAB, false);
            WaitUntil(focused, 200);
        }
        if (focused())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "Tab never reached control " << nId;
    }

    // Answers a message at all: neither crashed nor hung.
    bool Responsive() const
    {
        DWORD_PTR nResult = 0;
        return !Ended() && SendMessageTimeoutA(m_hWnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 3000, &nResult) != 0;
    }

    std::string m_strRoot;
    std::string m_strProg;
    std::string m_strExe;
    std::string m_strData;
    std::string m_strIni;
    std::string m_strPos;
    std::string m_strTemp;
    std::string m_strFakes;
    std::string m_strRecord;
    std::string m_strBatch;
    std::string m_strTempValue;  // TEMP for the program
    bool m_bTempUnset = false;
    HANDLE m_hLock = INVALID_HANDLE_VALUE;  // a file the test holds open while the program runs
    bool m_bRemoveBatch = false;            // the batch file lies outside the test folder
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

    // This process's environment with TEMP, PATH (fakes first) and the record file set.
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
        vars[RECORD_VARIABLE] = m_strRecord;
        std::string strBlock;
        for (const auto& var : vars)
            strBlock += var.first + "=" + var.second + '\0';
        return strBlock + '\0';
    }

    bool m_bInstalled = false;
};

void ExpectCall(const Call& call, const char* pszProgram, const std::string& strArgs)
{
    EXPECT_TRUE(SameNoCase(BaseName(call.strProgram), pszProgram)) << call.strProgram;
    EXPECT_EQ(call.strArgs, strArgs);
}

std::vector<int> RowsOf(std::initializer_list<int> rows)
{
    return rows;
}

// ---- At start ------------------------------------------------------------------

TEST(Startup, ChkdskMarkedSixRowsEmptyBoxesNavyFace)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());

    EXPECT_EQ(tarvick.Checked(IDC_TOOL_RADIO + TOOL_CHKDSK), BST_CHECKED);
    for (int t : {TOOL_DISM, TOOL_SFC, TOOL_EXTERNAL})
        EXPECT_EQ(tarvick.Checked(IDC_TOOL_RADIO + t), BST_UNCHECKED) << "tool " << t;
    EXPECT_EQ(tarvick.VisibleRows(), RowsOf({0, 1, 2, 3, 6, 8}));
    for (int i = 0; i < OPTION_ROWS; ++i)
        EXPECT_EQ(tarvick.Checked(IDC_OPTION_BOX + i), BST_UNCHECKED) << "row " << i;
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    EXPECT_EQ(tarvick.Text(IDC_DEVICE), "");
    EXPECT_EQ(tarvick.Text(IDC_OPTION_LABEL + ROW_FIX), " Fix - /f");
    EXPECT_EQ(tarvick.Text(IDC_OPTION_LABEL + ROW_HELP), " Help - /?");
    const char* const toolLabels[] = {" CHKDSK", " DISM", " SFC", " WinDlg"};
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(tarvick.Text(IDC_TOOL_LABEL + t), toolLabels[t]);

    EXPECT_EQ(tarvick.Text(IDC_PROCESS), "Process");
    EXPECT_GT(CountColour(tarvick.ScreenRect(IDC_PROCESS), CLR_YELLOW), 10) << "yellow text at start";
    const POINT pt = tarvick.FacePoint();
    EXPECT_EQ(CountColour({pt.x, pt.y, pt.x + 4, pt.y + 4}, CLR_NAVY), 16) << "navy face";
    EXPECT_TRUE(tarvick.Exit());
}

// ---- CHKDSK: preview, run, second run ---------------------------------------------

TEST(Chkdsk, PreviewShowsNtfsRowsThenClickRunsBatch)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));

    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));
    EXPECT_EQ(tarvick.Text(IDC_PROCESS), "Process");
    EXPECT_TRUE(WaitUntil([&] { return CountColour(tarvick.ScreenRect(IDC_PROCESS), CLR_GREEN) > 10; }, 2000))
        << "Process turns green";
    EXPECT_EQ(tarvick.VisibleRows(), RowsOf({0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 11}));

    ASSERT_TRUE(tarvick.Tick(ROW_FIX));
    ASSERT_TRUE(tarvick.Tick(ROW_REPLACE));
    ASSERT_TRUE(tarvick.Run());
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C: /F /R\r\npause\r\n");
    const Call run = tarvick.Calls()[0];
    ExpectCall(run, "CHKDSK.EXE", "C: /F /R");
    const std::vector<DWORD> shells = tarvick.Children("cmd.exe");
    ASSERT_EQ(shells.size(), 1u);
    EXPECT_NE(std::find(run.console.begin(), run.console.end(), shells[0]), run.console.end())
        << "the tool shares the console of the cmd.exe the program started";
    EXPECT_EQ(std::find(run.console.begin(), run.console.end(), tarvick.m_pi.dwProcessId), run.console.end());
    EXPECT_EQ(tarvick.EndConsoles(), 1) << "one console waiting at pause";

    // The same file is rewritten by the next run.
    ASSERT_TRUE(tarvick.Tick(ROW_REPLACE));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(2));
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C: /F\r\npause\r\n");
    ExpectCall(tarvick.Calls()[1], "CHKDSK.EXE", "C: /F");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

// ---- DISM, SFC and help ------------------------------------------------------------

struct ToolCase {
    const char* pszName;
    int nTool;
    std::vector<int> ticked;
    std::vector<int> visibleRows;
    const char* pszPreview;
    const char* pszProgram;
    const char* pszBatchLine;  // the batch file's first line
};

void PrintTo(const ToolCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ToolRun : public ::testing::TestWithParam<ToolCase> {};

TEST_P(ToolRun, PreviewsAndRunsThroughTheBatchFile)
{
    const ToolCase& c = GetParam();
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    if (c.nTool != TOOL_CHKDSK) {
        ASSERT_TRUE(tarvick.ChooseTool(c.nTool));
    }
    EXPECT_EQ(tarvick.VisibleRows(), c.visibleRows);
    for (int nRow : c.ticked)
        ASSERT_TRUE(tarvick.Tick(nRow));

    ASSERT_TRUE(tarvick.Preview(c.pszPreview));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), std::string(c.pszBatchLine) + "\r\npause\r\n");
    const std::string strLine = c.pszBatchLine;
    ExpectCall(tarvick.Calls()[0], c.pszProgram, strLine.substr(strLine.find(' ') + 1));
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ToolRun,
    ::testing::Values(
        ToolCase{"DismScanHealth", TOOL_DISM, {ROW_SCANHEALTH}, {8, 12, 13, 14},
                 "DISM /Online /Cleanup-Image /ScanHealth\r\n", "DISM.EXE",
                 "DISM.EXE /Online /Cleanup-Image /ScanHealth"},
        ToolCase{"DismCheckRestore", TOOL_DISM, {ROW_CHECKHEALTH, ROW_RESTOREHEALTH}, {8, 12, 13, 14},
                 "DISM /Online /Cleanup-Image /CheckHealth /RestoreHealth\r\n", "DISM.EXE",
                 "DISM.EXE /Online /Cleanup-Image /CheckHealth /RestoreHealth"},
        ToolCase{"SfcScanNow", TOOL_SFC, {ROW_SCANNOW}, {7, 8}, "SFC  /SCANNOW\r\n", "SFC.EXE",
                 "SFC.EXE  /SCANNOW"},
        // Help wins over every other switch, and CHKDSK then needs no drive.
        ToolCase{"ChkdskHelpWithoutDrive", TOOL_CHKDSK, {ROW_FIX, ROW_HELP}, {0, 1, 2, 3, 6, 8}, "CHKDSK /?\r\n",
                 "CHKDSK.EXE", "CHKDSK.EXE /?"},
        ToolCase{"DismHelp", TOOL_DISM, {ROW_SCANHEALTH, ROW_HELP}, {8, 12, 13, 14}, "DISM /?\r\n", "DISM.EXE",
                 "DISM.EXE /?"},
        ToolCase{"SfcHelp", TOOL_SFC, {ROW_SCANNOW, ROW_HELP}, {7, 8}, "SFC /?\r\n", "SFC.EXE", "SFC.EXE /?"}),
    [](const auto& info) { return std::string(info.param.pszName); });

// ---- Drive problems: status in red, nothing runs -----------------------------------

struct StatusCase {
    const char* pszName;
    const char* pszDevice;
    const char* pszStatus;
};

void PrintTo(const StatusCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class DriveStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(DriveStatus, ShownInRedAndNothingRuns)
{
    const StatusCase& c = GetParam();
    if (*c.pszDevice) {
        ASSERT_LE(GetDriveTypeA((std::string(c.pszDevice) + ":\\").c_str()), 1u) << "the drive must be missing";
    }
    CTarvick tarvick;
    const std::string strStale = "@echo stale\r\npause\r\n";
    ASSERT_TRUE(WriteBytes(tarvick.m_strBatch, strStale));
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.Tick(ROW_FIX));
    if (*c.pszDevice) {
        ASSERT_TRUE(tarvick.TypeDevice(c.pszDevice));
    }

    tarvick.ClickOn(IDC_PROCESS);
    ASSERT_TRUE(WaitUntil([&] { return tarvick.Text(IDC_PROCESS) == c.pszStatus; }, HOVER_MS))
        << tarvick.Text(IDC_PROCESS);
    EXPECT_TRUE(WaitUntil([&] { return CountColour(tarvick.ScreenRect(IDC_PROCESS), CLR_RED) > 10; }, 2000))
        << "status in red";
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    EXPECT_TRUE(tarvick.PointerOn(IDC_PROCESS)) << "no run, so the pointer stays";
    // Input is handled in order: once this tick shows, so has the click, and
    // a run would have started its console by then.
    ASSERT_TRUE(tarvick.Tick(ROW_DISMOUNT));
    EXPECT_TRUE(tarvick.Children().empty());
    EXPECT_EQ(tarvick.Batch(), strStale);
    EXPECT_TRUE(tarvick.Calls().empty());
    EXPECT_TRUE(tarvick.Exit());
}

INSTANTIATE_TEST_SUITE_P(Drives, DriveStatus,
                         ::testing::Values(StatusCase{"EmptyDevice", "", "No Dev"},
                                           StatusCase{"MissingDrive", "Q", "Offline"}),
                         [](const auto& info) { return std::string(info.param.pszName); });

// ---- The external tool and the editor ----------------------------------------------

TEST(External, StartsConfiguredProgramWithItsArgumentsDirectly)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    EXPECT_EQ(tarvick.VisibleRows(), RowsOf({}));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    ASSERT_TRUE(tarvick.Run());
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    ASSERT_TRUE(tarvick.WaitCalls(1));
    ExpectCall(tarvick.Calls()[0], "FakeDiag.exe", "/scan C: /full");
    EXPECT_TRUE(SameNoCase(tarvick.Calls()[0].strProgram, tarvick.m_strFakes + "\\FakeDiag.exe"));
    EXPECT_FALSE(Exists(tarvick.m_strBatch)) << "no batch file for the external tool";
    EXPECT_TRUE(tarvick.Children("cmd.exe").empty());
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Edit, StartsEditorWithSettingsPathAndRereadsAfterIt)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    tarvick.ClickOn(IDC_EDIT_SETTINGS);
    ASSERT_TRUE(tarvick.WaitCalls(1));
    const Call editor = tarvick.Calls()[0];
    EXPECT_TRUE(SameNoCase(BaseName(editor.strProgram), "FakeEditor.exe")) << editor.strProgram;
    EXPECT_TRUE(SameNoCase(Unquoted(editor.strArgs), tarvick.m_strIni)) << editor.strArgs;
    // The editor is waited for: its console closes once it has saved.
    ASSERT_TRUE(WaitUntil([&] { return tarvick.Children().empty(); }, RUN_MS));
    EXPECT_TRUE(tarvick.Responsive());

    ASSERT_TRUE(tarvick.ChooseTool(TOOL_EXTERNAL));
    ASSERT_TRUE(tarvick.Preview("WinDlg"));
    ASSERT_TRUE(tarvick.Run());
    ASSERT_TRUE(tarvick.WaitCalls(2));
    ExpectCall(tarvick.Calls()[1], "FakeDiag.exe", "/after-edit");
    EXPECT_EQ(tarvick.Text(IDC_TOOL_LABEL + TOOL_EXTERNAL), " WinDlg");
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Ending and the window placement -------------------------------------------------

enum class Ending { ExitButton, EscapeKey, CloseCommand };

class Ends : public ::testing::TestWithParam<Ending> {};

TEST_P(Ends, ProgramEndsAndSavesPlacement)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_FALSE(Exists(tarvick.m_strPos));
    switch (GetParam()) {
    case Ending::ExitButton:
        tarvick.ClickOn(IDC_EXIT);
        break;
    case Ending::EscapeKey:
        tarvick.ClickOn(IDC_DEVICE);  // focus in the window
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == tarvick.m_hWnd; }, 2000));
        PressKey(VK_ESCAPE, false);
        break;
    case Ending::CloseCommand:
        // The close box's command; without a window manager Wine draws no caption to click.
        tarvick.ClickOn(IDC_DEVICE);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == tarvick.m_hWnd; }, 2000));
        PressKey(VK_F4, true);
        break;
    }
    EXPECT_TRUE(tarvick.WaitEnded());
    EXPECT_TRUE(Exists(tarvick.m_strPos));
}

std::string EndingName(const ::testing::TestParamInfo<Ending>& info)
{
    const char* const names[] = {"ExitButton", "EscapeKey", "AltF4"};
    return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, Ends, ::testing::Values(Ending::ExitButton, Ending::EscapeKey, Ending::CloseCommand),
                         EndingName);

// Moves the program's window so its top-left corner is at pt, same size.
RECT MoveWindowTo(HWND hWnd, POINT pt)
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

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

std::string Describe(const RECT& rc)
{
    char sz[80];
    std::snprintf(sz, sizeof sz, "(%ld,%ld)-(%ld,%ld)", rc.left, rc.top, rc.right, rc.bottom);
    return sz;
}

TEST(Placement, RestoredAtNextStart)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    const RECT rcMoved = MoveWindowTo(tarvick.m_hWnd, {37, 29});
    ASSERT_EQ(rcMoved.left, 37);
    ASSERT_TRUE(tarvick.Exit());

    ASSERT_TRUE(tarvick.Start());
    RECT rc;
    GetWindowRect(tarvick.m_hWnd, &rc);
    EXPECT_TRUE(SameRect(rc, rcMoved)) << Describe(rc) << " instead of " << Describe(rcMoved);
    EXPECT_TRUE(tarvick.Exit());
}

TEST(Placement, MinimisedCloseKeepsTheFile)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    MoveWindowTo(tarvick.m_hWnd, {41, 33});
    ASSERT_TRUE(tarvick.Exit());
    ASSERT_TRUE(Exists(tarvick.m_strPos));
    const std::string strSaved = Contents(tarvick.m_strPos);

    ASSERT_TRUE(tarvick.Start());
    MoveWindowTo(tarvick.m_hWnd, {211, 97});
    ShowWindow(tarvick.m_hWnd, SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(tarvick.m_hWnd) != FALSE; }, 2000));
    // The taskbar's close: the window is minimised, nothing to click.
    PostMessageA(tarvick.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(tarvick.WaitEnded());
    EXPECT_EQ(Contents(tarvick.m_strPos), strSaved);
}

// ---- Keyboard -------------------------------------------------------------------

TEST(Keyboard, SpaceOnFocusedProcessComposesBeforeItRuns)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.ChooseTool(TOOL_DISM));
    ASSERT_TRUE(tarvick.Tick(ROW_SCANHEALTH));
    // Nothing was composed yet, and the pointer is nowhere near "Process".
    ASSERT_TRUE(tarvick.FocusByTab(IDC_PROCESS));
    PressKey(VK_SPACE, false);
    ASSERT_TRUE(WaitUntil([&] { return tarvick.PointerOn(IDC_EXIT); }, RUN_MS));
    ASSERT_TRUE(tarvick.WaitCalls(1));
    EXPECT_EQ(tarvick.Batch(), "DISM.EXE /Online /Cleanup-Image /ScanHealth\r\npause\r\n");
    ExpectCall(tarvick.Calls()[0], "DISM.EXE", "/Online /Cleanup-Image /ScanHealth");
    EXPECT_EQ(tarvick.Text(IDC_OUTPUT), "");
    EXPECT_EQ(tarvick.EndConsoles(), 1);
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Many clicks at once ---------------------------------------------------------------

TEST(RapidClicks, TwentyClicksOnProcessLeaveTheProgramAnswering)
{
    CTarvick tarvick;
    ASSERT_TRUE(tarvick.Start());
    ASSERT_TRUE(tarvick.TypeDevice("C"));
    ASSERT_TRUE(tarvick.Preview("CHKDSK C:\r\n"));

    // All in one go, each click with its own move back onto the button.
    const RECT rc = tarvick.ScreenRect(IDC_PROCESS);
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    INPUT move = {};
    move.type = INPUT_MOUSE;
    move.mi.dx = ((rc.left + rc.right) / 2 * 65535 + (cx - 1) / 2) / (cx - 1);
    move.mi.dy = ((rc.top + rc.bottom) / 2 * 65535 + (cy - 1) / 2) / (cy - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    std::vector<INPUT> ins;
    for (int i = 0; i < 20; ++i) {
        ins.push_back(move);
        ins.push_back(MouseButton(MOUSEEVENTF_LEFTDOWN));
        ins.push_back(MouseButton(MOUSEEVENTF_LEFTUP));
    }
    const DWORD nStart = GetTickCount();
    ASSERT_EQ(SendInput(static_cast<UINT>(ins.size()), ins.data(), sizeof ins[0]), ins.size());

    // The consoles open near the top-left, over the window: each is ended
    // before the pointer goes anywhere. Input is handled in order, so once
    // the SFC radio button shows its mark every click before it was handled
    // and every console it opened exists.
    std::size_t nRuns = 0;
    auto endConsoles = [&] {
        // Each console's tool gets the time to record its start before the console ends.
        const std::size_t nOpen = tarvick.Children("cmd.exe").size();
        WaitUntil([&] { return tarvick.Calls().size() >= nRuns + nOpen; }, 3000);
        nRuns += tarvick.EndConsoles();
    };
    // Mostly the clicks have played out once no console opened for a second.
    std::size_t nSeen = 0;
    DWORD dwChanged = GetTickCount();
    WaitUntil(
        [&] {
            const std::size_t nNow = tarvick.Children("cmd.exe").size();
            if (nNow != nSeen) {
                nSeen = nNow;
                dwChanged = GetTickCount();
            }
            return nNow > 0 && GetTickCount() - dwChanged >= 1000;
        },
        30000);
    for (int nTry = 0; nTry < 10 && tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC) != BST_CHECKED; ++nTry) {
        endConsoles();
        tarvick.ClickOn(IDC_TOOL_RADIO + TOOL_SFC);
        WaitUntil([&] { return tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC) == BST_CHECKED; }, 2000);
    }
    ASSERT_EQ(tarvick.Checked(IDC_TOOL_RADIO + TOOL_SFC), BST_CHECKED) << "the program never got to the click";
    endConsoles();
    const DWORD nMs = GetTickCount() - nStart;
    EXPECT_TRUE(tarvick.Responsive());
    const std::vector<Call> calls = tarvick.Calls();
    std::printf("20 clicks: %u consoles, %u recorded starts, handled in %lu ms\n", static_cast<unsigned>(nRuns),
                static_cast<unsigned>(calls.size()), static_cast<unsigned long>(nMs));
    RecordProperty("consoles", static_cast<int>(nRuns));
    RecordProperty("recorded", static_cast<int>(calls.size()));
    EXPECT_GE(nRuns, 1u);
    EXPECT_LE(nRuns, 20u);
    // Overlapping consoles read the one sfc.bat while the next run rewrites
    // it, and their tools append to one record: a start may go unrecorded,
    // but none is invented and each is the composed command.
    EXPECT_GE(calls.size(), 1u);
    EXPECT_LE(calls.size(), nRuns);
    for (const Call& call : calls)
        ExpectCall(call, "CHKDSK.EXE", "C:");
    EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C:\r\npause\r\n");
    EXPECT_TRUE(tarvick.Visible(IDC_PROCESS));
    EXPECT_TRUE(tarvick.Exit());
}

// ---- Bad input ------------------------------------------------------------------------

std::string Noise(std::size_t nSize)
{
    std::string strData(nSize, '\0');
    std::uint32_t nState = 0x2545F491;
    for (char& c : strData) {
        nState = nState * 1664525u + 1013904223u;
        c = static_cast<char>(nState >> 24);
    }
    return strData;
}

std::string AnsiName(const wchar_t* pszWide)
{
    char szName[MAX_PATH] = {};
    BOOL bDefault = FALSE;
    if (!WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, pszWide, -1, szName, sizeof szName, nullptr, &bDefault) ||
        bDefault)
        return std::string();
    return szName;
}

enum class Outcome { Runs, NothingRuns };

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
    // The program then writes "\sfc.bat": the root of its current drive.
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
    ASSERT_TRUE(tarvick.Run());
    if (c.outcome == Outcome::Runs) {
        ASSERT_TRUE(tarvick.WaitCalls(1));
        ExpectCall(tarvick.Calls()[0], "CHKDSK.EXE", "C:");
        EXPECT_EQ(tarvick.Batch(), "CHKDSK.EXE C:\r\npause\r\n");
        EXPECT_EQ(tarvick.EndConsoles(), 1);
    } else {
        // A console would exist by now: the pointer moves only after the start.
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
                      BadInput{"TempUnset", TempUnset, true, Outcome::Runs, L"Tarvick prog"},
                      BadInput{"TempMissing", TempMissing, true, Outcome::NothingRuns, L"Tarvick prog"},
                      BadInput{"TempReadOnlyBatch", TempReadOnlyBatch, true, Outcome::NothingRuns, L"Tarvick prog"},
                      BadInput{"TempIsAFile", TempIsAFile, true, Outcome::NothingRuns, L"Tarvick prog"},
                      BadInput{"TempLockedBatch", TempLockedBatch, true, Outcome::NothingRuns, L"Tarvick prog"},
                      BadInput{"TempBatchIsFolder", TempBatchIsFolder, true, Outcome::NothingRuns, L"Tarvick prog"},
                      BadInput{"FolderBlanks", Nothing, true, Outcome::Runs, L"a  b   c"},
                      BadInput{"FolderNonAscii", Nothing, true, Outcome::Runs, L"Pr\u00FCfung \u00E4\u00F6"}),
    [](const auto& info) { return std::string(info.param.pszName); });

}  // namespace
